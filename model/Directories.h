#pragma once
// The telephone's directories by number: position in the directory combo box and index into the storage codes.
constexpr int kDirectoryCount = 7;
constexpr int kDirectoryTables = 30; // 7 in use, the rest spare

enum DirectoryNumber : int {
    DIR_SIM = 0,
    DIR_MOBILE = 1,
    DIR_LAST_DIAL = 2,
    DIR_OWN = 3,
    DIR_FIX_DIAL = 4,
    DIR_MISSED = 5,
    DIR_CALL_BACK = 6,
};

extern const char* const g_apszReadCodes[kDirectoryCount];
extern const char* const g_apszWriteCodes[kDirectoryCount]; // "" marks a directory that can only be read
extern const int g_anDirectoryNameIds[kDirectoryCount];      // string numbers of the combo box texts
