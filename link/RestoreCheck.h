#pragma once
// Whether a telephone directory can take the records of a backup as they stand, checked before anything is
// written: a restore that stopped at a record the phone refuses would leave the directory half changed.
// Pure: it says what is wrong and leaves the saying to its caller.
#include "link/DirectoryBackup.h"

#include <QString>
#include <QStringList>

// The limits of the directory on the phone, as its read gave them.
struct DirectoryLimits {
    int nameLength = 0;     // positions of a name of the GSM alphabet (an extension character takes two)
    int ucs2NameLength = 0; // characters of any other name; 0 when the phone has no UCS2
    int numberLength = 0;   // digits, a leading "+" not counted
    int maxEntries = 0;     // locations 1..maxEntries
};

class RestoreCheck {
public:
    explicit RestoreCheck(const DirectoryLimits& limits) : m_limits(limits) {}

    // One sentence per record the directory could not take, in the backup's order, each naming the record:
    // record 7 "Иван Петров": its name ... Records whose names could not be read are left out: a restore
    // leaves them as the phone holds them.
    QStringList problems(const DirectoryBackup& backup) const;
    // Why the directory could not take this record; empty when it can.
    QString problemOf(const PhoneRecord& record) const;

private:
    QString nameProblem(const QString& name) const;
    QString numberProblem(const QByteArray& number) const;

    DirectoryLimits m_limits;
};
