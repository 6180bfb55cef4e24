#include "MapiTestSession.h"

namespace {
constexpr ULONG kWritable = MAPI_MODIFY | MAPI_BEST_ACCESS;

std::vector<SPropValue> textValues(const std::map<ULONG, std::string>& texts)
{
    std::vector<SPropValue> values;
    for (const auto& [tag, text] : texts) {
        SPropValue value{};
        value.ulPropTag = tag;
        value.Value.lpszA = const_cast<char*>(text.c_str());
        values.push_back(value);
    }
    return values;
}
}

MapiTestSession::MapiTestSession(const std::string& file)
{
    MAPISetAddressBookFile(file);
    m_logonResult = MAPIInitialize(nullptr);
    if (FAILED(m_logonResult)) return;
    m_initialized = true;
    m_logonResult = MAPILogonEx(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL, &m_pSession);
    if (FAILED(m_logonResult)) return;
    if (FAILED(m_pSession->OpenAddressBook(0, nullptr, 0, &m_pAddrBook))) return;
    ULONG cb = 0;
    LPENTRYID id = nullptr;
    if (FAILED(m_pAddrBook->GetPAB(&cb, &id))) return;
    m_pabId.assign(reinterpret_cast<const char*>(id), cb);
    MAPIFreeBuffer(id);
    m_pPab = OpenContainer(m_pabId);
}

MapiTestSession::~MapiTestSession()
{
    if (m_pPab) m_pPab->Release();
    if (m_pAddrBook) m_pAddrBook->Release();
    if (m_pSession) {
        m_pSession->Logoff(0, MAPI_LOGOFF_UI, 0);
        m_pSession->Release();
    }
    if (m_initialized) MAPIUninitialize();
}

LPENTRYID MapiTestSession::AsEntryId(const Bytes& bytes)
{
    return reinterpret_cast<LPENTRYID>(const_cast<char*>(bytes.data()));
}

std::map<ULONG, std::string> MapiTestSession::ToMap(const SPropValue* values, ULONG count)
{
    std::map<ULONG, std::string> out;
    for (ULONG i = 0; i < count; ++i) {
        const SPropValue& value = values[i];
        switch (PROP_TYPE(value.ulPropTag)) {
        case PT_STRING8: out[value.ulPropTag] = value.Value.lpszA; break;
        case PT_LONG: out[value.ulPropTag] = std::to_string(value.Value.l); break;
        case PT_BINARY:
            out[value.ulPropTag].assign(reinterpret_cast<const char*>(value.Value.bin.lpb), value.Value.bin.cb);
            break;
        default: break;
        }
    }
    return out;
}

IABContainer* MapiTestSession::OpenContainer(const Bytes& id, ULONG flags)
{
    ULONG type = 0;
    IUnknown* opened = nullptr;
    if (FAILED(m_pAddrBook->OpenEntry(static_cast<ULONG>(id.size()), AsEntryId(id), nullptr, flags, &type, &opened)))
        return nullptr;
    return static_cast<IABContainer*>(opened);
}

HRESULT MapiTestSession::Create(IABContainer* container, const Bytes& templateId,
                                const std::map<ULONG, std::string>& texts, Bytes* newId, ULONG createFlags)
{
    IMAPIProp* entry = nullptr;
    HRESULT hr = container->CreateEntry(static_cast<ULONG>(templateId.size()), AsEntryId(templateId), createFlags, &entry);
    if (FAILED(hr)) return hr;
    std::vector<SPropValue> values = textValues(texts);
    LPSPropProblemArray problems = nullptr;
    hr = entry->SetProps(static_cast<ULONG>(values.size()), values.data(), &problems);
    MAPIFreeBuffer(problems);
    if (SUCCEEDED(hr)) hr = entry->SaveChanges(KEEP_OPEN_READWRITE);
    if (SUCCEEDED(hr) && newId) {
        SizedSPropTagArray(1, idTag) = {1, {PR_ENTRYID}};
        ULONG count = 0;
        LPSPropValue props = nullptr;
        if (SUCCEEDED(entry->GetProps(reinterpret_cast<LPSPropTagArray>(&idTag), 0, &count, &props)) &&
            props[0].ulPropTag == PR_ENTRYID)
            newId->assign(reinterpret_cast<const char*>(props[0].Value.bin.lpb), props[0].Value.bin.cb);
        MAPIFreeBuffer(props);
    }
    entry->Release();
    return hr;
}

