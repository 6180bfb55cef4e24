#pragma once
// telephone-link restore: makes one directory of the phone hold exactly the records of a backup file, or
// leaves it as it was. The file is checked first and every record must fit the directory as the phone reads
// it (RestoreCheck.h), else nothing is written; the directory as it was is kept as a backup of its own
// (BackupFolder.h) before anything is written; then every record of the file is written, every other record
// of the directory erased, and the directory read back and compared with the file. When the phone refuses a
// record half-way, what was already changed is put back from the directory as it was.
#include "link/tools/LinkCommand.h"

#include <QByteArray>
#include <QString>

#include <optional>

class DirectoryRestore {
public:
    explicit DirectoryRestore(LinkCommand& link) : m_link(link) {}

    // 0 when the directory now matches the file; 1 (with the reason on standard error) otherwise.
    int run(const QByteArray& code, const QString& file);

private:
    bool fits(const DirectoryBackup& backup, const LinkCommand::Directory& directory) const;
    std::optional<QString> keepAsItWas(const DirectoryBackup& current) const;
    bool writeAll(const QByteArray& code, const QList<PhoneRecord>& records, const DirectoryBackup& before,
                  const QString& keptIn);
    bool putBack(const QByteArray& code, const QList<PhoneRecord>& changed, const DirectoryBackup& before);
    bool matches(const DirectoryBackup& backup);

    LinkCommand& m_link;
};
