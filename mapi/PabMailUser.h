#pragma once
// A mail user of the address book: a set of properties in one container.
#include "mapi/IMailUser.h"
#include "mapi/PropertyObject.h"
#include "mapi/RefCounted.h"

class PabMailUser : public RefCounted<IMailUser> {
public:
    explicit PabMailUser(PropertyObject properties) : m_properties(std::move(properties)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override;
    HRESULT SaveChanges(ULONG ulFlags) override;
    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray) override;
    HRESULT GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override;
    HRESULT OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags, LPUNKNOWN* lppUnk) override;
    HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) override;
    HRESULT DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) override;

private:
    PropertyObject m_properties;
};
