#include "mapi/PabContainer.h"

#include "mapi/EntryId.h"
#include "mapi/EntryOpener.h"
#include "mapi/MapiFaults.h"
#include "mapi/MapiTags.h"
#include "mapi/MemoryTable.h"
#include "mapi/PabMailUser.h"
#include "mapi/PabTransaction.h"
#include "mapi/PropConverter.h"

namespace {
constexpr ULONG kKnownTableFlags = MAPI_ASSOCIATED | MAPI_DEFERRED_ERRORS;

PropValue text(const char* utf8)
{
    PropValue value;
    value.type = PT_STRING8;
    value.data = utf8;
    return value;
}

PropertyMap templateRow(int64_t number, const char* addressType, const char* displayName, ULONG displayType)
{
    PropertyMap row;
    PropValue id;
    id.type = PT_BINARY;
    id.data = EntryId{EntryId::Template, number}.Encode();
    row[PROP_ID(PR_ENTRYID)] = id;
    row[PROP_ID(PR_ADDRTYPE)] = text(addressType);
    row[PROP_ID(PR_DISPLAY_NAME)] = text(displayName);
    PropValue type;
    type.type = PT_LONG;
    type.integer = displayType;
    row[PROP_ID(PR_DISPLAY_TYPE)] = type;
    return row;
}
}

HRESULT PabContainer::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    if (Properties().Type() == MAPI_DISTLIST)
        return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPIProp, &IID_IMAPIContainer, &IID_IDistList});
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPIProp, &IID_IMAPIContainer, &IID_IABContainer});
}

HRESULT PabContainer::OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG, ULONG ulFlags, LPUNKNOWN* lppUnk)
{
    if (auto injected = MapiFaults::Take(MapiCall::OpenProperty)) return *injected;
    if (!lppUnk || !lpiid) return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    if (ulFlags & MAPI_CREATE) return MAPI_E_NO_ACCESS;
    if (ulPropTag != PR_CREATE_TEMPLATES && ulPropTag != PR_CONTAINER_CONTENTS) return MAPI_E_NOT_FOUND;
    if (!(*lpiid == IID_IMAPITable)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
    LPMAPITABLE table = nullptr;
    HRESULT hr = ulPropTag == PR_CREATE_TEMPLATES ? NewTemplatesTable(&table) : NewContentsTable(&table);
    if (SUCCEEDED(hr)) *lppUnk = table;
    return hr;
}

HRESULT PabContainer::GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    if (auto injected = MapiFaults::Take(MapiCall::GetContentsTable)) return *injected;
    if (!lppTable) return MAPI_E_INVALID_PARAMETER;
    *lppTable = nullptr;
    if (ulFlags & MAPI_UNICODE) return MAPI_E_BAD_CHARWIDTH;
    if (ulFlags & ~kKnownTableFlags) return MAPI_E_UNKNOWN_FLAGS;
    // The associated contents of these containers are their entries: MAPI_ASSOCIATED gives the same rows.
    return NewContentsTable(lppTable);
}

HRESULT PabContainer::NewContentsTable(LPMAPITABLE* lppTable)
{
    if (!Properties().IsSaved()) return MAPI_E_INVALID_OBJECT;
    std::shared_ptr<PabStore> store = Properties().Store();
    const int64_t id = Properties().Id();
    auto loader = [store, id](std::vector<PropertyMap>& rows) {
        std::vector<StoredObject> children;
        HRESULT hr = store->LoadChildren(id, children);
        if (FAILED(hr)) return hr;
        rows.clear();
        rows.reserve(children.size());
        for (size_t i = 0; i < children.size(); ++i) {
            PropertyMap row = PropertyObject::WithComputed(children[i]);
            PropValue instance;
            instance.type = PT_BINARY;
            instance.data = std::to_string(i);
            row[PROP_ID(PR_INSTANCE_KEY)] = instance;
            rows.push_back(std::move(row));
        }
        return S_OK;
    };
    *lppTable = new MemoryTable({PR_ENTRYID, PR_DISPLAY_NAME, PR_OBJECT_TYPE, PR_DISPLAY_TYPE, PR_ADDRTYPE,
                                 PR_EMAIL_ADDRESS, PR_INSTANCE_KEY},
                                loader);
    return S_OK;
}

HRESULT PabContainer::NewTemplatesTable(LPMAPITABLE* lppTable)
{
    auto loader = [](std::vector<PropertyMap>& rows) {
        rows = {templateRow(DistributionListTemplate, "MAPIPDL", "Personal Distribution List", DT_PRIVATE_DISTLIST),
                templateRow(MailUserTemplate, "SMTP", "Internet Address", DT_MAILUSER)};
        return S_OK;
    };
    *lppTable = new MemoryTable({PR_ENTRYID, PR_DISPLAY_NAME, PR_ADDRTYPE, PR_DISPLAY_TYPE}, loader);
    return S_OK;
}

