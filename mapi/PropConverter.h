#pragma once
// Converts between MAPI's SPropValue and the stored PropValue.
#include "mapi/PropValue.h"

#include <string>

class PropConverter {
public:
    // S_OK, or the problem code (MAPI_E_BAD_VALUE, MAPI_E_INVALID_TYPE) for a value that cannot be stored.
    static SCODE FromMapi(const SPropValue& in, PropValue& out);
    // Fills `out` for property `id`; `wantedType` PT_UNSPECIFIED gives the stored type, PT_STRING8 or
    // PT_UNICODE converts texts. Texts and binaries are allocated with MAPIAllocateMore on `parent`.
    // Fails with MAPI_E_NOT_FOUND when the stored type cannot be given as `wantedType`.
    static SCODE ToMapi(ULONG id, const PropValue& in, ULONG wantedType, LPVOID parent, SPropValue& out);
    // The text as a caller of PT_STRING8 sees it: code page 1252, "?" for characters outside it.
    static std::string Utf8ToCp1252(const std::string& utf8);
    static std::string Cp1252ToUtf8(const std::string& cp1252);
    static void SetError(ULONG tag, SCODE error, SPropValue& out);
};
