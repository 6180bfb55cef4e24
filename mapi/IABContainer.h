#pragma once
#include "mapi/IMAPIContainer.h"

class IABContainer : public IMAPIContainer {
public:
    virtual HRESULT CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulCreateFlags,
                                LPMAPIPROP* lppMAPIPropEntry) = 0;
    virtual HRESULT DeleteEntries(LPENTRYLIST lpEntries, ULONG ulFlags) = 0;
};
using LPABCONT = IABContainer*;
