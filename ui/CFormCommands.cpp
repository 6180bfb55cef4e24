// Which commands are enabled, where each goes, the save commands and the way out.
#include "ui/CFormCommands.h"

#include "model/EntryStore.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "phone/TelephoneDirectories.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CFormControls.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {
bool ListHasRows(const QTreeWidget* list)
{
    return list->topLevelItemCount() > 0;
}

// What would read or change the address book, or its file, while a synchronization has it.
bool NeedsTheBook(int id)
{
    switch (id) {
    case ID_FILE_NEW_FOLDER:
    case ID_FILE_OPEN_FOLDER:
    case ID_FILE_RENAME_LIST:
    case ID_FILE_DELETE_LIST:
    case ID_FILE_IMPORT_VCARD:
    case ID_FILE_EXPORT_VCARD:
    case ID_FILE_PREFERENCES:
    case ID_FILE_SYNC:
    case ID_COPY_TO_AB:
    case ID_UPLOAD_TO_AB:
        return true;
    default:
        return false;
    }
}
}

bool CFormCommands::OnUpdateCommand(int id, bool& enabled) const
{
    const EntryStore& store = m_parts.store;
    const QTreeWidget* active = m_parts.controls.List(store.m_nActiveList);
    // While the telephone works its table stays as it is: what would change it waits.
    const bool phoneBusy = store.HasFlag(VF_BUSY);
    const bool activePhoneBusy = phoneBusy && store.m_nActiveList == LIST_PHONE;
    if (IsSynchronizing() && NeedsTheBook(id)) {
        enabled = false;
        return true;
    }
    switch (id) {
    case ID_FILE_EXPORT_VCARD:
        enabled = ListHasRows(m_parts.controls.m_lcPhone) || ListHasRows(m_parts.controls.m_lcAddressBook);
        return true;
    case ID_FILE_RENAME_LIST:
    case ID_FILE_DELETE_LIST:
        // The book itself is neither renamed nor deleted.
        enabled = m_parts.book.CanEditShownList();
        return true;
    case ID_APP_EXIT:
    case ID_FILE_PREFERENCES:
    case ID_FILE_IMPORT_VCARD:
    case ID_FILE_NEW_FOLDER:
    case ID_FILE_OPEN_FOLDER:
    case ID_FILE_SYNC:
    case ID_COPY_TO_AB:
    case ID_UPLOAD_TO_AB:
        enabled = true;
        return true;
    case ID_COPY_TO_PHONE:
    case ID_UPLOAD_TO_PHONE:
    case ID_FILE_CONNECTION:
    case ID_FILE_RESTORE_BACKUP:
        enabled = !phoneBusy;
        return true;
    case ID_ADD_ENTRY:
        // Nothing can be added to the telephone before a directory has been read: its limits are unknown.
        enabled = active && !(store.m_nActiveList == LIST_PHONE && store.m_nNameLen == 0) && !activePhoneBusy;
        return true;
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_COPY:
        enabled = active && ListHasRows(active);
        return true;
    case ID_EDIT_ENTRY:
    case ID_EDIT_CLEAR:
    case ID_EDIT_CUT:
        enabled = active && ListHasRows(active) && !activePhoneBusy;
        return true;
    case ID_EDIT_PASTE:
        enabled = store.HasFlag(VF_CLIPBOARD) && !activePhoneBusy;
        return true;
    case ID_FILE_SAVE:
        enabled = store.HasFlag(VF_AB_MODIFIED) || (store.HasFlag(VF_PHONE_MODIFIED) && !phoneBusy);
        return true;
    default:
        return false;
    }
}

