#include "ui/CFolderCombo.h"

#include "model/FolderRecord.h"

CFolderCombo::CFolderCombo(QWidget* parent) : QComboBox(parent) {}

void CFolderCombo::AddFolder(const QString& name, FolderRecord* record)
{
    addItem(name, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
}

FolderRecord* CFolderCombo::Folder(int item) const
{
    if (item < 0 || item >= count()) return nullptr;
    return reinterpret_cast<FolderRecord*>(itemData(item).value<quintptr>());
}
