#pragma once
// The names under which the program and its tools keep their settings and data (QSettings and the data folder:
// Korvane/Telvora PRO), and their version: the tools find the same address book, device and backups as the
// program only when they use the same names.
#include <QString>

namespace ProgramNames {
// Sets the organisation, application name and version of the running application object.
void Apply();
QString Version(); // "1.1.03"
}
