// The emulated phone: its answers to each command, its state file and its fault options.
#include "link/AtReply.h"
#include "link/EmulatorEngine.h"
#include "link/PhoneEmulator.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
// A minimal client on the device: sends a command line, returns what came back until the final result.
class TerminalClient {
public:
    explicit TerminalClient(const QString& path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios tio {};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~TerminalClient()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool open() const { return m_fd >= 0; }
    // Empty when the line stayed silent for the wait or was hung up.
    QByteArray ask(const QByteArray& command, int waitMs = 20000)
    {
        const QByteArray line = command + '\r';
        if (write(m_fd, line.constData(), size_t(line.size())) < 0) return {};
        QByteArray answer;
        while (!answer.contains("OK\r\n") && !answer.contains("ERROR")) {
            pollfd fd {m_fd, POLLIN, 0};
            if (poll(&fd, 1, waitMs) <= 0) break;
            char buffer[4096];
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0) break;
            answer.append(buffer, n);
        }
        return answer;
    }

private:
    int m_fd = -1;
};
}

class TestPhoneEmulator : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void echoAndResetFollowTheCommands();
    void charsetChangesHowNamesTravel();
    void identityNamesMakerModelAndTheirWayWithNames();
    void errorsFollowTheErrorMode();
    void writesFollowTheStorageLimits();
    void failWriteRefusesOnlyTheKthWrite();
    void stateFileIsSeededWrittenAtomicallyAndReloaded();
    void configuredLimitsComeFromTheStateFile();
    void brokenStateFileIsRefused();
    void deviceAnswersOverThePseudoTerminalWithLog();
    void hangupDropsTheLineMidAnswer();
    void missingStoragesAreNotListed();
    void namesByAlphabetSetAndLimit_data();
    void namesByAlphabetSetAndLimit();
    void garbleDamagesHexFieldsAlikeForASeed();
};

void TestPhoneEmulator::answers_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("AT") << QByteArray("AT") << QByteArray("\r\nOK\r\n");
    QTest::newRow("lower case") << QByteArray("at") << QByteArray("\r\nOK\r\n");
    QTest::newRow("maker") << QByteArray("AT+CGMI") << QByteArray("\r\nKorvane\r\n\r\nOK\r\n");
    QTest::newRow("model") << QByteArray("AT+CGMM") << QByteArray("\r\nTelvora Phone\r\n\r\nOK\r\n");
    QTest::newRow("revision") << QByteArray("AT+CGMR") << QByteArray("\r\n1.1.03\r\n\r\nOK\r\n");
    QTest::newRow("serial number") << QByteArray("AT+CGSN") << QByteArray("\r\n350000000000017\r\n\r\nOK\r\n");
    QTest::newRow("pin") << QByteArray("AT+CPIN?") << QByteArray("\r\n+CPIN: READY\r\n\r\nOK\r\n");
    QTest::newRow("charsets") << QByteArray("AT+CSCS=?") << QByteArray("\r\n+CSCS: (\"GSM\",\"IRA\",\"HEX\",\"UCS2\")\r\n\r\nOK\r\n");
    QTest::newRow("storages") << QByteArray("AT+CPBS=?")
                              << QByteArray("\r\n+CPBS: (\"SM\",\"ME\",\"ON\",\"FD\",\"LD\",\"MC\",\"RC\")\r\n\r\nOK\r\n");
    QTest::newRow("storage status") << QByteArray("AT+CPBS?") << QByteArray("\r\n+CPBS: \"SM\",8,250\r\n\r\nOK\r\n");
    QTest::newRow("record format") << QByteArray("AT+CPBR=?") << QByteArray("\r\n+CPBR: (1-250),20,16\r\n\r\nOK\r\n");
    QTest::newRow("write format") << QByteArray("AT+CPBW=?") << QByteArray("\r\n+CPBW: (1-250),20,(129,145),16\r\n\r\nOK\r\n");
    QTest::newRow("one record, GSM codes")
        << QByteArray("AT+CPBR=3") << QByteArray("\r\n+CPBR: 3,\"0301234567\",129,\"B\x7E" "ro\"\r\n\r\nOK\r\n");
    QTest::newRow("empty location") << QByteArray("AT+CPBR=6") << QByteArray("\r\nOK\r\n");
    QTest::newRow("range") << QByteArray("AT+CPBR=7,8")
                           << QByteArray("\r\n+CPBR: 7,\"+34911234567\",145,\"Pe\x7D" "a I\x7D" "igo\"\r\n"
                                         "\r\n+CPBR: 8,\"*100#\",129,\"Mailbox\"\r\n\r\nOK\r\n");
    QTest::newRow("range beyond the storage") << QByteArray("AT+CPBR=1,251") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("reversed range") << QByteArray("AT+CPBR=9,8") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("unknown command") << QByteArray("AT+CFOO") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("not a command") << QByteArray("HELLO") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("chained") << QByteArray("AT+CMEE=1;+CPIN?") << QByteArray("\r\n+CPIN: READY\r\n\r\nOK\r\n");
}

