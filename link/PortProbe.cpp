#include "link/PortProbe.h"

#include "link/AtReply.h"
#include "link/PortHolders.h"
#include "link/ProbeLine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <future>
#include <optional>
#include <vector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString problemOfOpen(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR: return QStringLiteral("missing");
    case EACCES:
    case EPERM: return QStringLiteral("no permission");
    default: return QString::fromLocal8Bit(::strerror(error));
    }
}

// Another program claimed the port for itself (TIOCEXCL). Root opens such a port all the same, so the probe
// asks rather than relying on the open to fail.
bool claimedByAnother(int fd)
{
#ifdef TIOCGEXCL
    int exclusive = 0;
    return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
#else
    Q_UNUSED(fd);
    return false;
#endif
}

bool lockedByRunningProgram(const QString& device)
{
    for (const PortLock& lock : PortHolders().locks(device))
        if (lock.running) return true;
    return false;
}
}

QString PortProbe::busyText(const QString& device)
{
    QStringList who;
    const PortHolders holders;
    for (const PortHolder& holder : holders.holding(device))
        who.append(QStringLiteral("%1 (PID %2)").arg(holder.name.isEmpty() ? QStringLiteral("a process") : holder.name)
                       .arg(holder.pid));
    for (const PortLock& lock : holders.locks(device))
        if (lock.running) who.append(QStringLiteral("lock file %1 of PID %2").arg(lock.file).arg(lock.holder.pid));
    return who.isEmpty() ? QStringLiteral("busy") : QStringLiteral("busy, held by ") + who.join(QStringLiteral(", "));
}

PortProbeResult PortProbe::probe(const QString& device, int baud, int timeoutMs)
{
    PortProbeResult result;
    result.device = device;
    if (lockedByRunningProgram(device)) return result.problem = busyText(device), result;
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        result.problem = error == EBUSY ? busyText(device) : problemOfOpen(error);
        return result;
    }
    if (claimedByAnother(fd)) {
        ::close(fd); // not the last descriptor: the holder's line stays as it is
        return result.problem = busyText(device), result;
    }
    ProbeLine line(fd);
    line.makeRaw(baud);
    bool heard = false;
    result.answers = line.ask("AT", timeoutMs, &heard).has_value();
    if (!result.answers) {
        result.problem = heard ? QStringLiteral("no answer (only unreadable bytes came back)") : QStringLiteral("no answer");
        return result;
    }
    if (const auto maker = line.ask("AT+CGMI", timeoutMs, &heard))
        result.maker = QString::fromLatin1(AtReply::parseIdentity(*maker, "+CGMI"));
    if (const auto model = line.ask("AT+CGMM", timeoutMs, &heard))
        result.model = QString::fromLatin1(AtReply::parseIdentity(*model, "+CGMM"));
    return result;
}

PortProbeResult PortProbe::probeListed(const QString& root, const SerialDevice& listed, int baud, int timeoutMs)
{
    // The scan names devices as seen from "/"; under a root of its own they are found inside that root.
    const QString node = QDir(root).filePath(listed.path.mid(1));
    PortProbeResult result = probe(node, baud, timeoutMs);
    result.byId = listed.alias;
    return result;
}

QList<PortProbeResult> PortProbe::probeAll(const QString& root, int baud, int timeoutMs)
{
    std::vector<std::future<PortProbeResult>> running;
    for (const SerialDevice& listed : SerialDevices::scan(root))
        running.push_back(std::async(std::launch::async, probeListed, root, listed, baud, timeoutMs));
    QList<PortProbeResult> results;
    for (auto& one : running) results.append(one.get());
    return results;
}
