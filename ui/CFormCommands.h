#pragma once
// The form's commands, from its menus, buttons, accelerators and context menus: which are enabled now (the
// update handlers) and what each does (the command handlers). The handlers pick the active side and hand the
// work to the telephone layer, the address-book layer and the editing classes of the model.
#include "ui/ICommandTarget.h"

#include <QString>

#include <functional>
#include <memory>

class AddressBook;
class CEntryPanes;
class CFormControls;
class CFormHost;
class CFormLists;
class CPreviewRow;
class CSyncRun;
struct AddressBookSyncResult;
struct SyncAccount;
class IQuestions;
class QWidget;
class TelephoneDirectories;
struct EntryStore;
struct FormSettings;

class CFormCommands : public ICommandTarget {
public:
    // The parts of the form the commands work on; leave closes the frame for good.
    struct Parts {
        QWidget* form;
        EntryStore& store;
        IQuestions& questions;
        TelephoneDirectories& phone;
        AddressBook& book;
        CEntryPanes& panes;
        CFormControls& controls;
        CPreviewRow& preview;
        CFormLists& lists;
        CFormHost& host;
        std::function<void()> leave;
    };
    explicit CFormCommands(Parts parts);
    ~CFormCommands() override;

    bool OnUpdateCommand(int id, bool& enabled) const override;
    bool OnCommand(int id) override;

    // Entries: adding and editing through the entry dialog, delete, the internal clipboard, select all.
    void OnAddEntry();
    void OnEditEntry();
    void OnDeleteEntries();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnSelectAll();
    // Transfers between the lists, of the preview row's copies.
    void OnCopyToPhone();
    void OnCopyToAddressBook();
    // Saving each side, everything pending (Ctrl+S), and the way out with its questions.
    void OnSaveToPhone();
    void OnSaveAddressBook();
    void OnSavePending();
    void OnExit();
    // Address-book folders and distribution lists.
    void OnNewFolder();
    void OnOpenFolder();
    void OnRenameList();
    void OnDeleteList();
    // The telephone's serial port, chosen in the connection dialog, and a kept backup put back on the telephone.
    void OnConnection();
    void OnRestoreBackup();
    // Hands the backup to the telephone layer, which restores it in the background; false when nothing started.
    bool RestoreTelephoneBackup(const QString& backupPath);
    // Where a backup chosen for restoring goes instead of the telephone layer; tests record it.
    void SetBackupRestorer(std::function<bool(const QString&)> restorer) { m_restoreBackup = std::move(restorer); }
    // Preferences: written on OK; the preview row and the telephone applied at once.
    void OnPreferences();
    void ApplyPreferences(const FormSettings& values);
    // vCard files: into the address-book folder shown, and out of either list.
    void OnImportVCard();
    void OnExportVCard();
    // The address book with its CardDAV server, in the background: the book's commands wait meanwhile.
    void OnSynchronize();
    bool IsSynchronizing() const;
    // Where the synchronization's password comes from (the keyring); tests give one of their own. Returns the
    // password, or an empty one with the reason in `error`.
    using PasswordSource = std::function<QString(const SyncAccount& account, QString& error)>;
    void SetPasswordSource(PasswordSource source) { m_passwordSource = std::move(source); }
    // Ends a synchronization going on (at the way out); false when it did not end within timeoutMs.
    bool StopSynchronizing(int timeoutMs);

private:
    // Carries the preview's copies into the list's side (LIST_PHONE or LIST_AB).
    void TransferPreviewTo(int target);
    // The book's side while a synchronization runs: its list and folder box wait, the status line counts.
    void ShowSynchronizing(bool running);
    void OnSyncFinished(const AddressBookSyncResult& result);
    // Opens the book again after a synchronization, on the folder shown before.
    void ReopenBook(const QString& folderShown);

    Parts m_parts;
    std::function<bool(const QString&)> m_restoreBackup;
    PasswordSource m_passwordSource;
    std::unique_ptr<CSyncRun> m_sync;
    QString m_strFolderBeforeSync;
    QString m_strBookFile; // while a synchronization has the book: the file to open again
};
