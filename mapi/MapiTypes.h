#pragma once
// The data types of Extended MAPI with their published names and layouts, as far as the address book uses them.
#include <cstdint>

using HRESULT = int32_t;
using SCODE = int32_t;
using ULONG = uint32_t;
using LONG = int32_t;
using BYTE = uint8_t;
using BOOL = int32_t;
using LPVOID = void*;
using LPBYTE = BYTE*;
using ULONG_PTR = uintptr_t;
using LPSTR = char*;
using LPCSTR = const char*;
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPTSTR = LPSTR;
using LPULONG = ULONG*;
using BOOKMARK = ULONG;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    BYTE Data4[8];
};
using IID = GUID;
using LPGUID = GUID*;
using LPIID = IID*;
using LPCIID = const IID*;
using REFIID = const IID&;

inline bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}

struct MAPIUID {
    BYTE ab[16];
};

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

// Entry identifiers are variable-length: ab runs on past its declared size.
struct ENTRYID {
    BYTE abFlags[4];
    BYTE ab[1];
};
using LPENTRYID = ENTRYID*;

struct SBinary {
    ULONG cb;
    LPBYTE lpb;
};
using LPSBinary = SBinary*;

struct SBinaryArray {
    ULONG cValues;
    SBinary* lpbin;
};
using ENTRYLIST = SBinaryArray;
using LPENTRYLIST = ENTRYLIST*;

struct SLongArray {
    ULONG cValues;
    LONG* lpl;
};

struct SLPSTRArray {
    ULONG cValues;
    LPSTR* lppszA;
};

union CURRENCY {
    struct {
        uint32_t Lo;
        int32_t Hi;
    };
    int64_t int64;
};

union LARGE_INTEGER {
    struct {
        uint32_t LowPart;
        int32_t HighPart;
    };
    int64_t QuadPart;
};

union _PV {
    short int i;
    LONG l;
    ULONG ul;
    float flt;
    double dbl;
    unsigned short int b;
    CURRENCY cur;
    double at;
    FILETIME ft;
    LPSTR lpszA;
    SBinary bin;
    LPWSTR lpszW;
    LPGUID lpguid;
    LARGE_INTEGER li;
    SLongArray MVl;
    SLPSTRArray MVszA;
    SBinaryArray MVbin;
    SCODE err;
    LONG x;
};

struct SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    union _PV Value;
};
using LPSPropValue = SPropValue*;

struct SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[1];
};
using LPSPropTagArray = SPropTagArray*;

// Builds a tag array of a fixed size on the stack: SizedSPropTagArray(2, cols) = {2, {PR_ADDRTYPE, PR_ENTRYID}};
#define SizedSPropTagArray(_ctag, _name) \
    struct _SPropTagArray_##_name { \
        ULONG cValues; \
        ULONG aulPropTag[_ctag]; \
    } _name

struct SPropProblem {
    ULONG ulIndex;
    ULONG ulPropTag;
    SCODE scode;
};

struct SPropProblemArray {
    ULONG cProblem;
    SPropProblem aProblem[1];
};
using LPSPropProblemArray = SPropProblemArray*;

struct SRow {
    ULONG ulAdrEntryPad;
    ULONG cValues;
    LPSPropValue lpProps;
};
using LPSRow = SRow*;

struct SRowSet {
    ULONG cRows;
    SRow aRow[1];
};
using LPSRowSet = SRowSet*;

struct SSortOrder {
    ULONG ulPropTag;
    ULONG ulOrder;
};

struct SSortOrderSet {
    ULONG cSorts;
    ULONG cCategories;
    ULONG cExpanded;
    SSortOrder aSort[1];
};
using LPSSortOrderSet = SSortOrderSet*;

struct SRestriction;
using LPSRestriction = SRestriction*;

struct SAndRestriction {
    ULONG cRes;
    LPSRestriction lpRes;
};
using SOrRestriction = SAndRestriction;

struct SNotRestriction {
    ULONG ulReserved;
    LPSRestriction lpRes;
};

struct SContentRestriction {
    ULONG ulFuzzyLevel;
    ULONG ulPropTag;
    LPSPropValue lpProp;
};

struct SPropertyRestriction {
    ULONG relop;
    ULONG ulPropTag;
    LPSPropValue lpProp;
};

struct SExistRestriction {
    ULONG ulReserved1;
    ULONG ulPropTag;
    ULONG ulReserved2;
};

struct SRestriction {
    ULONG rt;
    union {
        SAndRestriction resAnd;
        SOrRestriction resOr;
        SNotRestriction resNot;
        SContentRestriction resContent;
        SPropertyRestriction resProperty;
        SExistRestriction resExist;
    } res;
};

struct MAPIINIT_0 {
    ULONG ulVersion;
    ULONG ulFlags;
};
using LPMAPIINIT_0 = MAPIINIT_0*;
constexpr ULONG MAPI_INIT_VERSION = 0;

struct MAPIERROR {
    ULONG ulVersion;
    LPSTR lpszError;
    LPSTR lpszComponent;
    ULONG ulLowLevelError;
    ULONG ulContext;
};
using LPMAPIERROR = MAPIERROR*;

constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
