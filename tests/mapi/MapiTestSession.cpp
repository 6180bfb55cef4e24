#include "MapiTestSession.h"

#include "tests/support/StringProps.h"

namespace {
HRESULT SetTexts(IMAPIProp* entry, const std::map<ULONG, std::string>& texts)
{
    std::vector<SPropValue> values = StringProps(texts);
    LPSPropProblemArray problems = nullptr;
    const HRESULT hr = entry->SetProps(static_cast<ULONG>(values.size()), values.data(), &problems);
    MAPIFreeBuffer(problems);
    return hr;
}

// Opens an entry of the book for writing.
HRESULT OpenWritable(IAddrBook* book, const MapiTestSession::Bytes& id, IMAPIProp** entry)
{
    ULONG type = 0;
    IUnknown* opened = nullptr;
    const HRESULT hr = book->OpenEntry(static_cast<ULONG>(id.size()), PabLogon::AsEntryId(id), nullptr,
                                       PabLogon::kWritable, &type, &opened);
    *entry = static_cast<IMAPIProp*>(opened);
    return hr;
}
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

HRESULT MapiTestSession::Create(IABContainer* container, const Bytes& templateId,
                                const std::map<ULONG, std::string>& texts, Bytes* newId, ULONG createFlags)
{
    IMAPIProp* entry = nullptr;
    HRESULT hr = container->CreateEntry(static_cast<ULONG>(templateId.size()), AsEntryId(templateId), createFlags, &entry);
    if (FAILED(hr)) return hr;
    hr = SetTexts(entry, texts);
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
    IMAPIProp* entry = nullptr;
    HRESULT hr = OpenWritable(AddrBook(), id, &entry);
    if (SUCCEEDED(hr)) {
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
    IMAPIProp* entry = nullptr;
    HRESULT hr = OpenWritable(AddrBook(), id, &entry);
    if (FAILED(hr)) return hr;
    hr = SetTexts(entry, texts);
    if (SUCCEEDED(hr)) hr = entry->SaveChanges(0);
    entry->Release();
    return hr;
}
