#include "link/BackupFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kLastSequence = 9999;

// "SM-20261208-142501.json" or "SM-20261208-142501-2.json"
const QRegularExpression& backupName()
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Z]{2})-(\\d{8}-\\d{6})(?:-(\\d{1,4}))?\\.json$"));
    return pattern;
}

struct Age {
    QString stamp;
    int sequence = 1;
    QString fileName;
};

std::optional<Age> ageOf(const QString& fileName)
{
    const QRegularExpressionMatch match = backupName().match(fileName);
    if (!match.hasMatch()) return std::nullopt;
    const QString sequence = match.captured(3);
    return Age{match.captured(2), sequence.isEmpty() ? 1 : sequence.toInt(), fileName};
}

bool newerFirst(const Age& a, const Age& b)
{
    if (a.stamp != b.stamp) return a.stamp > b.stamp;
    if (a.sequence != b.sequence) return a.sequence > b.sequence;
    return a.fileName > b.fileName;
}

QString baseName(const DirectoryBackup& backup)
{
    return QString::fromLatin1(backup.directoryCode) + '-' + backup.taken.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QString candidateName(const QString& base, int sequence)
{
    return sequence == 1 ? base + QStringLiteral(".json") : QStringLiteral("%1-%2.json").arg(base).arg(sequence);
}

// Past every backup of the same directory and second, so that a newer backup never takes the name of an
// older one that pruning removed, and sorts as the newer.
int firstSequenceAfter(const QDir& folder, const QString& base)
{
    int highest = 0;
    for (const QString& name : folder.entryList({base + QStringLiteral("*.json")}, QDir::Files))
        if (const std::optional<Age> age = ageOf(name)) highest = std::max(highest, age->sequence);
    return highest + 1;
}

enum class Claim { Done, Taken, Failed };

// Gives the file the name unless a file has it already, in one step: QFile::rename checks first and renames
// after, and falls back to copying over the target, so two programs could both get the same name.
Claim claimName(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return Claim::Done;
    if (errno == EEXIST) return Claim::Taken;
    // A file system that cannot rename without replacing can still make a second name and drop the first.
    if (errno != EINVAL && errno != ENOSYS) return Claim::Failed;
    if (::link(source.constData(), target.constData()) != 0) return errno == EEXIST ? Claim::Taken : Claim::Failed;
    ::unlink(source.constData());
    return Claim::Done;
}

// The finished file under the first free name, so that two programs storing in the same second still get
// two files.
bool moveToFreeName(const QString& temporary, const QDir& folder, const DirectoryBackup& backup, QString* storedPath)
{
    const QString base = baseName(backup);
    for (int sequence = firstSequenceAfter(folder, base); sequence <= kLastSequence; ++sequence) {
        const QString candidate = folder.filePath(candidateName(base, sequence));
        switch (claimName(temporary, candidate)) {
        case Claim::Done: *storedPath = candidate; return true;
        case Claim::Taken: continue;
        case Claim::Failed: return false;
        }
    }
    return false;
}

bool writeTemporary(const QDir& folder, const QByteArray& content, QString* temporaryPath, QString* error)
{
    QTemporaryFile file(folder.filePath(QStringLiteral(".backup-XXXXXX.tmp")));
    file.setAutoRemove(false);
    // The data on the disk before the name appears: a crash leaves no half backup under a backup's name.
    const bool written = file.open() && file.write(content) == content.size() && file.flush() && ::fsync(file.handle()) == 0;
    *temporaryPath = file.fileName();
    if (!written) {
        *error = QStringLiteral("Cannot write a backup in %1: %2").arg(folder.path(), file.errorString());
        file.close();
        if (!temporaryPath->isEmpty()) QFile::remove(*temporaryPath);
    }
    return written;
}

void removeBeyond(const QStringList& newestFirst, int keep, const QString& spare)
{
    for (qsizetype i = std::max(keep, 0); i < newestFirst.size(); ++i)
        if (newestFirst[i] != spare) QFile::remove(newestFirst[i]);
}
}

QString BackupFolder::defaultPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/phone-backups");
}

BackupFolder::BackupFolder(QString path) : m_path(std::move(path)) {}

bool BackupFolder::store(const DirectoryBackup& backup, QString* storedPath, QString* error) const
{
    if (const QString wrong = backup.problem(); !wrong.isEmpty()) {
        *error = QStringLiteral("The backup was not written: %1").arg(wrong);
        return false;
    }
    if (m_path.isEmpty() || !QDir().mkpath(m_path)) {
        *error = QStringLiteral("Cannot create the backup folder %1.").arg(m_path);
        return false;
    }
    const QDir folder(m_path);
    QString temporary;
    if (!writeTemporary(folder, backup.toJson(), &temporary, error)) return false;
    if (!moveToFreeName(temporary, folder, backup, storedPath)) {
        QFile::remove(temporary);
        *error = QStringLiteral("Cannot name the backup in %1.").arg(m_path);
        return false;
    }
    // A backup of records read long ago is named older than others; it stays even so, being the one asked for.
    removeBeyond(files(), kKept, *storedPath);
    return true;
}

QStringList BackupFolder::files() const
{
    const QDir folder(m_path);
    QList<Age> ages;
    for (const QString& name : folder.entryList(QDir::Files))
        if (const std::optional<Age> age = ageOf(name)) ages.append(*age);
    std::sort(ages.begin(), ages.end(), newerFirst);
    QStringList paths;
    for (const Age& age : ages) paths.append(folder.filePath(age.fileName));
    return paths;
}

void BackupFolder::prune(int keep) const
{
    removeBeyond(files(), keep, {});
}
