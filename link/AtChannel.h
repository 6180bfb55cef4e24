#pragma once
// One AT command at a time over an open serial device: sends the command line, collects the lines of its
// answer up to the final result, and skips the echo and unsolicited result codes. Used on the link's worker
// thread only; it blocks, which is why it never runs on the user-interface thread.
#include "link/AtReply.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <utility>

class QIODevice;

struct AtResponse {
    enum class Outcome { Final, TimedOut, Disconnected };
    Outcome outcome = Outcome::TimedOut;
    AtReply::FinalResult final;
    QList<QByteArray> lines; // everything between the command and its final result
    // The device took bytes of the command line, so the phone may have carried it out even without an answer.
    bool sent = false;
    bool ok() const { return outcome == Outcome::Final && final.kind == AtReply::Final::Ok; }
    bool refused() const { return outcome == Outcome::Final && final.kind != AtReply::Final::Ok; }
    bool linkLost() const { return outcome != Outcome::Final; }
};

class AtChannel {
public:
    // silenceTimeoutMs: how long the phone may stay silent before the command counts as unanswered; the
    // clock restarts with every byte, so a long range read is not cut while it is still arriving.
    AtChannel(QIODevice* device, int silenceTimeoutMs);

    // command without "AT"-less forms: pass the whole line, e.g. "AT+CPBR=1,100" (no CR).
    // onLine is called for every answer line as it arrives (progress of long reads).
    AtResponse send(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine = {});

    // Told of every command and how it ended, so that the link can later say what the device did answer.
    using Observer = std::function<void(const QByteArray& command, const AtResponse& response)>;
    void setObserver(Observer observer) { m_observer = std::move(observer); }

    qint64 commandsSent() const { return m_commands; }
    qint64 bytesSent() const { return m_bytesOut; }
    qint64 bytesReceived() const { return m_bytesIn; }

private:
    AtResponse exchange(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine);
    bool waitForData(int timeoutMs);
    bool takeLine(QByteArray* line);
    bool deviceBroken() const;

    QIODevice* m_device;
    int m_silenceTimeoutMs;
    QByteArray m_buffer;
    Observer m_observer;
    qint64 m_commands = 0;
    qint64 m_bytesOut = 0;
    qint64 m_bytesIn = 0;
};
