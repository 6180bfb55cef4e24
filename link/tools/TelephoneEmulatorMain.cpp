// telephone-emulator: an emulated GSM phone on a pseudo-terminal, until interrupted.
#include "link/PhoneEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {
int intOption(const QCommandLineParser& parser, const char* name, bool* ok)
{
    if (!parser.isSet(name)) return 0;
    bool valid = false;
    const int value = parser.value(name).toInt(&valid);
    if (!valid || value < 0) {
        std::fprintf(stderr, "telephone-emulator: --%s needs a whole number of 0 or more\n", name);
        *ok = false;
    }
    return value;
}

// N:STORAGE:INDEX:NAME:NUMBER; the name may hold colons, the number none.
bool keypadOption(const QString& text, PhoneEmulatorOptions* options)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool afterOk = false;
    bool indexOk = false;
    if (parts.size() >= 5) {
        options->keypadAfter = parts[0].toInt(&afterOk);
        options->keypadAdd.storage = parts[1];
        options->keypadAdd.index = parts[2].toInt(&indexOk);
        options->keypadAdd.name = parts.mid(3, parts.size() - 4).join(QLatin1Char(':'));
        options->keypadAdd.number = parts.last();
    }
    if (afterOk && indexOk && options->keypadAfter >= 0 && options->keypadAdd.index >= 0) return true;
    std::fprintf(stderr, "telephone-emulator: --keypad-add needs N:STORAGE:INDEX:NAME:NUMBER, N and INDEX whole "
                         "numbers of 0 or more\n");
    return false;
}

// The answers go out as lines of their own: a line break inside one would end it early.
bool identityFits(const EmulatorIdentity& identity)
{
    for (const QByteArray& text : {identity.maker, identity.model}) {
        if (text.isEmpty() || text.contains('\r') || text.contains('\n')) {
            std::fprintf(stderr, "telephone-emulator: --maker and --model need a text of one line\n");
            return false;
        }
    }
    return true;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("telephone-emulator"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.03"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("An emulated GSM telephone answering AT commands on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"state", "State file (JSON), seeded with sample entries when missing.", "FILE"},
        {"link", "Also make the device reachable under this path (a symbolic link).", "PATH"},
        {"latency", "Delay before each answer, in milliseconds.", "MS"},
        {"baud", "Send no faster than a serial line of this speed.", "N"},
        {"fail-write", "Refuse the K-th write.", "K"},
        {"hangup-after", "Answer N commands, then drop the line in the middle of an answer.", "N"},
        {"drop-write-answer", "Store the K-th record write, then drop the line before a byte of its answer, as a "
                              "phone switched off at that moment.", "K"},
        {"keypad-add", "Once N commands have been answered, store a record as if typed on the phone's keypad before "
                       "answering the next: STORAGE is a code such as SM or OW, INDEX 0 takes the first free "
                       "location, NAME is UTF-8.", "N:STORAGE:INDEX:NAME:NUMBER"},
        {"without", "Leave out a storage (SM, ME, OW/ON, FD, LD, MC, CD/RC); may be repeated.", "CODE"},
        {"log", "Append every command received to this file, with a timestamp.", "FILE"},
        {"maker", "The maker the phone names (answer to AT+CGMI; default Korvane).", "TEXT"},
        {"model", "The model the phone names (answer to AT+CGMM; default Telvora Phone).", "TEXT"},
        {"ucs2-always", "Answer names in UCS2 whatever character set was selected, as some modems do."},
        {"no-ucs2", "Offer no UCS2 and keep only names of the GSM alphabet."},
        {"ucs2-length", "Report N as the name length under UCS2 and keep N characters of a name outside the GSM "
                        "alphabet (default: the name length less one, halved).", "N"},
        {"garble", "Damage each name field in hex of a phonebook answer with this chance in percent.", "PERCENT"},
        {"seed", "Seed of the damage done by --garble (default 1): the same seed damages the same answers.", "N"},
    });
    parser.process(app);
    bool ok = true;
    PhoneEmulatorOptions options;
    options.stateFile = parser.value("state");
    options.linkPath = parser.value("link");
    options.latencyMs = intOption(parser, "latency", &ok);
    options.baud = intOption(parser, "baud", &ok);
    options.failWrite = intOption(parser, "fail-write", &ok);
    options.hangupAfter = intOption(parser, "hangup-after", &ok);
    options.dropWriteAnswer = intOption(parser, "drop-write-answer", &ok);
    if (parser.isSet("keypad-add") && !keypadOption(parser.value("keypad-add"), &options)) ok = false;
    options.without = parser.values("without");
    options.logFile = parser.value("log");
    if (parser.isSet("maker")) options.identity.maker = parser.value("maker").toUtf8();
    if (parser.isSet("model")) options.identity.model = parser.value("model").toUtf8();
    options.identity.answersUcs2Always = parser.isSet("ucs2-always");
    options.identity.ucs2 = !parser.isSet("no-ucs2");
    options.identity.ucs2NameLength = intOption(parser, "ucs2-length", &ok);
    options.garblePercent = intOption(parser, "garble", &ok);
    options.garbleSeed = quint32(intOption(parser, "seed", &ok));
    if (!parser.isSet("seed")) options.garbleSeed = 1;
    if (options.garblePercent > 100 || options.identity.ucs2NameLength > 255) {
        std::fprintf(stderr, "telephone-emulator: --garble takes a percentage up to 100, --ucs2-length a length up to 255\n");
        ok = false;
    }
    if (!ok || !identityFits(options.identity)) return 2;

    // The serving thread inherits the blocked stopSignals, so they reach sigwait below and nothing else.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    PhoneEmulator phone;
    QString device;
    QString error;
    if (!phone.start(options, &device, &error)) {
        std::fprintf(stderr, "telephone-emulator: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    phone.stop();
    return 0;
}
