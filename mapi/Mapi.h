#pragma once
// The part of Extended MAPI that the address book uses, kept in an SQLite database file.
//
// What callers can rely on:
// - The PAB (GetPAB) is the root container; personal distribution lists are containers inside it or inside
//   each other; a mail user belongs to exactly one container. Contents tables list both, in creation order,
//   with the default columns PR_ENTRYID, PR_DISPLAY_NAME, PR_OBJECT_TYPE, PR_DISPLAY_TYPE, PR_ADDRTYPE,
//   PR_EMAIL_ADDRESS, PR_INSTANCE_KEY; flags 0 and MAPI_ASSOCIATED give the same rows.
// - Every container's PR_CREATE_TEMPLATES table (OpenProperty with IID_IMAPITable) holds "MAPIPDL" (creates a
//   distribution list) and "SMTP" (creates a mail user). A container's own identifier, the PAB's included, used
//   as template creates a mail user.
// - CreateEntry with CREATE_CHECK_DUP_LOOSE: SaveChanges answers MAPI_E_COLLISION when the container already
//   holds an object of the same kind with exactly the same display name. Changing an existing entry never
//   collides.
// - Each SaveChanges and DeleteEntries is one transaction, unless a transaction opened by HrOpenTransaction
//   gathers them: then they reach the file together at its Commit, or not at all. Deleting a list deletes what
//   it contains, unless DELETE_KEEP_CONTENTS (MapiTags.h) asks to keep it.
//   DeleteEntries answers MAPI_W_PARTIAL_COMPLETION when some identifiers were not the container's entries.
// - Entry identifiers (32 bytes) stay valid across runs and are never given to another object.
// - PT_STRING8 texts are UTF-8 (the 8-bit code page of this address book), stored and handed back byte for
//   byte; PT_UNICODE texts are UTF-16, stored as UTF-8. Texts sort and compare by code point, character by
//   character; content restrictions with FL_IGNORECASE ignore the case of every letter, not only of ASCII ones.
// - Another program holding the database makes a call wait up to two seconds, then fail with MAPI_E_NO_ACCESS.
#include "mapi/IABContainer.h"
#include "mapi/IAddrBook.h"
#include "mapi/IDistList.h"
#include "mapi/IMAPIContainer.h"
#include "mapi/IMAPIProp.h"
#include "mapi/IMAPISession.h"
#include "mapi/IMAPITable.h"
#include "mapi/IMAPITransaction.h"
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
// address book of this program or cannot be opened; such a file is left exactly as it was. With
// MAPI_BOOK_READ_ONLY among the flags (this address book's own flag) the session only reads: the file is never
// changed, and every change fails with MAPI_E_NO_ACCESS.
constexpr ULONG MAPI_BOOK_READ_ONLY = 0x00400000;
HRESULT MAPILogonEx(ULONG_PTR ulUIParam, LPTSTR lpszProfileName, LPTSTR lpszPassword, ULONG ulFlags,
                    LPMAPISESSION* lppSession);

SCODE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer);
SCODE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer);
ULONG MAPIFreeBuffer(LPVOID lpBuffer);
void FreeProws(LPSRowSet lpRows);
// Opens a transaction over the address book that a container of it (the PAB or a distribution list, opened for
// writing) belongs to; see IMAPITransaction. MAPI_E_BUSY while one is open already, MAPI_E_NO_SUPPORT for an
// object that is no such container.
HRESULT HrOpenTransaction(LPMAPIPROP lpContainer, LPMAPITRANSACTION* lppTransaction);
HRESULT HrQueryAllRows(LPMAPITABLE lpTable, LPSPropTagArray lpPropTags, LPSRestriction lpRestriction,
                       LPSSortOrderSet lpSortOrderSet, LONG crowsMax, LPSRowSet* lppRows);

// Chooses the address book file for the next MAPILogonEx (the program's --pab option or its setting
// "AddressBook/File"); an empty path returns to the default, pab.sqlite in the user's data folder.
void MAPISetAddressBookFile(const std::string& path);
// The file that the next MAPILogonEx opens (UTF-8 path).
std::string MAPIGetAddressBookFile();
// Why the last failure of the address-book file happened, with the file's name and what to do, when it
// explains `hResult` (the result a MAPI call returned); empty otherwise. Each text is handed out once.
std::string MAPIGetLastErrorText(HRESULT hResult);
