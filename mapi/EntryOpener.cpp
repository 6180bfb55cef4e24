#include "mapi/EntryOpener.h"

#include "mapi/EntryId.h"
#include "mapi/MapiFaults.h"
#include "mapi/MapiTags.h"
#include "mapi/PabContainer.h"
#include "mapi/PabMailUser.h"

HRESULT EntryOpener::Open(const std::shared_ptr<PabStore>& store, ULONG cbEntryID, LPENTRYID lpEntryID,
                          LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk)
{
    if (auto injected = MapiFaults::Take(MapiCall::OpenEntry)) return *injected;
    if (!lppUnk) return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    EntryId id{EntryId::Object, PabStore::kRootId};
    if (cbEntryID != 0 || lpEntryID) {
        if (!EntryId::Decode(cbEntryID, lpEntryID, id)) return MAPI_E_INVALID_ENTRYID;
        if (id.kind != EntryId::Object) return MAPI_E_NO_SUPPORT; // templates are used, not opened
    }
    StoredObject object;
    HRESULT hr = store->LoadObject(id.number, object);
    if (FAILED(hr)) return hr;
    const bool writable = (ulFlags & (MAPI_MODIFY | MAPI_BEST_ACCESS)) != 0;
    PropertyObject properties(store, std::move(object), writable);
    const ULONG type = properties.Type();
    IUnknown* opened = nullptr;
    if (type == MAPI_MAILUSER) opened = new PabMailUser(std::move(properties));
    else if (type == MAPI_ABCONT || type == MAPI_DISTLIST) opened = new PabContainer(std::move(properties));
    else return MAPI_E_CORRUPT_DATA;
    if (lpInterface) {
        LPVOID asked = nullptr;
        hr = opened->QueryInterface(*lpInterface, &asked);
        opened->Release();
        if (FAILED(hr)) return hr;
        opened = static_cast<IUnknown*>(asked);
    }
    if (lpulObjType) *lpulObjType = type;
    *lppUnk = opened;
    return S_OK;
}
