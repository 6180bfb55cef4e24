#include "mapi/PabMailUser.h"

HRESULT PabMailUser::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPIProp, &IID_IMailUser});
}
