#include "mapi/PabAddrBook.h"

#include "mapi/EntryId.h"
#include "mapi/EntryOpener.h"
#include "mapi/MapiFaults.h"

HRESULT PabAddrBook::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPIProp, &IID_IAddrBook});
}

HRESULT PabAddrBook::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                               ULONG* lpulObjType, LPUNKNOWN* lppUnk)
{
    return EntryOpener::Open(m_store, cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk);
}

HRESULT PabAddrBook::CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                     ULONG, ULONG* lpulResult)
{
    if (!lpulResult) return MAPI_E_INVALID_PARAMETER;
    EntryId first;
    EntryId second;
    if (!EntryId::Decode(cbEntryID1, lpEntryID1, first) || !EntryId::Decode(cbEntryID2, lpEntryID2, second))
        return MAPI_E_UNKNOWN_ENTRYID;
    *lpulResult = first.kind == second.kind && first.number == second.number;
    return S_OK;
}

HRESULT PabAddrBook::GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID)
{
    if (auto injected = MapiFaults::Take(MapiCall::GetPAB)) return *injected;
    if (!lpcbEntryID || !lppEntryID) return MAPI_E_INVALID_PARAMETER;
    *lpcbEntryID = 0;
    *lppEntryID = nullptr;
    return EntryId{EntryId::Object, PabStore::kRootId}.Allocate(lpcbEntryID, lppEntryID);
}
