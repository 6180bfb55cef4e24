#include "ScriptedPhone.h"

#include <poll.h>
#include <unistd.h>

ScriptedPhone::ScriptedPhone(QMap<QByteArray, QByteArray> replies, bool echo) : m_replies(std::move(replies)), m_echo(echo)
{
    QString error;
    if (!m_pty.open(&error)) qFatal("no pseudo-terminal: %s", qPrintable(error));
    m_thread = std::thread([this] { serve(); });
}

ScriptedPhone::~ScriptedPhone()
{
    m_stop = true;
    m_thread.join();
}

QList<QByteArray> ScriptedPhone::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

void ScriptedPhone::serve()
{
    QByteArray pending;
    while (!m_stop) {
        pollfd fd {m_pty.masterFd(), POLLIN, 0};
        if (poll(&fd, 1, 20) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(m_pty.masterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            usleep(20000);
            continue;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\r')) >= 0) {
            const QByteArray command = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            {
                std::lock_guard lock(m_mutex);
                m_commands.append(command);
            }
            QByteArray reply = m_replies.value(command, "\r\nERROR\r\n");
            if (m_echo) reply.prepend(command + '\r');
            if (write(m_pty.masterFd(), reply.constData(), size_t(reply.size())) < 0) return;
        }
    }
}
