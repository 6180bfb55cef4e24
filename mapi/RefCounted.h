#pragma once
// The reference counting that every object of the address book shares; the last Release deletes it.
#include "mapi/MapiCodes.h"
#include "mapi/MapiGuids.h"

#include <atomic>
#include <initializer_list>

template <class Interface>
class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

protected:
    ~RefCounted() override = default;

    // QueryInterface for an object whose interfaces form one inheritance chain: the same pointer serves all.
    HRESULT AnswerInterface(REFIID riid, LPVOID* ppvObj, std::initializer_list<const IID*> supported)
    {
        if (!ppvObj) return MAPI_E_INVALID_PARAMETER;
        *ppvObj = nullptr;
        for (const IID* iid : supported) {
            if (*iid == riid) {
                AddRef();
                *ppvObj = static_cast<Interface*>(this);
                return S_OK;
            }
        }
        return MAPI_E_INTERFACE_NOT_SUPPORTED;
    }

private:
    std::atomic<ULONG> m_references{1};
};
