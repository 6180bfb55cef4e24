#include "mapi/PabTransaction.h"

HRESULT PabTransaction::Open(std::shared_ptr<PabStore> store, LPMAPITRANSACTION* lppTransaction)
{
    if (!lppTransaction) return MAPI_E_INVALID_PARAMETER;
    *lppTransaction = nullptr;
    if (!store) return MAPI_E_END_OF_SESSION;
    const HRESULT hr = store->BeginBatch();
    if (FAILED(hr)) return hr;
    *lppTransaction = new PabTransaction(std::move(store));
    return S_OK;
}

PabTransaction::~PabTransaction()
{
    if (m_open) m_store->EndBatch(false);
}

HRESULT PabTransaction::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown});
}

HRESULT PabTransaction::Commit(ULONG)
{
    if (!m_open) return MAPI_E_CALL_FAILED;
    m_open = false;
    return m_store->EndBatch(true);
}
