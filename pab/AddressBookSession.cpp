// The address-book session: logging on, opening the personal address book, and the table of its folders
// (the book itself and every distribution list in it, depth first).
#include "mapi/Mapi.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "pab/AddressBookLock.h"
#include "pab/AddressBookSession.h"
#include "pab/UnsavedEntriesFile.h"
#include "res/ErrorReport.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"

#include <cstring>

namespace {
// The rows of the folder in record k lie in record k + 1, so the last record holds rows but no folder.
constexpr int kLastFolderRecord = kFolderSlots - 2;

template <typename T>
void ReleaseAndClear(T*& object)
{
    if (object) object->Release();
    object = nullptr;
}

bool SameEntryId(uint32_t cb1, const ENTRYID* id1, uint32_t cb2, const ENTRYID* id2)
{
    return id1 && id2 && cb1 == cb2 && std::memcmp(id1, id2, cb1) == 0;
}
}

HRESULT AddressBookSession::OpenAbSession()
{
    m_pSession = nullptr;
    m_pAddrBook = nullptr;
    m_pContainer = nullptr;
    m_cbPabEntryId = 0;
    m_pPabEntryId = nullptr;

    HRESULT hr = MAPIInitialize(nullptr);
    if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_MAPI_INIT);
        return hr;
    }
    if (!m_bReadOnly && !TakeBookLock()) {
        // Another program writes the book: this one opens nothing, so that neither undoes the other's saves.
        m_questions.ReportError(ErrorClass::kAddressBook, Ids::IDS_ERR_MAPI_LOGON);
        ErrorReport::setDetail({});
        CloseAbSession();
        return MAPI_E_NO_ACCESS;
    }
    const ULONG access = m_bReadOnly ? MAPI_BOOK_READ_ONLY : 0;
    hr = MAPILogonEx(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL | access, &m_pSession);
    if (FAILED(hr)) {
        m_pSession = nullptr;
        ReportBookError(hr, Ids::IDS_ERR_MAPI_LOGON);
        CloseAbSession();
        return hr;
    }
    return ReopenAddressBook(); // reports and closes the session itself on failure
}

HRESULT AddressBookSession::ReopenAddressBook()
{
    ReleaseAndClear(m_pContainer);
    ReleaseAndClear(m_pAddrBook);
    if (!m_pSession) return MAPI_E_END_OF_SESSION;
    int failedMessage = 0;
    HRESULT hr = m_pSession->OpenAddressBook(0, nullptr, 0, &m_pAddrBook);
    if (FAILED(hr)) {
        m_pAddrBook = nullptr;
        failedMessage = Ids::IDS_ERR_OPEN_ADDRESS_BOOK;
    } else {
        FreePabEntryId(); // the root folder record points here until the next scan
        hr = m_pAddrBook->GetPAB(&m_cbPabEntryId, &m_pPabEntryId);
        if (FAILED(hr)) {
            failedMessage = Ids::IDS_ERR_OPEN_PAB;
        } else {
            ULONG objectType = 0;
            LPUNKNOWN opened = nullptr;
            hr = m_pAddrBook->OpenEntry(m_cbPabEntryId, m_pPabEntryId, nullptr, kOpenFlags, &objectType, &opened);
            m_pContainer = dynamic_cast<IABContainer*>(opened);
            if (FAILED(hr) || !m_pContainer) {
                ReleaseAndClear(opened);
                m_pContainer = nullptr;
                failedMessage = Ids::IDS_ERR_OPEN_CONTAINER;
                if (SUCCEEDED(hr)) hr = MAPI_E_INVALID_OBJECT;
            }
        }
    }
    if (failedMessage) {
        ReportBookError(hr, failedMessage);
        CloseAbSession();
    }
    return hr;
}

