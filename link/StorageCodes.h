#pragma once
// The program's directory codes and the phone storages they stand for (27.007 names).
#include <QByteArray>

namespace StorageCodes {
// "SM"->"SM", "ME"->"ME", "LD"->"LD", "OW"->"ON", "FD"->"FD", "MC"->"MC", "CD"->"RC"; empty for other codes.
QByteArray phoneStorage(const QByteArray& directoryCode);
}
