#include "link/tools/DirectoryRestore.h"

#include "link/BackupFolder.h"
#include "link/Cellbus.h"
#include "link/LinkService.h"
#include "link/PhonebookSession.h"
#include "link/RestoreCheck.h"

#include <QSet>

#include <algorithm>

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

QString described(const PhoneRecord& r)
{
    return r.name.isEmpty() ? QStringLiteral("record %1").arg(r.index)
                            : QStringLiteral("record %1 \"%2\"").arg(QString::number(r.index), r.name);
}

const PhoneRecord* recordAt(const QList<PhoneRecord>& records, int index)
{
    const auto at = std::find_if(records.begin(), records.end(), [index](const PhoneRecord& r) { return r.index == index; });
    return at == records.end() ? nullptr : &*at;
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
    if (!current || !fits(*backup, *current)) return 1;
    const std::optional<QString> keptIn = keepAsItWas(current->contents);
    if (!keptIn) return 1;
    // What arrived of a name damaged on the line is no name to write: the phone keeps the one it holds.
    QList<PhoneRecord> changes = backup->records;
    changes.removeIf([](const PhoneRecord& r) { return r.nameUnreadable; });
    const qsizetype written = changes.size();
    const QList<PhoneRecord> erase = recordsMissingFrom(current->contents.records, backup->records);
    changes += erase;
    if (!writeAll(code, changes, current->contents, *keptIn)) return 1;
    if (!matches(*backup)) return 1;
    std::printf("Restored %d records of %s from %s and erased %d others; the directory matches the backup.\n",
                int(written), code.constData(), qPrintable(file), int(erase.size()));
    if (written < backup->records.size())
        std::printf("%d records whose names could not be read when the backup was taken were left as they are.\n",
                    int(backup->records.size() - written));
    return 0;
}

bool DirectoryRestore::fits(const DirectoryBackup& backup, const LinkCommand::Directory& directory) const
{
    DirectoryLimits limits;
    limits.nameLength = directory.contents.nameLength;
    limits.ucs2NameLength = directory.ucs2NameLength;
    limits.numberLength = directory.contents.numberLength;
    limits.maxEntries = directory.maxEntries;
    const QStringList problems = RestoreCheck(limits).problems(backup);
    if (problems.isEmpty()) return true;
    fail(QStringLiteral("The backup does not fit the telephone's directory %1; nothing was written. %2 records cannot "
                        "be taken as they stand:").arg(QString::fromLatin1(backup.directoryCode)).arg(problems.size()));
    for (const QString& line : problems) std::fprintf(stderr, "  %s\n", qPrintable(line));
    return false;
}

std::optional<QString> DirectoryRestore::keepAsItWas(const DirectoryBackup& current) const
{
    QString stored;
    QString error;
    if (!BackupFolder().store(current, &stored, &error)) {
        fail(QStringLiteral("Cannot keep the directory as it is before restoring: %1 Nothing was written.").arg(error));
        return std::nullopt;
    }
    std::printf("The directory as it was is kept in %s.\n", qPrintable(stored));
    return stored;
}

bool DirectoryRestore::writeAll(const QByteArray& code, const QList<PhoneRecord>& records, const DirectoryBackup& before,
                                const QString& keptIn)
{
    QList<PhoneRecord> changed;
    for (const PhoneRecord& r : records) {
        const int result = m_link.writeRecord(code, r);
        if (result == 0) {
            changed.append(r);
            continue;
        }
        // A device that went away or stopped answering halfway is worth naming: the cause to remove.
        const QString diagnosis = LinkService::instance().lastDiagnosis();
        const bool unanswered = result == PhonebookSession::kWriteUnanswered;
        // A write whose answer never came may have been stored: its location is put back as well.
        if (unanswered) changed.append(r);
        const bool erasing = r.name.isEmpty() && r.number.isEmpty();
        const QString refused = QStringLiteral("The telephone did not take %1 while %2 (result %3%4).")
                                    .arg(described(r), erasing ? QStringLiteral("erasing") : QStringLiteral("writing"),
                                         QString::number(result),
                                         unanswered ? QStringLiteral(": sent, but its answer never came") : QString());
        if (putBack(code, changed, before))
            fail(refused + QStringLiteral(" The directory was put back as it was: restore again once the cause is removed."));
        else
            fail(refused + QStringLiteral(" Putting the directory back failed too: it is only partly restored. The "
                                          "directory as it was is kept in %1.").arg(keptIn));
        if (!diagnosis.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(diagnosis));
        return false;
    }
    return true;
}

bool DirectoryRestore::putBack(const QByteArray& code, const QList<PhoneRecord>& changed, const DirectoryBackup& before)
{
    bool whole = true;
    // Last changed first, so that the directory goes back the way it came.
    for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
        const PhoneRecord* was = recordAt(before.records, it->index);
        // A name that could not be read is no name to write back: that location stays as the restore left it.
        if (was && was->nameUnreadable) {
            whole = false;
            continue;
        }
        const PhoneRecord previous = was ? *was : PhoneRecord{it->index, QString(), QByteArray()};
        if (m_link.writeRecord(code, previous) != 0) whole = false;
    }
    return whole;
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
