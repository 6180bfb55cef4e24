#include "mapi/PabMailUser.h"

HRESULT PabMailUser::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPIProp, &IID_IMailUser});
}

HRESULT PabMailUser::GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError)
{
    if (lppMAPIError) *lppMAPIError = nullptr;
    return S_OK;
}

HRESULT PabMailUser::SaveChanges(ULONG ulFlags) { return m_properties.SaveChanges(ulFlags); }

HRESULT PabMailUser::GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray)
{
    return m_properties.GetProps(lpPropTagArray, ulFlags, lpcValues, lppPropArray);
}

HRESULT PabMailUser::GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray)
{
    return m_properties.GetPropList(ulFlags, lppPropTagArray);
}

HRESULT PabMailUser::OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* lppUnk)
{
    if (lppUnk) *lppUnk = nullptr;
    return MAPI_E_NO_SUPPORT; // a mail user has no object-valued properties here
}

HRESULT PabMailUser::SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems)
{
    return m_properties.SetProps(cValues, lpPropArray, lppProblems);
}

HRESULT PabMailUser::DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems)
{
    return m_properties.DeleteProps(lpPropTagArray, lppProblems);
}
