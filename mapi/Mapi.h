#pragma once
// The part of Extended MAPI that the address book uses, kept in an SQLite database file.
#include "mapi/IABContainer.h"
#include "mapi/IAddrBook.h"
#include "mapi/IDistList.h"
#include "mapi/IMAPIContainer.h"
#include "mapi/IMAPIProp.h"
#include "mapi/IMAPISession.h"
#include "mapi/IMAPITable.h"
#include "mapi/IMailUser.h"
#include "mapi/IUnknown.h"
#include "mapi/MapiCodes.h"
#include "mapi/MapiGuids.h"
#include "mapi/MapiTags.h"
#include "mapi/MapiTypes.h"

#include <string>

HRESULT MAPIInitialize(LPVOID lpMapiInit);
void MAPIUninitialize();
// Opens the address book file (see MAPISetAddressBookFile). Fails with a MAPI error when the file is not an
// address book of this program or cannot be opened; such a file is left exactly as it was.
HRESULT MAPILogonEx(ULONG_PTR ulUIParam, LPTSTR lpszProfileName, LPTSTR lpszPassword, ULONG ulFlags,
                    LPMAPISESSION* lppSession);

SCODE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer);
SCODE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer);
ULONG MAPIFreeBuffer(LPVOID lpBuffer);
void FreeProws(LPSRowSet lpRows);
HRESULT HrQueryAllRows(LPMAPITABLE lpTable, LPSPropTagArray lpPropTags, LPSRestriction lpRestriction,
                       LPSSortOrderSet lpSortOrderSet, LONG crowsMax, LPSRowSet* lppRows);

// Chooses the address book file for the next MAPILogonEx (the program's --pab option or its setting
// "AddressBook/File"); an empty path returns to the default, pab.sqlite in the user's data folder.
void MAPISetAddressBookFile(const std::string& path);
// The file that the next MAPILogonEx opens (UTF-8 path).
std::string MAPIGetAddressBookFile();
