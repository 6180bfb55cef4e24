#pragma once
// telephone-link restore: makes one directory of the phone hold exactly the records of a backup file. The
// file is checked first and must fit the directory; the directory as it was is kept as a backup of its own
// (BackupFolder.h) before anything is written; then every record of the file is written, every other record
// of the directory erased, and the directory read back and compared with the file.
#include "link/tools/LinkCommand.h"

#include <QByteArray>
#include <QString>

class DirectoryRestore {
public:
    explicit DirectoryRestore(LinkCommand& link) : m_link(link) {}

    // 0 when the directory now matches the file; 1 (with the reason on standard error) otherwise.
    int run(const QByteArray& code, const QString& file);

private:
    bool fits(const DirectoryBackup& backup, const LinkCommand::Directory& directory) const;
    bool keepAsItWas(const DirectoryBackup& current) const;
    bool writeAll(const QByteArray& code, const QList<PhoneRecord>& records, const char* doing);
    bool matches(const DirectoryBackup& backup);

    LinkCommand& m_link;
};
