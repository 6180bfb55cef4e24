#include "PabSeeder.h"

#include "PabLogon.h"
#include "StringProps.h"

namespace {
std::string BinaryOf(const SBinary& bin)
{
    return std::string(reinterpret_cast<const char*>(bin.lpb), bin.cb);
}

const SPropValue* Find(const SPropValue* values, ULONG count, ULONG tag)
{
    for (ULONG i = 0; i < count; ++i)
        if (values[i].ulPropTag == tag) return &values[i];
    return nullptr;
}
}

PabSeeder::PabSeeder(const std::string& file) : m_logon(std::make_unique<PabLogon>(file)), m_pContainer(m_logon->Pab())
{
}

PabSeeder::~PabSeeder() = default;

IABContainer* PabSeeder::Open(const EntryId& parent)
{
    return m_logon->Open(parent.empty() ? m_logon->PabId() : parent);
}

PabSeeder::EntryId PabSeeder::Create(IABContainer* container, const EntryId& templateId,
                                     const std::vector<std::pair<unsigned, std::string>>& props)
{
    LPMAPIPROP entry = nullptr;
    if (FAILED(container->CreateEntry(static_cast<ULONG>(templateId.size()), PabLogon::AsEntryId(templateId), 0, &entry)) ||
        !entry)
        return {};
    std::vector<SPropValue> values = StringProps(props);
    EntryId id;
    if (SUCCEEDED(entry->SetProps(static_cast<ULONG>(values.size()), values.data(), nullptr)) &&
        SUCCEEDED(entry->SaveChanges(KEEP_OPEN_READWRITE))) {
        SPropTagArray tags{1, {PR_ENTRYID}};
        ULONG count = 0;
        LPSPropValue read = nullptr;
        if (SUCCEEDED(entry->GetProps(&tags, 0, &count, &read)) && count == 1 && read[0].ulPropTag == PR_ENTRYID)
            id = BinaryOf(read[0].Value.bin);
        MAPIFreeBuffer(read);
    }
    entry->Release();
    return id;
}

PabSeeder::EntryId PabSeeder::ListTemplate(IABContainer* container)
{
    LPUNKNOWN opened = nullptr;
    EntryId id;
    if (FAILED(container->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &opened))) return id;
    auto* table = dynamic_cast<IMAPITable*>(opened);
    LPSRowSet rows = nullptr;
    if (table && SUCCEEDED(HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &rows))) {
        for (ULONG r = 0; r < rows->cRows && id.empty(); ++r) {
            const SRow& row = rows->aRow[r];
            const SPropValue* type = Find(row.lpProps, row.cValues, PR_ADDRTYPE);
            const SPropValue* entryId = Find(row.lpProps, row.cValues, PR_ENTRYID);
            if (type && entryId && std::string(type->Value.lpszA) == "MAPIPDL") id = BinaryOf(entryId->Value.bin);
        }
        FreeProws(rows);
    }
    opened->Release();
    return id;
}

PabSeeder::EntryId PabSeeder::AddUser(const std::string& name, const std::string& number,
                                      const std::optional<std::string>& comment, const EntryId& parent)
{
    IABContainer* container = parent.empty() ? m_pContainer : Open(parent);
    if (!container) return {};
    std::vector<std::pair<unsigned, std::string>> props = {
        {PR_DISPLAY_NAME, name}, {PR_PRIMARY_TELEPHONE_NUMBER, number}, {PR_ADDRTYPE, "SMTP"}, {PR_EMAIL_ADDRESS, "- -"}};
    if (comment) props.emplace_back(PR_COMMENT, *comment);
    EntryId id = Create(container, m_logon->PabId(), props);
    if (container != m_pContainer) container->Release();
    return id;
}

PabSeeder::EntryId PabSeeder::AddList(const std::string& name, const EntryId& parent)
{
    IABContainer* container = parent.empty() ? m_pContainer : Open(parent);
    if (!container) return {};
    EntryId id = Create(container, ListTemplate(container), {{PR_DISPLAY_NAME, name}});
    if (container != m_pContainer) container->Release();
    return id;
}

std::vector<PabSeeder::StoredUser> PabSeeder::Users(const EntryId& parent)
{
    std::vector<StoredUser> users;
    IABContainer* container = Open(parent);
    if (!container) return users;
    LPMAPITABLE table = nullptr;
    LPSRowSet rows = nullptr;
    if (SUCCEEDED(container->GetContentsTable(0, &table)) &&
        SUCCEEDED(HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &rows))) {
        for (ULONG r = 0; r < rows->cRows; ++r) {
            const SRow& row = rows->aRow[r];
            const SPropValue* type = Find(row.lpProps, row.cValues, PR_OBJECT_TYPE);
            const SPropValue* entryId = Find(row.lpProps, row.cValues, PR_ENTRYID);
            if (!type || type->Value.l != static_cast<LONG>(MAPI_MAILUSER) || !entryId) continue;
            ULONG objectType = 0;
            LPUNKNOWN opened = nullptr;
            if (FAILED(m_logon->AddrBook()->OpenEntry(entryId->Value.bin.cb,
                                                      reinterpret_cast<LPENTRYID>(entryId->Value.bin.lpb), nullptr, 0,
                                                      &objectType, &opened)))
                continue;
            auto* prop = dynamic_cast<IMAPIProp*>(opened);
            ULONG count = 0;
            LPSPropValue values = nullptr;
            if (prop && SUCCEEDED(prop->GetProps(nullptr, 0, &count, &values))) {
                StoredUser user;
                if (auto* v = Find(values, count, PR_DISPLAY_NAME)) user.name = v->Value.lpszA;
                if (auto* v = Find(values, count, PR_PRIMARY_TELEPHONE_NUMBER)) user.number = v->Value.lpszA;
                if (auto* v = Find(values, count, PR_COMMENT)) user.comment = std::string(v->Value.lpszA);
                users.push_back(user);
                MAPIFreeBuffer(values);
            }
            opened->Release();
        }
        FreeProws(rows);
    }
    if (table) table->Release();
    container->Release();
    return users;
}
