#pragma once
// Property types, property tags, object types and flags of Extended MAPI with their published values.
#include "mapi/MapiTypes.h"

constexpr ULONG PT_UNSPECIFIED = 0;
constexpr ULONG PT_NULL = 1;
constexpr ULONG PT_I2 = 2;
constexpr ULONG PT_LONG = 3;
constexpr ULONG PT_R4 = 4;
constexpr ULONG PT_DOUBLE = 5;
constexpr ULONG PT_CURRENCY = 6;
constexpr ULONG PT_APPTIME = 7;
constexpr ULONG PT_ERROR = 10;
constexpr ULONG PT_BOOLEAN = 11;
constexpr ULONG PT_OBJECT = 13;
constexpr ULONG PT_I8 = 20;
constexpr ULONG PT_STRING8 = 30;
constexpr ULONG PT_UNICODE = 31;
constexpr ULONG PT_SYSTIME = 64;
constexpr ULONG PT_CLSID = 72;
constexpr ULONG PT_BINARY = 258;
constexpr ULONG MV_FLAG = 0x1000;

constexpr ULONG PROP_TYPE_MASK = 0x0000FFFF;
constexpr ULONG PROP_TYPE(ULONG tag) { return tag & PROP_TYPE_MASK; }
constexpr ULONG PROP_ID(ULONG tag) { return tag >> 16; }
constexpr ULONG PROP_TAG(ULONG type, ULONG id) { return (id << 16) | type; }
constexpr ULONG CHANGE_PROP_TYPE(ULONG tag, ULONG type) { return (tag & 0xFFFF0000u) | type; }

constexpr ULONG PR_NULL = PROP_TAG(PT_NULL, 0x0000);
constexpr ULONG PR_ENTRYID = 0x0FFF0102;
constexpr ULONG PR_OBJECT_TYPE = 0x0FFE0003;
constexpr ULONG PR_RECORD_KEY = 0x0FF90102;
constexpr ULONG PR_INSTANCE_KEY = 0x0FF60102;
constexpr ULONG PR_DISPLAY_NAME = 0x3001001E;
constexpr ULONG PR_ADDRTYPE = 0x3002001E;
constexpr ULONG PR_EMAIL_ADDRESS = 0x3003001E;
constexpr ULONG PR_COMMENT = 0x3004001E;
constexpr ULONG PR_DEPTH = 0x30050003;
constexpr ULONG PR_SEARCH_KEY = 0x300B0102;
constexpr ULONG PR_CONTAINER_FLAGS = 0x36000003;
constexpr ULONG PR_CREATE_TEMPLATES = 0x3604000D;
constexpr ULONG PR_CONTAINER_HIERARCHY = 0x360E000D;
constexpr ULONG PR_CONTAINER_CONTENTS = 0x360F000D;
constexpr ULONG PR_DISPLAY_TYPE = 0x39000003;
constexpr ULONG PR_TEMPLATEID = 0x39020102;
constexpr ULONG PR_BUSINESS_TELEPHONE_NUMBER = 0x3A08001E;
constexpr ULONG PR_HOME_TELEPHONE_NUMBER = 0x3A09001E;
constexpr ULONG PR_PRIMARY_TELEPHONE_NUMBER = 0x3A1A001E;
constexpr ULONG PR_MOBILE_TELEPHONE_NUMBER = 0x3A1C001E;
// This address book's own properties, in the range MAPI leaves to a provider. The book's identity (on the
// book itself) names the UIDs made up for entries of books written before entries had one.
constexpr ULONG PR_TD_ENTRY_UID = PROP_TAG(PT_STRING8, 0x6700);
constexpr ULONG PR_TD_NUMBER_KIND = PROP_TAG(PT_STRING8, 0x6701);
constexpr ULONG PR_TD_BOOK_UID = PROP_TAG(PT_STRING8, 0x6702);

// Object types (PR_OBJECT_TYPE and the lpulObjType of OpenEntry).
constexpr ULONG MAPI_STORE = 1;
constexpr ULONG MAPI_ADDRBOOK = 2;
constexpr ULONG MAPI_FOLDER = 3;
constexpr ULONG MAPI_ABCONT = 4;
constexpr ULONG MAPI_MESSAGE = 5;
constexpr ULONG MAPI_MAILUSER = 6;
constexpr ULONG MAPI_ATTACH = 7;
constexpr ULONG MAPI_DISTLIST = 8;
constexpr ULONG MAPI_PROFSECT = 9;
constexpr ULONG MAPI_STATUS = 10;
constexpr ULONG MAPI_SESSION = 11;

