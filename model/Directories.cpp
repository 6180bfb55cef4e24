#include "model/Directories.h"

const char* const g_apszReadCodes[kDirectoryCount] = {"SM", "ME", "LD", "OW", "FD", "MC", "CD"};
const char* const g_apszWriteCodes[kDirectoryCount] = {"SM", "ME", "", "OW", "FD", "", ""};
const int g_anDirectoryNameIds[kDirectoryCount] = {61207, 61208, 61209, 61206, 61210, 61211, 61212};
