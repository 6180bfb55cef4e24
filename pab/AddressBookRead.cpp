// Reading one folder of the address book into the address-book table: every mail user becomes an entry, with
// its status and index taken from its comment. Entries without a usable index get one and are written back.
#include "mapi/Mapi.h"
#include "model/EntryTableEditor.h"
#include "pab/AbComment.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "pab/AddressBookSession.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"

#include <QFileInfo>
#include <QUuid>

#include <optional>

void AddressBookSession::ReadEntryProperties(const SPropValue* values, ULONG count, int slot, bool& isMailUser)
{
    DirEntry& entry = m_store.m_abTable[slot];
    std::optional<std::string> comment;
    bool hasObjectType = false;
    isMailUser = false;
    for (ULONG v = 0; v < count; ++v) {
        const SPropValue& value = values[v];
        switch (value.ulPropTag) {
        case PR_DISPLAY_NAME: entry.m_strName = value.Value.lpszA ? value.Value.lpszA : ""; break;
        case PR_PRIMARY_TELEPHONE_NUMBER: entry.m_strNumber = value.Value.lpszA ? value.Value.lpszA : ""; break;
        case PR_COMMENT: comment = std::string(value.Value.lpszA ? value.Value.lpszA : ""); break;
        case PR_TD_ENTRY_UID: entry.m_strUid = value.Value.lpszA ? value.Value.lpszA : ""; break;
        case PR_TD_NUMBER_KIND: entry.m_strNumberKind = value.Value.lpszA ? value.Value.lpszA : ""; break;
        case PR_OBJECT_TYPE:
            hasObjectType = true;
            isMailUser = value.Value.l != static_cast<LONG>(MAPI_DISTLIST);
            break;
        default: break;
        }
    }
    if (!hasObjectType) isMailUser = false;
    const AbCommentFields fields = AbComment::Parse(comment, m_store.m_abTable, slot);
    entry.m_strStatus = fields.m_strStatus;
    entry.m_nIndex = fields.m_nIndex;
    entry.m_strComment = fields.m_strComment;
}

HRESULT AddressBookSession::ReadFolderEntries(IMAPIContainer* container)
{
    // The entries' identifiers point into the rows freed here: whatever the read ends with, no entry of the
    // folder read before may stay behind, listed or not.
    m_host.ClearAbList();
    for (DirEntry& entry : m_store.m_abTable.m_entries) entry.Clear();
    m_store.m_abTable.m_nCount = 0;
    if (m_pContentRows) {
        FreeProws(m_pContentRows);
        m_pContentRows = nullptr;
    }
    LPMAPITABLE table = nullptr;
    HRESULT hr = container->GetContentsTable(MAPI_ASSOCIATED, &table);
    const bool noContents = hr == MAPI_E_NO_SUPPORT;
    if (noContents) {
        // A container without a contents table is shown as an empty folder.
        ReportBookError(hr, Ids::IDS_ERR_NO_ENTRIES);
    } else if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_CONTENTS_TABLE);
        CloseAbSession();
        return hr;
    } else {
        hr = HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &m_pContentRows);
        if (FAILED(hr)) {
            table->Release();
            if (m_pContentRows) FreeProws(m_pContentRows);
            m_pContentRows = nullptr;
            ReportBookError(hr, Ids::IDS_ERR_QUERY_ROWS);
            CloseAbSession();
            return hr;
        }
    }
    m_host.ClearAbList();
    for (DirEntry& entry : m_store.m_abTable.m_entries) entry.Clear();
    m_store.m_abTable.m_nCount = 0;
    if (noContents) return S_OK;

    int k = 0;
    // The table has 1000 slots: further mail users of a larger folder are not shown.
    for (ULONG r = 0; r < m_pContentRows->cRows && k < kTableSlots; ++r) {
        const SRow& row = m_pContentRows->aRow[r];
        const SBinary* id = nullptr;
        for (ULONG v = 0; v < row.cValues && row.lpProps; ++v)
            if (row.lpProps[v].ulPropTag == PR_ENTRYID) id = &row.lpProps[v].Value.bin;
        if (!id) continue;
        ULONG objectType = 0;
        LPUNKNOWN opened = nullptr;
        hr = m_pAddrBook->OpenEntry(id->cb, reinterpret_cast<LPENTRYID>(id->lpb), nullptr, kOpenFlags, &objectType,
                                    &opened);
        ULONG count = 0;
        LPSPropValue values = nullptr;
        auto* entry = dynamic_cast<IMAPIProp*>(opened);
        if (SUCCEEDED(hr) && entry) hr = entry->GetProps(nullptr, 0, &count, &values);
        if (FAILED(hr) || !entry) {
            if (opened) opened->Release();
            if (values) MAPIFreeBuffer(values);
            table->Release();
            m_store.m_abTable.m_nCount = 0;
            ReportBookError(hr, Ids::IDS_ERR_OPEN_CONTAINER);
            CloseAbSession();
            return FAILED(hr) ? hr : MAPI_E_CALL_FAILED;
        }
        m_store.m_abTable.m_nCount = k; // the index found in the comment must be free among the entries read so far
        bool isMailUser = false;
        ReadEntryProperties(values, count, k, isMailUser);
        if (isMailUser) {
            m_store.m_abTable[k].m_cbEntryId = id->cb;
            m_store.m_abTable[k].m_pEntryId = reinterpret_cast<ENTRYID*>(id->lpb);
            ++k;
        } else {
            m_store.m_abTable[k].Clear();
        }
        opened->Release();
        MAPIFreeBuffer(values);
    }
    m_store.m_abTable.m_nCount = k;
    table->Release();
    return hr;
}

