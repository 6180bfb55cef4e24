#pragma once
// Several changes of one address book as one. While a transaction is open, what SaveChanges and DeleteEntries
// write through any object of that address book is seen by this session only and reaches the file with Commit,
// all together; releasing a transaction that was not committed, or a Commit that fails, takes every one of
// them back. A call that fails inside the transaction leaves the others in it.
#include "mapi/IUnknown.h"

class IMAPITransaction : public IUnknown {
public:
    virtual HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT Commit(ULONG ulFlags) = 0;
};
using LPMAPITRANSACTION = IMAPITransaction*;
