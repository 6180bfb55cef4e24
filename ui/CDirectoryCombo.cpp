#include "ui/CDirectoryCombo.h"

#include "model/Directories.h"
#include "res/StringTable.h"

CDirectoryCombo::CDirectoryCombo(QWidget* parent) : QComboBox(parent)
{
    for (int number = 0; number < kDirectoryCount; ++number)
        addItem(StringTable::LoadQString(g_anDirectoryNameIds[number]), number);
    setCurrentIndex(0);
}
