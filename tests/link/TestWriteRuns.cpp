// A save writes record after record, each write started by the end of the one before. Such a run sets up the
// phone's character set and storage once; anything that may have changed the phone in between sets them up
// again. What reaches the phone is read from the emulator's command log and the link's counters.
#include "LinkTestSupport.h"

#include <QElapsedTimer>
#include <QTest>

#include <random>

namespace {
constexpr int kWaitMs = 60000;
using Commands = QList<QByteArray>;
// Names of the GSM alphabet whose codes travel raw go in the GSM set.
const Commands kSetUp = {"CSCS=GSM", "CPBS=SM", "CPBR=?"};
const Commands kSetUpOfMe = {"CSCS=GSM", "CPBS=ME", "CPBR=?"};

// "AT+CPBS=\"SM\"" -> "CPBS=SM"; every record write -> "CPBW".
QByteArray shortForm(const QByteArray& command)
{
    if (command.startsWith("AT+CPBW=")) return "CPBW";
    QByteArray text = command.startsWith("AT+") ? command.mid(3) : command;
    return text.replace('"', "");
}

WriteRequest record(int index, const char* code = "SM")
{
    return {code, index, QStringLiteral("Nöll %1").arg(index).toUtf8(), "+49301" + QByteArray::number(index)};
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

// Names of a mixed save by how they travel: raw GSM codes, GSM codes only in HEX (a code below 0x20, the quote,
// "Ö" as 0x5C or an extension character), UCS2 (outside the GSM alphabet, at most 7 characters for the SIM).
enum class Travel { Raw, Hex, Ucs2, Erase };
struct MixedName {
    const char* name;
    Travel travel;
};
const MixedName kMixedNames[] = {
    {"Anna Müller", Travel::Raw},   {"Peña Ñico", Travel::Raw},     {"Jörg 42", Travel::Raw},
    {"Søren Ærø", Travel::Hex},     {"@home", Travel::Hex},         {"Say \"hi\"", Travel::Hex},
    {"Ölz", Travel::Hex},           {"5€ {x} ~|", Travel::Hex},     {"C:\\ A^2 $", Travel::Hex},
    {"Łukasz", Travel::Ucs2},       {"Иван", Travel::Ucs2},         {"李小龍", Travel::Ucs2},
    {"Γιώργος", Travel::Ucs2},      {"Ștefan", Travel::Ucs2},       {"محمد", Travel::Ucs2},
    {"", Travel::Erase},
};

// The set a name goes in, the phone being in `current` (empty when unknown): GSM and HEX both carry GSM codes,
// so the one the phone is in is kept while it carries the name.
QByteArray expectedSet(Travel travel, const QByteArray& current)
{
    if (travel == Travel::Erase) return current;
    if (travel == Travel::Ucs2) return "UCS2";
    if (current == "HEX" || (current == "GSM" && travel == Travel::Raw)) return current;
    return travel == Travel::Raw ? "GSM" : "HEX";
}


// One step of a save: a write, or a range read of first..last when span is set.
struct SaveStep {
    WriteRequest write;
    bool span = false;
    int first = 0;
    int last = 0;
};

SaveStep spanRead(int first, int last)
{
    return {{}, true, first, last};
}

SaveStep writeStep(const WriteRequest& request)
{
    return {request, false, 0, 0};
}

// Reads and writes as a save does: each step started from the end message of the one before; the span reads
// are kept as they arrived.
class ChainedSave : public RecordingWindow {
public:
    explicit ChainedSave(QList<SaveStep> steps) : m_steps(std::move(steps)) {}
    void start() { next(); }
    bool finished() const { return m_finished; }
    QList<ReceivedMessage> spans() const
    {
        QList<ReceivedMessage> found;
        for (const ReceivedMessage& m : messages)
            if (m.message == UM_PHONEBOOK_SPAN_READ) found.append(m);
        return found;
    }

    bool event(QEvent* event) override
    {
        const bool handled = RecordingWindow::event(event);
        if (event->type() != PhonebookMessage::EventType()) return handled;
        if (last().lParam < 0 || (last().message == UM_PHONEBOOK_WRITTEN && last().lParam != 0)) m_finished = true;
        else next();
        return true;
    }

private:
    void next()
    {
        if (messages.size() == m_steps.size()) {
            m_finished = true;
            return;
        }
        const SaveStep& step = m_steps[messages.size()];
        const WriteRequest& r = step.write;
        if (step.span) ATPBReadSpan(this, UM_PHONEBOOK_SPAN_READ, "SM", step.first, step.last);
        else ATPBWrite(this, UM_PHONEBOOK_WRITTEN, r.code.constData(), r.index, r.name.constData(), r.number.constData());
    }

    QList<SaveStep> m_steps;
    bool m_finished = false;
};
}

class TestWriteRuns : public QObject {
    Q_OBJECT
private slots:
    void saveAfterAReadSelectsTheStorageOnce();
    void everyInterruptionSetsThePhoneUpAgain();
    void lostLinkStartsAFreshSetUp();
    void writeAfterAPauseFindsThePhoneAsAnotherProgramLeftIt();
    void withoutARunPauseEveryWriteSetsUp();
    void aMixedSaveSwitchesTheSetOnlyWhenANameNeedsIt();
    void spanReadsBelongToTheSaveRun();
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
        // Set-up, character set and storage take nine commands and the first write a tenth; the line drops in
        // the answer to the second write, which went out: whether the phone stored it, nobody knows.
        PhoneEmulatorOptions options;
        options.linkPath = device;
        options.hangupAfter = 10;
        EmulatedPhone broken(options);
        QVERIFY(broken.started());
        ConnectTelephoneLink(link);
        ChainedWriter writer({record(50), record(51), record(52)});
        QVERIFY(runToEnd(writer));
        QCOMPARE(writer.results, (QList<intptr_t>{0, PhonebookSession::kWriteUnanswered}));
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
    const Commands connecting = {"AT", "CMEE=1", "CGMI", "CGMM", "CSCS=?", "CPBS=?"};
    QCOMPARE(log.since(), connecting + kSetUp + writes(2));
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
    ChainedWriter second(QList<WriteRequest>{WriteRequest{"SM", 61, QStringLiteral("Zoë Öz").toUtf8(), "7"}});
    QVERIFY(runToEnd(second));
    QCOMPARE(second.results, QList<intptr_t>{0});
    const Commands setUpInUcs2 = {"CSCS=UCS2", "CPBS=SM", "CPBR=?"};
    QCOMPARE(CommandLog(phone.commandLog()).since().last(4), setUpInUcs2 + writes(1));
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(state.storage("SM")->entries.value(61).name, QStringLiteral("Zoë Öz"));
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

void TestWriteRuns::aMixedSaveSwitchesTheSetOnlyWhenANameNeedsIt()
{
    std::mt19937_64 random(seedOfTheRun("test_link_write_runs", "aMixedSaveSwitchesTheSetOnlyWhenANameNeedsIt"));
    EmulatedPhone phone;
    QVERIFY(phone.started());
    QVERIFY(readToEnd("SM"));
    CommandLog log(phone.commandLog());
    log.since();
    const LinkCounters before = TelephoneLinkCounters();
    const int count = 8 + int(random() % 17);
    QList<WriteRequest> requests;
    QList<Travel> travels;
    Commands expected;
    QByteArray current;
    int switches = 0;
    for (int k = 0; k < count; ++k) {
        const MixedName& pick = kMixedNames[random() % std::size(kMixedNames)];
        const int index = pick.travel == Travel::Erase ? 1 + k % 12 : 100 + k; // the seeded entries lie in 1 to 12
        const QByteArray number = pick.travel == Travel::Erase ? QByteArray() : "+4930" + QByteArray::number(k);
        requests.append({"SM", index, QByteArray(pick.name), number});
        travels.append(pick.travel);
        const QByteArray set = expectedSet(pick.travel, current);
        if (set != current) {
            expected.append("CSCS=" + set);
            switches += k > 0 ? 1 : 0;
        }
        if (k == 0) expected += Commands{"CPBS=SM", "CPBR=?"};
        expected.append("CPBW");
        current = set;
    }
    ChainedWriter writer(requests);
    QVERIFY(runToEnd(writer));
    QCOMPARE(writer.results, QList<intptr_t>(count, 0));
    QCOMPARE(log.since(), expected);
    const qint64 sent = TelephoneLinkCounters().commands - before.commands;
    QVERIFY2(sent <= count + 4 + switches, qPrintable(QStringLiteral("%1 commands for %2 records and %3 switches")
                                                          .arg(sent).arg(count).arg(switches)));
    const EmulatorStorage sim = *phone.emulator().state().storage("SM");
    for (int k = 0; k < count; ++k) {
        const WriteRequest& r = requests[k];
        if (travels[k] == Travel::Erase) QVERIFY(!sim.entries.contains(r.index)); // names go to 100 and above
        else QCOMPARE(sim.entries.value(r.index).name, QString::fromUtf8(r.name));
    }
}

void TestWriteRuns::spanReadsBelongToTheSaveRun()
{
    // A save after a full read checks each span of locations it believes empty with one range read, then
    // writes there: S span reads and K writes of GSM names cost at most K + 4 + S commands.
    EmulatorState initial = EmulatorState::seeded();
    initial.storage("SM")->entries.insert(30, EmulatorEntry{QStringLiteral("Иван"), QStringLiteral("5")});
    EmulatedPhone phone({}, 8000, &initial);
    QVERIFY(phone.started());
    QVERIFY(readToEnd("SM"));
    CommandLog log(phone.commandLog());
    log.since();
    const LinkCounters before = TelephoneLinkCounters();
    QList<SaveStep> steps = {spanRead(1, 3)};
    for (int index = 20; index < 24; ++index) steps.append(writeStep(record(index)));
    steps.append(spanRead(200, 300)); // clamped to the SIM's 250 locations
    for (int index = 24; index < 27; ++index) steps.append(writeStep(record(index)));
    steps.append(spanRead(27, 28));
    ChainedSave save(steps);
    save.start();
    QVERIFY(QTest::qWaitFor([&] { return save.finished(); }, kWaitMs));
    QCOMPARE(save.messages.size(), steps.size());
    const Commands expected = Commands{"CSCS=UCS2", "CPBS=SM", "CPBR=?", "CPBR=1,3", "CSCS=GSM"} + writes(4)
        + Commands{"CPBR=200,250"} + writes(3) + Commands{"CPBR=27,28"};
    QCOMPARE(log.since(), expected);
    QCOMPARE(TelephoneLinkCounters().commands - before.commands, qint64(7 + 4 + 3));

    const QList<ReceivedMessage> spans = save.spans();
    QCOMPARE(spans.size(), 3);
    QCOMPARE(spans[0].lParam, intptr_t(3));
    const QList<ReadRecord> first = RecordingWindow::recordsOf(spans[0]);
    QCOMPARE(first[1].text(), QStringLiteral("Jörg Bäcker!"));
    QCOMPARE(first[2].number, QByteArray("0301234567"));
    for (const ReceivedMessage& span : spans) {
        QCOMPARE(span.data.nNameLen, 16);
        QCOMPARE(span.data.nNumberLen, 20);
        QCOMPARE(span.data.nNumberFieldSize, 21);
        QCOMPARE(span.data.nUcs2NameLen, 7);
        QCOMPARE(span.data.nMaxEntries, 250);
    }
    QCOMPARE(spans[1].lParam, intptr_t(0));

    // Records found while the run writes in the GSM set are read again in the reading set, so that a name
    // outside the GSM alphabet arrives whole; the run goes on without a new set-up.
    ChainedSave again({writeStep(record(40)), spanRead(29, 31), writeStep(record(41))});
    again.start();
    QVERIFY(QTest::qWaitFor([&] { return again.finished(); }, kWaitMs));
    QCOMPARE(log.since(), (Commands{"CPBW", "CPBR=29,31", "CSCS=UCS2", "CPBR=29,31", "CSCS=GSM", "CPBW"}));
    QCOMPARE(RecordingWindow::recordsOf(again.spans().value(0)).value(0).text(), QStringLiteral("Иван"));
}

QTEST_GUILESS_MAIN(TestWriteRuns)
#include "TestWriteRuns.moc"