MapiTestSession::Bytes MapiTestSession::TemplateFor(IABContainer* container, const char* addressType, HRESULT* result)
{
    IUnknown* unknown = nullptr;
    HRESULT hr = container->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &unknown);
    Bytes id;
    if (SUCCEEDED(hr)) {
        auto* table = static_cast<IMAPITable*>(unknown);
        SizedSPropTagArray(2, columns) = {2, {PR_ADDRTYPE, PR_ENTRYID}};
        SPropValue wanted{};
        wanted.ulPropTag = PR_ADDRTYPE;
        wanted.Value.lpszA = const_cast<char*>(addressType);
        SRestriction restriction{};
        restriction.rt = RES_PROPERTY;
        restriction.res.resProperty = SPropertyRestriction{RELOP_EQ, PR_ADDRTYPE, &wanted};
        ULONG count = 0;
        hr = table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);
        if (SUCCEEDED(hr)) hr = table->Restrict(&restriction, 0);
        if (SUCCEEDED(hr)) hr = table->GetRowCount(0, &count);
        if (SUCCEEDED(hr) && count > 0) {
            LPSRowSet rows = nullptr;
            hr = table->QueryRows(static_cast<LONG>(count), 0, &rows);
            if (SUCCEEDED(hr) && rows->cRows > 0 && rows->aRow[0].lpProps[1].ulPropTag == PR_ENTRYID) {
                const SBinary& bin = rows->aRow[0].lpProps[1].Value.bin;
                id.assign(reinterpret_cast<const char*>(bin.lpb), bin.cb);
            }
            FreeProws(rows);
        }
        table->Release();
    }
    if (result) *result = hr;
    return id;
}

std::vector<std::map<ULONG, std::string>> MapiTestSession::Rows(IABContainer* container, ULONG flags)
{
    std::vector<std::map<ULONG, std::string>> out;
    IMAPITable* table = nullptr;
    if (FAILED(container->GetContentsTable(flags, &table))) return out;
    LPSRowSet rows = nullptr;
    if (SUCCEEDED(HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &rows))) {
        for (ULONG i = 0; i < rows->cRows; ++i) out.push_back(ToMap(rows->aRow[i].lpProps, rows->aRow[i].cValues));
    }
    FreeProws(rows);
    table->Release();
    return out;
}

std::map<ULONG, std::string> MapiTestSession::Props(const Bytes& id, HRESULT* result)
{
    std::map<ULONG, std::string> out;
    ULONG type = 0;
    IUnknown* opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(static_cast<ULONG>(id.size()), AsEntryId(id), nullptr, kWritable, &type, &opened);
    if (SUCCEEDED(hr)) {
        auto* entry = static_cast<IMAPIProp*>(opened);
        ULONG count = 0;
        LPSPropValue values = nullptr;
        hr = entry->GetProps(nullptr, 0, &count, &values);
        if (SUCCEEDED(hr)) out = ToMap(values, count);
        MAPIFreeBuffer(values);
        entry->Release();
    }
    if (result) *result = hr;
    return out;
}

HRESULT MapiTestSession::Update(const Bytes& id, const std::map<ULONG, std::string>& texts)
{
    ULONG type = 0;
    IUnknown* opened = nullptr;
    HRESULT hr = m_pAddrBook->OpenEntry(static_cast<ULONG>(id.size()), AsEntryId(id), nullptr, kWritable, &type, &opened);
    if (FAILED(hr)) return hr;
    auto* entry = static_cast<IMAPIProp*>(opened);
    std::vector<SPropValue> values = textValues(texts);
    LPSPropProblemArray problems = nullptr;
    hr = entry->SetProps(static_cast<ULONG>(values.size()), values.data(), &problems);
    MAPIFreeBuffer(problems);
    if (SUCCEEDED(hr)) hr = entry->SaveChanges(0);
    entry->Release();
    return hr;
}
