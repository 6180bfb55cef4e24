#pragma once
// The editor form: the single view of the main frame. It owns the widgets and the entry store, and hands the
// work to the telephone layer, the address-book layer and the plain logic of the model.
#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "phone/ITelephoneHost.h"
#include "res/CommandIds.h"
#include "ui/ICommandTarget.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class AddressBook;
class CEntryPanes;
struct FormSettings;
class IFormFrame;
class IQuestions;
class TelephoneDirectories;
class CDirectoryCombo;
class CFolderCombo;
class CPreviewCombo;
class CPreviewHeader;
class ListFilter;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Column widths shared by both lists: dialog units at start, pixels once the form has been laid out.
extern int g_anColWidth[4];

class CDlgView : public QWidget, public ICommandTarget, public IAddressBookHost, public ITelephoneHost {
    Q_OBJECT
public:
    CDlgView(IFormFrame* frame, IQuestions* questions, QWidget* parent = nullptr);
    ~CDlgView() override;

    void OnInitialUpdate();

    void FillPhoneList(bool resetStates) override;
    void FillAbList(bool resetStates) override;
    void FillFolderCombo() override;
    void ShowCorrectionRow(bool show) override;
    void ShowPreviewEntry();

    // List panes: selection, preview row, sorting, context menus.
    void FillPreview();
    void SelectPhoneItem(int position);
    void SelectAbItem(int position);
    void LayoutPreviewRow();
    void FocusPreviewField(int x);

    // Entries: adding and editing through the entry dialog.
    void OnAddEntry();
    void OnEditEntry();
    // Transfers between the lists.
    void OnCopyToPhone();
    void OnCopyToAddressBook();
    // Delete, the internal clipboard, select all.
    void OnDeleteEntries();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnSelectAll();
    // Address-book folders: creating one, choosing one from the folder dialog.
    void OnNewFolder();
    void OnOpenFolder();
    // The telephone's serial port: chosen in the connection dialog, then read from.
    void OnConnection();
    // A kept backup of a telephone directory: chosen in the restore dialog, then put back on the telephone.
    void OnRestoreBackup();
    // Hands the backup to the telephone layer, which restores it in the background; false when nothing started.
    bool RestoreTelephoneBackup(const QString& backupPath);
    // Preferences (settings written on OK; the preview row and the telephone applied at once), and the
    // distribution list shown renamed or deleted.
    void OnPreferences();
    void ApplyPreferences(const FormSettings& values);
    void OnRenameList();
    void OnDeleteList();
    // Rows dropped from the other list: the transfer its arrow button runs.
    void OnDropFromList(int sourceList);
    // vCard files: into the address-book folder shown, and out of either list.
    void OnImportVCard();
    void OnExportVCard();

    // Every entry shown or changed, and the form's state words.
    EntryStore& Store() { return *m_store; }
    const EntryStore& Store() const { return *m_store; }

    // Telephone directories: reading (shown from memory once read) and writing back, by the telephone layer.
    TelephoneDirectories& Phone() { return *m_phone; }
    void ReadDirectory(int directory);
    void OnPhonebookRead(intptr_t wParam, intptr_t lParam);
    void WriteDirectory();
    void OnPhonebookWritten(intptr_t wParam, intptr_t lParam);

    // ICommandTarget: the update handlers and the command handlers.
    bool OnUpdateCommand(int id, bool& enabled) const override;
    bool OnCommand(int id) override;

    // Address book: the session, the folders, reading and saving, by the address-book layer.
    AddressBook& Book() { return *m_ab; }
    void CloseAbSession();
    void SaveAddressBook();
    void OnSaveAddressBook();
    void OnSaveToPhone();
    void OnExit();
    // Closes the frame for good, after the way out has asked its questions.
    void LeaveProgram();

    // IAddressBookHost and ITelephoneHost
    void SetStatusText(const std::string& text) override;
    void SelectDirectoryInCombo(int directory) override;
    void ShowBusy(bool busy) override;
    void CloseFrame() override;
    int AbListItemCount() const override;
    void ClearAbList() override;
    void EndProgram(int exitCode) override;
    void ClearFolderCombo() override;
    int SelectedFolderItem() const override;
    void SelectFolderItem(int item) override;
    void ClearPhoneList() override;

    // The window: unsaved work shown in the caption, Ctrl+S, what is remembered between runs.
    bool HasUnsavedChanges() const;
    void OnSavePending();
    // Writes the lists' column widths and sort columns, the directory and the folder shown (group "Window").
    void SaveWindowState() const;

