// Reading a full 250-entry SIM through the emulated phone at 115200 baud and 20 ms per command: wall time,
// commands and bytes of the link library beside the wire limit, and beside gammu on the same phone.
#include "link/Cellbus.h"
#include "link/PhoneEmulator.h"
#include "link/TelephoneLinkSetup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kRecords = 250;
constexpr int kBaud = 115200;
constexpr int kLatencyMs = 20;

class ReadWaiter : public QObject {
public:
    bool done = false;
    int count = 0;
    bool event(QEvent* event) override
    {
        if (event->type() != PhonebookMessage::EventType()) return QObject::event(event);
        auto* m = static_cast<PhonebookMessage*>(event);
        if (m->lParam != PB_READ_NO_DATA) count = ATPBGet()->nCount;
        done = true;
        return true;
    }
};

EmulatorState fullSim()
{
    static const char* const kFirst[] = {"Anna", "Jörg", "Søren", "Chloé", "Iñigo", "Zoë", "Björn", "Ærø", "Mia", "Luís"};
    static const char* const kLast[] = {"Müller", "Bäcker", "Weiß", "Olé", "Peña", "Dupont", "Smith", "Nowak"};
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage sm = *state.storage("SM");
    for (int i = 1; i <= kRecords; ++i) {
        QString name = QString::fromUtf8(kFirst[i % 10]) + ' ' + QString::fromUtf8(kLast[i % 8]);
        if (i % 7 == 0) name = name.left(15) + '!';
        sm.entries.insert(i, EmulatorEntry{name, QStringLiteral("+49%1").arg(301000000 + i * 7919)});
    }
    state.setStorage("SM", sm);
    return state;
}

double runGammu(const QString& device, const QTemporaryDir& dir, int* listed)
{
    const QString gammu = QStandardPaths::findExecutable("gammu");
    if (gammu.isEmpty()) return -1;
    QFile config(dir.filePath("gammurc"));
    if (!config.open(QIODevice::WriteOnly)) return -1;
    config.write("[gammu]\ndevice = " + device.toLocal8Bit() + "\nconnection = at115200\n");
    config.close();
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(gammu, {"-c", config.fileName(), "getallmemory", "SM"});
    process.waitForFinished(600000);
    const double seconds = timer.elapsed() / 1000.0;
    *listed = int(process.readAllStandardOutput().count("Memory SM, Location"));
    return seconds;
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
    if (!PhoneEmulator::writeState(options.stateFile, fullSim(), &error)) {
        std::fprintf(stderr, "cannot write the phone's state: %s\n", qPrintable(error));
        return 1;
    }
    PhoneEmulator phone;
    QString device;
    if (!phone.start(options, &device, &error)) {
        std::fprintf(stderr, "emulator: %s\n", qPrintable(error));
        return 1;
    }
    LinkOptions link;
    link.device = device;
    ConnectTelephoneLink(link);

    ReadWaiter waiter;
    QElapsedTimer timer;
    timer.start();
    ATPBRead(&waiter, UM_PHONEBOOK_READ, "SM");
    while (!waiter.done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = timer.elapsed() / 1000.0;
    const LinkCounters counters = TelephoneLinkCounters();
    StopTelephoneLink();

    const qint64 bytes = counters.bytesSent + counters.bytesReceived;
    const double wireLimit = bytes / (kBaud / 10.0) + counters.commands * (kLatencyMs / 1000.0);
    const double commandLimit = 10 + kRecords / 50.0;
    std::printf("Reading a full SIM (%d records) at %d baud, %d ms per command\n", kRecords, kBaud, kLatencyMs);
    std::printf("  link library: %.3f s, %lld commands, %lld bytes (%lld sent, %lld received), %d records\n", seconds,
                static_cast<long long>(counters.commands), static_cast<long long>(bytes),
                static_cast<long long>(counters.bytesSent), static_cast<long long>(counters.bytesReceived), waiter.count);
    std::printf("  wire limit:   %.3f s (bytes / %d per second + one latency per command)\n", wireLimit, kBaud / 10);
    std::printf("  time / wire limit:        %.2f (target at most 1.3)\n", seconds / wireLimit);
    std::printf("  commands / allowed:       %lld / %.0f (target at most 10 + N/50)\n",
                static_cast<long long>(counters.commands), commandLimit);

    const int before = phone.commandsAnswered();
    int listed = 0;
    const double gammuSeconds = runGammu(device, dir, &listed);
    if (gammuSeconds < 0) {
        std::printf("  gammu: not installed, no comparison\n");
    } else {
        std::printf("  gammu getallmemory SM: %.3f s, %d commands, %d records listed\n", gammuSeconds,
                    phone.commandsAnswered() - before, listed);
        std::printf("  gammu time / link time:   %.1f (target at least 10)\n", gammuSeconds / seconds);
    }
    phone.stop();
    return waiter.count == kRecords ? 0 : 1;
}
