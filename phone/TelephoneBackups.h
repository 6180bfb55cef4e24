#pragma once
// The backups the program kept of the telephone's directories (the backup folder of the link), as the window
// lists them: which directory, when taken, how many entries, and on request the records themselves in the form
// the telephone list shows them. A file that cannot be used is listed with what is wrong with it, never left out,
// so that the user sees a backup went bad rather than wonder where it went.
#include "model/DirEntry.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

struct TelephoneBackup {
    QString path;
    // The program's directory number (0..6), -1 when the file names none of its directories.
    int directory = -1;
    // When the records were read from the telephone (UTC); for a damaged file the time its name carries.
    QDateTime taken;
    int entryCount = 0;
    // Empty for a backup that can be restored; otherwise one sentence saying what is wrong with the file.
    QString error;
};

class TelephoneBackups {
public:
    // The program's backup folder; needs the application's organisation and name set, as at start-up.
    TelephoneBackups();
    explicit TelephoneBackups(QString folder);

    QString Folder() const { return m_folder; }
    // Every backup of the folder, newest first.
    QList<TelephoneBackup> List() const;
    // The records of one backup in index order, each with its name without the VIP mark and the status "!" or
    // " " as the telephone list shows them. Nothing, and *error says why, for a file that cannot be used.
    static std::optional<std::vector<DirEntry>> Records(const QString& path, QString* error);

private:
    QString m_folder;
};
