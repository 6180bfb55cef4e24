#pragma once
// The session's address book: hands out the PAB's identifier and opens entries by identifier. It keeps no
// properties of its own.
#include "mapi/IAddrBook.h"
#include "mapi/PabStore.h"
#include "mapi/PropertyForwarder.h"

#include <memory>

class PabAddrBook : public PropertyForwarder<IAddrBook> {
public:
    explicit PabAddrBook(std::shared_ptr<PabStore> store) : m_store(std::move(store)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                      LPUNKNOWN* lppUnk) override;
    HRESULT CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                            ULONG ulFlags, ULONG* lpulResult) override;
    HRESULT GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;

private:
    std::shared_ptr<PabStore> m_store;
};
