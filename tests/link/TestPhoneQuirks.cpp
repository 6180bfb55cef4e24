// The link against replies in the form real phones give them, quirks included, played back byte for byte
// over a pseudo-terminal.
#include "LinkTestSupport.h"
#include "ScriptedPhone.h"

#include <QTest>

namespace {
constexpr int kWaitMs = 60000;

// What a phone answers before its records: the character sets it offers and the one the link takes, its
// storages, the one selected, its ranges and its counts. Each answer is the text before the final OK; an empty
// one is left out of the script.
struct SetUpAnswers {
    QByteArray charsets = {};
    QByteArray charset = {};
    QByteArray storages = {};
    QByteArray storage = {};
    QByteArray ranges = {};
    QByteArray counts = {};
};

QByteArray okAfter(const QByteArray& lines)
{
    return "\r\n" + lines + "\r\n\r\nOK\r\n";
}

// The one set-up of every scripted phone here: a test adds the answers to its own commands (or replaces one).
QMap<QByteArray, QByteArray> setUpScript(const SetUpAnswers& answers)
{
    QMap<QByteArray, QByteArray> script = {
        {"AT", "\r\nOK\r\n"}, {"AT+CMEE=1", "\r\nOK\r\n"}, {"AT+CSCS=?", okAfter("+CSCS: " + answers.charsets)}};
    script.insert("AT+CSCS=\"" + answers.charset + "\"", "\r\nOK\r\n");
    if (!answers.storages.isEmpty()) script.insert("AT+CPBS=?", okAfter(answers.storages));
    script.insert("AT+CPBS=\"" + answers.storage + "\"", "\r\nOK\r\n");
    if (!answers.ranges.isEmpty()) script.insert("AT+CPBR=?", okAfter(answers.ranges));
    if (!answers.counts.isEmpty()) script.insert("AT+CPBS?", okAfter(answers.counts));
    return script;
}

// One row per maker whose replies a test plays back. None of these phones answers AT+CGMI or AT+CGMM (a
// command the script has no reply for is answered ERROR), so the link finds no entry of its quirk table for
// them: their replies must come through on the general rules alone. Maker and model therefore only name the row
// and are never sent; as the replies name no model, the model is told by what they show.
struct ScriptedMaker {
    QByteArray maker;
    QByteArray model;
    SetUpAnswers answers;
};

const QList<ScriptedMaker>& scriptedMakers()
{
    static const QList<ScriptedMaker> rows = {
        {"Sony Ericsson", "handset in UCS2 with 510 entries in its memory, reporting RING and +CREG in between",
         {
             .charsets = "(\"GSM\",\"IRA\",\"8859-1\",\"UTF-8\",\"UCS2\")",
             .charset = "UCS2",
             .storages = "RING\r\n\r\n+CPBS: (\"ME\",\"SM\",\"DC\",\"RC\",\"MC\",\"MV\",\"HP\",\"BC\",\"EN\",\"ON\",\"FD\")",
             .storage = "ME",
             .ranges = "+CPBR: (1-510),80,30",
             .counts = "+CREG: 1\r\n\r\n+CPBS: \"ME\",3,510",
         }},
        {"Siemens", "handset with names in HEX and 100 entries on the SIM, counting none of them",
         {
             .charsets = "(\"GSM\",\"HEX\")",
             .charset = "HEX",
             .storages = "+CPBS: (\"FD\",\"SM\",\"ON\",\"ME\",\"LD\",\"MC\",\"RC\")",
             .storage = "SM",
             .ranges = "+CPBR: (1-100),20,14",
             .counts = "+CPBS: \"SM\"",
         }},
        {"Motorola", "handset in IRA with trailing fields in its ranges, read in its received calls",
         {
             .charsets = "(\"IRA\")",
             .charset = "IRA",
             .storages = "+CPBS: (\"ME\",\"SM\",\"LD\",\"MC\",\"RC\",\"ON\",\"FD\")",
             .storage = "RC",
             .ranges = "+CPBR: (1-250),32,24,0,0",
             .counts = "+CPBS: \"RC\",2,250",
         }},
    };
    return rows;
}

// The set-up answers of a maker's row; a maker without a row is a mistake of the test itself.
const SetUpAnswers& answersOf(const QByteArray& maker)
{
    for (const ScriptedMaker& row : scriptedMakers())
        if (row.maker == maker) return row.answers;
    qFatal("no scripted phone of the maker %s", maker.constData());
}

void connectTo(const ScriptedPhone& phone)
{
    LinkOptions options;
    options.device = phone.path();
    options.silenceTimeoutMs = 2000;
    ConnectTelephoneLink(options);
}

ReceivedMessage readFrom(const char* code)
{
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, code);
    if (!QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs)) return {};
    return window.last();
}

