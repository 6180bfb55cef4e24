#pragma once
// Who else is using a serial device: processes with the device open, as their descriptors in /proc show
// (only those of processes this user may look into), lock files in the UUCP style ("LCK..ttyUSB0"), and
// whether a program known to take serial devices (ModemManager) is running at all.
#include <QList>
#include <QString>

struct PortHolder {
    qint64 pid = 0;
    QString name; // from /proc/PID/comm; empty when the process is gone
};

struct PortLock {
    QString file;      // "/var/lock/LCK..ttyUSB0"
    PortHolder holder; // pid 0 when the file names none
    bool running = false;
};

class PortHolders {
public:
    // root: where the file system starts, "/" but for tests that build a tree of their own.
    explicit PortHolders(QString root = QStringLiteral("/"));

    // The processes other than this one with the device open.
    QList<PortHolder> holding(const QString& device) const;
    // The running processes of the given name.
    QList<PortHolder> named(const QString& name) const;
    // The lock files for the device.
    QList<PortLock> locks(const QString& device) const;

private:
    QString path(const QString& inside) const;
    QString processName(qint64 pid) const;
    QList<qint64> processes() const;
    bool holds(qint64 pid, const QStringList& targets) const;
    PortLock readLock(const QString& file) const;

    QString m_root;
};
