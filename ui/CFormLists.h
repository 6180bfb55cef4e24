#pragma once
// The form's two lists: filled from the entry tables in their sort order, narrowed by the filter, and what the
// user does in them: which list is active (and so which transfer button is enabled), clicks, keys, context menus,
// rows dragged from one list onto the other. The preview row follows the active list's selection.
#include <QObject>

class CFormControls;
class CPreviewRow;
struct EntryStore;
class ICommandTarget;
class ListFilter;
class QContextMenuEvent;
class QPoint;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
struct DirEntry;
struct DirTable;
struct WindowState;

class CFormLists : public QObject {
    Q_OBJECT
public:
    // commands: where double clicks, context menus and the Delete key send their commands.
    CFormLists(CFormControls& controls, EntryStore& store, CPreviewRow& preview, ICommandTarget& commands,
               QWidget* form);

    // The entry a row shows.
    static DirEntry* EntryOfItem(const QTreeWidgetItem* item);

    // The telephone list shows the current directory, the address-book list the folder shown; resetStates marks
    // every entry as agreeing with its side. Both empty the preview row first.
    void FillPhoneList(bool resetStates);
    void FillAbList(bool resetStates);
    // Empties the telephone list while a directory is read.
    void ClearPhoneList();
    // Selects the row at position (clamped to the list) and makes its list the active one.
    void SelectPhoneItem(int position);
    void SelectAbItem(int position);
    QTreeWidget* ActiveListWidget() const;
    // Makes list (LIST_PHONE or LIST_AB) the active one, with the transfer button towards the other list.
    void SetTransferButtonsFor(int list);
    // The context menu of the active list, at the pointer or, from the keyboard, at its current row.
    void ShowContextMenu(const QContextMenuEvent& event);

    // Column widths and sort columns, read at start-up and written at the end.
    void RestoreListState(const WindowState& state);
    void SaveListState(WindowState& state) const;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ConnectListInput(QWidget* form);
    void InstallFilter();
    void InstallListDragDrop();
    void FillList(QTreeWidget* list, DirTable& table, bool resetStates, bool repairAbEntries, int sortColumn);
    void SelectListItem(QTreeWidget* list, int position, int listKind);
    void OnClickList(int list, const QPoint& position);
    void OnDblClickList(int list);
    void OnKeyDownInList(int list);
    void OnTabIntoList(int list);
    void OnDropFromList(int sourceList);

    CFormControls& m_controls;
    EntryStore& m_store;
    CPreviewRow& m_preview;
    ICommandTarget& m_commands;
    ListFilter* m_filter = nullptr;
};
