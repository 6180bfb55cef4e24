// Phonebook replies of many makers' phones and modems, played byte for byte by a scripted phone on a real
// pseudo-terminal and read through the link library: the names must come out as the phone shows them.
//
// Each row says where its replies come from. "Captured" replies are copied from a public log or test dump
// of the named device; "reconstructed" ones follow the maker's published AT manual or a described behaviour
// where no capture was found, and are marked so. Lines of a captured reply the link does not ask for (other
// commands of the same log) are not used.
#include "LinkTestSupport.h"
#include "ScriptedPhone.h"

#include <QTest>

namespace {
constexpr int kWaitMs = 60000;

struct MakerReply {
    QByteArray maker;    // the lines before OK for AT+CGMI; empty: the phone answers ERROR
    QByteArray model;    // the same for AT+CGMM
    QByteArray charsets; // the +CSCS: line for AT+CSCS=?
    QByteArray charset;  // the set the link ends with (accepted by the phone)
    QByteArray storages; // the +CPBS: line for AT+CPBS=?
    QByteArray storage;  // the phone's storage of the directory read
    const char* code;    // the program's directory code
    QByteArray ranges;   // the +CPBR: line for AT+CPBR=?
    QByteArray counts;   // the +CPBS: line for AT+CPBS?; empty: ERROR
    QByteArray read;     // the one range read that finds records; the others are answered ERROR
    QByteArray records;  // its whole answer, final result included (or left out)
    QStringList names;   // what the link hands on, in index order
    QList<QByteArray> numbers;
};

QByteArray okAfter(const QByteArray& lines)
{
    return lines.isEmpty() ? QByteArray("\r\nOK\r\n") : "\r\n" + lines + "\r\n\r\nOK\r\n";
}

QMap<QByteArray, QByteArray> scriptOf(const MakerReply& r)
{
    QMap<QByteArray, QByteArray> script{{"AT", okAfter({})}, {"AT+CMEE=1", okAfter({})}};
    if (!r.maker.isEmpty()) script.insert("AT+CGMI", okAfter(r.maker));
    if (!r.model.isEmpty()) script.insert("AT+CGMM", okAfter(r.model));
    script.insert("AT+CSCS=?", okAfter(r.charsets));
    script.insert("AT+CSCS=\"" + r.charset + "\"", okAfter({}));
    script.insert("AT+CPBS=?", okAfter(r.storages));
    script.insert("AT+CPBS=\"" + r.storage + "\"", okAfter({}));
    script.insert("AT+CPBR=?", okAfter(r.ranges));
    if (!r.counts.isEmpty()) script.insert("AT+CPBS?", okAfter(r.counts));
    script.insert(r.read, r.records);
    return script;
}

const QList<std::pair<const char*, MakerReply>>& makers()
{
    static const QList<std::pair<const char*, MakerReply>> rows = {
        // Nokia 2730 classic. Record captured: gammu/gammu tests/at-getmemory/nokia-2730.dump (UCS2 selected;
        // number and type left empty, seven empty fields after the name). CGMI/CGMM, sets and ranges
        // reconstructed.
        {"Nokia 2730", {
            "Nokia", "Nokia 2730c-1", "+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"UCS2\",\"HEX\")", "UCS2",
            "+CPBS: (\"ME\",\"SM\",\"DC\",\"MC\",\"RC\")", "ME", "ME", "+CPBR: (1-500),48,60", "+CPBS: \"ME\",1,500",
            "AT+CPBR=1,100",
            "\r\n+CPBR: 16,\"\",,\"005300740065007600650020002000560069006E0073006F006E\",,,,,,,\r\n\r\nOK\r\n",
            {"Steve  Vinson"}, {""}}},
        // Motorola. Record captured: gammu/gammu tests/at-getmemory/ucs2-motorola.dump (UCS2 selected, yet the
        // name comes unquoted as 8-bit hex with a closing NUL). CGMI/CGMM in Motorola's "+CGMI: " form,
        // sets and ranges reconstructed.
        {"Motorola", {
            "+CGMI: \"Motorola CE, Copyright 2000\"", "+CGMM: \"GSM900\",\"GSM1800\",\"GSM1900\",\"MODEL=V3\"",
            "+CSCS: (\"8859-1\",\"ASCII\",\"GSM\",\"UCS2\",\"UTF8\")", "UCS2", "+CPBS: (\"ME\",\"SM\",\"FD\")", "ME",
            "ME", "+CPBR: (1-1000),32,24", "", "AT+CPBR=401,500",
            "\r\n+CPBR: 419,\"030450566735\",129,56697263686F77204B6C696E696B756D2053742E20333100\r\n\r\nOK\r\n",
            {"Virchow Klinikum St. 31"}, {"030450566735"}}},
        // Samsung SGH-P900. Record captured: gammu/gammu tests/at-getmemory/samsung-p900.dump (UCS2 selected,
        // plain text answered, an index other than the one asked for, a trailing field). The maker's name
        // as in gammu tests/at-model/05.dump; model, sets and ranges reconstructed.
        {"Samsung P900", {
            "SAMSUNG ELECTRONICS CO., LTD.", "SGH-P900", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\")", "UCS2",
            "+CPBS: (\"SM\",\"ME\",\"DC\",\"RC\",\"MC\")", "SM", "SM", "+CPBR: (1-250),40,18", "+CPBS: \"SM\",1,250",
            "AT+CPBR=1,100", "\r\n+CPBR: 81,\"#121#\",129,\"My Tempo\",0\r\n\r\nOK\r\n", {"My Tempo"}, {"#121#"}}},
        // Sony Ericsson. "Sony Ericsson" for AT+CGMI captured: gammu/gammu issue #292; the model code form
        // captured: gammu/gammu tests/at-model/03.dump. Records reconstructed (UCS2 names, number in UCS2,
        // an unsolicited line between records).
        {"Sony Ericsson", {
            "Sony Ericsson", "AAB-1022041-BV", "+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"UTF-8\",\"UCS2\")", "UCS2",
            "+CPBS: (\"ME\",\"SM\",\"DC\",\"RC\",\"MC\",\"MV\",\"HP\",\"BC\",\"EN\",\"ON\",\"FD\")", "ME", "ME",
            "+CPBR: (1-510),80,30", "+CPBS: \"ME\",2,510", "AT+CPBR=1,100",
            "\r\n+CPBR: 1,\"+46812345678\",145,\"00C50073006100200042006A00F60072006B\"\r\n"
            "\r\n+CREG: 1,\"00A1\",\"1B2C\"\r\n"
            "\r\n+CPBR: 2,\"002B003400360037\",145,\"00C9006D0069006C0065\"\r\n\r\nOK\r\n",
            {"Åsa Björk", "Émile"}, {"+46812345678", "+467"}}},
        // Huawei E173 USB stick. The sets ("IRA","GSM","UCS2"), "UCS2" in effect, the storages
        // ("SM","EN","ON") and the counts captured: gammu/wammu issue #44 (E173); "huawei" for AT+CGMI
        // captured: gammu/gammu issue #138 (E1752). Records reconstructed: SIM entries handed on in the SIM's
        // own UCS2 codings 80, 81 and 82, one of them padded with FF.
        {"Huawei E173", {
            "huawei", "E173", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\")", "UCS2", "+CPBS: (\"SM\",\"EN\",\"ON\")", "SM", "SM",
            "+CPBR: (1-250),40,18", "+CPBS: \"SM\",3,250", "AT+CPBR=1,100",
            "\r\n+CPBR: 1,\"+4930123456\",145,\"8000C500730061FFFF\"\r\n"
            "\r\n+CPBR: 2,\"0301\",129,\"8104014AF67267\"\r\n"
            "\r\n+CPBR: 3,\"112\",129,\"820300805A6FEB\"\r\n\r\nOK\r\n",
            {"Åsa", "Jörg", "Zoë"}, {"+4930123456", "0301", "112"}}},
        // ZTE MF stick. Reconstructed: it refuses UCS2, takes GSM, then answers names and numbers in UCS2
        // anyway; the quirk table knows it.
        {"ZTE MF", {
            "ZTE CORPORATION", "MF190", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\")", "GSM", "+CPBS: (\"SM\",\"ON\",\"FD\")", "SM",
            "SM", "+CPBR: (1-250),40,14", "+CPBS: \"SM\",1,250", "AT+CPBR=1,100",
            "\r\n+CPBR: 7,\"002B0034003900330030\",145,\"004A00F60072006700200042\"\r\n\r\nOK\r\n", {"Jörg B"},
            {"+4930"}}},
        // Option GTM 382 module. Range "(1-1),40,20" and a read answered by OK alone captured: gammu/wammu
        // issue #27 (own numbers read with UCS2 set). CGMI/CGMM reconstructed.
        {"Option GTM 382", {
            "Option N.V.", "GTM382", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\")", "UCS2", "+CPBS: (\"SM\",\"EN\",\"ON\")", "ON",
            "OW", "+CPBR: (1-1),40,20", "+CPBS: \"ON\",0,1", "AT+CPBR=1,1", "\r\nOK\r\n", {}, {}}},
        // Siemens. Reconstructed after the Siemens AC75 AT command set (AT+CPBR): the lengths may be given
        // as empty parentheses while the SIM is selected. HEX of default-alphabet codes; the quirk table
        // selects the storage again before each read.
        {"Siemens", {
            "SIEMENS", "AC75", "+CSCS: (\"GSM\",\"HEX\")", "HEX", "+CPBS: (\"FD\",\"SM\",\"ON\",\"ME\")", "SM", "SM",
            "+CPBR: (1-100),(),()", "+CPBS: \"SM\",2,100", "AT+CPBR=1,100",
            "\r\n+CPBR: 1,\"+49301234567\",145,\"546F6D\"\r\n\r\n+CPBR: 2,\"0301\",129,\"4A7C7267001B65\"\r\n\r\nOK\r\n",
            {"Tom", "Jörg@€"}, {"+49301234567", "0301"}}},
        // SIMCom SIM800. Reconstructed after the SIM800 Series AT Command Manual V1.09 (AT+CPBR, AT+CPBW): a
        // UCS2 module answering a name in plain text, a comma inside the quotes.
        {"SIMCom SIM800", {
            "SIMCOM_Ltd", "SIMCOM_SIM800", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\",\"HEX\",\"PCCP936\")", "UCS2",
            "+CPBS: (\"SM\",\"ON\",\"FD\",\"LD\",\"MC\",\"RC\")", "SM", "SM", "+CPBR: (1-250),40,14",
            "+CPBS: \"SM\",1,250", "AT+CPBR=1,100", "\r\n+CPBR: 3,\"10086\",129,\"Smith, John\"\r\n\r\nOK\r\n",
            {"Smith, John"}, {"10086"}}},
        // Quectel EC25. Reconstructed: a range read whose final OK never comes.
        {"Quectel EC25", {
            "Quectel", "EC25", "+CSCS: (\"GSM\",\"IRA\",\"UCS2\")", "UCS2", "+CPBS: (\"SM\",\"FD\",\"ON\",\"EN\")", "SM",
            "SM", "+CPBR: (1-10),40,18", "+CPBS: \"SM\",1,10", "AT+CPBR=1,10",
            "\r\n+CPBR: 2,\"+4940123\",145,\"004B00E4007400650020004D00FC006C006C00650072\"\r\n",
            {"Käte Müller"}, {"+4940123"}}},
        // Wavecom (Multi-Tech) module. The model answer "MULTIBAND  900E  1800" captured: gammu/gammu
        // tests/at-model/01.dump. Range "(1-50),20,10" and the trailing group field reconstructed after the
        // Multi-Tech GPRS AT command reference (+CPBR); HEX chosen among sets that hold no UCS2.
        {"Wavecom", {
            "WAVECOM MODEM", " MULTIBAND  900E  1800 ", "+CSCS: (\"GSM\",\"PCCP437\",\"CUSTOM\",\"HEX\")", "HEX",
            "+CPBS: (\"SM\",\"FD\",\"ON\",\"EN\",\"LD\",\"MC\",\"ME\",\"RC\",\"MT\",\"SN\")", "SM", "SM",
            "+CPBR: (1-50),20,10", "+CPBS: \"SM\",1,50", "AT+CPBR=1,50",
            "\r\n+CPBR: 1,\"0123456789\",129,\"57617665636F6D20486F746C696E65\",1\r\n\r\nOK\r\n",
            {"Wavecom Ho"}, {"0123456789"}}},
    };
    return rows;
}

ReceivedMessage readThrough(const ScriptedPhone& phone, const char* code)
{
    LinkOptions options;
    options.device = phone.path();
    options.silenceTimeoutMs = 2000;
    ConnectTelephoneLink(options);
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, code);
    if (!QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs)) return {};
    return window.last();
}

