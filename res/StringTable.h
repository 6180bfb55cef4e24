#pragma once
// The program's string table: every text it shows, loaded by number. Texts are held as Unicode and handed
// out either as Qt strings (for widgets) or as code page 1252 bytes (for entry texts and formats).
#include <QString>
#include <string>

namespace StringTable {
bool Has(int id);
QString LoadQString(int id);   // empty when the table has no such string
std::string LoadString(int id); // UTF-8
// Command prompts are two lines: the status-bar prompt and the tooltip.
QString Prompt(int commandId);
QString Tooltip(int commandId);
}

// Numbers of the strings that the code names; the rest are used by number.
namespace Ids {
constexpr int IDS_OLE_INIT_FAILED = 100;
constexpr int IDS_APP_TITLE = 57344;      // "Telephone Directory"
constexpr int IDS_IDLE_MESSAGE = 57345;   // "Press F1 to get help."
// Error reports (shown with their class by the error report; remedies 5000 above).
constexpr int IDS_ERR_MAPI_INIT = 41000;
constexpr int IDS_ERR_MAPI_LOGON = 41001;
constexpr int IDS_ERR_OPEN_ADDRESS_BOOK = 41002;
constexpr int IDS_ERR_OPEN_PAB = 41003;
constexpr int IDS_ERR_OPEN_CONTAINER = 41004;
constexpr int IDS_ERR_NO_ENTRIES = 41005;
constexpr int IDS_ERR_CONTENTS_TABLE = 41006;
constexpr int IDS_ERR_QUERY_ROWS = 41007;
constexpr int IDS_ERR_OPEN_PROPERTY = 41008;
constexpr int IDS_ERR_SET_COLUMNS = 41009;
constexpr int IDS_ERR_RESTRICT = 41010;
constexpr int IDS_ERR_ROW_COUNT = 41011;
constexpr int IDS_ERR_CREATE_ENTRY = 41012;
constexpr int IDS_ERR_SET_PROPS = 41013;
constexpr int IDS_ERR_ENTRY_EXISTS = 41014;
constexpr int IDS_ERR_SAVE_CHANGES = 41015;
constexpr int IDS_ERR_STATUS_INPUT = 41016;
constexpr int IDS_ERR_PHONE_WRITE = 41017;
constexpr int IDS_ERR_READ_NO_DATA = 41019;
constexpr int IDS_ERR_READ_ONLY = 41020;
constexpr int IDS_ERR_INCOMPLETE_INPUT = 41023;
constexpr int IDS_ERR_DIRECTORY_NOT_AVAILABLE = 41024;
constexpr int IDS_ERR_MAXIMUM_EXCEEDED = 41025;
constexpr int IDS_ERR_CONNECT = 41026;
constexpr int IDS_ACTION_ABORTED = 41018;
constexpr int IDS_NO_DATA_FOR_WRITING = 41021;
constexpr int IDS_NAME_EXISTS = 41022;
constexpr int IDS_DIR_OWN = 61206;
constexpr int IDS_DIR_SIM = 61207;
constexpr int IDS_DIR_MOBILE = 61208;
constexpr int IDS_DIR_LAST_DIAL = 61209;
constexpr int IDS_DIR_FIX_DIAL = 61210;
constexpr int IDS_DIR_MISSED_CALLS = 61211;
constexpr int IDS_DIR_CALL_BACK = 61212;
constexpr int IDS_PAB_NAME = 61221;
constexpr int IDS_COL_NAME = 61231;
constexpr int IDS_COL_NUMBER = 61232;
constexpr int IDS_COL_INDEX = 61233;
constexpr int IDS_COL_STATUS = 61234;     // "!"
constexpr int IDS_READING = 61235;
constexpr int IDS_READING_NAMED = 61310;    // %1 the directory being read
constexpr int IDS_READING_PROGRESS = 61311; // %1 records read of %2
constexpr int IDS_SYNC_PROGRESS = 61320;          // %1 contacts merged of %2
constexpr int IDS_SAVE_AB_BEFORE_SYNC = 61321;
constexpr int IDS_SYNC_NO_ACCOUNT = 61322;
constexpr int IDS_SYNC_TRUST_CERTIFICATE = 61323; // %1 the certificate's fingerprint
constexpr int IDS_SYNC_ENDED = 61324;             // %1 the counts
constexpr int IDS_SYNC_FAILED = 61325;            // %1 the cause
constexpr int IDS_PHONE_BUSY = 61236;   // a telephone read or write is running
constexpr int IDS_BACKUP_FAILED = 61239; // the directory could not be backed up before writing
constexpr int IDS_ACTION_SUCCESSFUL = 61237;
constexpr int IDS_WRITING = 61238;
constexpr int IDS_WRITING_PAB = 61243;
constexpr int IDS_STANDARD_STATUS = 61245;
constexpr int IDS_INDEX_WORD = 61246;
constexpr int IDS_VIP_STATUS = 61247;
constexpr int IDS_NEW_FOLDER_TITLE = 61248;
constexpr int IDS_NEW_FOLDER_PROMPT = 61249;
constexpr int IDS_OTHER_NAME_TITLE = 61250;
constexpr int IDS_OTHER_NAME_PROMPT = 61251;
constexpr int IDS_TITLE_ADD_PHONE = 61253;
constexpr int IDS_TITLE_ADD_AB = 61254;
constexpr int IDS_TITLE_EDIT_PHONE = 61255;
constexpr int IDS_TITLE_EDIT_AB = 61256;
constexpr int IDS_SAVE_DIR_BEFORE_EXIT = 61258;
constexpr int IDS_SAVE_AB_BEFORE_EXIT = 61259;
constexpr int IDS_REGISTRY_KEY = 61260;
constexpr int IDS_SAVE_AB_BEFORE_FOLDER = 61261;
constexpr int IDS_SAVE_DIR_BEFORE_CHANGE = 61262;
constexpr int IDS_CONNECT_DROPS_CHANGES = 61270;
constexpr int IDS_VCARD_LEFT_OUT = 61272;
constexpr int IDS_VCARD_CANNOT_READ = 61273;
constexpr int IDS_VCARD_CANNOT_WRITE = 61274;
constexpr int IDS_NAMES_UNREADABLE = 61280;     // after a read: names damaged on the line
constexpr int IDS_UNREADABLE_NOT_WRITTEN = 61281; // after a save: entries held back for their names
constexpr int IDS_RESTORE_BACKUP_QUESTION = 61282; // %1 directory, %2 time taken, %3 entries
constexpr int IDS_ERR_PHONE_CHANGED = 41027;     // a save found records where it believed slots empty
constexpr int IDS_ERR_RESTORE_UNFIT = 41028;     // a backup the telephone's directory cannot take
constexpr int IDS_ERR_RESTORE_REFUSED = 41029;   // the telephone refused a record of a backup half-way
constexpr int IDS_RESTORED = 61290;              // after a restore: entries, directory, time of the backup
constexpr int IDS_RESTORE_SAME = 61291;          // the directory already held the backup
constexpr int IDS_ADDED_ON_PHONE = 61292;        // a record found where a save believed a slot empty
constexpr int IDS_ADDED_ON_FULL_PHONE = 61293;   // ... in a full directory
constexpr int IDS_ENTRY_MOVED_ASIDE = 61294;     // ... and the entry bound for that slot moved
constexpr int IDS_RESTORE_REFUSED = 61295;       // the record the telephone refused during a restore
constexpr int IDS_RESTORE_PUT_BACK = 61296;      // ... and the directory put back
constexpr int IDS_RESTORE_PARTLY = 61297;        // ... and putting back failed too
constexpr int IDS_VCARD_IMPORTED = 61275;
constexpr int IDS_VCARD_EXPORTED = 61276;
constexpr int IDS_VCARD_UPDATE_KNOWN = 61277;      // %1 cards whose UID the folder holds: update them?
constexpr int IDS_VCARD_IMPORTED_UPDATED = 61278;  // %1 of %2 imported, %3 updated
constexpr int IDS_RENAME_LIST_TITLE = 61300;
constexpr int IDS_RENAME_LIST_PROMPT = 61301;
constexpr int IDS_DELETE_LIST_QUESTION = 61302; // %1 the list's name
constexpr int IDS_HELP_FILE = 61264;
constexpr int IDS_DELETE_ONE = 61266;
constexpr int IDS_DELETE_MANY = 61267;
constexpr int IDS_INDICATOR_CAPS = 59137;
constexpr int IDS_INDICATOR_NUM = 59138;
constexpr int IDS_INDICATOR_SCRL = 59139;
// Remedy texts of the error report lie 5000 above their message.
constexpr int REMEDY_OFFSET = 5000;
}
