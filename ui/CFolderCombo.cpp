#include "ui/CFolderCombo.h"

#include "model/FolderRecord.h"
#include "ui/CFolderListBox.h"

CFolderCombo::CFolderCombo(QWidget* parent) : QComboBox(parent), m_lbFolders(new CFolderListBox(this))
{
    // The open list is the same tree drawing as the folder-selection dialog's; setView hands it the combo's model.
    setView(m_lbFolders);
}

void CFolderCombo::AddFolder(const QString& name, FolderRecord* record)
{
    addItem(name, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
}

FolderRecord* CFolderCombo::Folder(int item) const
{
    if (item < 0 || item >= count()) return nullptr;
    return reinterpret_cast<FolderRecord*>(itemData(item).value<quintptr>());
}
