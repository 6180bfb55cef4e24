#include "pab/VCardFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool VCardFile::Read(const QString& path, VCardReadResult* result, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The file %1 cannot be read: %2.").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kLargestFile) {
        *error = QStringLiteral("The file %1 is larger than %2 MB: it is not an address book.").arg(path).arg(kLargestFile >> 20);
        return false;
    }
    *result = VCardReader::read(file.readAll());
    if (!result->isVCard) {
        *error = QStringLiteral("The file %1 is not a vCard file: no card begins with BEGIN:VCARD.").arg(path);
        return false;
    }
    return true;
}

bool VCardFile::Write(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("The file %1 cannot be written: %2.").arg(path, file.errorString());
        return false;
    }
    return true;
}
