#pragma once
// Converts between MAPI's SPropValue and the stored PropValue.
#include "mapi/PropValue.h"

#include <string>

class PropConverter {
public:
    // S_OK, or the problem code (MAPI_E_BAD_VALUE, MAPI_E_INVALID_TYPE) for a value that cannot be stored.
    static SCODE FromMapi(const SPropValue& in, PropValue& out);
    // Fills `out` for property `id`; `wantedType` PT_UNSPECIFIED gives the stored type, PT_STRING8 gives texts
    // as stored (UTF-8), PT_UNICODE as UTF-16. Texts and binaries are allocated with MAPIAllocateMore on `parent`.
    // Fails with MAPI_E_NOT_FOUND when the stored type cannot be given as `wantedType`.
    static SCODE ToMapi(ULONG id, const PropValue& in, ULONG wantedType, LPVOID parent, SPropValue& out);
    static void SetError(ULONG tag, SCODE error, SPropValue& out);
};