int countOf(const QList<QByteArray>& commands, const QByteArray& wanted)
{
    return int(std::count(commands.begin(), commands.end(), wanted));
}
}

class TestMakerReplies : public QObject {
    Q_OBJECT
private slots:
    void namesComeOutAsThePhoneShowsThem_data();
    void namesComeOutAsThePhoneShowsThem();
    void makerAndModelAreAskedOncePerConnection();
    void quirksOfTheEmulatedMakerAreApplied();
    void siemensGetsItsStorageBeforeEachRead();
    void aPhoneSilentOnMakerAndModelIsReadAllTheSame();
};

void TestMakerReplies::namesComeOutAsThePhoneShowsThem_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < makers().size(); ++i) QTest::newRow(makers()[i].first) << i;
}

void TestMakerReplies::namesComeOutAsThePhoneShowsThem()
{
    QFETCH(int, row);
    const MakerReply& r = makers()[row].second;
    ScriptedPhone phone(scriptOf(r), false);
    const ReceivedMessage m = readThrough(phone, r.code);
    QCOMPARE(m.message, UM_PHONEBOOK_READ);
    QVERIFY(m.lParam >= 0);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records.size(), r.names.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        QCOMPARE(records[i].text(), r.names[i]);
        QCOMPARE(records[i].number, r.numbers[i]);
    }
    QCOMPARE(countOf(phone.commands(), "AT+CGMI"), 1);
    QCOMPARE(countOf(phone.commands(), "AT+CGMM"), 1);
}