void AddressBookSession::CloseAbSession()
{
    FreeFolderRows();
    if (m_pContentRows) {
        FreeProws(m_pContentRows);
        m_pContentRows = nullptr;
        // Entries of the folder held identifiers in those rows.
        for (DirEntry& entry : m_store.m_abTable.m_entries) {
            entry.m_cbEntryId = 0;
            entry.m_pEntryId = nullptr;
        }
    }
    ReleaseAndClear(m_pContainer);
    ReleaseAndClear(m_pAddrBook);
    if (m_pSession) {
        if (m_pSession->Logoff(0, MAPI_LOGOFF_UI, 0) != S_OK) return; // the session stays, and MAPI with it
        ReleaseAndClear(m_pSession);
        FreePabEntryId();
        MAPIUninitialize();
    }
    m_lock.reset(); // the book is free for the next writer
}

bool AddressBookSession::TakeBookLock()
{
    const std::string book = MAPIGetAddressBookFile();
    if (m_lock || book.empty()) return true; // without a file the logon fails and says so
    auto lock = std::make_unique<AddressBookLock>(book);
    if (!lock->TryLock()) {
        ErrorReport::setDetail(lock->Refusal()); // read by the report that follows
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

void AddressBookSession::ReportBookError(HRESULT hr, int messageId)
{
    QString detail = QString::fromStdString(MAPIGetLastErrorText(hr));
    // Ending the program after a failed save would drop what the user typed: it goes to a file first.
    if (m_nSaveDepth > 0 && messageId != Ids::IDS_ERR_ENTRY_EXISTS && !m_bUnsavedKept) {
        m_bUnsavedKept = true;
        // The save is undone as a whole: what it had written so far is unsaved again.
        DirTable asBeforeSave = m_store.m_abTable;
        RestoreStates(asBeforeSave, m_statesBeforeSave);
        const QString kept = UnsavedEntriesFile::Write(asBeforeSave);
        detail = detail.isEmpty() ? kept : detail + QLatin1Char('\n') + kept;
    }
    ErrorReport::setDetail(detail);
    m_questions.ReportError(ErrorClass::kAddressBook, messageId);
    ErrorReport::setDetail({});
}

void AddressBookSession::FreePabEntryId()
{
    if (m_pPabEntryId) MAPIFreeBuffer(m_pPabEntryId);
    if (m_store.m_folders[0].m_pEntryId == m_pPabEntryId) m_store.m_folders[0].m_pEntryId = nullptr;
    m_pPabEntryId = nullptr;
    m_cbPabEntryId = 0;
}

bool AddressBookSession::IsFolderListed(int recordCount, uint32_t cbEntryId, const ENTRYID* entryId) const
{
    for (int k = 1; k < recordCount; ++k) {
        const FolderRecord& folder = m_store.m_folders[static_cast<size_t>(k)];
        if (SameEntryId(folder.m_cbEntryId, folder.m_pEntryId, cbEntryId, entryId)) return true;
    }
    return false;
}

void AddressBookSession::FreeFolderRows()
{
    for (FolderRecord& folder : m_store.m_folders) {
        if (folder.m_pRows) FreeProws(folder.m_pRows);
        folder.m_pRows = nullptr;
    }
}

HRESULT AddressBookSession::ScanFolders(IMAPIContainer* container, int i, int d)
{
    LPMAPITABLE table = nullptr;
    HRESULT hr = container->GetContentsTable(0, &table);
    if (hr == MAPI_E_NO_SUPPORT) {
        ReportBookError(hr, Ids::IDS_ERR_NO_ENTRIES);
        return hr;
    }
    if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_CONTENTS_TABLE);
        CloseAbSession();
        return hr;
    }
    LPSRowSet rows = nullptr;
    hr = HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &rows);
    if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_QUERY_ROWS);
        if (rows) FreeProws(rows);
        table->Release();
        CloseAbSession();
        return hr;
    }
    if (i == 0) {
        FolderRecord& root = m_store.m_folders[0];
        root.m_nKind = FOLDER_MAIN;
        root.m_nLevel = 1;
        root.m_strName = StringTable::LoadString(Ids::IDS_PAB_NAME);
        root.m_cbEntryId = m_cbPabEntryId;
        root.m_pEntryId = m_pPabEntryId;
        i = 1;
    }
    FolderRecord& rowHolder = m_store.m_folders[static_cast<size_t>(i)];
    if (rowHolder.m_pRows) FreeProws(rowHolder.m_pRows);
    rowHolder.m_pRows = rows;

    int j = i;
    for (ULONG r = 0; r < rows->cRows && j <= kLastFolderRecord; ++r) {
        const SRow& row = rows->aRow[r];
        if (row.cValues == 0 || !row.lpProps) continue;
        const SBinary* id = nullptr;
        const char* name = nullptr;
        bool isList = false;
        for (ULONG v = 0; v < row.cValues; ++v) {
            const SPropValue& value = row.lpProps[v];
            if (value.ulPropTag == PR_ENTRYID) id = &value.Value.bin;
            if (value.ulPropTag == PR_DISPLAY_NAME) name = value.Value.lpszA;
            if (value.ulPropTag == PR_OBJECT_TYPE && value.Value.l == static_cast<LONG>(MAPI_DISTLIST)) isList = true;
        }
        if (!isList || !id) continue;
        // Lists that contain each other would be scanned without end: every list is listed once.
        if (IsFolderListed(j, id->cb, reinterpret_cast<ENTRYID*>(id->lpb))) continue;
        FolderRecord& folder = m_store.m_folders[static_cast<size_t>(j)];
        folder.m_nKind = FOLDER_SUB;
        folder.m_nLevel = d + 2;
        folder.m_strName = name ? name : "";
        folder.m_cbEntryId = id->cb;
        folder.m_pEntryId = reinterpret_cast<ENTRYID*>(id->lpb);

        ULONG objectType = 0;
        LPUNKNOWN opened = nullptr;
        hr = m_pAddrBook->OpenEntry(id->cb, folder.m_pEntryId, nullptr, kOpenFlags, &objectType, &opened);
        auto* list = dynamic_cast<IMAPIContainer*>(opened);
        if (FAILED(hr) || !list) {
            if (SUCCEEDED(hr)) hr = MAPI_E_INVALID_OBJECT;
            ReleaseAndClear(opened);
            table->Release();
            ReportBookError(hr, Ids::IDS_ERR_OPEN_CONTAINER);
            CloseAbSession();
            return hr;
        }
        m_store.m_nFolderCount = j + 1;
        hr = ScanFolders(list, j + 1, d + 1);
        opened->Release();
        if (FAILED(hr)) {
            table->Release();
            ReportBookError(hr, Ids::IDS_ERR_OPEN_CONTAINER);
            CloseAbSession();
            return hr;
        }
        j = m_store.m_nFolderCount;
    }
    m_store.m_nFolderCount = j;
    table->Release();
    return hr;
}