// Display types (PR_DISPLAY_TYPE).
constexpr ULONG DT_MAILUSER = 0;
constexpr ULONG DT_DISTLIST = 1;
constexpr ULONG DT_PRIVATE_DISTLIST = 5;
constexpr ULONG DT_NOT_SPECIFIC = 0x00050000;

// PR_CONTAINER_FLAGS.
constexpr ULONG AB_RECIPIENTS = 0x00000001;
constexpr ULONG AB_SUBCONTAINERS = 0x00000002;
constexpr ULONG AB_MODIFIABLE = 0x00000004;

// MAPILogonEx, Logoff.
constexpr ULONG MAPI_LOGON_UI = 0x00000001;
constexpr ULONG MAPI_NEW_SESSION = 0x00000002;
constexpr ULONG MAPI_ALLOW_OTHERS = 0x00000008;
constexpr ULONG MAPI_EXPLICIT_PROFILE = 0x00000010;
constexpr ULONG MAPI_EXTENDED = 0x00000020;
constexpr ULONG MAPI_USE_DEFAULT = 0x00000040;
constexpr ULONG MAPI_NO_MAIL = 0x00008000;
constexpr ULONG MAPI_LOGOFF_SHARED = 0x00000001;
constexpr ULONG MAPI_LOGOFF_UI = 0x00000002;

// Opening objects and tables.
constexpr ULONG MAPI_MODIFY = 0x00000001;
constexpr ULONG MAPI_CREATE = 0x00000002;
constexpr ULONG MAPI_DEFERRED_ERRORS = 0x00000008;
constexpr ULONG MAPI_BEST_ACCESS = 0x00000010;
constexpr ULONG MAPI_ASSOCIATED = 0x00000040;
constexpr ULONG MAPI_UNICODE = 0x80000000;

// CreateEntry.
constexpr ULONG CREATE_CHECK_DUP_STRICT = 0x00000001;
constexpr ULONG CREATE_CHECK_DUP_LOOSE = 0x00000002;
constexpr ULONG CREATE_REPLACE = 0x00000004;
// With DeleteEntries (this address book's own flag): what a deleted list contains, mail users and lists, moves
// into the container that held the list instead of going with it.
constexpr ULONG DELETE_KEEP_CONTENTS = 0x00800000;

// SaveChanges.
constexpr ULONG KEEP_OPEN_READONLY = 0x00000001;
constexpr ULONG KEEP_OPEN_READWRITE = 0x00000002;
constexpr ULONG FORCE_SAVE = 0x00000004;

// Tables.
constexpr ULONG TBL_ASYNC = 0x00000001;
constexpr ULONG TBL_BATCH = 0x00000002;
constexpr ULONG TBL_NOADVANCE = 0x00000001;
constexpr BOOKMARK BOOKMARK_BEGINNING = 0;
constexpr BOOKMARK BOOKMARK_CURRENT = 1;
constexpr BOOKMARK BOOKMARK_END = 2;
constexpr ULONG TABLE_SORT_ASCEND = 0x00000000;
constexpr ULONG TABLE_SORT_DESCEND = 0x00000001;

// Restrictions.
constexpr ULONG RES_AND = 0;
constexpr ULONG RES_OR = 1;
constexpr ULONG RES_NOT = 2;
constexpr ULONG RES_CONTENT = 3;
constexpr ULONG RES_PROPERTY = 4;
constexpr ULONG RES_COMPAREPROPS = 5;
constexpr ULONG RES_BITMASK = 6;
constexpr ULONG RES_SIZE = 7;
constexpr ULONG RES_EXIST = 8;
constexpr ULONG RES_SUBRESTRICTION = 9;
constexpr ULONG RELOP_LT = 0;
constexpr ULONG RELOP_LE = 1;
constexpr ULONG RELOP_GT = 2;
constexpr ULONG RELOP_GE = 3;
constexpr ULONG RELOP_EQ = 4;
constexpr ULONG RELOP_NE = 5;
constexpr ULONG RELOP_RE = 6;
constexpr ULONG FL_FULLSTRING = 0x00000000;
constexpr ULONG FL_SUBSTRING = 0x00000001;
constexpr ULONG FL_PREFIX = 0x00000002;
constexpr ULONG FL_IGNORECASE = 0x00010000;
constexpr ULONG FL_IGNORENONSPACE = 0x00020000;
constexpr ULONG FL_LOOSE = 0x00040000;
