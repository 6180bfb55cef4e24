// Saving the address-book table into the folder shown: deletions first, then new and edited entries, each its own
// transaction in the address book; then the folder is read again so the list shows what the book holds.
#include "mapi/Mapi.h"
#include "pab/AbComment.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "pab/AddressBookSession.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"


namespace {

SPropValue StringProp(ULONG tag, const std::string& text)
{
    SPropValue value{};
    value.ulPropTag = tag;
    value.Value.lpszA = const_cast<char*>(text.c_str());
    return value;
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
    if (!m_pContainer || !m_pAddrBook) { // the session ended after an earlier failure: nothing can be saved
        m_questions.ReportError(ErrorClass::kAddressBook, Ids::IDS_ERR_OPEN_CONTAINER);
        m_host.EndProgram(-1);
        return;
    }
    for (int slot = m_store.m_abTable.m_nCount; slot < kTableSlots && m_store.m_abTable[slot].m_nState == ENTRY_REMOVED; ++slot) {
        DirEntry& removed = m_store.m_abTable[slot];
        if (FAILED(DeleteAbEntry(removed.m_cbEntryId, removed.m_pEntryId))) {
            m_host.EndProgram(-1);
            return;
        }
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
            if (SUCCEEDED(hr))
                hr = CreateAbEntry(entry.m_strName, entry.m_strNumber, entry.m_nIndex, entry.m_strStatus, cbTemplate,
                                   templateId, entry.m_strComment);
            FreeRowSet(templateRows);
        } else if (entry.m_nState == ENTRY_CHANGED) {
            m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
            m_host.SetStatusText(m_store.m_strScratch);
            hr = UpdateAbEntry(entry.m_strName, entry.m_strNumber, entry.m_nIndex, entry.m_strStatus,
                               entry.m_cbEntryId, entry.m_pEntryId, entry.m_strComment);
        } else {
            continue;
        }
        if (FAILED(hr)) {
            m_host.EndProgram(-1);
            return;
        }
        entry.m_nState = ENTRY_UNCHANGED;
    }
    m_store.ClearFlag(VF_AB_MODIFIED);
    ReadShownFolderAgain();
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
        m_questions.ReportError(ErrorClass::kAddressBook, failedMessage);
        CloseAbSession();
    }
    return hr;
}

HRESULT AddressBookSession::CreateAbEntry(const std::string& name, const std::string& number, int index,
                                const std::string& status, uint32_t cbTemplateId, ENTRYID* templateId,
                                const std::string& comment)
{
    LPMAPIPROP entry = nullptr;
    HRESULT hr = m_pContainer->CreateEntry(cbTemplateId, templateId, CREATE_CHECK_DUP_LOOSE, &entry);
    if (FAILED(hr)) {
        m_questions.ReportError(ErrorClass::kAddressBook, Ids::IDS_ERR_CREATE_ENTRY);
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
    m_store.m_strScratch = comment.empty() ? AbComment::FormatForNewEntry(status, index)
                                           : AbComment::FormatForUpdatedEntry(AbComment::WithoutJoiningBlank(comment), status, index);
    const std::string addressType = "SMTP";
    const std::string address = "- -";
    SPropValue values[5] = {StringProp(PR_DISPLAY_NAME, name), StringProp(PR_PRIMARY_TELEPHONE_NUMBER, number),
                            StringProp(PR_ADDRTYPE, addressType), StringProp(PR_EMAIL_ADDRESS, address),
                            StringProp(PR_COMMENT, m_store.m_strScratch)};
    return StoreEntryProps(entry, 5, values, true);
}

HRESULT AddressBookSession::UpdateAbEntry(const std::string& name, const std::string& number, int index,
                                const std::string& status, uint32_t cbEntryId, ENTRYID* entryId,
                                const std::string& comment)
{
    ULONG objectType = 0;
    LPUNKNOWN opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(cbEntryId, entryId, nullptr, kOpenFlags, &objectType, &opened);
    auto* entry = dynamic_cast<IMAPIProp*>(opened);
    if (FAILED(hr)) {
        m_questions.ReportError(ErrorClass::kAddressBook, Ids::IDS_ERR_CREATE_ENTRY);
        if (opened) opened->Release();
        CloseAbSession();
        return hr;
    }
    if (hr > 0 || !entry) {
        if (opened) opened->Release();
        return hr;
    }
    m_store.m_strScratch = AbComment::FormatForUpdatedEntry(AbComment::WithoutJoiningBlank(comment), status, index);
    SPropValue values[3] = {StringProp(PR_DISPLAY_NAME, name), StringProp(PR_PRIMARY_TELEPHONE_NUMBER, number),
                            StringProp(PR_COMMENT, m_store.m_strScratch)};
    return StoreEntryProps(entry, 3, values, false);
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
            m_questions.ReportError(ErrorClass::kAddressBook, Ids::IDS_ERR_ENTRY_EXISTS);
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
        m_questions.ReportError(ErrorClass::kAddressBook, failedMessage);
        CloseAbSession();
    }
    return hr;
}

HRESULT AddressBookSession::DeleteAbEntry(uint32_t cbEntryId, ENTRYID* entryId)
{
    SBinary id{cbEntryId, reinterpret_cast<LPBYTE>(entryId)};
    ENTRYLIST list{1, &id};
    const HRESULT hr = m_pContainer->DeleteEntries(&list, 0);
    if (FAILED(hr)) CloseAbSession();
    return hr;
}