void AddressBookSession::AssignMissingIndices()
{
    bool assigned = false;
    for (int k = 0; k < m_store.m_abTable.m_nCount; ++k) {
        DirEntry& entry = m_store.m_abTable[k];
        if (entry.m_nIndex != 0) continue;
        entry.m_nIndex = EntryTableEditor::LowestFreeIndex(m_store.m_abTable);
        // A reader shows the index without writing it: the next writer to open the book stores it.
        if (m_bReadOnly) continue;
        entry.m_nState = ENTRY_CHANGED;
        assigned = true;
    }
    if (!assigned) return;
    m_store.SetFlag(VF_AB_MODIFIED);
    SaveAddressBook();
}

std::string AddressBookSession::BookUid()
{
    ULONG objectType = 0;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(m_cbPabEntryId, m_pPabEntryId, nullptr, kOpenFlags, &objectType, &opened);
    auto* book = dynamic_cast<IMAPIProp*>(opened);
    std::string uid;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    if (SUCCEEDED(hr) && book && SUCCEEDED(book->GetProps(nullptr, 0, &count, &values))) {
        for (ULONG v = 0; v < count; ++v)
            if (values[v].ulPropTag == PR_TD_BOOK_UID && values[v].Value.lpszA) uid = values[v].Value.lpszA;
    }
    if (values) MAPIFreeBuffer(values);
    if (uid.empty() || QUuid::fromString(QString::fromStdString(uid)).isNull()) {
        // Made once per book from the file it lies in and kept in it by the first writer: a reader, which never
        // writes, makes the same one, so the UIDs it exports agree with those a writer stores later.
        static const QUuid kBookNamespace(QStringLiteral("{5b0c7a52-3f7e-4d1a-9c39-0e6f2b8d4a17}"));
        const QString file = QFileInfo(QString::fromStdString(MAPIGetAddressBookFile())).canonicalFilePath();
        uid = QUuid::createUuidV5(kBookNamespace, file.toUtf8()).toString(QUuid::WithoutBraces).toStdString();
        SPropValue value{};
        value.ulPropTag = PR_TD_BOOK_UID;
        value.Value.lpszA = uid.data();
        LPSPropProblemArray problems = nullptr;
        if (!m_bReadOnly && book && SUCCEEDED(book->SetProps(1, &value, &problems))) book->SaveChanges(0);
        if (problems) MAPIFreeBuffer(problems);
    }
    if (opened) opened->Release();
    return uid;
}

void AddressBookSession::GiveMissingUids()
{
    std::optional<QUuid> book;
    for (int k = 0; k < m_store.m_abTable.m_nCount; ++k) {
        DirEntry& entry = m_store.m_abTable[k];
        if (!entry.m_strUid.empty()) continue;
        if (!book) book = QUuid::fromString(QString::fromStdString(BookUid()));
        const QByteArray id(reinterpret_cast<const char*>(entry.m_pEntryId), qsizetype(entry.m_cbEntryId));
        entry.m_strUid = QUuid::createUuidV5(*book, id.toHex()).toString(QUuid::WithoutBraces).toStdString();
        entry.m_bUidToStore = true;
    }
}

HRESULT AddressBookSession::ReadFolder(IMAPIContainer* container)
{
    if (!container || !m_pAddrBook) return MAPI_E_END_OF_SESSION;
    const HRESULT hr = ReadFolderEntries(container);
    if (SUCCEEDED(hr)) GiveMissingUids();
    // The save that writes new indices reads the folder again as a plain read, which never assigns nor saves:
    // an index that does not survive the round trip cannot make reading and saving call each other without end.
    if (SUCCEEDED(hr)) AssignMissingIndices();
    return hr;
}
