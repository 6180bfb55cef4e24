#include "mapi/PropertyObject.h"

#include "mapi/EntryId.h"
#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "mapi/PropConverter.h"

#include <cstddef>

namespace {
PropValue longValue(int64_t value)
{
    PropValue out;
    out.type = PT_LONG;
    out.integer = value;
    return out;
}

ULONG displayTypeOf(ULONG objectType)
{
    switch (objectType) {
    case MAPI_MAILUSER: return DT_MAILUSER;
    case MAPI_DISTLIST: return DT_PRIVATE_DISTLIST;
    default: return DT_NOT_SPECIFIC;
    }
}

ULONG textTypeFor(ULONG flags) { return (flags & MAPI_UNICODE) ? PT_UNICODE : PT_STRING8; }
}

PropertyObject::PropertyObject(std::shared_ptr<PabStore> store, StoredObject object, bool writable)
    : m_store(std::move(store)), m_object(std::move(object)), m_writable(writable)
{
}

PropertyObject PropertyObject::ForNew(std::shared_ptr<PabStore> store, int64_t parent, ULONG type,
                                      bool refuseDuplicateName)
{
    StoredObject object;
    object.parent = parent;
    object.type = type;
    PropertyObject created(std::move(store), std::move(object), true);
    created.m_refuseDuplicateName = refuseDuplicateName;
    return created;
}

bool PropertyObject::IsComputed(ULONG propId)
{
    return propId == PROP_ID(PR_ENTRYID) || propId == PROP_ID(PR_RECORD_KEY) || propId == PROP_ID(PR_OBJECT_TYPE) ||
           propId == PROP_ID(PR_DISPLAY_TYPE) || propId == PROP_ID(PR_INSTANCE_KEY) ||
           propId == PROP_ID(PR_CONTAINER_FLAGS);
}

PropertyMap PropertyObject::WithComputed(const StoredObject& object)
{
    PropertyMap all = object.props;
    if (object.id != 0) {
        PropValue id;
        id.type = PT_BINARY;
        id.data = EntryId{EntryId::Object, object.id}.Encode();
        all[PROP_ID(PR_ENTRYID)] = id;
        all[PROP_ID(PR_RECORD_KEY)] = id;
    }
    all[PROP_ID(PR_OBJECT_TYPE)] = longValue(object.type);
    all[PROP_ID(PR_DISPLAY_TYPE)] = longValue(displayTypeOf(object.type));
    if (object.type == MAPI_ABCONT || object.type == MAPI_DISTLIST)
        all[PROP_ID(PR_CONTAINER_FLAGS)] = longValue(AB_RECIPIENTS | AB_SUBCONTAINERS | AB_MODIFIABLE);
    return all;
}

HRESULT PropertyObject::GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                                 LPSPropValue* lppPropArray) const
{
    if (auto injected = MapiFaults::Take(MapiCall::GetProps)) return *injected;
    if (!lpcValues || !lppPropArray) return MAPI_E_INVALID_PARAMETER;
    *lpcValues = 0;
    *lppPropArray = nullptr;
    const PropertyMap all = WithComputed(m_object);
    std::vector<ULONG> tags;
    if (lpPropTagArray) {
        tags.assign(lpPropTagArray->aulPropTag, lpPropTagArray->aulPropTag + lpPropTagArray->cValues);
    } else {
        for (const auto& [id, value] : all)
            tags.push_back(PROP_TAG(value.type == PT_STRING8 ? textTypeFor(ulFlags) : value.type, id));
    }
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * (tags.empty() ? 1 : tags.size())), &buffer);
    if (FAILED(sc)) return sc;
    auto* values = static_cast<LPSPropValue>(buffer);
    bool anyMissing = false;
    for (size_t i = 0; i < tags.size(); ++i) {
        auto found = all.find(PROP_ID(tags[i]));
        sc = found == all.end() ? MAPI_E_NOT_FOUND
                                : PropConverter::ToMapi(found->first, found->second, PROP_TYPE(tags[i]), buffer, values[i]);
        if (sc == MAPI_E_NOT_ENOUGH_MEMORY) {
            MAPIFreeBuffer(buffer);
            return sc;
        }
        if (FAILED(sc)) {
            PropConverter::SetError(tags[i], sc, values[i]);
            anyMissing = true;
        }
    }
    *lpcValues = static_cast<ULONG>(tags.size());
    *lppPropArray = values;
    return anyMissing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT PropertyObject::GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) const
{
    if (!lppPropTagArray) return MAPI_E_INVALID_PARAMETER;
    const PropertyMap all = WithComputed(m_object);
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(static_cast<ULONG>(offsetof(SPropTagArray, aulPropTag) + sizeof(ULONG) * (all.size() + 1)), &buffer);
    if (FAILED(sc)) return sc;
    auto* tags = static_cast<LPSPropTagArray>(buffer);
    tags->cValues = 0;
    for (const auto& [id, value] : all)
        tags->aulPropTag[tags->cValues++] = PROP_TAG(value.type == PT_STRING8 ? textTypeFor(ulFlags) : value.type, id);
    *lppPropTagArray = tags;
    return S_OK;
}

