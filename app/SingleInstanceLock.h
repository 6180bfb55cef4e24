#pragma once
// Lets only one copy of the program run per user. The lock is a file named after the executable in the
// user's runtime folder; the operating system's record of the owner's process id lets a copy that crashed
// (or was killed) leave no lasting block behind.
#include <QString>

#include <memory>

class QLockFile;

class SingleInstanceLock {
public:
    enum class Result {
        Acquired,      // this copy is the only one
        HeldByAnother, // another copy runs: this one must end
        Unavailable,   // the lock file cannot be made (no folder, no rights): run unguarded
    };

    explicit SingleInstanceLock(const QString& executableName);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result TryAcquire();
    QString LockFilePath() const { return m_path; }

    // The folder that holds the lock: the user's runtime folder, or the temporary folder without one.
    static QString LockFolder();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
