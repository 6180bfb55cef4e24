#pragma once
#include "mapi/IAddrBook.h"

class IMAPISession : public IUnknown {
public:
    virtual HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT OpenAddressBook(ULONG_PTR ulUIParam, LPCIID lpInterface, ULONG ulFlags,
                                    LPADRBOOK* lppAdrBook) = 0;
    virtual HRESULT Logoff(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG ulReserved) = 0;
};
using LPMAPISESSION = IMAPISession*;
