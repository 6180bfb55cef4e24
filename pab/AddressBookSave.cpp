// Saving the address-book table into the folder shown: deletions first, then new and edited entries, all in one
// transaction of the address book, so that the book holds the folder as it was before the save or as it is
// after it, never a part; then the folder is read again so the list shows what the book holds.
#include "mapi/Mapi.h"
#include "pab/AbComment.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "pab/AddressBookSession.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"

#include <QUuid>

#include <vector>

namespace {

SPropValue StringProp(ULONG tag, const std::string& text)
{
    SPropValue value{};
    value.ulPropTag = tag;
    value.Value.lpszA = const_cast<char*>(text.c_str());
    return value;
}

// An entry of the fields the callers that write single entries pass (a folder, the tests).
DirEntry EntryOfFields(const std::string& name, const std::string& number, int index, const std::string& status,
                       const std::string& comment)
{
    DirEntry entry;
    entry.m_strName = name;
    entry.m_strNumber = number;
    entry.m_nIndex = index;
    entry.m_strStatus = status;
    entry.m_strComment = comment;
    return entry;
}
}

void AddressBookSession::SaveBeforeLeaving()
{
    m_store.m_nActiveList = LIST_NONE;
    SaveAddressBook();
}

void AddressBookSession::SaveAddressBook()
{
    if (!m_store.HasFlag(VF_AB_MODIFIED)) return;
    ++m_nSaveDepth;
    if (m_nSaveDepth == 1) m_bUnsavedKept = false;
    const bool saved = SaveTableChanges();
    --m_nSaveDepth;
    if (!saved) {
        m_host.EndProgram(-1);
        return;
    }
    m_store.ClearFlag(VF_AB_MODIFIED);
    ReadShownFolderAgain();
}

bool AddressBookSession::SaveTableChanges()
{
    // A save that fails leaves the book as it was, and the table with every change still pending.
    m_statesBeforeSave = PendingStates(m_store.m_abTable);
    if (!m_pContainer || !m_pAddrBook) { // the session ended after an earlier failure: nothing can be saved
        ReportBookError(MAPI_E_END_OF_SESSION, Ids::IDS_ERR_OPEN_CONTAINER);
        return false;
    }
    LPMAPITRANSACTION transaction = nullptr;
    HRESULT hr = HrOpenTransaction(m_pContainer, &transaction);
    if (hr == MAPI_E_NO_SUPPORT) hr = S_OK; // a book without transactions is written entry by entry
    if (FAILED(hr)) hr = ReportTransactionFailure(hr);
    else if (!WritePendingChanges()) hr = MAPI_E_CALL_FAILED; // already reported, and the session closed
    else if (transaction && FAILED(hr = transaction->Commit(0))) hr = ReportTransactionFailure(hr);
    if (transaction) transaction->Release(); // takes back what an uncommitted transaction holds
    if (FAILED(hr)) RestoreStates(m_store.m_abTable, m_statesBeforeSave);
    return SUCCEEDED(hr);
}

std::vector<int> AddressBookSession::PendingStates(const DirTable& table)
{
    std::vector<int> states;
    for (int slot = 0; slot < kTableSlots && (slot < table.m_nCount || table[slot].m_nState == ENTRY_REMOVED); ++slot)
        states.push_back(table[slot].m_nState);
    return states;
}

void AddressBookSession::RestoreStates(DirTable& table, const std::vector<int>& states)
{
    for (size_t slot = 0; slot < states.size(); ++slot) table[static_cast<int>(slot)].m_nState = states[slot];
}

HRESULT AddressBookSession::ReportTransactionFailure(HRESULT hr)
{
    ReportBookError(hr, Ids::IDS_ERR_SAVE_CHANGES);
    CloseAbSession();
    return hr;
}

bool AddressBookSession::WritePendingChanges()
{
    for (int slot = m_store.m_abTable.m_nCount; slot < kTableSlots && m_store.m_abTable[slot].m_nState == ENTRY_REMOVED; ++slot) {
        DirEntry& removed = m_store.m_abTable[slot];
        if (FAILED(DeleteAbEntry(removed.m_cbEntryId, removed.m_pEntryId))) return false;
        removed.m_nState = ENTRY_UNCHANGED;
    }
    for (int slot = 0; slot < m_store.m_abTable.m_nCount; ++slot) {
        DirEntry& entry = m_store.m_abTable[slot];
        HRESULT hr = S_OK;
        if (entry.m_nState == ENTRY_NEW) {
            m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
            m_host.SetStatusText(m_store.m_strScratch);
            uint32_t cbTemplate = 0;
            ENTRYID* templateId = nullptr;
            SRowSet* templateRows = nullptr;
            hr = FindCreateTemplate("", &cbTemplate, &templateId, &templateRows);
            GiveNewEntryUid(slot);
            if (SUCCEEDED(hr)) hr = CreateAbEntry(entry, cbTemplate, templateId);
            FreeRowSet(templateRows);
        } else if (entry.m_nState == ENTRY_CHANGED || entry.m_bUidToStore) {
            m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
            m_host.SetStatusText(m_store.m_strScratch);
            hr = UpdateAbEntry(entry);
        } else {
            continue;
        }
        if (FAILED(hr)) return false;
        entry.m_nState = ENTRY_UNCHANGED;
        entry.m_bUidToStore = false;
    }
    return true;
}