void TestPhoneEmulator::answers()
{
    QFETCH(QByteArray, command);
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {});
    QTEST(engine.answer(command), "reply");
}

void TestPhoneEmulator::echoAndResetFollowTheCommands()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {});
    QVERIFY(engine.echo());
    engine.answer("ATE0");
    QVERIFY(!engine.echo());
    engine.answer("ATE1");
    QVERIFY(engine.echo());
    engine.answer("ATE0");
    engine.answer("AT+CMEE=1");
    engine.answer("AT+CPBS=\"ME\"");
    engine.answer("ATZ");
    QVERIFY(engine.echo());
    QCOMPARE(engine.answer("AT+CPBS?"), QByteArray("\r\n+CPBS: \"SM\",8,250\r\n\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CFOO"), QByteArray("\r\nERROR\r\n"));
}

void TestPhoneEmulator::charsetChangesHowNamesTravel()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {});
    QCOMPARE(engine.answer("AT+CSCS=\"UCS2\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CSCS?"), QByteArray("\r\n+CSCS: \"UCS2\"\r\n\r\nOK\r\n"));
    QVERIFY(engine.answer("AT+CPBR=1").contains("\"0041006E006E00610020004D00FC006C006C00650072\""));
    engine.answer("AT+CSCS=\"HEX\"");
    QVERIFY(engine.answer("AT+CPBR=1").contains("\"416E6E61204D7E6C6C6572\""));
    engine.answer("AT+CSCS=\"IRA\"");
    QVERIFY(engine.answer("AT+CPBR=1").contains("\"Anna M?ller\""));
    QCOMPARE(engine.answer("AT+CSCS=\"KOI8\""), QByteArray("\r\nERROR\r\n"));
    // A name written in UCS2 is stored as text.
    engine.answer("AT+CSCS=\"UCS2\"");
    QCOMPARE(engine.answer("AT+CPBW=20,\"123\",129,\"041C0430043C0430\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(state.storage("SM")->entries[20].name, QStringLiteral("Мама"));
}

void TestPhoneEmulator::identityNamesMakerModelAndTheirWayWithNames()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {}, EmulatorIdentity{"huawei", "E173", true});
    QCOMPARE(engine.answer("AT+CGMI"), QByteArray("\r\nhuawei\r\n\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CGMM"), QByteArray("\r\nE173\r\n\r\nOK\r\n"));
    // Names in UCS2 although the set in effect is IRA, as the modems this stands for do.
    QCOMPARE(engine.answer("AT+CSCS=\"IRA\""), QByteArray("\r\nOK\r\n"));
    QVERIFY(engine.answer("AT+CPBR=1").contains("\"0041006E006E00610020004D00FC006C006C00650072\""));
}

void TestPhoneEmulator::errorsFollowTheErrorMode()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {});
    QCOMPARE(engine.answer("AT+CPBR=0"), QByteArray("\r\nERROR\r\n"));
    engine.answer("AT+CMEE=1");
    QCOMPARE(engine.answer("AT+CPBR=0"), QByteArray("\r\n+CME ERROR: 21\r\n"));
    engine.answer("AT+CMEE=2");
    QCOMPARE(engine.answer("AT+CPBR=0"), QByteArray("\r\n+CME ERROR: invalid index\r\n"));
    QCOMPARE(engine.answer("AT+CMEE=7"), QByteArray("\r\n+CME ERROR: operation not supported\r\n"));
}