bool CFormCommands::OnCommand(int id)
{
    switch (id) {
    case ID_APP_EXIT: OnExit(); return true;
    case ID_FILE_NEW_FOLDER: OnNewFolder(); return true;
    case ID_FILE_OPEN_FOLDER: OnOpenFolder(); return true;
    case ID_FILE_RENAME_LIST: OnRenameList(); return true;
    case ID_FILE_DELETE_LIST: OnDeleteList(); return true;
    case ID_FILE_PREFERENCES: OnPreferences(); return true;
    case ID_FILE_CONNECTION: OnConnection(); return true;
    case ID_FILE_RESTORE_BACKUP: OnRestoreBackup(); return true;
    case ID_FILE_IMPORT_VCARD: OnImportVCard(); return true;
    case ID_FILE_EXPORT_VCARD: OnExportVCard(); return true;
    case ID_FILE_SYNC: OnSynchronize(); return true;
    case ID_COPY_TO_AB: OnCopyToAddressBook(); return true;
    case ID_COPY_TO_PHONE: OnCopyToPhone(); return true;
    case ID_UPLOAD_TO_PHONE: OnSaveToPhone(); return true;
    case ID_UPLOAD_TO_AB: OnSaveAddressBook(); return true;
    case ID_ADD_ENTRY: OnAddEntry(); return true;
    case ID_EDIT_ENTRY: OnEditEntry(); return true;
    case ID_EDIT_SELECT_ALL: OnSelectAll(); return true;
    case ID_EDIT_CLEAR: OnDeleteEntries(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_CUT: OnEditCut(); return true;
    case ID_EDIT_PASTE: OnEditPaste(); return true;
    case ID_FILE_SAVE: OnSavePending(); return true;
    default: return false;
    }
}

void CFormCommands::OnSaveToPhone()
{
    m_parts.controls.m_btnToAddressBook->setEnabled(false);
    m_parts.controls.m_btnToPhone->setEnabled(false);
    m_parts.store.m_nActiveList = LIST_NONE;
    m_parts.phone.WriteDirectory();
}

void CFormCommands::OnSaveAddressBook()
{
    m_parts.controls.m_btnToAddressBook->setEnabled(false);
    m_parts.controls.m_btnToPhone->setEnabled(false);
    m_parts.book.SaveBeforeLeaving();
}

void CFormCommands::OnSavePending()
{
    // As the two save buttons: the address book at once, the telephone directory in the background.
    if (m_parts.store.HasFlag(VF_AB_MODIFIED)) OnSaveAddressBook();
    if (m_parts.store.HasFlag(VF_PHONE_MODIFIED) && !m_parts.phone.IsBusy()) OnSaveToPhone();
}

void CFormCommands::OnExit()
{
    EntryStore& store = m_parts.store;
    // A synchronization is cancelled and ends first, with the book open again: it may still be kept open.
    if (!StopSynchronizing(60000)) return;
    // A save under way finishes first: leaving now would leave the telephone half-written.
    if (m_parts.phone.IsWriting() && m_parts.phone.RefuseWhileBusy()) return;
    // A question left without an answer (Escape, its close box) means "stay": nothing more is saved or dropped.
    using Answer = IQuestions::Answer;
    if (store.HasFlag(VF_AB_MODIFIED)) {
        const Answer answer = m_parts.questions.AskYesNoOrStay(Ids::IDS_SAVE_AB_BEFORE_EXIT,
                                                               StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_EXIT));
        if (answer == Answer::Stay) return;
        if (answer == Answer::Yes) OnSaveAddressBook();
    }
    Answer savePhone = Answer::No;
    if (store.HasFlag(VF_PHONE_MODIFIED))
        savePhone = m_parts.questions.AskYesNoOrStay(Ids::IDS_SAVE_DIR_BEFORE_EXIT,
                                                     StringTable::LoadString(Ids::IDS_SAVE_DIR_BEFORE_EXIT));
    if (savePhone == Answer::Stay) return;
    if (savePhone == Answer::Yes) {
        OnSaveToPhone();
        // Only a write that started can close the frame when it ends; one refused at once (a read-only directory,
        // nothing pending, a read still running) leaves the program open with its address book still usable, and
        // the next Exit closes it.
        if (m_parts.phone.IsWriting()) store.SetFlag(VF_EXIT_AFTER_WRITE);
        return;
    }
    m_parts.book.CloseSession();
    m_parts.leave();
}
