#include "ui/CPreviewCombo.h"

#include "model/DirEntry.h"

CPreviewCombo::CPreviewCombo(QWidget* parent) : QComboBox(parent) {}

void CPreviewCombo::AddCopy(const QString& name, DirEntry* copy)
{
    addItem(name, QVariant::fromValue(reinterpret_cast<quintptr>(copy)));
}

DirEntry* CPreviewCombo::Copy(int item) const
{
    if (item < 0 || item >= count()) return nullptr;
    return reinterpret_cast<DirEntry*>(itemData(item).value<quintptr>());
}

void CPreviewCombo::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    emit focusEntered();
}
