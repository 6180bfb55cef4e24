// The address-book half of the form: opening the book at start-up and showing another folder.
#include "mapi/Mapi.h"
#include "model/Questions.h"
#include "res/StringTable.h"
#include "pab/AddressBook.h"

#include "model/EntryStore.h"
#include "model/FormHost.h"
#include "model/Questions.h"

bool AddressBook::OpenAtStartUp()
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

void AddressBook::ChangeFolder()
{
    if (m_store.HasFlag(VF_AB_MODIFIED)) {
        if (m_questions.AskYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_FOLDER)))
            SaveBeforeLeaving();
        m_store.ClearFlag(VF_AB_MODIFIED);
    }
    const int item = m_host.SelectedFolderItem();
    if (item < 0) return;
    const FolderRecord& folder = m_store.m_folders[static_cast<size_t>(item)];
    if (FAILED(OpenContainer(folder.m_cbEntryId, folder.m_pEntryId))) {
        m_host.EndProgram(-1);
        return;
    }
    m_strShownFolderId.assign(reinterpret_cast<const char*>(folder.m_pEntryId), folder.m_cbEntryId);
    ReadFolder(m_pContainer);
    m_host.FillAbList(false);
}