HRESULT PabContainer::GetHierarchyTable(ULONG, LPMAPITABLE* lppTable)
{
    if (lppTable) *lppTable = nullptr;
    return MAPI_E_NO_SUPPORT; // lists are found through the contents table, as in the PAB
}

HRESULT PabContainer::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                ULONG* lpulObjType, LPUNKNOWN* lppUnk)
{
    return EntryOpener::Open(Properties().Store(), cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk);
}

HRESULT PabContainer::TypeCreatedBy(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG& type)
{
    EntryId id;
    if (!EntryId::Decode(cbEntryID, lpEntryID, id)) return MAPI_E_INVALID_ENTRYID;
    if (id.kind == EntryId::Template) {
        if (id.number == DistributionListTemplate) type = MAPI_DISTLIST;
        else if (id.number == MailUserTemplate) type = MAPI_MAILUSER;
        else return MAPI_E_UNKNOWN_ENTRYID;
        return S_OK;
    }
    // A container's own identifier used as template creates a mail user (the PAB's default entry).
    StoredObject object;
    HRESULT hr = Properties().Store()->LoadObject(id.number, object);
    if (hr == MAPI_E_NOT_FOUND) return MAPI_E_UNKNOWN_ENTRYID;
    if (FAILED(hr)) return hr;
    if (object.type != MAPI_ABCONT && object.type != MAPI_DISTLIST) return MAPI_E_UNKNOWN_ENTRYID;
    type = MAPI_MAILUSER;
    return S_OK;
}

HRESULT PabContainer::CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulCreateFlags, LPMAPIPROP* lppMAPIPropEntry)
{
    if (auto injected = MapiFaults::Take(MapiCall::CreateEntry)) return *injected;
    if (!lppMAPIPropEntry) return MAPI_E_INVALID_PARAMETER;
    *lppMAPIPropEntry = nullptr;
    if (!Properties().IsSaved()) return MAPI_E_INVALID_OBJECT;
    if (!Properties().IsWritable()) return MAPI_E_NO_ACCESS;
    ULONG type = 0;
    HRESULT hr = TypeCreatedBy(cbEntryID, lpEntryID, type);
    if (FAILED(hr)) return hr;
    const bool refuseDuplicate = (ulCreateFlags & (CREATE_CHECK_DUP_LOOSE | CREATE_CHECK_DUP_STRICT)) != 0;
    PropertyObject created = PropertyObject::ForNew(Properties().Store(), Properties().Id(), type, refuseDuplicate);
    if (type == MAPI_MAILUSER) *lppMAPIPropEntry = new PabMailUser(std::move(created));
    else *lppMAPIPropEntry = new PabContainer(std::move(created));
    return S_OK;
}

HRESULT PabContainer::DeleteEntries(LPENTRYLIST lpEntries, ULONG ulFlags)
{
    if (auto injected = MapiFaults::Take(MapiCall::DeleteEntries)) return *injected;
    if (!lpEntries || (lpEntries->cValues > 0 && !lpEntries->lpbin)) return MAPI_E_INVALID_PARAMETER;
    if (!Properties().IsSaved()) return MAPI_E_INVALID_OBJECT;
    if (!Properties().IsWritable()) return MAPI_E_NO_ACCESS;
    std::vector<int64_t> ids;
    for (ULONG i = 0; i < lpEntries->cValues; ++i) {
        EntryId id;
        const SBinary& entry = lpEntries->lpbin[i];
        if (EntryId::Decode(entry.cb, reinterpret_cast<const ENTRYID*>(entry.lpb), id) && id.kind == EntryId::Object)
            ids.push_back(id.number);
    }
    size_t deleted = 0;
    HRESULT hr = Properties().Store()->DeleteChildren(Properties().Id(), ids, deleted, (ulFlags & DELETE_KEEP_CONTENTS) != 0);
    if (FAILED(hr)) return hr;
    return deleted == lpEntries->cValues ? S_OK : MAPI_W_PARTIAL_COMPLETION;
}

HRESULT PabContainer::OpenTransaction(LPMAPITRANSACTION* lppTransaction)
{
    if (!lppTransaction) return MAPI_E_INVALID_PARAMETER;
    *lppTransaction = nullptr;
    if (!Properties().IsSaved()) return MAPI_E_INVALID_OBJECT;
    if (!Properties().IsWritable()) return MAPI_E_NO_ACCESS;
    return PabTransaction::Open(Properties().Store(), lppTransaction);
}
