#include "pab/AddressBookLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace {
// One lock per file, however it is named: a link or another spelling of the path finds the same lock.
QString LockPathOf(const QString& book)
{
    const QFileInfo file(book);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString real = file.exists() ? file.canonicalFilePath()
                                       : (folder.isEmpty() ? file.absoluteFilePath() : folder + QLatin1Char('/') + file.fileName());
    return real + QStringLiteral(".lock");
}
}

AddressBookLock::AddressBookLock(const std::string& bookPath)
    : m_bookPath(QString::fromStdString(bookPath)), m_lock(std::make_unique<QLockFile>(LockPathOf(m_bookPath)))
{
    // Only a dead holder makes a lock stale: a session open for hours is still a session.
    m_lock->setStaleLockTime(0);
}

AddressBookLock::~AddressBookLock() = default; // QLockFile removes the file it holds

QString AddressBookLock::HolderName(const QString& programName)
{
    return programName.startsWith(QLatin1String("address-book")) ? QStringLiteral("the address-book tool")
                                                                  : QStringLiteral("Telephone Directory");
}

bool AddressBookLock::TryLock()
{
    m_refusal.clear();
    // The program's own book is created in a folder that may not exist yet.
    if (!QFileInfo::exists(m_bookPath)) QDir().mkpath(QFileInfo(m_bookPath).absolutePath());
    if (m_lock->tryLock(0)) return true;
    if (m_lock->error() != QLockFile::LockFailedError) return true;
    qint64 pid = 0;
    QString host;
    QString program;
    if (!m_lock->getLockInfo(&pid, &host, &program)) {
        // The holder is just writing the lock file, or removing it: a second look tells.
        if (m_lock->tryLock(100)) return true;
        m_lock->getLockInfo(&pid, &host, &program);
    }
    const QString where = host.isEmpty() || host == QSysInfo::machineHostName() ? QString()
                                                                               : QStringLiteral(" on %1").arg(host);
    m_refusal = QStringLiteral("%1 is open in %2 (PID %3%4). Close it there, then try again: only one program at "
                               "a time may change an address book.")
                    .arg(m_bookPath, HolderName(program))
                    .arg(pid)
                    .arg(where);
    return false;
}
