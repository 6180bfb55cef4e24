#include "app/SingleInstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstanceLock::SingleInstanceLock(const QString& executableName)
    : m_path(QDir(LockFolder()).filePath(executableName + QStringLiteral(".lock"))),
      m_lock(std::make_unique<QLockFile>(m_path))
{
    // The first copy may run for days: only a dead owner makes the lock stale, never its age.
    m_lock->setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

SingleInstanceLock::Result SingleInstanceLock::TryAcquire()
{
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return Result::Acquired;
    return m_lock->error() == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Unavailable;
}

QString SingleInstanceLock::LockFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    return QDir::tempPath();
}