HRESULT PropertyObject::MakeProblems(const std::vector<SPropProblem>& problems, LPSPropProblemArray* lppProblems)
{
    if (!lppProblems) return S_OK;
    *lppProblems = nullptr;
    if (problems.empty()) return S_OK;
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(
        static_cast<ULONG>(offsetof(SPropProblemArray, aProblem) + sizeof(SPropProblem) * problems.size()), &buffer);
    if (FAILED(sc)) return sc;
    auto* array = static_cast<LPSPropProblemArray>(buffer);
    array->cProblem = static_cast<ULONG>(problems.size());
    for (size_t i = 0; i < problems.size(); ++i) array->aProblem[i] = problems[i];
    *lppProblems = array;
    return S_OK;
}

HRESULT PropertyObject::SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems)
{
    if (auto injected = MapiFaults::Take(MapiCall::SetProps)) return *injected;
    if (lppProblems) *lppProblems = nullptr;
    if (cValues > 0 && !lpPropArray) return MAPI_E_INVALID_PARAMETER;
    if (!m_writable) return MAPI_E_NO_ACCESS;
    std::vector<SPropProblem> problems;
    for (ULONG i = 0; i < cValues; ++i) {
        const SPropValue& in = lpPropArray[i];
        const ULONG id = PROP_ID(in.ulPropTag);
        SCODE sc = IsComputed(id) ? MAPI_E_COMPUTED : S_OK;
        PropValue value;
        if (SUCCEEDED(sc)) sc = PropConverter::FromMapi(in, value);
        if (FAILED(sc)) {
            problems.push_back(SPropProblem{i, in.ulPropTag, sc});
            continue;
        }
        m_object.props[id] = value;
        m_changed.insert(id);
        m_deleted.erase(id);
    }
    return MakeProblems(problems, lppProblems);
}

HRESULT PropertyObject::DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems)
{
    if (lppProblems) *lppProblems = nullptr;
    if (!lpPropTagArray) return MAPI_E_INVALID_PARAMETER;
    if (!m_writable) return MAPI_E_NO_ACCESS;
    std::vector<SPropProblem> problems;
    for (ULONG i = 0; i < lpPropTagArray->cValues; ++i) {
        const ULONG tag = lpPropTagArray->aulPropTag[i];
        const ULONG id = PROP_ID(tag);
        if (IsComputed(id)) {
            problems.push_back(SPropProblem{i, tag, MAPI_E_COMPUTED});
            continue;
        }
        m_object.props.erase(id);
        m_changed.erase(id);
        m_deleted.insert(id);
    }
    return MakeProblems(problems, lppProblems);
}

HRESULT PropertyObject::SaveChanges(ULONG)
{
    if (auto injected = MapiFaults::Take(MapiCall::SaveChanges)) return *injected;
    if (!m_writable) return MAPI_E_NO_ACCESS;
    SaveRequest request;
    request.id = m_object.id;
    request.parent = m_object.parent;
    request.type = m_object.type;
    request.refuseDuplicateName = m_refuseDuplicateName && !IsSaved();
    for (ULONG id : m_changed) request.changed[id] = m_object.props[id];
    request.deleted = m_deleted;
    HRESULT hr = m_store->Save(request);
    if (FAILED(hr)) return hr;
    m_object.id = request.id;
    m_changed.clear();
    m_deleted.clear();
    return S_OK;
}
