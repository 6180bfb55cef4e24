#pragma once
// The IMAPIProp calls of an address-book object, written once: an object with properties (a container, a
// list, a mail user) hands them to its PropertyObject; one without properties of its own (the address book
// object) answers MAPI_E_NO_SUPPORT and gives back nothing. No object here has object-valued properties
// unless it overrides OpenProperty.
#include "mapi/MapiObject.h"
#include "mapi/PropertyObject.h"

#include <optional>
#include <utility>

template <class Interface>
class PropertyForwarder : public MapiObject<Interface> {
public:
    HRESULT SaveChanges(ULONG ulFlags) override
    {
        return m_properties ? m_properties->SaveChanges(ulFlags) : MAPI_E_NO_SUPPORT;
    }

    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray) override
    {
        if (m_properties) return m_properties->GetProps(lpPropTagArray, ulFlags, lpcValues, lppPropArray);
        if (lpcValues) *lpcValues = 0;
        return Unsupported(lppPropArray);
    }

    HRESULT GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override
    {
        return m_properties ? m_properties->GetPropList(ulFlags, lppPropTagArray) : Unsupported(lppPropTagArray);
    }

    HRESULT OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* lppUnk) override { return Unsupported(lppUnk); }

    HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) override
    {
        return m_properties ? m_properties->SetProps(cValues, lpPropArray, lppProblems) : Unsupported(lppProblems);
    }

    HRESULT DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) override
    {
        return m_properties ? m_properties->DeleteProps(lpPropTagArray, lppProblems) : Unsupported(lppProblems);
    }

protected:
    // An object without properties of its own.
    PropertyForwarder() = default;
    explicit PropertyForwarder(PropertyObject properties) : m_properties(std::move(properties)) {}
    ~PropertyForwarder() override = default;

    // Only for objects made with properties.
    PropertyObject& Properties() { return *m_properties; }
    const PropertyObject& Properties() const { return *m_properties; }

private:
    // A refused call leaves the caller nothing to free.
    template <class Out>
    static HRESULT Unsupported(Out** out)
    {
        if (out) *out = nullptr;
        return MAPI_E_NO_SUPPORT;
    }

    std::optional<PropertyObject> m_properties;
};
