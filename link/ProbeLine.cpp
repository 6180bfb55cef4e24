#include "link/ProbeLine.h"

#include "link/AtReply.h"

#include <QElapsedTimer>

#include <algorithm>

#include <cerrno>
#include <poll.h>
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
}

ProbeLine::ProbeLine(int fd) : m_fd(fd)
{
    m_saved = ::tcgetattr(fd, &m_old) == 0;
}

ProbeLine::~ProbeLine()
{
    if (m_saved) ::tcsetattr(m_fd, TCSANOW, &m_old);
    ::close(m_fd);
}

void ProbeLine::makeRaw(int baud)
{
    if (!m_saved) return; // not a terminal: the write and the wait tell the rest
    termios raw = m_old;
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    ::cfsetspeed(&raw, speedOf(baud));
    ::tcsetattr(m_fd, TCSANOW, &raw);
    ::tcflush(m_fd, TCIOFLUSH);
}

std::optional<QList<QByteArray>> ProbeLine::ask(const QByteArray& command, int timeoutMs, bool* heard)
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

bool ProbeLine::readSome(int waitMs, QByteArray* pending)
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

bool ProbeLine::takeLines(const QByteArray& command, QByteArray* pending, QList<QByteArray>* lines)
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
