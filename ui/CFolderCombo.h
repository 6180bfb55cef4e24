#pragma once
#include <QComboBox>

struct FolderRecord;

// The folder combo box above the address-book list: one item per folder record, carrying the record.
class CFolderCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CFolderCombo(QWidget* parent = nullptr);
    void AddFolder(const QString& name, FolderRecord* record);
    FolderRecord* Folder(int item) const;
};
