// A save writes record after record, each write started by the end of the one before. Such a run sets up the
// phone's character set and storage once; anything that may have changed the phone in between sets them up
// again. What reaches the phone is read from the emulator's command log and the link's counters.
#include "LinkTestSupport.h"
#include "res/GsmAlphabet.h"

#include <QElapsedTimer>
#include <QTest>

namespace {
constexpr int kWaitMs = 60000;
using Commands = QList<QByteArray>;
const Commands kSetUp = {"CSCS=UCS2", "CPBS=SM", "CPBR=?"};
const Commands kSetUpOfMe = {"CSCS=UCS2", "CPBS=ME", "CPBR=?"};

// "AT+CPBS=\"SM\"" -> "CPBS=SM"; every record write -> "CPBW".
QByteArray shortForm(const QByteArray& command)
{
    if (command.startsWith("AT+CPBW=")) return "CPBW";
    QByteArray text = command.startsWith("AT+") ? command.mid(3) : command;
    return text.replace('"', "");
}

WriteRequest record(int index, const char* code = "SM")
{
    return {code, index, GsmAlphabet::encodeBlock(QStringLiteral("Nöll %1").arg(index)), "+49301" + QByteArray::number(index)};
}

// The commands logged since the last call, in short form.
class CommandLog {
public:
    explicit CommandLog(QString path) : m_path(std::move(path)) {}
    Commands since()
    {
        const Commands all = loggedCommands(m_path);
        Commands fresh;
        for (const QByteArray& c : all.mid(m_seen)) fresh.append(shortForm(c));
        m_seen = all.size();
        return fresh;
    }

private:
    QString m_path;
    qsizetype m_seen = 0;
};

bool runToEnd(ChainedWriter& writer)
{
    writer.start();
    return QTest::qWaitFor([&] { return writer.finished(); }, kWaitMs);
}

bool readToEnd(const char* code)
{
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, code);
    return QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs) && window.last().lParam >= 0;
}

Commands writes(int count)
{
    return Commands(count, "CPBW");
}
}

class TestWriteRuns : public QObject {
    Q_OBJECT
private slots:
    void saveAfterAReadSelectsTheStorageOnce();
    void everyInterruptionSetsThePhoneUpAgain();
    void lostLinkStartsAFreshSetUp();
    void writeAfterAPauseFindsThePhoneAsAnotherProgramLeftIt();
    void withoutARunPauseEveryWriteSetsUp();
};

void TestWriteRuns::saveAfterAReadSelectsTheStorageOnce()
{
    constexpr int kRecords = 12;
    EmulatedPhone phone;
    QVERIFY(phone.started());
    QVERIFY(readToEnd("SM"));
    CommandLog log(phone.commandLog());
    log.since();
    const LinkCounters before = TelephoneLinkCounters();
    QList<WriteRequest> requests;
    for (int i = 0; i < kRecords; ++i) requests.append(record(20 + i));
    ChainedWriter writer(requests);
    QVERIFY(runToEnd(writer));
    QCOMPARE(writer.results, QList<intptr_t>(kRecords, 0));
    QCOMPARE(log.since(), kSetUp + writes(kRecords));
    const qint64 sent = TelephoneLinkCounters().commands - before.commands;
    QCOMPARE(sent, qint64(kRecords + 3));
    QVERIFY(sent <= kRecords + 4);
    QCOMPARE(phone.emulator().state().storage("SM")->entries.value(31).name, QStringLiteral("Nöll 31"));
}

