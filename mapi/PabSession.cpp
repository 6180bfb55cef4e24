#include "mapi/PabSession.h"

#include "mapi/MapiFaults.h"
#include "mapi/PabAddrBook.h"

HRESULT PabSession::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPISession});
}

HRESULT PabSession::OpenAddressBook(ULONG_PTR, LPCIID lpInterface, ULONG, LPADRBOOK* lppAdrBook)
{
    if (auto injected = MapiFaults::Take(MapiCall::OpenAddressBook)) return *injected;
    if (!lppAdrBook) return MAPI_E_INVALID_PARAMETER;
    *lppAdrBook = nullptr;
    if (!m_store) return MAPI_E_END_OF_SESSION;
    if (lpInterface && !(*lpInterface == IID_IAddrBook)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
    *lppAdrBook = new PabAddrBook(m_store);
    return S_OK;
}

HRESULT PabSession::Logoff(ULONG_PTR, ULONG, ULONG)
{
    if (auto injected = MapiFaults::Take(MapiCall::Logoff)) return *injected;
    m_store.reset();
    return S_OK;
}
