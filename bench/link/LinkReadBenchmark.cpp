// Reading a full 250-entry SIM through the emulated phone at 115200 baud and 20 ms per command: wall time,
// commands and bytes of the link library beside the wire limit, and beside gammu on the same phone; then the
// same for a SIM whose names all lie outside the GSM alphabet, so that every record travels in UCS2.
#include "BenchSupport.h"

#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "tests/support/Utf8Locale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>

#include <cstdio>

namespace {
using namespace BenchSupport;

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

// Names as users write them: accents, and a VIP mark on every seventh.
QString simName(int i)
{
    static const char* const kFirst[] = {"Anna", "Jörg", "Søren", "Chloé", "Iñigo", "Zoë", "Björn", "Ærø", "Mia", "Luís"};
    static const char* const kLast[] = {"Müller", "Bäcker", "Weiß", "Olé", "Peña", "Dupont", "Smith", "Nowak"};
    QString name = QString::fromUtf8(kFirst[i % 10]) + ' ' + QString::fromUtf8(kLast[i % 8]);
    return i % 7 == 0 ? name.left(15) + '!' : name;
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
    process.setProcessEnvironment(WithUtf8Locale()); // the count below looks for gammu's English words
    QElapsedTimer timer;
    timer.start();
    process.start(gammu, {"-c", config.fileName(), "getallmemory", "SM"});
    process.waitForFinished(600000);
    const double seconds = timer.elapsed() / 1000.0;
    *listed = int(process.readAllStandardOutput().count("Memory SM, Location"));
    return seconds;
}

// Names of seven characters, the most a SIM keeps in UCS2, in scripts outside the GSM alphabet.
QString ucs2Name(int i)
{
    static const char* const kNames[] = {"Иван Пе", "李小龍", "Γιώργος", "محمد عل",
                                         "דוד כהן", "Łukasz", "สมชาย", "Ștefan"};
    return QString::fromUtf8(kNames[i % 8]);
}

bool startPhone(PhoneEmulator& phone, const QTemporaryDir& dir, const std::function<QString(int)>& nameOf, QString* device)
{
    PhoneEmulatorOptions options = PhoneSpeed();
    options.stateFile = dir.filePath("phone.json");
    QString error;
    if (!PhoneEmulator::writeState(options.stateFile, FullSim(nameOf), &error) || !phone.start(options, device, &error)) {
        std::fprintf(stderr, "emulator: %s\n", qPrintable(error));
        return false;
    }
    LinkOptions link;
    link.device = *device;
    ConnectTelephoneLink(link);
    return true;
}

void printLinkRead(double seconds, const LinkCounters& counters, int count)
{
    const qint64 bytes = counters.bytesSent + counters.bytesReceived;
    const double wireLimit = WireLimit(counters);
    const double commandLimit = 10 + kSimEntries / 50.0;
    std::printf("Reading a full SIM (%d records) at %d baud, %d ms per command\n", kSimEntries, kBaud, kLatencyMs);
    std::printf("  link library: %.3f s, %lld commands, %lld bytes (%lld sent, %lld received), %d records\n", seconds,
                static_cast<long long>(counters.commands), static_cast<long long>(bytes),
                static_cast<long long>(counters.bytesSent), static_cast<long long>(counters.bytesReceived), count);
    std::printf("  wire limit:   %.3f s (bytes / %d per second + one latency per command)\n", wireLimit, kBaud / 10);
    std::printf("  time / wire limit:        %.2f (target at most 1.3)\n", seconds / wireLimit);
    std::printf("  commands / allowed:       %lld / %.0f (target at most 10 + N/50)\n",
                static_cast<long long>(counters.commands), commandLimit);
}

void compareWithGammu(const PhoneEmulator& phone, const QString& device, const QTemporaryDir& dir, double linkSeconds)
{
    const int before = phone.commandsAnswered();
    int listed = 0;
    const double gammuSeconds = runGammu(device, dir, &listed);
    if (gammuSeconds < 0) {
        std::printf("  gammu: not installed, no comparison\n");
        return;
    }
    std::printf("  gammu getallmemory SM: %.3f s, %d commands, %d records listed\n", gammuSeconds,
                phone.commandsAnswered() - before, listed);
    std::printf("  gammu time / link time:   %.1f (target at least 10)\n", gammuSeconds / linkSeconds);
}

// Reads the SIM of the phone the link points at; the records read, the wall time and what went over the line.
int readSim(double* seconds, LinkCounters* counters)
{
    ReadWaiter waiter;
    QElapsedTimer timer;
    timer.start();
    ATPBRead(&waiter, UM_PHONEBOOK_READ, "SM");
    while (!waiter.done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    *seconds = timer.elapsed() / 1000.0;
    *counters = TelephoneLinkCounters();
    StopTelephoneLink();
    return waiter.count;
}

void printUcs2Read(double seconds, const LinkCounters& counters, int count)
{
    const double wireLimit = WireLimit(counters);
    std::printf("Reading %d records of names outside the GSM alphabet (UCS2 on the line)\n", kSimEntries);
    std::printf("  link library: %.3f s, %lld commands, %lld bytes, %d records\n", seconds,
                static_cast<long long>(counters.commands),
                static_cast<long long>(counters.bytesSent + counters.bytesReceived), count);
    std::printf("  wire limit:   %.3f s; time / wire limit: %.3f (target within 1.05)\n", wireLimit, seconds / wireLimit);
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    PhoneEmulator phone;
    QString device;
    if (!startPhone(phone, dir, simName, &device)) return 1;
    double seconds = 0;
    LinkCounters counters;
    const int count = readSim(&seconds, &counters);
    printLinkRead(seconds, counters, count);
    compareWithGammu(phone, device, dir, seconds);
    phone.stop();

    QTemporaryDir ucs2Dir;
    PhoneEmulator ucs2Phone;
    if (!startPhone(ucs2Phone, ucs2Dir, ucs2Name, &device)) return 1;
    double ucs2Seconds = 0;
    LinkCounters ucs2Counters;
    const int ucs2Count = readSim(&ucs2Seconds, &ucs2Counters);
    printUcs2Read(ucs2Seconds, ucs2Counters, ucs2Count);
    ucs2Phone.stop();
    return count == kSimEntries && ucs2Count == kSimEntries ? 0 : 1;
}
