// The address-book half of the form: opening the book at start-up, showing another folder, and reading the folder
// shown again after a save.
#include "mapi/Mapi.h"
#include "model/Questions.h"
#include "res/StringTable.h"
#include "pab/AddressBookSession.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"

#include <cstring>

bool AddressBookSession::OpenAtStartUp()
{
    // Without its address book the program cannot work: any failure here ends it after the report.
    if (FAILED(OpenAbSession())) {
        m_host.EndProgram(-1);
        return false;
    }
    m_pContentRows = nullptr;
    m_strShownFolderId.assign(reinterpret_cast<const char*>(m_pPabEntryId), m_cbPabEntryId);
    if (FAILED(ScanFolders(m_pContainer, 0, 0)) || FAILED(ReadFolder(m_pContainer))) {
        m_host.EndProgram(-1);
        return false;
    }
    return true;
}

void AddressBookSession::ChangeFolder()
{
    // The item chosen, taken before a save of the folder shown until now selects that folder again to show it
    // read back.
    const int item = m_host.SelectedFolderItem();
    if (m_store.HasFlag(VF_AB_MODIFIED)) {
        if (m_questions.AskYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_FOLDER)))
            SaveBeforeLeaving();
        m_store.ClearFlag(VF_AB_MODIFIED);
    }
    if (item < 0) return;
    ShowFolder(item);
}

void AddressBookSession::ShowFolder(int item)
{
    const FolderRecord& folder = m_store.m_folders[static_cast<size_t>(item)];
    if (FAILED(OpenContainer(folder.m_cbEntryId, folder.m_pEntryId))) {
        m_host.EndProgram(-1);
        return;
    }
    m_strShownFolderId.assign(reinterpret_cast<const char*>(folder.m_pEntryId), folder.m_cbEntryId);
    m_host.SelectFolderItem(item);
    ReadFolder(m_pContainer);
    m_host.FillAbList(false);
}

void AddressBookSession::ReadShownFolderAgain()
{
    if (FAILED(ReopenShownFolder())) {
        m_host.EndProgram(-1);
        return;
    }
    // The folder table may have been rebuilt since the folder was chosen (a new folder): its item is looked up.
    const int item = ShownFolderItem();
    if (item >= 0) m_host.SelectFolderItem(item);
    if (SUCCEEDED(ReadFolderEntries(m_pContainer))) GiveMissingUids();
    m_host.FillAbList(false);
}

int AddressBookSession::ShownFolderItem() const
{
    for (int item = 0; item < m_store.m_nFolderCount && item < kFolderSlots; ++item) {
        const FolderRecord& folder = m_store.m_folders[static_cast<size_t>(item)];
        if (folder.m_pEntryId && folder.m_cbEntryId == m_strShownFolderId.size() &&
            std::memcmp(folder.m_pEntryId, m_strShownFolderId.data(), folder.m_cbEntryId) == 0)
            return item;
    }
    return -1;
}
