#include "link/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
const QString kDevicePrefix = QStringLiteral("/dev/");

// ttyUSB10 after ttyUSB9: the kind first, then the number.
bool deviceOrder(const SerialDevice& a, const SerialDevice& b)
{
    static const QRegularExpression split(QStringLiteral("^(\\D*)(\\d*)$"));
    const auto ma = split.match(QFileInfo(a.path).fileName());
    const auto mb = split.match(QFileInfo(b.path).fileName());
    if (ma.captured(1) != mb.captured(1)) return ma.captured(1) < mb.captured(1);
    return ma.captured(2).toInt() < mb.captured(2).toInt();
}

// Without the kernel's word in /sys, ask the port itself; a node nobody may open stays unlisted.
bool answersAsSerialPort(const QString& node)
{
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    serial_struct info {};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}
}

bool SerialDevices::isSerialName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^(ttyUSB|ttyACM|rfcomm|ttyS)\\d+$"));
    return pattern.match(name).hasMatch();
}

bool SerialDevices::isPresentOnboardPort(const QString& root, const QString& name)
{
    // The kernel makes ttyS0 to ttyS31 whether or not a UART sits behind them; "type" 0 means none does.
    QFile type(QDir(root).filePath(QStringLiteral("sys/class/tty/%1/type").arg(name)));
    if (type.open(QIODevice::ReadOnly)) return type.readAll().trimmed().toInt() != PORT_UNKNOWN;
    return answersAsSerialPort(QDir(root).filePath(QStringLiteral("dev/") + name));
}

QString SerialDevices::aliasOf(const QString& root, const QString& name)
{
    const QDir byId(QDir(root).filePath(QStringLiteral("dev/serial/by-id")));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        // The links are relative ("../../ttyUSB0"); only the name they end in matters.
        if (link.isSymLink() && QFileInfo(QFile::symLinkTarget(link.filePath())).fileName() == name)
            return kDevicePrefix + QStringLiteral("serial/by-id/") + link.fileName();
    }
    return {};
}

QList<SerialDevice> SerialDevices::scan(const QString& root)
{
    QList<SerialDevice> devices;
    const QDir dev(QDir(root).filePath(QStringLiteral("dev")));
    for (const QString& name : dev.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (!isSerialName(name)) continue;
        if (name.startsWith(QStringLiteral("ttyS")) && !isPresentOnboardPort(root, name)) continue;
        devices.append({kDevicePrefix + name, aliasOf(root, name)});
    }
    std::sort(devices.begin(), devices.end(), deviceOrder);
    return devices;
}

QString SerialDevices::listing(const QList<SerialDevice>& devices)
{
    if (devices.isEmpty())
        return QStringLiteral("No serial devices are present (none of /dev/ttyUSB*, /dev/ttyACM*, /dev/rfcomm*, "
                              "nor an on-board /dev/ttyS* port).");
    QStringList names;
    for (const SerialDevice& device : devices)
        names.append(device.alias.isEmpty() ? device.path : QStringLiteral("%1 (%2)").arg(device.path, device.alias));
    return QStringLiteral("Serial devices present: %1.").arg(names.join(QStringLiteral(", ")));
}
