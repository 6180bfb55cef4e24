// Which numbers the link writes to the phone: every character the program keeps in a number ("0"-"9", "#",
// "*", "+", "?") and the phone's pauses, and never a byte that would break the AT command. Against the
// emulated phone on a real pseudo-terminal.
#include "LinkTestSupport.h"
#include "link/EmulatorEngine.h"

#include <QTest>

namespace {
constexpr int kWaitMs = 60000;
constexpr int kIndex = 30;

enum Outcome { Written = 0, RefusedByThePhone = 1, NotSent = 2 };

bool anyWriteSent(const QString& log)
{
    const QList<QByteArray> commands = loggedCommands(log);
    return std::any_of(commands.begin(), commands.end(), [](const QByteArray& c) { return c.startsWith("AT+CPBW="); });
}
}

class TestNumberCharacters : public QObject {
    Q_OBJECT
private slots:
    void numbersAreWrittenOrRefusedUnsent_data();
    void numbersAreWrittenOrRefusedUnsent();
    void wildNumberReadsBackThroughThePseudoTerminal();
    void phoneKeepsTheWildValueAndRefusesOtherLetters();
};

void TestNumberCharacters::numbersAreWrittenOrRefusedUnsent_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<int>("outcome");
    QTest::newRow("digits") << QByteArray("0123456789") << int(Written);
    QTest::newRow("wild value") << QByteArray("0301?34") << int(Written);
    QTest::newRow("wild value alone") << QByteArray("?") << int(Written);
    QTest::newRow("international with wild value") << QByteArray("+4930?") << int(Written);
    QTest::newRow("every kept character") << QByteArray("+1*2#3?") << int(Written);
    QTest::newRow("service code") << QByteArray("*100#") << int(Written);
    QTest::newRow("pause p") << QByteArray("030p12") << int(Written);
    QTest::newRow("pause comma") << QByteArray("030,12") << int(Written);
    QTest::newRow("longest the phone takes") << QByteArray("+").append(QByteArray(20, '7')) << int(Written);
    QTest::newRow("longer than the phone's field") << QByteArray(21, '7') << int(RefusedByThePhone);
    QTest::newRow("quote") << QByteArray("12\"34") << int(NotSent);
    QTest::newRow("command separator") << QByteArray("12;+CPBW=1") << int(NotSent);
    QTest::newRow("carriage return") << QByteArray("12\r34") << int(NotSent);
    QTest::newRow("line feed") << QByteArray("12\n34") << int(NotSent);
    QTest::newRow("blank") << QByteArray("030 12") << int(NotSent);
    QTest::newRow("dash") << QByteArray("030-12") << int(NotSent);
    QTest::newRow("slash") << QByteArray("030/12") << int(NotSent);
    QTest::newRow("parentheses") << QByteArray("(030)12") << int(NotSent);
    QTest::newRow("letter") << QByteArray("12A") << int(NotSent);
    QTest::newRow("beyond any phone") << QByteArray(81, '1') << int(NotSent);
}

void TestNumberCharacters::numbersAreWrittenOrRefusedUnsent()
{
    QFETCH(QByteArray, number);
    QFETCH(int, outcome);
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", kIndex, "Row", number.constData());
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(int(window.last().lParam), outcome);
    const EmulatorState state = phone.emulator().state();
    const EmulatorStorage* sm = state.storage("SM");
    if (outcome == Written) QCOMPARE(sm->entries.value(kIndex).number.toLatin1(), number);
    else QVERIFY(!sm->entries.contains(kIndex));
    QCOMPARE(anyWriteSent(phone.commandLog()), outcome != NotSent);
}

void TestNumberCharacters::wildNumberReadsBackThroughThePseudoTerminal()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", kIndex, "Wild", "0301?34");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", kIndex + 1, "Wild too", "+49??");
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    QCOMPARE(window.messages[0].lParam, intptr_t(0));
    QCOMPARE(window.messages[1].lParam, intptr_t(0));
    QList<QByteArray> numbers;
    for (const ReadRecord& r : RecordingWindow::recordsOf(window.last()))
        if (r.index >= kIndex) numbers.append(r.number);
    QCOMPARE(numbers, (QList<QByteArray>{"0301?34", "+49??"}));
}

void TestNumberCharacters::phoneKeepsTheWildValueAndRefusesOtherLetters()
{
    EmulatorState state = EmulatorState::seeded();
    EmulatorEngine engine(state, {}, [] {});
    engine.answer("AT+CMEE=1");
    engine.answer("AT+CSCS=\"IRA\"");
    QCOMPARE(engine.answer("AT+CPBW=40,\"12?4\",129,\"Wild\""), QByteArray("\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CPBR=40"), QByteArray("\r\n+CPBR: 40,\"12?4\",129,\"Wild\"\r\n\r\nOK\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=41,\"12E4\",129,\"Letter\""), QByteArray("\r\n+CME ERROR: 27\r\n"));
    QCOMPARE(engine.answer("AT+CPBW=41,\"12!4\",129,\"Mark\""), QByteArray("\r\n+CME ERROR: 27\r\n"));
    QVERIFY(!state.storage("SM")->entries.contains(41));
}

QTEST_GUILESS_MAIN(TestNumberCharacters)
#include "TestNumberCharacters.moc"