HRESULT AddressBookSession::ReopenShownFolder()
{
    return OpenContainer(static_cast<uint32_t>(m_strShownFolderId.size()),
                         reinterpret_cast<ENTRYID*>(m_strShownFolderId.data()));
}

HRESULT AddressBookSession::OpenContainer(uint32_t cbEntryId, ENTRYID* entryId)
{
    ReleaseAndClear(m_pContainer);
    LPUNKNOWN opened = nullptr;
    ULONG objectType = 0;
    const HRESULT hr = m_pAddrBook ? m_pAddrBook->OpenEntry(cbEntryId, entryId, nullptr, kOpenFlags, &objectType, &opened)
                                   : MAPI_E_END_OF_SESSION;
    m_pContainer = dynamic_cast<IABContainer*>(opened);
    if (SUCCEEDED(hr) && m_pContainer) return hr;
    ReleaseAndClear(opened);
    m_pContainer = nullptr;
    ReportBookError(hr, Ids::IDS_ERR_OPEN_CONTAINER);
    CloseAbSession();
    return FAILED(hr) ? hr : MAPI_E_INVALID_OBJECT;
}

AddressBookSession::AddressBookSession(EntryStore& store, IQuestions& questions, IAddressBookHost& host)
    : m_store(store), m_questions(questions), m_host(host)
{
}

AddressBookSession::~AddressBookSession()
{
    CloseAbSession(); // does nothing when the session was closed already
}