void TestMakerReplies::makerAndModelAreAskedOncePerConnection()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    for (const char* code : {"SM", "ME", "SM"}) {
        RecordingWindow window;
        ATPBRead(&window, UM_PHONEBOOK_READ, code);
        QVERIFY(QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs));
        QVERIFY(window.last().lParam >= 0);
    }
    const QList<QByteArray> commands = loggedCommands(phone.commandLog());
    QCOMPARE(countOf(commands, "AT+CGMI"), 1);
    QCOMPARE(countOf(commands, "AT+CGMM"), 1);
}

void TestMakerReplies::quirksOfTheEmulatedMakerAreApplied()
{
    // The emulator names the test maker whose table entry holds every quirk: small batches, the storage
    // selected before each of them, and names in UCS2 whatever the set.
    PhoneEmulatorOptions options;
    options.identity = {"Quirkvane", "All Quirks", true};
    EmulatorState state = EmulatorState::blank();
    state.storage("SM")->capacity = 60;
    state.storage("SM")->entries = {{3, {QStringLiteral("Zoë Ünal"), QStringLiteral("+491")}},
                                    {58, {QStringLiteral("Åsa"), QStringLiteral("0301")}}};
    EmulatedPhone phone(options, 8000, &state);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QVERIFY(QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs));
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].text(), QStringLiteral("Zoë Ünal"));
    QCOMPARE(records[1].text(), QStringLiteral("Åsa"));
    const QList<QByteArray> commands = loggedCommands(phone.commandLog());
    const QList<QByteArray> reads{"AT+CPBR=1,25", "AT+CPBR=26,50", "AT+CPBR=51,60"};
    for (const QByteArray& read : reads) {
        const qsizetype at = commands.indexOf(read);
        QVERIFY2(at > 0, read.constData());
        QCOMPARE(commands[at - 1], QByteArray("AT+CPBS=\"SM\""));
    }
}

