#pragma once
#include "mapi/MapiTypes.h"

// Every MAPI object: reference counted, released by its last holder, never deleted directly.
class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;
