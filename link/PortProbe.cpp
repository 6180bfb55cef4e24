#include "link/PortProbe.h"

#include "link/AtReply.h"
#include "link/PortHolders.h"

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
speed_t speedOf(int baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    case 460800: return B460800;
    default: return B115200;
    }
}

// The open port, raw at the given speed; its former settings are put back when the probe is done, so that
// a port the user set up for something else is left as it was.
class ProbeLine {
public:
    explicit ProbeLine(int fd) : m_fd(fd) { m_saved = ::tcgetattr(fd, &m_old) == 0; }
    ~ProbeLine()
    {
        if (m_saved) ::tcsetattr(m_fd, TCSANOW, &m_old);
        ::close(m_fd);
    }
    ProbeLine(const ProbeLine&) = delete;
    ProbeLine& operator=(const ProbeLine&) = delete;

    void makeRaw(int baud)
    {
        if (!m_saved) return; // not a terminal: the write and the wait tell the rest
        termios raw = m_old;
        ::cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        ::cfsetspeed(&raw, speedOf(baud));
        ::tcsetattr(m_fd, TCSANOW, &raw);
        ::tcflush(m_fd, TCIOFLUSH);
    }

    // The lines of the answer to one command, up to its final line; nothing when none came in time.
    // heard: some bytes came back at all.
    std::optional<QList<QByteArray>> ask(const QByteArray& command, int timeoutMs, bool* heard)
    {
        const QByteArray line = command + '\r';
        if (::write(m_fd, line.constData(), size_t(line.size())) != line.size()) return std::nullopt;
        QByteArray pending;
        QList<QByteArray> lines;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            if (!readSome(int(timeoutMs - clock.elapsed()), &pending)) continue;
            *heard = true;
            if (takeLines(command, &pending, &lines)) return lines;
        }
        return std::nullopt;
    }

private:
    bool readSome(int waitMs, QByteArray* pending)
    {
        pollfd ready {m_fd, POLLIN, 0};
        if (::poll(&ready, 1, std::max(waitMs, 0)) <= 0) return false;
        char buffer[256];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0) {
            // A hung-up line keeps polling ready: wait out the rest of the time instead of spinning.
            if (got == 0 || (errno != EAGAIN && errno != EINTR)) ::poll(nullptr, 0, std::max(waitMs, 0));
            return false;
        }
        pending->append(buffer, got);
        return true;
    }

    // Moves the complete lines into lines, without the command's echo; true once the final line came.
    static bool takeLines(const QByteArray& command, QByteArray* pending, QList<QByteArray>* lines)
    {
        qsizetype end = -1;
        while ((end = pending->indexOf('\n')) >= 0 || (end = pending->indexOf('\r')) >= 0) {
            const QByteArray line = pending->left(end).trimmed();
            pending->remove(0, end + 1);
            if (line.isEmpty() || line.compare(command, Qt::CaseInsensitive) == 0) continue;
            if (AtReply::classifyFinal(line).kind != AtReply::Final::None) return true;
            lines->append(line);
        }
        return false;
    }

    int m_fd;
    termios m_old {};
    bool m_saved = false;
};

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
