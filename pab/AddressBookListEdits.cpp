// Renaming and deleting the distribution list shown. The book itself is neither renamed nor deleted. Deleting
// a list keeps its entries: they move into the folder that held the list. Each change is one write of the
// book, so a failure leaves the book as it was.
#include "mapi/Mapi.h"
#include "model/EntryStore.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "pab/AbNameCheck.h"
#include "pab/AddressBookSession.h"
#include "pab/FolderNames.h"
#include "pab/IAddressBookHost.h"
#include "res/StringTable.h"

#include <QString>

namespace {
bool AskListName(IQuestions& questions, std::string& name)
{
    return FolderNames::Ask(questions, Ids::IDS_RENAME_LIST_TITLE, Ids::IDS_RENAME_LIST_PROMPT, name);
}

// The folder that holds the list in record `item`: the nearest record before it one level up.
int ParentFolderItem(const EntryStore& store, int item)
{
    const int level = store.m_folders[static_cast<size_t>(item)].m_nLevel;
    for (int k = item - 1; k >= 0; --k)
        if (store.m_folders[static_cast<size_t>(k)].m_nLevel == level - 1) return k;
    return 0;
}

std::string IdBytes(const FolderRecord& folder)
{
    return std::string(reinterpret_cast<const char*>(folder.m_pEntryId), folder.m_pEntryId ? folder.m_cbEntryId : 0);
}
}

bool AddressBookSession::CanEditShownList() const
{
    if (m_bReadOnly || !m_pContainer || !m_pAddrBook) return false;
    const int item = ShownFolderItem();
    return item > 0 && m_store.m_folders[static_cast<size_t>(item)].m_nKind == FOLDER_SUB;
}

bool AddressBookSession::SettleUnsavedBeforeListEdit()
{
    if (!m_store.HasFlag(VF_AB_MODIFIED)) return true;
    const IQuestions::Answer answer = m_questions.AskYesNoOrStay(
        Ids::IDS_SAVE_AB_BEFORE_FOLDER, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_FOLDER));
    if (answer == IQuestions::Answer::Stay) return false;
    if (answer == IQuestions::Answer::Yes) SaveBeforeLeaving();
    return CanEditShownList(); // a failed save closed the session
}

void AddressBookSession::RenameShownList()
{
    if (!CanEditShownList() || !SettleUnsavedBeforeListEdit()) return;
    const int item = ShownFolderItem();
    const std::string before = m_store.m_folders[static_cast<size_t>(item)].m_strName;
    std::string name = before;
    if (!AskListName(m_questions, name)) return;
    // The same rules as for a new folder's name: not empty, and no other folder of that exact name.
    while (!name.empty() && name != before && FolderNames::OtherNamed(m_store, name, item) >= 0) {
        if (!m_questions.AskYesNo(Ids::IDS_NAME_EXISTS, NameExistsMessage(name))) return;
        if (!AskListName(m_questions, name)) return;
    }
    if (name.empty() || name == before) return;

    m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
    m_host.SetStatusText(m_store.m_strScratch);
    const FolderRecord& list = m_store.m_folders[static_cast<size_t>(item)];
    if (const HRESULT hr = WriteListName(list.m_cbEntryId, list.m_pEntryId, name); FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_SAVE_CHANGES);
        return;
    }
    // Unsaved changes the user kept stay in the table: the list is the same folder under its new name.
    const std::string shown = m_strShownFolderId;
    if (!RescanFolders()) return;
    m_strShownFolderId = shown;
    if (FAILED(ReopenShownFolder())) {
        m_host.EndProgram(-1);
        return;
    }
    m_host.SelectFolderItem(ShownFolderItem());
    m_store.m_strScratch = StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL);
    m_host.SetStatusText(m_store.m_strScratch);
}

void AddressBookSession::DeleteShownList()
{
    if (!CanEditShownList() || !SettleUnsavedBeforeListEdit()) return;
    const std::string name = m_store.m_folders[static_cast<size_t>(ShownFolderItem())].m_strName;
    const QString question = StringTable::LoadQString(Ids::IDS_DELETE_LIST_QUESTION).arg(QString::fromStdString(name));
    if (!m_questions.AskYesNo(Ids::IDS_DELETE_LIST_QUESTION, question.toStdString())) return;

    const int listItem = ShownFolderItem();
    const FolderRecord& list = m_store.m_folders[static_cast<size_t>(listItem)];
    const FolderRecord& parent = m_store.m_folders[static_cast<size_t>(ParentFolderItem(m_store, listItem))];
    const std::string parentId = IdBytes(parent);
    m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
    m_host.SetStatusText(m_store.m_strScratch);
    if (const HRESULT hr = DeleteListKeepingEntries(parent, list); FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_SAVE_CHANGES);
        return;
    }
    // The folder that held the list is shown, with the list's entries now in it. Changes the user chose not to
    // save went with the list's table: they were offered for saving before.
    m_store.ClearFlag(VF_AB_MODIFIED);
    if (!RescanFolders()) return;
    m_strShownFolderId = parentId;
    const int parentItem = ShownFolderItem();
    m_host.SelectFolderItem(parentItem >= 0 ? parentItem : 0);
    ChangeFolder();
}

HRESULT AddressBookSession::WriteListName(uint32_t cbEntryId, ENTRYID* entryId, const std::string& name)
{
    ULONG objectType = 0;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(cbEntryId, entryId, nullptr, kOpenFlags, &objectType, &opened);
    auto* list = dynamic_cast<IMAPIProp*>(opened);
    if (SUCCEEDED(hr) && !list) hr = MAPI_E_INVALID_OBJECT;
    if (SUCCEEDED(hr)) {
        SPropValue value{};
        value.ulPropTag = PR_DISPLAY_NAME;
        value.Value.lpszA = const_cast<char*>(name.c_str());
        LPSPropProblemArray problems = nullptr;
        hr = list->SetProps(1, &value, &problems);
        if (problems) MAPIFreeBuffer(problems);
        if (SUCCEEDED(hr)) hr = list->SaveChanges(0);
    }
    if (opened) opened->Release();
    return hr;
}

HRESULT AddressBookSession::DeleteListKeepingEntries(const FolderRecord& parent, const FolderRecord& list)
{
    ULONG objectType = 0;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(parent.m_cbEntryId, parent.m_pEntryId, nullptr, kOpenFlags, &objectType, &opened);
    auto* holder = dynamic_cast<IABContainer*>(opened);
    if (SUCCEEDED(hr) && !holder) hr = MAPI_E_INVALID_OBJECT;
    if (SUCCEEDED(hr)) {
        SBinary id{list.m_cbEntryId, reinterpret_cast<LPBYTE>(list.m_pEntryId)};
        ENTRYLIST entries{1, &id};
        hr = holder->DeleteEntries(&entries, DELETE_KEEP_CONTENTS);
        // The list must have been there: a partial result deleted nothing.
        if (hr == MAPI_W_PARTIAL_COMPLETION) hr = MAPI_E_NOT_FOUND;
    }
    if (opened) opened->Release();
    return hr;
}

bool AddressBookSession::RescanFolders()
{
    // The combo box points into the folder table, which is rebuilt: it is emptied first.
    m_host.ClearFolderCombo();
    FreeFolderRows();
    if (FAILED(ReopenAddressBook()) || FAILED(ScanFolders(m_pContainer, 0, 0))) {
        m_host.EndProgram(-1);
        return false;
    }
    m_host.FillFolderCombo();
    return true;
}