// Plays the script back on a pseudo-terminal (echoing commands when echo is set), points the link at it and
// reads the directory.
ReceivedMessage readFrom(const QMap<QByteArray, QByteArray>& script, bool echo, const char* code)
{
    ScriptedPhone phone(script, echo);
    connectTo(phone);
    return readFrom(code);
}
}

class TestPhoneQuirks : public QObject {
    Q_OBJECT
private slots:
    void sonyEricssonWithEchoUnsolicitedCodesAndUcs2();
    void siemensWithHexNamesAndBadRecords();
    void motorolaWithIraTrailingFieldsAndEmptyRanges();
    void phoneRefusingTheStorageGivesMinusFour();
    void nameThePhonesSetCannotCarryIsNotSent();
    void garbageInsteadOfAnswersFailsCleanly();
};

void TestPhoneQuirks::sonyEricssonWithEchoUnsolicitedCodesAndUcs2()
{
    auto script = setUpScript(answersOf("Sony Ericsson"));
    script.insert("AT+CPBR=1,100",
                  "\r\n+CPBR: 1,\"+46812345678\",145,\"00C50073006100200042006A00F60072006B\"\r\n"
                  "\r\n+CREG: 1,\"00A1\",\"1B2C\"\r\n"
                  "\r\n+CPBR: 2,\"002B003400360037\",145,\"041C0430043C0430\"\r\n"
                  "\r\n+CPBR: 3,\"112\",129,\"0045004D0045005200470045004E00430059\"\r\n\r\nOK\r\n");
    for (int first = 101; first <= 510; first += 100)
        script.insert("AT+CPBR=" + QByteArray::number(first) + ',' + QByteArray::number(std::min(510, first + 99)), "\r\nOK\r\n");
    const ReceivedMessage m = readFrom(script, true, "ME");
    QCOMPARE(m.data.nCount, 3);
    QCOMPARE(m.data.nNameLen, 30);
    QCOMPARE(m.data.nNumberLen, 80);
    QCOMPARE(m.data.nMaxEntries, 510);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records[0].text(), QStringLiteral("Åsa Björk"));
    QCOMPARE(records[1].number, QByteArray("+467")); // number sent in UCS2 as well
    QCOMPARE(records[1].text(), QStringLiteral("Мама")); // the block carries every script
    QCOMPARE(records[2].name, QByteArray("EMERGENCY"));
}

void TestPhoneQuirks::siemensWithHexNamesAndBadRecords()
{
    auto script = setUpScript(answersOf("Siemens"));
    script.insert("AT+CPBR=1,100",
                  "\r\n+CPBR: 1,\"+49301234567\",145,\"546F6D\"\r\n"              // "Tom"
                  "\r\n+CPBR: 2,\"0301\",129,\"4A7C7267001B65\"\r\n"             // "Jörg@€"
                  "\r\n+CPBR: 3,\"\",129,\"\"\r\n"                               // empty location
                  "\r\n+CPBR: 0,\"1\",129,\"4141\"\r\n"                          // below the range
                  "\r\n+CPBR: 150,\"1\",129,\"4242\"\r\n"                        // beyond the range
                  "\r\n+CPBR: 40000,\"1\",129,\"4343\"\r\n"                      // beyond 15 bits
                  "\r\n+CPBR: 2,\"999\",129,\"4444\"\r\n"                        // repeated index
                  "\r\n\x7f\x01garbage line\r\n"
                  "\r\n+CPBR: 4,\"0123456789012345678901234\",129,\"4142434445464748494A4B4C4D4E4F50\"\r\n"
                  "\r\n+CPBR: 5,\"77\",129,\"Plain text\"\r\n"                   // not hex after all
                  "\r\nOK\r\n");
    const ReceivedMessage m = readFrom(script, false, "SM");
    QVERIFY(m.lParam >= 0);
    QCOMPARE(m.data.nNameLen, 14);
    QCOMPARE(m.data.nNumberLen, 20);
    QCOMPARE(m.data.nMaxEntries, 100); // no counts from +CPBS?: the range gives the maximum
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records.size(), 4);
    QCOMPARE(records[0].name, QByteArray("Tom"));
    QCOMPARE(records[1].text(), QStringLiteral("Jörg@€"));
    QCOMPARE(records[1].number, QByteArray("0301"));
    QCOMPARE(records[2].index, 4);
    QCOMPARE(records[2].name, QByteArray("ABCDEFGHIJKLMN"));
    QCOMPARE(records[2].number, QByteArray("01234567890123456789"));
    QCOMPARE(records[3].name, QByteArray("Plain text"));
}

