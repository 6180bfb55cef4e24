#pragma once
// A backup of one telephone directory, kept as a readable JSON file:
//
//   {
//     "format": "Telephone Directory backup of a telephone directory",
//     "version": 1,
//     "directory": "SM",
//     "taken": "2026-12-08T13:25:01Z",
//     "nameLength": 16,
//     "numberLength": 20,
//     "records": [ {"index": 1, "name": "Anna Müller", "number": "+4930123456"}, ... ],
//     "checksum": "sha256:..."
//   }
//
// directory is the program's code of the directory (SM, ME, LD, OW, FD, MC, CD), taken the time (UTC) the
// records were read from the phone, nameLength and numberLength the directory's field lengths then. Each
// record's name is UTF-8 text exactly as the phone holds it, a VIP name with its trailing "!"; its number holds
// only dial characters (DialNumber.h). A record whose name came damaged over the line, also when read again,
// holds what arrived and "nameUnreadable": true: a restore leaves such a record as the phone holds it. The
// checksum covers everything else, so that a file damaged on disk, cut short or changed by hand is refused
// rather than written to a phone.
//
// How the program keeps one before it first writes to a directory in a run (BackupFolder.h has the folder):
//
//   // while handling the successful UM_PHONEBOOK_READ of the directory, keep what the phone held:
//   DirectoryBackup backup;
//   backup.directoryCode = "SM";
//   backup.taken = QDateTime::currentDateTimeUtc();
//   backup.nameLength = ATPBGet()->nNameLen;
//   backup.numberLength = ATPBGet()->nNumberLen;
//   backup.records = TelephoneLinkReadRecords();          // TelephoneLinkSetup.h
//   // ... later, before the first ATPBWrite to that directory:
//   QString path, error;
//   if (!BackupFolder().store(backup, &path, &error)) { report error; write nothing }
#include "link/PhonebookRecords.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct DirectoryBackup {
    static constexpr int kFormatVersion = 1;

    QByteArray directoryCode;
    QDateTime taken;
    int nameLength = 0;
    int numberLength = 0;
    QList<PhoneRecord> records; // in any order; written sorted by index

    // Empty when the backup can be kept and restored; otherwise what is wrong with it, as one sentence.
    QString problem() const;

    QByteArray toJson() const;
    // Nothing, and *error says why, for text that is not a sound backup (damaged, foreign or too new).
    static std::optional<DirectoryBackup> fromJson(const QByteArray& json, QString* error);

    // Writes the file whole or not at all; a backup with a problem() is not written.
    bool save(const QString& path, QString* error) const;
    static std::optional<DirectoryBackup> load(const QString& path, QString* error);

    // How the directory found on the phone differs from this backup: one line per record, by index; empty
    // when the phone holds exactly the backup's records (a name that could not be read is not compared).
    QStringList differencesFrom(const QList<PhoneRecord>& onPhone) const;
};
