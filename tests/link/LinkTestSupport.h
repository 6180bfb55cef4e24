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
    QByteArray name;   // block bytes up to the terminator or the field's end
    QByteArray number;
};

class RecordingWindow : public QObject {
public:
    QList<ReceivedMessage> messages;
    QList<QPair<int, int>> progress;

    bool event(QEvent* event) override;
    const ReceivedMessage& last() const { return messages.last(); }
    static QList<ReadRecord> recordsOf(const ReceivedMessage& message);
};

// An emulated phone whose state lives in a temporary folder; the link is pointed at it.
class EmulatedPhone {
public:
    // initial: the entries the phone starts with; the seeded sample entries when null.
    explicit EmulatedPhone(PhoneEmulatorOptions options = {}, int silenceTimeoutMs = 8000,
                           const EmulatorState* initial = nullptr);
    bool started() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString stateFile() const { return m_dir.filePath("phone.json"); }
    PhoneEmulator& emulator() { return m_phone; }

private:
    QTemporaryDir m_dir;
    PhoneEmulator m_phone;
    QString m_path;
};
