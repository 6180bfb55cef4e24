#pragma once
// What every object of this address book answers alike: it is reference counted, and GetLastError has no
// extended error information to give, since each failure is fully described by its result code.
#include "mapi/RefCounted.h"

template <class Interface>
class MapiObject : public RefCounted<Interface> {
public:
    HRESULT GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override
    {
        if (lppMAPIError) *lppMAPIError = nullptr;
        return S_OK;
    }

protected:
    ~MapiObject() override = default;
};
