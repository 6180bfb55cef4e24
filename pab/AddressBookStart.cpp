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
    if (m_pContainer) m_pContainer->Release();
    m_pContainer = nullptr;
    const FolderRecord& folder = m_store.m_folders[static_cast<size_t>(item)];
    LPUNKNOWN opened = nullptr;
    ULONG objectType = 0;
    HRESULT hr = m_pAddrBook ? m_pAddrBook->OpenEntry(folder.m_cbEntryId, folder.m_pEntryId, nullptr,
                                                      MAPI_MODIFY | MAPI_BEST_ACCESS, &objectType, &opened)
                             : MAPI_E_END_OF_SESSION;
    m_pContainer = dynamic_cast<IABContainer*>(opened);
    if (FAILED(hr) || !m_pContainer) {
        if (opened) opened->Release();
        m_pContainer = nullptr;
        m_questions.ReportError(kErrorClassAddressBook, Ids::IDS_ERR_OPEN_CONTAINER);
        CloseAbSession();
        m_host.EndProgram(-1);
        return;
    }
    m_strShownFolderId.assign(reinterpret_cast<const char*>(folder.m_pEntryId), folder.m_cbEntryId);
    ReadFolder(m_pContainer);
    m_host.FillAbList(false);
}
