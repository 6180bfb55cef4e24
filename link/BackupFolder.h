#pragma once
// The folder where the program keeps its backups of telephone directories: "phone-backups" in the user's data
// folder (~/.local/share/Korvane/Telvora PRO/phone-backups for the organisation "Korvane" and the application
// "Telvora PRO"). Each backup is one file named after its directory and the local time it was taken,
// "SM-20261208-142501.json", with "-2", "-3", ... added when that name is taken already, so that two backups
// made in the same second both stay. Only the newest 20 backups are kept; files of other names in the
// folder are never touched.
#include "link/DirectoryBackup.h"

#include <QString>
#include <QStringList>

class BackupFolder {
public:
    static constexpr int kKept = 20;

    // Needs the application's organisation and name set, as the program and its tools do at start.
    static QString defaultPath();

    explicit BackupFolder(QString path = defaultPath());
    QString path() const { return m_path; }

    // Creates the folder when missing, writes the backup under a name of its own (the whole file or none),
    // then removes the oldest backups beyond kKept. *storedPath names the file written.
    bool store(const DirectoryBackup& backup, QString* storedPath, QString* error) const;
    // The backup files of the folder as full paths, newest first (by the time and sequence in their names).
    QStringList files() const;
    // Removes all backups but the newest `keep`.
    void prune(int keep = kKept) const;

private:
    QString m_path;
};
