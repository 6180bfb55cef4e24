#include "link/PortHolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {
// The folders where serial programs put their locks; /var/lock is often a link to /run/lock.
const QStringList kLockFolders = {QStringLiteral("var/lock"), QStringLiteral("run/lock"), QStringLiteral("var/spool/uucp")};

// The names a lock of the device may have: the UUCP one by the device's own name, and Qt's, which names
// devices in sub-folders ("/dev/pts/3") with their slashes turned into underscores.
QStringList lockNames(const QString& device)
{
    QString relative = device;
    if (relative.startsWith(QStringLiteral("/dev/"))) relative.remove(0, 5);
    QStringList names = {QStringLiteral("LCK..") + QFileInfo(device).fileName()};
    const QString flat = QStringLiteral("LCK..") + relative.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (!names.contains(flat)) names.append(flat);
    return names;
}
}

PortHolders::PortHolders(QString root) : m_root(std::move(root)) {}

QString PortHolders::path(const QString& inside) const
{
    return QDir(m_root).filePath(inside);
}

QList<qint64> PortHolders::processes() const
{
    QList<qint64> pids;
    for (const QString& entry : QDir(path(QStringLiteral("proc"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number) pids.append(pid);
    }
    return pids;
}

QString PortHolders::processName(qint64 pid) const
{
    QFile comm(path(QStringLiteral("proc/%1/comm").arg(pid)));
    if (!comm.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool PortHolders::holds(qint64 pid, const QStringList& targets) const
{
    // Another user's descriptors cannot be read: such a process is simply not found.
    const QDir fds(path(QStringLiteral("proc/%1/fd").arg(pid)));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (targets.contains(QFile::symLinkTarget(fds.filePath(fd)))) return true;
    }
    return false;
}

QList<PortHolder> PortHolders::holding(const QString& device) const
{
    QStringList targets = {device};
    const QString canonical = QFileInfo(device).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != device) targets.append(canonical);
    const qint64 self = QCoreApplication::applicationPid();
    QList<PortHolder> holders;
    for (const qint64 pid : processes()) {
        if (pid != self && holds(pid, targets)) holders.append({pid, processName(pid)});
    }
    return holders;
}

QList<PortHolder> PortHolders::named(const QString& name) const
{
    QList<PortHolder> found;
    for (const qint64 pid : processes()) {
        if (processName(pid) == name) found.append({pid, name});
    }
    return found;
}

PortLock PortHolders::readLock(const QString& file) const
{
    PortLock lock;
    lock.file = file;
    QFile content(file);
    if (!content.open(QIODevice::ReadOnly)) return lock;
    // UUCP writes the PID right-aligned in ten characters, Qt on a line of its own; both start the file.
    lock.holder.pid = content.readLine().trimmed().toLongLong();
    if (lock.holder.pid <= 0) return lock;
    lock.running = QFileInfo::exists(path(QStringLiteral("proc/%1").arg(lock.holder.pid)));
    if (lock.running) lock.holder.name = processName(lock.holder.pid);
    return lock;
}

QList<PortLock> PortHolders::locks(const QString& device) const
{
    QList<PortLock> found;
    QSet<QString> seen;
    for (const QString& folder : kLockFolders) {
        for (const QString& name : lockNames(device)) {
            const QString file = path(folder + QLatin1Char('/') + name);
            const QString canonical = QFileInfo(file).canonicalFilePath();
            if (canonical.isEmpty() || seen.contains(canonical)) continue;
            seen.insert(canonical);
            found.append(readLock(file));
        }
    }
    return found;
}
