#include "phone/TelephoneBackups.h"

#include "link/BackupFolder.h"
#include "link/DirectoryBackup.h"
#include "model/Directories.h"
#include "phone/PhonebookRecordCopier.h"
#include "phone/WritePlanner.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {
int DirectoryOfCode(const QByteArray& code)
{
    for (int directory = 0; directory < kDirectoryCount; ++directory)
        if (code == g_apszReadCodes[directory]) return directory;
    return -1;
}

// The backup folder names each file after its directory and the local time it was taken
// ("SM-20261208-142501.json", "-2" and on for more in the same second): all a damaged file still tells.
TelephoneBackup FromFileName(const QString& path)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Z]{2})-(\\d{8}-\\d{6})"));
    TelephoneBackup backup;
    backup.path = path;
    const QRegularExpressionMatch match = pattern.match(QFileInfo(path).fileName());
    if (!match.hasMatch()) return backup;
    backup.directory = DirectoryOfCode(match.captured(1).toLatin1());
    QDateTime local = QDateTime::fromString(match.captured(2), QStringLiteral("yyyyMMdd-HHmmss"));
    if (local.isValid()) backup.taken = local.toUTC();
    return backup;
}

std::optional<DirectoryBackup> Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The file cannot be read: %1").arg(file.errorString());
        return std::nullopt;
    }
    return DirectoryBackup::fromJson(file.readAll(), error);
}

DirEntry EntryOf(const PhoneRecord& record)
{
    HeldRecord held = WritePlanner::FromPhone(record.name.toStdString(), record.number.toStdString());
    held.m_bUnreadable = record.nameUnreadable;
    return PhonebookRecordCopier::EntryOf(record.index, held);
}
}

TelephoneBackups::TelephoneBackups() : m_folder(BackupFolder::defaultPath()) {}

TelephoneBackups::TelephoneBackups(QString folder) : m_folder(std::move(folder)) {}

QList<TelephoneBackup> TelephoneBackups::List() const
{
    QList<TelephoneBackup> list;
    if (m_folder.isEmpty()) return list;
    for (const QString& path : BackupFolder(m_folder).files()) {
        TelephoneBackup backup = FromFileName(path);
        if (const std::optional<DirectoryBackup> sound = Load(path, &backup.error)) {
            backup.directory = DirectoryOfCode(sound->directoryCode);
            backup.taken = sound->taken.toUTC();
            backup.entryCount = int(sound->records.size());
        }
        list.append(backup);
    }
    return list;
}

std::optional<std::vector<DirEntry>> TelephoneBackups::Records(const QString& path, QString* error)
{
    const std::optional<DirectoryBackup> backup = Load(path, error);
    if (!backup) return std::nullopt;
    QList<PhoneRecord> sorted = backup->records;
    std::sort(sorted.begin(), sorted.end(), [](const PhoneRecord& a, const PhoneRecord& b) { return a.index < b.index; });
    std::vector<DirEntry> entries;
    entries.reserve(size_t(sorted.size()));
    for (const PhoneRecord& record : sorted) entries.push_back(EntryOf(record));
    return entries;
}
