#pragma once
// Interface identifiers of Extended MAPI with their published values.
#include "mapi/MapiTypes.h"

constexpr GUID MakeMapiIid(uint32_t data1)
{
    return GUID{data1, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}

inline constexpr IID IID_IUnknown = MakeMapiIid(0x00000000);
inline constexpr IID IID_IMAPISession = MakeMapiIid(0x00020300);
inline constexpr IID IID_IMAPITable = MakeMapiIid(0x00020301);
inline constexpr IID IID_IMAPIProp = MakeMapiIid(0x00020303);
inline constexpr IID IID_IAddrBook = MakeMapiIid(0x00020309);
inline constexpr IID IID_IMailUser = MakeMapiIid(0x0002030A);
inline constexpr IID IID_IMAPIContainer = MakeMapiIid(0x0002030B);
inline constexpr IID IID_IABContainer = MakeMapiIid(0x0002030D);
inline constexpr IID IID_IDistList = MakeMapiIid(0x0002030E);
