#pragma once
// The session's address book: hands out the PAB's identifier and opens entries by identifier.
#include "mapi/IAddrBook.h"
#include "mapi/PabStore.h"
#include "mapi/RefCounted.h"

#include <memory>

class PabAddrBook : public RefCounted<IAddrBook> {
public:
    explicit PabAddrBook(std::shared_ptr<PabStore> store) : m_store(std::move(store)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override;
    HRESULT SaveChanges(ULONG ulFlags) override;
    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray) override;
    HRESULT GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override;
    HRESULT OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags, LPUNKNOWN* lppUnk) override;
    HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) override;
    HRESULT DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) override;

    HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                      LPUNKNOWN* lppUnk) override;
    HRESULT CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                            ULONG ulFlags, ULONG* lpulResult) override;
    HRESULT GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;

private:
    std::shared_ptr<PabStore> m_store;
};