void TestMakerReplies::siemensGetsItsStorageBeforeEachRead()
{
    const auto& rows = makers();
    const auto siemens = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return QByteArray(r.first) == "Siemens"; });
    QVERIFY(siemens != rows.end());
    ScriptedPhone phone(scriptOf(siemens->second), false);
    QVERIFY(readThrough(phone, "SM").lParam >= 0);
    const QList<QByteArray> commands = phone.commands();
    const qsizetype read = commands.indexOf("AT+CPBR=1,100");
    QVERIFY(read > 0);
    QCOMPARE(commands[read - 1], QByteArray("AT+CPBS=\"SM\""));
}

void TestMakerReplies::aPhoneSilentOnMakerAndModelIsReadAllTheSame()
{
    // Reconstructed: an old handset that keeps silent on commands it does not know, rather than ERROR.
    const auto& rows = makers();
    auto script = scriptOf(rows.front().second);
    script.insert("AT+CGMI", {});
    script.insert("AT+CGMM", {});
    ScriptedPhone phone(script, false);
    const ReceivedMessage m = readThrough(phone, rows.front().second.code);
    QVERIFY(m.lParam >= 0);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].text(), rows.front().second.names[0]);
}

QTEST_GUILESS_MAIN(TestMakerReplies)
#include "TestMakerReplies.moc"