void AddressBookSession::FreeRowSet(SRowSet* rows)
{
    if (rows) FreeProws(rows);
}

HRESULT AddressBookSession::FindCreateTemplate(const char* addressType, uint32_t* cbEntryId, ENTRYID** entryId, SRowSet** rows)
{
    *rows = nullptr;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pContainer->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &opened);
    auto* table = dynamic_cast<IMAPITable*>(opened);
    int failedMessage = 0;
    if (FAILED(hr) || !table) {
        failedMessage = Ids::IDS_ERR_OPEN_PROPERTY;
        if (SUCCEEDED(hr)) hr = MAPI_E_NO_SUPPORT;
    } else {
        SizedSPropTagArray(2, columns) = {2, {PR_ADDRTYPE, PR_ENTRYID}};
        const std::string wantedType = addressType; // must outlive the restriction that points at it
        SPropValue wanted = StringProp(PR_ADDRTYPE, wantedType);
        SRestriction restriction{};
        restriction.rt = RES_PROPERTY;
        restriction.res.resProperty = {RELOP_EQ, PR_ADDRTYPE, &wanted};
        ULONG count = 0;
        if (FAILED(hr = table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0)))
            failedMessage = Ids::IDS_ERR_SET_COLUMNS;
        else if (FAILED(hr = table->Restrict(&restriction, 0)))
            failedMessage = Ids::IDS_ERR_RESTRICT;
        else if (FAILED(hr = table->GetRowCount(0, &count)))
            failedMessage = Ids::IDS_ERR_ROW_COUNT;
        else if (count > 0 && SUCCEEDED(table->QueryRows(static_cast<LONG>(count), 0, rows)) && *rows &&
                 (*rows)->cRows > 0 && (*rows)->aRow[0].cValues > 1 &&
                 (*rows)->aRow[0].lpProps[1].ulPropTag == PR_ENTRYID) {
            *cbEntryId = (*rows)->aRow[0].lpProps[1].Value.bin.cb;
            *entryId = reinterpret_cast<ENTRYID*>((*rows)->aRow[0].lpProps[1].Value.bin.lpb);
        } else {
            // No template for the type (or none could be read): the book's own identifier creates a mail user.
            FreeRowSet(*rows);
            *rows = nullptr;
            *cbEntryId = m_cbPabEntryId;
            *entryId = m_pPabEntryId;
        }
    }
    if (opened) opened->Release();
    if (failedMessage) {
        ReportBookError(hr, failedMessage);
        CloseAbSession();
    }
    return hr;
}

HRESULT AddressBookSession::CreateAbEntry(const std::string& name, const std::string& number, int index,
                                const std::string& status, uint32_t cbTemplateId, ENTRYID* templateId,
                                const std::string& comment)
{
    return CreateAbEntry(EntryOfFields(name, number, index, status, comment), cbTemplateId, templateId);
}

HRESULT AddressBookSession::CreateAbEntry(const DirEntry& source, uint32_t cbTemplateId, ENTRYID* templateId)
{
    LPMAPIPROP entry = nullptr;
    HRESULT hr = m_pContainer->CreateEntry(cbTemplateId, templateId, CREATE_CHECK_DUP_LOOSE, &entry);
    if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_CREATE_ENTRY);
        if (entry) entry->Release();
        CloseAbSession();
        return hr;
    }
    if (hr > 0) {
        if (entry) entry->Release();
        return hr;
    }
    if (!entry) return 0;
    // A new entry may bring a comment of its own (an imported card's note, an entry cut and pasted).
    m_store.m_strScratch = source.m_strComment.empty()
        ? AbComment::FormatForNewEntry(source.m_strStatus, source.m_nIndex)
        : AbComment::FormatForUpdatedEntry(source.m_strComment, source.m_strStatus, source.m_nIndex);
    const std::string addressType = "SMTP";
    const std::string address = "- -";
    std::vector<SPropValue> values = {StringProp(PR_DISPLAY_NAME, source.m_strName),
                                      StringProp(PR_PRIMARY_TELEPHONE_NUMBER, source.m_strNumber),
                                      StringProp(PR_ADDRTYPE, addressType), StringProp(PR_EMAIL_ADDRESS, address),
                                      StringProp(PR_COMMENT, m_store.m_strScratch)};
    // Folders are created here too: they have neither.
    if (!source.m_strUid.empty()) values.push_back(StringProp(PR_TD_ENTRY_UID, source.m_strUid));
    if (!source.m_strNumberKind.empty()) values.push_back(StringProp(PR_TD_NUMBER_KIND, source.m_strNumberKind));
    return StoreEntryProps(entry, ULONG(values.size()), values.data(), true);
}

