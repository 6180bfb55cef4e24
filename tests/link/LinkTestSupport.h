#pragma once
// What the link tests share: a window that records the link's messages, and an emulated phone in a
// temporary folder.
#include "link/Cellbus.h"
#include "link/PhoneEmulator.h"
#include "link/TelephoneLinkSetup.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <QThread>

struct ReceivedMessage {
    int message = 0;
    intptr_t lParam = 0;
    bool onOwnThread = false;
    PhonebookData data;    // as ATPBGet gave it while the message was handled
    QByteArray records;    // the record block, copied
};

struct ReadRecord {
    int index = 0;
    QByteArray name;   // UTF-8 bytes up to the terminator or the field's end
    QByteArray number;
    bool nameUnreadable = false; // bit 15 of the index
    QString text() const { return QString::fromUtf8(name); }
};

class RecordingWindow : public QObject {
public:
    QList<ReceivedMessage> messages;
    QList<QPair<int, int>> progress;

    bool event(QEvent* event) override;
    const ReceivedMessage& last() const { return messages.last(); }
    static QList<ReadRecord> recordsOf(const ReceivedMessage& message);
};

// One record to write: the directory code, index, name as UTF-8 and number, as ATPBWrite takes them.
struct WriteRequest {
    QByteArray code;
    int index = 0;
    QByteArray name;
    QByteArray number;
};

// Writes its requests as the program saves a directory: the first from start(), each later one from the end
// message of the one before; stops at the first write that fails.
class ChainedWriter : public QObject {
public:
    explicit ChainedWriter(QList<WriteRequest> requests) : m_requests(std::move(requests)) {}
    void start();
    bool finished() const { return m_finished; }
    QList<intptr_t> results;

    bool event(QEvent* event) override;

private:
    void writeNext();
    QList<WriteRequest> m_requests;
    bool m_finished = false;
};

// The commands an emulator logged (PhoneEmulatorOptions::logFile), without their timestamps.
QList<QByteArray> loggedCommands(const QString& logFile);
// The seed of a random test: TD_SEED when set, else the clock; printed with the command that replays it.
quint64 seedOfTheRun(const char* program, const char* test);

// An emulated phone whose state and command log live in a temporary folder; the link is pointed at it.
class EmulatedPhone {
public:
    // initial: the entries the phone starts with; the seeded sample entries when null.
    explicit EmulatedPhone(PhoneEmulatorOptions options = {}, int silenceTimeoutMs = 8000,
                           const EmulatorState* initial = nullptr);
    bool started() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString stateFile() const { return m_dir.filePath("phone.json"); }
    // The log of the commands the phone received (see loggedCommands), unless the options named another.
    QString commandLog() const { return m_commandLog; }
    QString folder() const { return m_dir.path(); }
    PhoneEmulator& emulator() { return m_phone; }

private:
    QTemporaryDir m_dir;
    PhoneEmulator m_phone;
    QString m_path;
    QString m_commandLog;
};

// Another program on the same line switches the phone to the character set HEX and the storage ME behind the
// link's back; true when the phone answered both commands within the time.
bool switchPhoneBehindTheLink(EmulatedPhone& phone, int timeoutMs);