void TestWriteRuns::everyInterruptionSetsThePhoneUpAgain()
{
    PhoneEmulatorOptions options;
    options.failWrite = 3;
    EmulatedPhone phone(options);
    QVERIFY(phone.started());
    QVERIFY(readToEnd("SM"));
    CommandLog log(phone.commandLog());
    log.since();

    ChainedWriter refused({record(40), record(41), record(42), record(43)});
    QVERIFY(runToEnd(refused));
    QCOMPARE(refused.results.size(), 3); // the phone refused the third; the save stops there
    QVERIFY(refused.results.last() != 0);
    QCOMPARE(log.since(), kSetUp + writes(3));
    ChainedWriter afterRefusal({record(42), record(43)});
    QVERIFY(runToEnd(afterRefusal));
    QCOMPARE(log.since(), kSetUp + writes(2));

    ChainedWriter otherStorage({record(44), record(5, "ME"), record(45)});
    QVERIFY(runToEnd(otherStorage));
    QCOMPARE(otherStorage.results, QList<intptr_t>(3, 0));
    // The first still continues the run of the save before; the storage changes twice.
    QCOMPARE(log.since(), writes(1) + kSetUpOfMe + writes(1) + kSetUp + writes(1));

    QVERIFY(readToEnd("ME"));
    log.since();
    ChainedWriter afterRead({record(46)});
    QVERIFY(runToEnd(afterRead));
    QCOMPARE(log.since(), kSetUp + writes(1));

    WriteRequest unsendable = record(47);
    unsendable.number = "12;34";
    ChainedWriter invalid({record(47), unsendable});
    QVERIFY(runToEnd(invalid));
    QCOMPARE(invalid.results.last(), intptr_t(2));
    ChainedWriter afterInvalid({record(48)});
    QVERIFY(runToEnd(afterInvalid));
    QCOMPARE(log.since(), writes(1) + kSetUp + writes(1));
}

void TestWriteRuns::lostLinkStartsAFreshSetUp()
{
    QTemporaryDir dir;
    const QString device = dir.filePath("phone");
    LinkOptions link;
    link.device = device;
    link.silenceTimeoutMs = 3000;
    {
        // Set-up and storage take nine commands and the first write a tenth; the line drops in the
        // answer to the second write.
        PhoneEmulatorOptions options;
        options.linkPath = device;
        options.hangupAfter = 10;
        EmulatedPhone broken(options);
        QVERIFY(broken.started());
        ConnectTelephoneLink(link);
        ChainedWriter writer({record(50), record(51), record(52)});
        QVERIFY(runToEnd(writer));
        QCOMPARE(writer.results, (QList<intptr_t>{0, -1}));
    }
    PhoneEmulatorOptions options;
    options.linkPath = device;
    EmulatedPhone phone(options);
    QVERIFY(phone.started());
    ConnectTelephoneLink(link);
    ChainedWriter writer({record(51), record(52)});
    QVERIFY(runToEnd(writer));
    QCOMPARE(writer.results, QList<intptr_t>(2, 0));
    CommandLog log(phone.commandLog());
    const Commands connecting = {"AT", "CMEE=1", "CGMI", "CGMM", "CSCS=?", "CSCS=UCS2", "CPBS=?"};
    QCOMPARE(log.since(), connecting + kSetUp.mid(1) + writes(2));
}

void TestWriteRuns::writeAfterAPauseFindsThePhoneAsAnotherProgramLeftIt()
{
    constexpr int kPauseMs = 300;
    EmulatedPhone phone;
    QVERIFY(phone.started());
    LinkOptions link;
    link.device = phone.path();
    link.writeRunPauseMs = kPauseMs;
    ConnectTelephoneLink(link);
    ChainedWriter first({record(60)});
    QVERIFY(runToEnd(first));
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    QVERIFY(switchPhoneBehindTheLink(phone, kWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(sinceWrite.hasExpired(kPauseMs), kWaitMs);
    ChainedWriter second(QList<WriteRequest>{WriteRequest{"SM", 61, GsmAlphabet::encodeBlock(QStringLiteral("Zoë Ünal")), "7"}});
    QVERIFY(runToEnd(second));
    QCOMPARE(second.results, QList<intptr_t>{0});
    QCOMPARE(CommandLog(phone.commandLog()).since().last(4), kSetUp + writes(1));
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(state.storage("SM")->entries.value(61).name, QStringLiteral("Zoë Ünal"));
    QVERIFY(!state.storage("ME")->entries.contains(61));
}

void TestWriteRuns::withoutARunPauseEveryWriteSetsUp()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    LinkOptions link;
    link.device = phone.path();
    link.writeRunPauseMs = 0;
    ConnectTelephoneLink(link);
    QVERIFY(readToEnd("SM"));
    CommandLog log(phone.commandLog());
    log.since();
    ChainedWriter writer({record(70), record(71), record(72)});
    QVERIFY(runToEnd(writer));
    QCOMPARE(log.since(), kSetUp + writes(1) + kSetUp + writes(1) + kSetUp + writes(1));
}

QTEST_GUILESS_MAIN(TestWriteRuns)
#include "TestWriteRuns.moc"
