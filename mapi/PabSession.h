#pragma once
// A logged-on session over one address book file.
#include "mapi/IMAPISession.h"
#include "mapi/MapiObject.h"
#include "mapi/PabStore.h"

#include <memory>

class PabSession : public MapiObject<IMAPISession> {
public:
    explicit PabSession(std::shared_ptr<PabStore> store) : m_store(std::move(store)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT OpenAddressBook(ULONG_PTR ulUIParam, LPCIID lpInterface, ULONG ulFlags, LPADRBOOK* lppAdrBook) override;
    HRESULT Logoff(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG ulReserved) override;

private:
    // Objects opened through the session keep the database open until they are released.
    std::shared_ptr<PabStore> m_store;
};