HRESULT AddressBookSession::UpdateAbEntry(const std::string& name, const std::string& number, int index,
                                const std::string& status, uint32_t cbEntryId, ENTRYID* entryId,
                                const std::string& comment)
{
    DirEntry entry = EntryOfFields(name, number, index, status, comment);
    entry.m_cbEntryId = cbEntryId;
    entry.m_pEntryId = entryId;
    return UpdateAbEntry(entry);
}

HRESULT AddressBookSession::UpdateAbEntry(const DirEntry& source)
{
    ULONG objectType = 0;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(source.m_cbEntryId, source.m_pEntryId, nullptr, kOpenFlags, &objectType, &opened);
    auto* entry = dynamic_cast<IMAPIProp*>(opened);
    if (FAILED(hr)) {
        ReportBookError(hr, Ids::IDS_ERR_CREATE_ENTRY);
        if (opened) opened->Release();
        CloseAbSession();
        return hr;
    }
    if (hr > 0 || !entry) {
        if (opened) opened->Release();
        return hr;
    }
    m_store.m_strScratch = AbComment::FormatForUpdatedEntry(source.m_strComment, source.m_strStatus, source.m_nIndex);
    std::vector<SPropValue> values = {StringProp(PR_DISPLAY_NAME, source.m_strName),
                                      StringProp(PR_PRIMARY_TELEPHONE_NUMBER, source.m_strNumber),
                                      StringProp(PR_COMMENT, m_store.m_strScratch),
                                      StringProp(PR_TD_NUMBER_KIND, source.m_strNumberKind)};
    if (!source.m_strUid.empty()) values.push_back(StringProp(PR_TD_ENTRY_UID, source.m_strUid));
    return StoreEntryProps(entry, ULONG(values.size()), values.data(), false);
}

void AddressBookSession::GiveNewEntryUid(int slot)
{
    DirEntry& entry = m_store.m_abTable[slot];
    bool taken = entry.m_strUid.empty();
    for (int other = 0; other < m_store.m_abTable.m_nCount && !taken; ++other) {
        const DirEntry& held = m_store.m_abTable[other];
        // A copy pasted into the folder of its original, or a card given twice: the first one keeps it.
        taken = other != slot && held.m_strUid == entry.m_strUid && (held.m_nState != ENTRY_NEW || other < slot);
    }
    if (taken) entry.m_strUid = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

HRESULT AddressBookSession::StoreEntryProps(IMAPIProp* entry, ULONG count, SPropValue* values, bool newEntry)
{
    LPSPropProblemArray problems = nullptr;
    HRESULT hr = entry->SetProps(count, values, &problems);
    int failedMessage = 0;
    if (FAILED(hr)) {
        failedMessage = Ids::IDS_ERR_SET_PROPS;
    } else {
        hr = entry->SaveChanges(0);
        if (hr == MAPI_E_COLLISION) {
            // A new entry whose name the folder has already is passed over; saving goes on with the next one.
            // Renaming into such a name cannot be carried out, and ends the session like any failure to save.
            ReportBookError(hr, Ids::IDS_ERR_ENTRY_EXISTS);
            if (newEntry) hr = 0;
            else failedMessage = Ids::IDS_ERR_SAVE_CHANGES;
        } else if (FAILED(hr)) {
            failedMessage = Ids::IDS_ERR_SAVE_CHANGES;
        } else {
            m_store.m_strScratch = StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL);
            m_host.SetStatusText(m_store.m_strScratch);
        }
    }
    entry->Release();
    if (problems) MAPIFreeBuffer(problems);
    if (failedMessage) {
        ReportBookError(hr, failedMessage);
        CloseAbSession();
    }
    return hr;
}

HRESULT AddressBookSession::DeleteAbEntry(uint32_t cbEntryId, ENTRYID* entryId)
{
    SBinary id{cbEntryId, reinterpret_cast<LPBYTE>(entryId)};
    ENTRYLIST list{1, &id};
    const HRESULT hr = m_pContainer->DeleteEntries(&list, 0);
    if (FAILED(hr)) {
        // The program ends after this: the user learns why, and where the unsaved entries went.
        ReportBookError(hr, Ids::IDS_ERR_SAVE_CHANGES);
        CloseAbSession();
    }
    return hr;
}
