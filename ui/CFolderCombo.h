#pragma once
#include <QComboBox>

class CFolderListBox;
struct FolderRecord;

// The folder combo box above the address-book list: one item per folder record, carrying the record. Its open
// list draws the folders as an indented tree with pictures; the selection field shows the name alone.
class CFolderCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CFolderCombo(QWidget* parent = nullptr);
    void AddFolder(const QString& name, FolderRecord* record);
    FolderRecord* Folder(int item) const;
    CFolderListBox* FolderList() const { return m_lbFolders; }

private:
    CFolderListBox* m_lbFolders;
};