void TestPhoneEmulator::writesFollowTheStorageLimits()
{
    EmulatorState state = EmulatorState::seeded();
    int saved = 0;
    EmulatorEngine engine(state, {}, [&] { ++saved; });
    engine.answer("AT+CMEE=1");
    QCOMPARE(engine.answer("AT+CPBW=6,\"4930\",145,\"Sixteen chars ok\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(state.storage("SM")->entries[6].number, QStringLiteral("+4930"));
    QCOMPARE(engine.answer("AT+CPBW=6,\"1\",129,\"Seventeen chars!!\""), QByteArray("\r\n+CME ERROR: 24\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=6,\"+123456789012345678901\",145,\"X\""), QByteArray("\r\n+CME ERROR: 26\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=6,\"12A\",129,\"X\""), QByteArray("\r\n+CME ERROR: 27\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=251,\"1\",129,\"X\""), QByteArray("\r\n+CME ERROR: 21\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=,\"1\",129,\"First free\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(state.storage("SM")->entries[9].name, QStringLiteral("First free"));
    QCOMPARE(engine.answer("AT+CPBW=1"), QByteArray("\r\nOK\r\n"));
    QVERIFY(!state.storage("SM")->entries.contains(1));
    engine.answer("AT+CPBS=\"LD\"");
    QCOMPARE(engine.answer("AT+CPBW=1"), QByteArray("\r\n+CME ERROR: 3\r\n"));
    QCOMPARE(saved, 3);
}

void TestPhoneEmulator::failWriteRefusesOnlyTheKthWrite()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorFaults faults;
    faults.failWrite = 2;
    EmulatorEngine engine(state, faults, [] {});
    QCOMPARE(engine.answer("AT+CPBW=20,\"1\",129,\"A\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=21,\"1\",129,\"B\""), QByteArray("\r\nERROR\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=22,\"1\",129,\"C\""), QByteArray("\r\nOK\r\n"));
    QVERIFY(!state.storage("SM")->entries.contains(21));
}

void TestPhoneEmulator::stateFileIsSeededWrittenAtomicallyAndReloaded()
{
    QTemporaryDir dir;
    PhoneEmulatorOptions options;
    options.stateFile = dir.filePath("state.json");
    QString path, error;
    {
        PhoneEmulator phone;
        QVERIFY2(phone.start(options, &path, &error), qPrintable(error));
        QVERIFY(QFile::exists(options.stateFile));
        TerminalClient client(path);
        QVERIFY(client.open());
        QVERIFY(client.ask("AT+CPBW=33,\"+4930\",145,\"Saved\"").contains("OK"));
        // The write was saved before the answer; only the state file is in the folder, no temporary left.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"state.json"});
    }
    QFile file(options.stateFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject sm = QJsonDocument::fromJson(file.readAll()).object()["storages"].toObject()["SM"].toObject();
    QCOMPARE(sm["capacity"].toInt(), 250);
    bool found = false;
    for (const QJsonValue& v : sm["entries"].toArray())
        found = found || (v.toObject()["index"].toInt() == 33 && v.toObject()["name"].toString() == "Saved");
    QVERIFY(found);
    PhoneEmulator again;
    QVERIFY(again.start(options, &path, &error));
    QCOMPARE(again.state().storage("SM")->entries[33].number, QStringLiteral("+4930"));
}

void TestPhoneEmulator::configuredLimitsComeFromTheStateFile()
{
    QTemporaryDir dir;
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage sm = *state.storage("SM");
    sm.capacity = 30;
    sm.nameLength = 8;
    sm.numberLength = 12;
    state.setStorage("SM", sm);
    PhoneEmulatorOptions options;
    options.stateFile = dir.filePath("state.json");
    QString error, path;
    QVERIFY(PhoneEmulator::writeState(options.stateFile, state, &error));
    PhoneEmulator phone;
    QVERIFY(phone.start(options, &path, &error));
    TerminalClient client(path);
    QVERIFY(client.ask("AT+CPBR=?").contains("+CPBR: (1-30),12,8"));
}

void TestPhoneEmulator::brokenStateFileIsRefused()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("state.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"storages\": {\"SM\": {\"capacity\": -5}}}");
    file.close();
    PhoneEmulatorOptions options;
    options.stateFile = file.fileName();
    PhoneEmulator phone;
    QString path, error;
    QVERIFY(!phone.start(options, &path, &error));
    QVERIFY(!error.isEmpty());
    file.open(QIODevice::WriteOnly);
    file.write("not json");
    file.close();
    QVERIFY(!phone.start(options, &path, &error));
}

void TestPhoneEmulator::deviceAnswersOverThePseudoTerminalWithLog()
{
    QTemporaryDir dir;
    PhoneEmulatorOptions options;
    options.logFile = dir.filePath("commands.log");
    options.linkPath = dir.filePath("phone");
    options.baud = 115200;
    options.latencyMs = 5;
    PhoneEmulator phone;
    QString path, error;
    QVERIFY(phone.start(options, &path, &error));
    QCOMPARE(QFileInfo(options.linkPath).symLinkTarget(), path);
    TerminalClient client(options.linkPath);
    QCOMPARE(client.ask("AT+CPIN?"), QByteArray("AT+CPIN?\r\r\n+CPIN: READY\r\n\r\nOK\r\n")); // echo on by default
    QCOMPARE(client.ask("ATE0"), QByteArray("ATE0\r\r\nOK\r\n"));
    QCOMPARE(client.ask("AT+CPBR=8"), QByteArray("\r\n+CPBR: 8,\"*100#\",129,\"Mailbox\"\r\n\r\nOK\r\n"));
    phone.stop();
    QVERIFY(!QFileInfo::exists(options.linkPath));
    QFile log(options.logFile);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith(" AT+CPIN?"));
    QVERIFY(lines[2].endsWith(" AT+CPBR=8"));
    QVERIFY(QDateTime::fromString(QString::fromLatin1(lines[0].split(' ')[0]), Qt::ISODateWithMs).isValid());
}

void TestPhoneEmulator::hangupDropsTheLineMidAnswer()
{
    PhoneEmulatorOptions options;
    options.hangupAfter = 1;
    PhoneEmulator phone;
    QString path, error;
    QVERIFY(phone.start(options, &path, &error));
    TerminalClient client(path);
    QVERIFY(client.ask("ATE0").contains("OK"));
    const QByteArray cut = client.ask("AT+CPBR=1,8", 3000);
    QVERIFY(!cut.contains("OK"));
    QVERIFY(!cut.contains("+CPBR: 8,"));
    QVERIFY(client.ask("AT", 1000).isEmpty());
}

void TestPhoneEmulator::missingStoragesAreNotListed()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorFaults faults;
    faults.without = QStringList{"ON", "SM"};
    EmulatorEngine engine(state, faults, [] {});
    QCOMPARE(engine.answer("AT+CPBS=?"), QByteArray("\r\n+CPBS: (\"ME\",\"FD\",\"LD\",\"MC\",\"RC\")\r\n\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CPBS=\"ON\""), QByteArray("\r\nERROR\r\n"));
    QCOMPARE(engine.answer("AT+CPBR=?"), QByteArray("\r\nERROR\r\n")); // SM is selected but absent
}

void TestPhoneEmulator::namesByAlphabetSetAndLimit_data()
{
    // phone: 0 offers UCS2 and keeps (16 - 1) / 2 characters of a UCS2 name, 1 --no-ucs2, 2 --ucs2-length 10.
    QTest::addColumn<int>("phone");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("stored"); // what location 20 holds afterwards
    const QByteArray ok = "\r\nOK\r\n", invalidText = "\r\n+CME ERROR: 25\r\n", tooLong = "\r\n+CME ERROR: 24\r\n";
    const QString none;
    auto write = [](const char* set, const QByteArray& field) {
        return "AT+CMEE=1;+CSCS=\"" + QByteArray(set) + "\";+CPBW=20,\"1\",129,\"" + field + '"';
    };
    QTest::newRow("UCS2 name within (L - 1) / 2") << 0 << write("UCS2", "041804320430043D") << ok << QStringLiteral("Иван");
    QTest::newRow("UCS2 name beyond (L - 1) / 2") << 0 << write("UCS2", "041804320430043D0020041F04350442") << tooLong << none;
    QTest::newRow("GSM name sent in UCS2 counts positions")
        << 0 << write("UCS2", "0041006E006E00610020004D00FC006C006C00650072") << ok << QStringLiteral("Anna Müller");
    QTest::newRow("UCS2 with a foreign character") << 0 << write("UCS2", "004E0G61") << invalidText << none;
    QTest::newRow("UCS2 of a broken unit") << 0 << write("UCS2", "004E006") << invalidText << none;
    QTest::newRow("UCS2 lone surrogate") << 0 << write("UCS2", "D800") << invalidText << none;
    QTest::newRow("UCS2 line feed") << 0 << write("UCS2", "0041000A") << invalidText << none;
    QTest::newRow("HEX with @ and an extension") << 0 << write("HEX", "1B65352000") << ok << QStringLiteral("€5 @");
    QTest::newRow("HEX of an odd digit count") << 0 << write("HEX", "1B6") << invalidText << none;
    QTest::newRow("HEX beyond seven bits") << 0 << write("HEX", "C4") << invalidText << none;
    QTest::newRow("HEX extensions count two") << 0 << write("HEX", QByteArray("1B65").repeated(8) + "78") << tooLong << none;
    QTest::newRow("GSM beyond seven bits") << 0 << write("GSM", "Caf\xE9") << invalidText << none;
    QTest::newRow("GSM raw codes") << 1 << write("GSM", "M~ller") << ok << QStringLiteral("Müller");
    QTest::newRow("without UCS2: no UCS2 offered")
        << 1 << QByteArray("AT+CSCS=?") << "\r\n+CSCS: (\"GSM\",\"IRA\",\"HEX\")\r\n" + ok << none;
    QTest::newRow("without UCS2: UCS2 refused") << 1 << QByteArray("AT+CMEE=1;+CSCS=\"UCS2\"") << QByteArray("\r\n+CME ERROR: 4\r\n") << none;
    QTest::newRow("without UCS2: outside the alphabet") << 1 << write("IRA", "a`b") << invalidText << none;
    QTest::newRow("UCS2 length reported under UCS2") << 2 << QByteArray("AT+CSCS=\"UCS2\";+CPBR=?")
                                                     << "\r\n+CPBR: (1-250),20,10\r\n" + ok << none;
    QTest::newRow("GSM length reported under GSM") << 2 << QByteArray("AT+CSCS=\"GSM\";+CPBR=?")
                                                   << "\r\n+CPBR: (1-250),20,16\r\n" + ok << none;
    QTest::newRow("UCS2 length kept") << 2 << write("UCS2", QByteArray("0418").repeated(10)) << ok << QString(10, QChar(0x0418));
    QTest::newRow("UCS2 length exceeded") << 2 << write("UCS2", QByteArray("0418").repeated(11)) << tooLong << none;
}

void TestPhoneEmulator::namesByAlphabetSetAndLimit()
{
    QFETCH(int, phone);
    QFETCH(QByteArray, command);
    EmulatorState state = EmulatorState::seeded();
    EmulatorIdentity identity;
    identity.ucs2 = phone != 1;
    identity.ucs2NameLength = phone == 2 ? 10 : 0;
    EmulatorEngine engine(state, {}, [] {}, identity);
    QTEST(engine.answer(command), "reply");
    QTEST(state.storage("SM")->entries.value(20).name, "stored");
}

void TestPhoneEmulator::garbleDamagesHexFieldsAlikeForASeed()
{
    // The names of the SIM's eight records in UCS2, each answered ten times by phones that damage half the fields.
    auto answers = [](int percent, quint32 seed, const QByteArray& set) {
        EmulatorState state = EmulatorState::seeded();
        EmulatorFaults faults;
        faults.garblePercent = percent;
        faults.garbleSeed = seed;
        EmulatorEngine engine(state, faults, [] {});
        engine.answer("AT+CSCS=\"" + set + '"');
        QList<QByteArray> names;
        for (int round = 0; round < 10; ++round)
            for (const QByteArray& line : engine.answer("AT+CPBR=1,12").split('\n'))
                if (line.startsWith("+CPBR:")) names.append(AtReply::unquote(AtReply::splitFields(line.mid(7).trimmed()).value(3)));
        return names;
    };
    const QList<QByteArray> clean = answers(0, 1, "UCS2");
    QCOMPARE(clean.size(), 80);
    QCOMPARE(answers(50, 7, "UCS2"), answers(50, 7, "UCS2"));
    QVERIFY(answers(50, 7, "UCS2") != answers(50, 8, "UCS2"));
    QCOMPARE(answers(50, 7, "GSM"), answers(0, 1, "GSM")); // no hex, nothing to damage
    const QList<QByteArray> damaged = answers(50, 7, "UCS2");
    int changed = 0;
    for (qsizetype i = 0; i < clean.size(); ++i) {
        if (damaged[i] == clean[i]) continue;
        ++changed;
        const auto strangers = std::count_if(damaged[i].begin(), damaged[i].end(), [](char c) { return !std::isxdigit(uchar(c)); });
        const bool dropped = damaged[i].size() == clean[i].size() - 1 && strangers == 0;
        const bool replaced = damaged[i].size() == clean[i].size() && strangers == 1;
        QVERIFY2(dropped || replaced, damaged[i].constData());
    }
    QVERIFY2(changed > 20 && changed < 60, qPrintable(QString::number(changed)));
}

QTEST_GUILESS_MAIN(TestPhoneEmulator)
#include "TestPhoneEmulator.moc"
