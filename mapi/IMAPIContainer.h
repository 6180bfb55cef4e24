#pragma once
#include "mapi/IMAPIProp.h"
#include "mapi/IMAPITable.h"

class IMAPIContainer : public IMAPIProp {
public:
    virtual HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                              ULONG* lpulObjType, LPUNKNOWN* lppUnk) = 0;
};
using LPMAPICONTAINER = IMAPIContainer*;