    // How the program ends after a failure of the address book; tests record it instead of leaving.
    void SetProgramEnder(std::function<void(int)> ender) { m_endProgram = std::move(ender); }
    // Where a backup chosen for restoring goes instead of the telephone layer; tests record it.
    void SetBackupRestorer(std::function<bool(const QString&)> restorer) { m_restoreBackup = std::move(restorer); }
    static DirEntry* EntryOfItem(const QTreeWidgetItem* item);

    // The preview row's layout, which the preview header and combo box draw and change.
    int PreviewRowWidth() const { return m_nPreviewWidth; }
    void SetPreviewRowWidth(int width) { m_nPreviewWidth = width; }
    std::array<int, 4>& PreviewColumnWidths() { return m_anPreviewWidth; }
    const std::array<int, 4>& PreviewColumnWidths() const { return m_anPreviewWidth; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void ConnectPaneHandlers();
    QTreeWidget* ActiveListWidget() const;
    void InstallFolderMenu();
    void InstallListDragDrop();
    void SetTransferButtonsFor(int list);
    void OnClickList(int list, const QPoint& position);
    void OnDblClickList(int list);
    void OnKeyDownInList(int list);
    void OnTabIntoList(int list);
    DirEntry* CurrentPreviewCopy() const;
    void OnChangePreviewName();
    void OnChangePreviewNumber();
    void OnChangePreviewIndex();
    void OnChangePreviewStatus();
    void OnUpdatePreviewName();
    void OnUpdatePreviewNumber();
    void SelectListItem(QTreeWidget* list, int position, int listKind);
    void FinishTransfer();
    // Carries the preview's copies into the list's side (LIST_PHONE or LIST_AB).
    void TransferPreviewTo(int target);
    // True (after saying so) when the command would change the telephone's table while the telephone works.
    bool RefusePhoneChange(int list);

    // Start-up halves that belong to the address book and the telephone.
    bool OpenAddressBookAtStartUp();
    void StartFirstPhoneRead();
    void ApplySettings();
    void InsertPhoneColumns();
    void InsertAbColumns();
    void OnSetFocusPreview();
    void OnSelchangeDirectory();
    void OnSelchangeFolder();
    // The window's own parts: the filter, cell tooltips, the unsaved mark, the status line's reset.
    void CreateWindowParts();
    void LayOutControls();
    // The preview row takes the width the form has beyond the template's (its name and number columns).
    void FitPreviewRowToWidth();
    void RestoreListState();
    void ChooseLastFolder();
    int FirstDirectoryToRead() const;
    // A new command begins: the result of the last one leaves the status line.
    void ClearStaleStatus();

    IQuestions* m_pQuestions;

    // Controls, bound as the form's members; tests find them by their object names.
    CDirectoryCombo* m_cbDirectory = nullptr;
    QTreeWidget* m_lcPhone = nullptr;
    CFolderCombo* m_cbFolder = nullptr;
    QTreeWidget* m_lcAddressBook = nullptr;
    CPreviewCombo* m_cbPreview = nullptr;
    QLineEdit* m_edName = nullptr;
    QLineEdit* m_edNumber = nullptr;
    QLineEdit* m_edIndex = nullptr;
    QLineEdit* m_edStatus = nullptr;
    QPushButton* m_btnSaveToPhone = nullptr;
    QPushButton* m_btnSaveAddressBook = nullptr;
    QPushButton* m_btnExit = nullptr;
    QPushButton* m_btnToAddressBook = nullptr;
    QPushButton* m_btnToPhone = nullptr;
    CPreviewHeader* m_previewHeader = nullptr;
    QLabel* m_stPreview = nullptr;
    QLineEdit* m_edFilter = nullptr;
    ListFilter* m_filter = nullptr;

    int m_nPreviewWidth = 0;
    std::array<int, 4> m_anPreviewWidth{};
    // Set while many rows are selected at once: the preview is rebuilt once, after them.
    bool m_bPreviewHeld = false;

    // The frame and the application around the form (message line, size, caption, input block).
    IFormFrame* m_pFrame;

    void CreateControls();
    void SetTabOrder();
    void ClearPreviewRow();
    void FillList(QTreeWidget* list, DirTable& table, bool resetStates, bool repairAbEntries, int sortColumn);
    static void InsertColumns(QTreeWidget* list);

    std::function<void(int)> m_endProgram;
    std::function<bool(const QString&)> m_restoreBackup;
    // On the heap: the store holds megabytes of fixed tables.
    std::unique_ptr<EntryStore> m_store;
    std::unique_ptr<TelephoneDirectories> m_phone;
    std::unique_ptr<AddressBook> m_ab;
    // The two sides with their lists, and the editing commands that work on them.
    std::unique_ptr<CEntryPanes> m_panes;
};
