#pragma once
// Result codes of Extended MAPI with their published values.
#include "mapi/MapiTypes.h"

constexpr HRESULT MakeMapiError(ULONG code) { return static_cast<HRESULT>(0x80040000u | code); }
constexpr HRESULT MakeMapiWarning(ULONG code) { return static_cast<HRESULT>(0x00040000u | code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT hrSuccess = 0;

constexpr HRESULT MAPI_E_CALL_FAILED = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT MAPI_E_NOT_ENOUGH_MEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT MAPI_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT MAPI_E_INTERFACE_NOT_SUPPORTED = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT MAPI_E_NO_ACCESS = static_cast<HRESULT>(0x80070005u);

constexpr HRESULT MAPI_E_NO_SUPPORT = MakeMapiError(0x102);
constexpr HRESULT MAPI_E_BAD_CHARWIDTH = MakeMapiError(0x103);
constexpr HRESULT MAPI_E_STRING_TOO_LONG = MakeMapiError(0x105);
constexpr HRESULT MAPI_E_UNKNOWN_FLAGS = MakeMapiError(0x106);
constexpr HRESULT MAPI_E_INVALID_ENTRYID = MakeMapiError(0x107);
constexpr HRESULT MAPI_E_INVALID_OBJECT = MakeMapiError(0x108);
constexpr HRESULT MAPI_E_OBJECT_CHANGED = MakeMapiError(0x109);
constexpr HRESULT MAPI_E_OBJECT_DELETED = MakeMapiError(0x10A);
constexpr HRESULT MAPI_E_BUSY = MakeMapiError(0x10B);
constexpr HRESULT MAPI_E_NOT_ENOUGH_DISK = MakeMapiError(0x10D);
constexpr HRESULT MAPI_E_NOT_ENOUGH_RESOURCES = MakeMapiError(0x10E);
constexpr HRESULT MAPI_E_NOT_FOUND = MakeMapiError(0x10F);
constexpr HRESULT MAPI_E_VERSION = MakeMapiError(0x110);
constexpr HRESULT MAPI_E_LOGON_FAILED = MakeMapiError(0x111);
constexpr HRESULT MAPI_E_SESSION_LIMIT = MakeMapiError(0x112);
constexpr HRESULT MAPI_E_USER_CANCEL = MakeMapiError(0x113);
constexpr HRESULT MAPI_E_DISK_ERROR = MakeMapiError(0x116);
constexpr HRESULT MAPI_E_TOO_COMPLEX = MakeMapiError(0x117);
constexpr HRESULT MAPI_E_BAD_COLUMN = MakeMapiError(0x118);
constexpr HRESULT MAPI_E_COMPUTED = MakeMapiError(0x11A);
constexpr HRESULT MAPI_E_CORRUPT_DATA = MakeMapiError(0x11B);
constexpr HRESULT MAPI_E_END_OF_SESSION = MakeMapiError(0x200);
constexpr HRESULT MAPI_E_UNKNOWN_ENTRYID = MakeMapiError(0x201);
constexpr HRESULT MAPI_E_BAD_VALUE = MakeMapiError(0x301);
constexpr HRESULT MAPI_E_INVALID_TYPE = MakeMapiError(0x302);
constexpr HRESULT MAPI_E_TYPE_NO_SUPPORT = MakeMapiError(0x303);
constexpr HRESULT MAPI_E_UNEXPECTED_TYPE = MakeMapiError(0x304);
constexpr HRESULT MAPI_E_TOO_BIG = MakeMapiError(0x305);
constexpr HRESULT MAPI_E_TABLE_TOO_BIG = MakeMapiError(0x403);
constexpr HRESULT MAPI_E_INVALID_BOOKMARK = MakeMapiError(0x405);
constexpr HRESULT MAPI_E_COLLISION = MakeMapiError(0x604);
constexpr HRESULT MAPI_E_NOT_INITIALIZED = MakeMapiError(0x605);

constexpr HRESULT MAPI_W_ERRORS_RETURNED = MakeMapiWarning(0x380);
constexpr HRESULT MAPI_W_POSITION_CHANGED = MakeMapiWarning(0x481);
constexpr HRESULT MAPI_W_PARTIAL_COMPLETION = MakeMapiWarning(0x680);
