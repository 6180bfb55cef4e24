#include "link/tools/DirectoryRestore.h"

#include "link/BackupFolder.h"
#include "link/Cellbus.h"
#include "link/LinkService.h"

#include <QSet>

#include <cstdio>

namespace {
// The directories the phone lets the program write; the others (last dialled, missed calls, call back) are
// kept by the phone itself.
bool isWritableDirectory(const QByteArray& code)
{
    return code == "SM" || code == "ME" || code == "OW" || code == "FD";
}

void fail(const QString& text)
{
    std::fprintf(stderr, "telephone-link: %s\n", qPrintable(text));
}

QList<PhoneRecord> recordsMissingFrom(const QList<PhoneRecord>& found, const QList<PhoneRecord>& kept)
{
    QSet<int> keptIndices;
    for (const PhoneRecord& r : kept) keptIndices.insert(r.index);
    QList<PhoneRecord> erase;
    for (const PhoneRecord& r : found)
        if (!keptIndices.contains(r.index)) erase.append(PhoneRecord{r.index, QString(), QByteArray()});
    return erase;
}
}

int DirectoryRestore::run(const QByteArray& code, const QString& file)
{
    QString error;
    const std::optional<DirectoryBackup> backup = DirectoryBackup::load(file, &error);
    if (!backup) {
        fail(error + QStringLiteral(" Nothing was written."));
        return 1;
    }
    if (backup->directoryCode != code) {
        fail(QStringLiteral("%1 is a backup of the directory %2, not of %3. Nothing was written.")
                 .arg(file, QString::fromLatin1(backup->directoryCode), QString::fromLatin1(code)));
        return 1;
    }
    if (!isWritableDirectory(code)) {
        Fehler_Melden(4, 41020);
        return 1;
    }
    const std::optional<LinkCommand::Directory> current = m_link.fetch(code);
    if (!current || !fits(*backup, *current) || !keepAsItWas(current->contents)) return 1;
    const QList<PhoneRecord> erase = recordsMissingFrom(current->contents.records, backup->records);
    // What arrived of a name damaged on the line is no name to write: the phone keeps the one it holds.
    QList<PhoneRecord> write = backup->records;
    write.removeIf([](const PhoneRecord& r) { return r.nameUnreadable; });
    if (!writeAll(code, write, "writing") || !writeAll(code, erase, "erasing")) return 1;
    if (!matches(*backup)) return 1;
    std::printf("Restored %d records of %s from %s and erased %d others; the directory matches the backup.\n",
                int(write.size()), code.constData(), qPrintable(file), int(erase.size()));
    if (write.size() < backup->records.size())
        std::printf("%d records whose names could not be read when the backup was taken were left as they are.\n",
                    int(backup->records.size() - write.size()));
    return 0;
}

bool DirectoryRestore::fits(const DirectoryBackup& backup, const LinkCommand::Directory& directory) const
{
    // The backup measured against this phone's field lengths instead of those it was taken with.
    DirectoryBackup measured = backup;
    measured.nameLength = directory.contents.nameLength;
    measured.numberLength = directory.contents.numberLength;
    QString wrong = measured.problem();
    for (const PhoneRecord& r : backup.records)
        if (wrong.isEmpty() && r.index > directory.maxEntries)
            wrong = QStringLiteral("record %1 lies beyond the directory's %2 places.").arg(r.index).arg(directory.maxEntries);
    if (wrong.isEmpty()) return true;
    fail(QStringLiteral("The backup does not fit the telephone's directory %1: %2 Nothing was written.")
             .arg(QString::fromLatin1(backup.directoryCode), wrong));
    return false;
}

bool DirectoryRestore::keepAsItWas(const DirectoryBackup& current) const
{
    QString stored;
    QString error;
    if (!BackupFolder().store(current, &stored, &error)) {
        fail(QStringLiteral("Cannot keep the directory as it is before restoring: %1 Nothing was written.").arg(error));
        return false;
    }
    std::printf("The directory as it was is kept in %s.\n", qPrintable(stored));
    return true;
}

bool DirectoryRestore::writeAll(const QByteArray& code, const QList<PhoneRecord>& records, const char* doing)
{
    for (const PhoneRecord& r : records) {
        const int result = m_link.writeRecord(code, r);
        if (result == 0) continue;
        fail(QStringLiteral("The telephone did not take record %1 while %2 (result %3). The directory is only partly "
                            "restored: restore again once the cause is removed.")
                 .arg(QString::number(r.index), QString::fromLatin1(doing), QString::number(result)));
        // A device that went away or stopped answering halfway is worth naming: the cause to remove.
        const QString diagnosis = LinkService::instance().lastDiagnosis();
        if (!diagnosis.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(diagnosis));
        return false;
    }
    return true;
}

bool DirectoryRestore::matches(const DirectoryBackup& backup)
{
    const std::optional<LinkCommand::Directory> after = m_link.fetch(backup.directoryCode);
    if (!after) {
        fail(QStringLiteral("The directory could not be read back to compare it with the backup."));
        return false;
    }
    const QStringList differences = backup.differencesFrom(after->contents.records);
    if (differences.isEmpty()) return true;
    fail(QStringLiteral("After restoring, the directory differs from the backup in %1 records:").arg(differences.size()));
    for (const QString& line : differences) std::fprintf(stderr, "  %s\n", qPrintable(line));
    return false;
}
