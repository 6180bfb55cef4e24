#pragma once
// A mail user of the address book: a set of properties in one container.
#include "mapi/IMailUser.h"
#include "mapi/PropertyForwarder.h"

class PabMailUser : public PropertyForwarder<IMailUser> {
public:
    explicit PabMailUser(PropertyObject properties) : PropertyForwarder(std::move(properties)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
};
