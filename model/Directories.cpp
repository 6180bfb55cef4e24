#include "model/Directories.h"

#include "res/StringTable.h"

const char* const g_apszReadCodes[kDirectoryCount] = {"SM", "ME", "LD", "OW", "FD", "MC", "CD"};
const char* const g_apszWriteCodes[kDirectoryCount] = {"SM", "ME", "", "OW", "FD", "", ""};
const int g_anDirectoryNameIds[kDirectoryCount] = {Ids::IDS_DIR_SIM,      Ids::IDS_DIR_MOBILE,       Ids::IDS_DIR_LAST_DIAL,
                                                  Ids::IDS_DIR_OWN,      Ids::IDS_DIR_FIX_DIAL,     Ids::IDS_DIR_MISSED_CALLS,
                                                  Ids::IDS_DIR_CALL_BACK};
