#pragma once
// A folder standing for "/" with its own dev/ of symbolic links to a test's devices (real pseudo-terminals),
// for the search of serial ports.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class DeviceRoot {
public:
    bool valid() const { return m_dir.isValid() && QDir(m_dir.path()).mkpath("dev/serial/by-id"); }
    QString path() const { return m_dir.path(); }
    QString node(const QString& name) const { return m_dir.filePath("dev/" + name); }
    bool link(const QString& name, const QString& target) const { return QFile::link(target, node(name)); }
    bool alias(const QString& alias, const QString& name) const
    {
        return QFile::link("../../" + name, node("serial/by-id/" + alias));
    }

private:
    QTemporaryDir m_dir;
};
