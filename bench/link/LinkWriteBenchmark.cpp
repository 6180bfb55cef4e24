// Saving 50 changed records of a full 250-entry SIM through the emulated phone at 115200 baud and 20 ms per
// command, as the program saves: the directory was read first, then one ATPBWrite per record, each started
// from the end message of the one before. Prints the commands sent, the wall time and the wire limit.
#include "link/Cellbus.h"
#include "link/GsmAlphabet.h"
#include "link/PhoneEmulator.h"
#include "link/TelephoneLinkSetup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kEntries = 250;
constexpr int kChanged = 50;
constexpr int kBaud = 115200;
constexpr int kLatencyMs = 20;

EmulatorState fullSim()
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage sm = *state.storage("SM");
    for (int i = 1; i <= kEntries; ++i)
        sm.entries.insert(i, EmulatorEntry{QStringLiteral("Name %1").arg(i), QStringLiteral("+49%1").arg(301000000 + i * 7919)});
    state.setStorage("SM", sm);
    return state;
}

// The changed records: every fifth location, with names as users write them (accents, VIP marks).
struct ChangedRecord {
    int index;
    QByteArray name; // block bytes, as the program hands them to ATPBWrite
    QByteArray number;
};

QList<ChangedRecord> changedRecords()
{
    static const char* const kNames[] = {"Jörg Bäcker", "Søren Ærø", "Chloé Dupré", "Peña Iñigo", "Weiß & Söhne"};
    QList<ChangedRecord> records;
    for (int k = 0; k < kChanged; ++k) {
        QString name = QString::fromUtf8(kNames[k % 5]) + QStringLiteral(" %1").arg(k);
        if (k % 7 == 0) name = name.left(15) + '!';
        const QByteArray number = k % 3 ? "+4930" + QByteArray::number(5550000 + k) : "030?" + QByteArray::number(k);
        records.append({1 + 5 * k, GsmAlphabet::encodeBlock(name), number});
    }
    return records;
}

// Waits for one end message of the link.
class EndWaiter : public QObject {
public:
    bool done = false;
    qintptr result = 0;
    bool event(QEvent* event) override
    {
        if (event->type() != PhonebookMessage::EventType()) return QObject::event(event);
        result = static_cast<PhonebookMessage*>(event)->lParam;
        done = true;
        return true;
    }
};

// Writes the records as the program saves: each write started from the end message of the one before.
class SaveRun : public QObject {
public:
    explicit SaveRun(QList<ChangedRecord> records) : m_records(std::move(records)) {}
    bool finished = false;
    int written = 0;
    void start() { writeNext(); }
    bool event(QEvent* event) override
    {
        if (event->type() != PhonebookMessage::EventType()) return QObject::event(event);
        if (static_cast<PhonebookMessage*>(event)->lParam != 0) {
            finished = true;
            return true;
        }
        ++written;
        writeNext();
        return true;
    }

private:
    void writeNext()
    {
        if (written == m_records.size()) {
            finished = true;
            return;
        }
        const ChangedRecord& r = m_records[written];
        ATPBWrite(this, UM_PHONEBOOK_WRITTEN, "SM", r.index, r.name.constData(), r.number.constData());
    }
    QList<ChangedRecord> m_records;
};

void waitFor(const bool& flag)
{
    while (!flag) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    PhoneEmulatorOptions options;
    options.stateFile = dir.filePath("phone.json");
    options.baud = kBaud;
    options.latencyMs = kLatencyMs;
    QString error;
    PhoneEmulator phone;
    QString device;
    if (!PhoneEmulator::writeState(options.stateFile, fullSim(), &error) || !phone.start(options, &device, &error)) {
        std::fprintf(stderr, "emulator: %s\n", qPrintable(error));
        return 1;
    }
    LinkOptions link;
    link.device = device;
    ConnectTelephoneLink(link);

    EndWaiter read;
    ATPBRead(&read, UM_PHONEBOOK_READ, "SM");
    waitFor(read.done);
    const LinkCounters before = TelephoneLinkCounters();
    SaveRun save(changedRecords());
    QElapsedTimer timer;
    timer.start();
    save.start();
    waitFor(save.finished);
    const double seconds = timer.elapsed() / 1000.0;
    const LinkCounters after = TelephoneLinkCounters();
    StopTelephoneLink();
    phone.stop();

    const qint64 commands = after.commands - before.commands;
    const qint64 sent = after.bytesSent - before.bytesSent;
    const qint64 received = after.bytesReceived - before.bytesReceived;
    const double wireLimit = (sent + received) / (kBaud / 10.0) + commands * (kLatencyMs / 1000.0);
    std::printf("Saving %d changed records of a %d-entry SIM at %d baud, %d ms per command (after reading it)\n", kChanged,
                kEntries, kBaud, kLatencyMs);
    std::printf("  records written:     %d of %d\n", save.written, kChanged);
    std::printf("  commands sent:       %lld (target at most K + 4 = %d)\n", static_cast<long long>(commands), kChanged + 4);
    std::printf("  bytes on the wire:   %lld (%lld sent, %lld received)\n", static_cast<long long>(sent + received),
                static_cast<long long>(sent), static_cast<long long>(received));
    std::printf("  elapsed:             %.3f s\n", seconds);
    std::printf("  wire limit:          %.3f s (bytes / %d per second + %d ms per command)\n", wireLimit, kBaud / 10,
                kLatencyMs);
    std::printf("  elapsed / wire limit: %.2f (target at most 1.3)\n", seconds / wireLimit);
    return save.written == kChanged ? 0 : 1;
}
