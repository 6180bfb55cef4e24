#pragma once
#include <QListView>

class QStandardItemModel;
struct FolderRecord;

// A list of address-book folders drawn as a tree: each item shows the picture of its folder kind (the book
// itself or a distribution list) and its name, both indented 9 pixels per nesting level. Each item carries its
// folder record. It serves the folder-selection dialog and, as its open list, the folder combo box.
class CFolderListBox : public QListView {
    Q_OBJECT
public:
    static constexpr int kIndentPerLevel = 9;
    // Tall enough for the 18-pixel pictures.
    static constexpr int kItemHeight = 18;

    explicit CFolderListBox(QWidget* parent = nullptr);

    // Items of the list box's own model (not used while the list box is the open list of a combo box).
    void AddFolder(const QString& name, const FolderRecord* record);
    int Count() const;
    int SelectedItem() const; // -1 when nothing is selected
    void SelectItem(int item);

    // The folder record an item of a folder list carries (the data of role Qt::UserRole), or null.
    static const FolderRecord* RecordOf(const QModelIndex& index);

private:
    QStandardItemModel* m_pOwnModel;
};
