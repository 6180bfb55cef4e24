#pragma once
// Opens any object of the address book by its entry identifier, for the address book and its containers.
#include "mapi/IUnknown.h"
#include "mapi/PabStore.h"

#include <memory>

class EntryOpener {
public:
    // An empty identifier opens the PAB, the address book's root container.
    static HRESULT Open(const std::shared_ptr<PabStore>& store, ULONG cbEntryID, LPENTRYID lpEntryID,
                        LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk);
};
