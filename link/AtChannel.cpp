#include "link/AtChannel.h"

#include <QDeadlineTimer>
#include <QIODevice>
#include <QSerialPort>

namespace {
// Even a phone that keeps talking must finish one command within this, so that garbage without end cannot
// hold the link for ever.
constexpr int kCommandCeilingMs = 180000;
constexpr qsizetype kMaxLineLength = 4096;
}

AtChannel::AtChannel(QIODevice* device, int silenceTimeoutMs) : m_device(device), m_silenceTimeoutMs(silenceTimeoutMs) {}

bool AtChannel::deviceBroken() const
{
    if (!m_device->isOpen()) return true;
    if (auto* port = qobject_cast<QSerialPort*>(m_device)) {
        const auto error = port->error();
        return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
    }
    return false;
}

bool AtChannel::waitForData(int timeoutMs)
{
    if (m_device->bytesAvailable() <= 0 && !m_device->waitForReadyRead(timeoutMs)) return false;
    const QByteArray data = m_device->readAll();
    m_bytesIn += data.size();
    m_buffer.append(data);
    return !data.isEmpty() || m_device->bytesAvailable() > 0;
}

bool AtChannel::takeLine(QByteArray* line)
{
    while (true) {
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_buffer.size(); ++i) {
            if (m_buffer[i] == '\r' || m_buffer[i] == '\n') {
                end = i;
                break;
            }
        }
        if (end < 0) {
            // A line that never ends is garbage; keep the link usable by dropping it.
            if (m_buffer.size() > kMaxLineLength) m_buffer.clear();
            return false;
        }
        *line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (!line->trimmed().isEmpty()) return true;
    }
}

AtResponse AtChannel::send(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine)
{
    AtResponse response = exchange(command, onLine);
    if (m_observer) m_observer(command, response);
    return response;
}

AtResponse AtChannel::exchange(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine)
{
    AtResponse response;
    // Whatever is left from an earlier command that timed out belongs to nobody.
    m_buffer.clear();
    if (m_device->bytesAvailable() > 0) m_bytesIn += m_device->readAll().size();
    if (deviceBroken()) {
        response.outcome = AtResponse::Outcome::Disconnected;
        return response;
    }
    const QByteArray line = command + '\r';
    ++m_commands;
    m_bytesOut += line.size();
    const qint64 written = m_device->write(line);
    response.sent = written > 0;
    if (written != line.size() || !m_device->waitForBytesWritten(m_silenceTimeoutMs)) {
        response.outcome = deviceBroken() ? AtResponse::Outcome::Disconnected : AtResponse::Outcome::TimedOut;
        return response;
    }
    const QDeadlineTimer ceiling(kCommandCeilingMs);
    const QByteArray echo = command.trimmed();
    while (!ceiling.hasExpired()) {
        QByteArray answer;
        while (takeLine(&answer)) {
            const QByteArray trimmed = answer.trimmed();
            if (trimmed == echo || AtReply::isUnsolicited(trimmed)) continue;
            const AtReply::FinalResult final = AtReply::classifyFinal(trimmed);
            if (final.kind != AtReply::Final::None) {
                response.outcome = AtResponse::Outcome::Final;
                response.final = final;
                return response;
            }
            response.lines.append(answer);
            if (onLine) onLine(answer);
        }
        if (!waitForData(m_silenceTimeoutMs)) {
            response.outcome = deviceBroken() ? AtResponse::Outcome::Disconnected : AtResponse::Outcome::TimedOut;
            return response;
        }
    }
    response.outcome = AtResponse::Outcome::TimedOut;
    return response;
}
