#pragma once
// vCard files on disk: read whole (up to a size no address book reaches), written through a temporary file
// that replaces the old one only when complete, so a failed export never leaves half a file.
#include "model/VCardReader.h"

#include <QByteArray>
#include <QString>

class VCardFile {
public:
    static constexpr qint64 kLargestFile = 64 * 1024 * 1024;

    // false, with the reason for the user, when the file cannot be read or is no vCard file at all.
    static bool Read(const QString& path, VCardReadResult* result, QString* error);
    static bool Write(const QString& path, const QByteArray& bytes, QString* error);
};
