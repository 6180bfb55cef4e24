#pragma once
// A transaction over the database of one address book: open from its creation until Commit or the last Release.
#include "mapi/IMAPITransaction.h"
#include "mapi/MapiObject.h"
#include "mapi/PabStore.h"

#include <memory>

class PabTransaction : public MapiObject<IMAPITransaction> {
public:
    // Opens the store's batch; a transaction already open there fails with MAPI_E_BUSY.
    static HRESULT Open(std::shared_ptr<PabStore> store, LPMAPITRANSACTION* lppTransaction);

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT Commit(ULONG ulFlags) override;

private:
    explicit PabTransaction(std::shared_ptr<PabStore> store) : m_store(std::move(store)) {}
    ~PabTransaction() override;

    // Held until the end, so that the session's end cannot close the database under an open transaction.
    std::shared_ptr<PabStore> m_store;
    bool m_open = true;
};
