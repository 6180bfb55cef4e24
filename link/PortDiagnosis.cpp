#include "link/PortDiagnosis.h"

#include "link/PortHolders.h"
#include "link/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kModemManager = QStringLiteral("ModemManager");

QString userName()
{
    if (const passwd* user = ::getpwuid(::getuid())) return QString::fromLocal8Bit(user->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString ownerName(uid_t uid)
{
    if (const passwd* owner = ::getpwuid(uid)) return QString::fromLocal8Bit(owner->pw_name);
    return QString::number(uid);
}

QString groupName(gid_t gid)
{
    if (const group* entry = ::getgrgid(gid)) return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(gid);
}

// Listed as a member in the group database (or the group is the user's own).
bool listedInGroup(gid_t gid)
{
    const passwd* user = ::getpwuid(::getuid());
    if (!user) return false;
    if (user->pw_gid == gid) return true;
    const group* entry = ::getgrgid(gid);
    for (char** member = entry ? entry->gr_mem : nullptr; member && *member; ++member)
        if (QByteArray(*member) == user->pw_name) return true;
    return false;
}

// The groups a session gets are fixed when it starts: a user added to a group later has it only after
// logging in again.
bool sessionHasGroup(gid_t gid)
{
    if (::getegid() == gid) return true;
    std::vector<gid_t> groups(size_t(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(int(groups.size()), groups.data());
    return count > 0 && std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

QString modeText(mode_t mode)
{
    return QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0'));
}

// The USB vendor and product of a tty device, read from the device's USB ancestors in /sys.
std::pair<QString, QString> usbIds(const QString& root, const QString& device)
{
    const QString sysDevice = QDir(root).filePath(QStringLiteral("sys/class/tty/%1/device").arg(QFileInfo(device).fileName()));
    QDir dir(QFileInfo(sysDevice).canonicalFilePath());
    for (int depth = 0; depth < 6 && !dir.isRoot() && !dir.path().isEmpty(); ++depth) {
        QFile vendor(dir.filePath(QStringLiteral("idVendor")));
        QFile product(dir.filePath(QStringLiteral("idProduct")));
        if (vendor.open(QIODevice::ReadOnly) && product.open(QIODevice::ReadOnly))
            return {QString::fromLatin1(vendor.readAll().trimmed()), QString::fromLatin1(product.readAll().trimmed())};
        if (!dir.cdUp()) break;
    }
    return {};
}
}

PortDiagnosis::PortDiagnosis(QString root) : m_root(std::move(root)) {}

int PortDiagnosis::tryOpen(const QString& device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

QString PortDiagnosis::openFailure(const QString& device, const QString& reason) const
{
    return openFailure(device, tryOpen(device), reason);
}

QString PortDiagnosis::openFailure(const QString& device, int error, const QString& reason) const
{
    const QString wrongPath = noDevice(device);
    if (!wrongPath.isEmpty()) return wrongPath;
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR: return missing(device);
    case EACCES:
    case EPERM: return denied(device);
    case EBUSY: return busy(device);
    case 0: // opens here, yet not for the link: a lock file stood in its way, or it is no serial port
        return PortHolders(m_root).locks(device).isEmpty() ? notSerial(device, reason) : busy(device);
    default:
        return QStringLiteral("The device %1 cannot be opened: %2.").arg(device, QString::fromLocal8Bit(::strerror(error)));
    }
}

QString PortDiagnosis::missing(const QString& device) const
{
    return QStringLiteral("The device %1 does not exist: the telephone is not connected or not switched on, or the "
                          "system gave it another name.\n%2")
        .arg(device, SerialDevices::listing(SerialDevices::scan(m_root)));
}

QString PortDiagnosis::denied(const QString& device) const
{
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0) return missing(device);
    const QString group = groupName(info.st_gid);
    const QString user = userName();
    const QString head = QStringLiteral("No permission to open %1 (owner %2, group \"%3\", mode %4) as user %5.")
                             .arg(device, ownerName(info.st_uid), group, modeText(info.st_mode), user);
    if (info.st_gid == 0 || !(info.st_mode & S_IRGRP && info.st_mode & S_IWGRP))
        return head + QStringLiteral("\nThe device is not open to any group: a udev rule must give it to the group "
                                     "\"dialout\" (GROUP=\"dialout\", MODE=\"0660\").");
    if (listedInGroup(info.st_gid) && !sessionHasGroup(info.st_gid))
        return head + QStringLiteral("\nUser %1 is a member of group \"%2\" already, but this session started before "
                                     "that: log out and log in again.").arg(user, group);
    return head + QStringLiteral("\nAdd the user to the group \"%1\" with:\n    sudo usermod -aG %1 %2\nthen log out and "
                                 "log in again.").arg(group, user);
}

QString PortDiagnosis::busy(const QString& device) const
{
    QString text = QStringLiteral("The device %1 is in use by another program.").arg(device);
    const QString holders = holdersOf(device);
    const QString locks = locksOf(device);
    if (!holders.isEmpty()) text += QLatin1Char('\n') + holders;
    if (!locks.isEmpty()) text += QLatin1Char('\n') + locks;
    if (holders.isEmpty() && locks.isEmpty())
        text += QStringLiteral("\nWhich one cannot be seen as this user; find it with:\n    sudo fuser -v %1").arg(device);
    const QString advice = modemManagerAdvice(device);
    return advice.isEmpty() ? text : text + QLatin1Char('\n') + advice;
}

QString PortDiagnosis::notSerial(const QString& device, const QString& reason) const
{
    return QStringLiteral("The device %1 opens, but not as a serial port%2: it is probably no telephone's port.\n%3")
        .arg(device, reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason),
             SerialDevices::listing(SerialDevices::scan(m_root)));
}

QString PortDiagnosis::noDevice(const QString& device) const
{
    // A file or a folder where a device was meant is a wrong path, whatever opening it said.
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0) return {};
    const char* what = S_ISDIR(info.st_mode) ? "a folder" : S_ISREG(info.st_mode) ? "an ordinary file" : nullptr;
    if (!what) return {};
    return QStringLiteral("%1 is %2, not a serial device: name the telephone's device, such as /dev/ttyUSB0.\n%3")
        .arg(device, QString::fromLatin1(what), SerialDevices::listing(SerialDevices::scan(m_root)));
}

QString PortDiagnosis::holdersOf(const QString& device) const
{
    QStringList lines;
    for (const PortHolder& holder : PortHolders(m_root).holding(device)) {
        // A daemon started again by the system is not ended for good by kill: its own remedy follows.
        if (holder.name == kModemManager)
            lines.append(QStringLiteral("It is held by ModemManager (PID %1).").arg(holder.pid));
        else
            lines.append(QStringLiteral("It is held by %1 (PID %2): close that program, or end it with: kill %2")
                             .arg(holder.name.isEmpty() ? QStringLiteral("a process") : holder.name)
                             .arg(holder.pid));
    }
    return lines.join(QLatin1Char('\n'));
}

QString PortDiagnosis::locksOf(const QString& device) const
{
    QStringList lines;
    for (const PortLock& lock : PortHolders(m_root).locks(device)) {
        if (lock.running)
            lines.append(QStringLiteral("The lock file %1 says that %2 (PID %3) uses it.")
                             .arg(lock.file, lock.holder.name.isEmpty() ? QStringLiteral("a process") : lock.holder.name)
                             .arg(lock.holder.pid));
        else
            lines.append(QStringLiteral("The lock file %1 is left over from a program that no longer runs: remove it "
                                        "with:\n    sudo rm %1").arg(lock.file));
    }
    return lines.join(QLatin1Char('\n'));
}

QString PortDiagnosis::modemManagerAdvice(const QString& device) const
{
    const QList<PortHolder> running = PortHolders(m_root).named(kModemManager);
    if (running.isEmpty()) return {};
    auto [vendor, product] = usbIds(m_root, device);
    if (vendor.isEmpty()) vendor = QStringLiteral("VVVV"), product = QStringLiteral("PPPP");
    return QStringLiteral(
               "ModemManager (PID %1) is running; it opens serial devices it takes for modems. Stop it with:\n"
               "    sudo systemctl stop ModemManager\n"
               "or let it leave this device alone for good with a udev rule, e.g. in "
               "/etc/udev/rules.d/99-telephone.rules:\n"
               "    ATTRS{idVendor}==\"%2\", ATTRS{idProduct}==\"%3\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
               "then: sudo udevadm control --reload-rules && sudo udevadm trigger")
        .arg(running.first().pid)
        .arg(vendor, product);
}

QString PortDiagnosis::noAnswer(const QString& device, int baud, int waitedMs, bool heardBytes) const
{
    const int seconds = (waitedMs + 999) / 1000;
    QString text = heardBytes
        ? QStringLiteral("The device %1 sent something back to \"AT\" within %2 s, but no readable answer: most "
                         "likely the speed of %3 baud is wrong (setting Link/Baud), or it is not a phone.")
        : QStringLiteral("The device %1 opened, but nothing answered \"AT\" within %2 s: it is the wrong port (a "
                         "phone or modem often has several), the speed of %3 baud is wrong (setting Link/Baud), "
                         "or it is not a phone.");
    text = text.arg(device).arg(seconds).arg(baud);
    text += QLatin1Char('\n') + SerialDevices::listing(SerialDevices::scan(m_root));
    const QString advice = modemManagerAdvice(device);
    return advice.isEmpty() ? text : text + QLatin1Char('\n') + advice;
}

QString PortDiagnosis::noPhonebook(const QString& device) const
{
    return QStringLiteral("The device %1 answers AT commands but has no phone book: it refused \"AT+CPBS=?\" and "
                          "every phone-book storage. It is probably a data-only modem, not a telephone: connect the "
                          "telephone itself, or choose its other port if it has several.")
        .arg(device);
}

QString PortDiagnosis::lineLost(const QString& device) const
{
    if (!QFileInfo::exists(device))
        return QStringLiteral("The device %1 went away in the middle of the work: the cable was pulled or the "
                              "telephone switched off.").arg(device);
    return QStringLiteral("The telephone on %1 answered at first, then stopped answering: check the cable and that "
                          "the telephone is switched on and not busy with a call or a menu.").arg(device);
}