void TestPhoneQuirks::motorolaWithIraTrailingFieldsAndEmptyRanges()
{
    auto script = setUpScript(answersOf("Motorola"));
    script.insert("AT+CPBR=1,100", "\r\n+CME ERROR: 22\r\n");
    script.insert("AT+CPBR=101,200", "\r\n+CPBR: 120,\"5551234\",129,\"Bob, the \"Builder\",0,1\r\n"
                                     "\r\n+CPBR: 130,5556789,129,Alice,0\r\n\r\nOK\r\n");
    script.insert("AT+CPBR=201,250", "\r\nERROR\r\n");
    const ReceivedMessage m = readFrom(script, false, "CD");
    QCOMPARE(m.data.nCount, 2);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records[0].index, 120);
    QCOMPARE(records[0].name, QByteArray("Bob, the \"Builder"));
    QCOMPARE(records[1].name, QByteArray("Alice"));
    QCOMPARE(records[1].number, QByteArray("5556789"));
}

void TestPhoneQuirks::phoneRefusingTheStorageGivesMinusFour()
{
    // No list from AT+CPBS=?, so the phone's refusal of the selection is what tells.
    auto script = setUpScript({.charsets = "(\"GSM\")", .charset = "GSM", .storage = "FD"});
    script.insert("AT+CPBS=\"FD\"", "\r\n+CME ERROR: 3\r\n"); // in place of the set-up's OK
    const ReceivedMessage m = readFrom(script, false, "FD");
    QCOMPARE(m.lParam, PB_READ_NOT_AVAILABLE);
    QCOMPARE(m.data.nCount, 0);
}

void TestPhoneQuirks::nameThePhonesSetCannotCarryIsNotSent()
{
    auto script = setUpScript({
        .charsets = "(\"IRA\")",
        .charset = "IRA",
        .storages = "+CPBS: (\"SM\")",
        .storage = "SM",
        .ranges = "+CPBR: (1-250),20,16",
    });
    script.insert("AT+CPBW=7,\"+491\",145,\"Plain\"", "\r\nOK\r\n");
    ScriptedPhone phone(script, false);
    connectTo(phone);
    RecordingWindow window;
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 7, "Say \"hi\"", "+491");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 7, QStringLiteral("Jörg").toUtf8().constData(), "+491");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 7, "Plain", "+491");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    QVERIFY(window.messages[0].lParam != 0);
    QVERIFY(window.messages[1].lParam != 0);
    QCOMPARE(window.messages[2].lParam, intptr_t(0));
    int writes = 0;
    for (const QByteArray& command : phone.commands()) writes += command.startsWith("AT+CPBW") ? 1 : 0;
    QCOMPARE(writes, 1);
}

void TestPhoneQuirks::garbageInsteadOfAnswersFailsCleanly()
{
    // A line of noise and no final result: every command times out and the read ends without data.
    const ReceivedMessage m = readFrom({{"AT", "\r\n\x01\x02\xff noise\r\n"}}, false, "SM");
    QCOMPARE(m.lParam, PB_READ_NO_DATA);
}

QTEST_GUILESS_MAIN(TestPhoneQuirks)
#include "TestPhoneQuirks.moc"
