// The pure parts of the link: reading phone replies, the GSM alphabet and the record block.
#include "link/AtReply.h"
#include "res/GsmAlphabet.h"
#include "link/PhoneCharset.h"
#include "link/PhonebookRecords.h"

#include <QTest>

using namespace AtReply;

class TestReplyParsing : public QObject {
    Q_OBJECT
private slots:
    void finalResults_data();
    void finalResults();
    void unsolicitedLinesAreRecognised();
    void recordFormats_data();
    void recordFormats();
    void storageStatus_data();
    void storageStatus();
    void lists_data();
    void lists();
    void records_data();
    void records();
    void charsetPreference_data();
    void charsetPreference();
    void namesFromEachCharset_data();
    void namesFromEachCharset();
    void namesThatCannotTravelSafelyAreRefused();
    void wholeAlphabetSurvivesHex();
    void blockNamesAreUtf8CutAtWholeCharacters();
    void recordsAreCutToAnnouncedLengths();
    void recordsOutsideRangeOrDuplicatedAreDropped();
    void atMostThousandLowestRecordsAreKept();
    void recordBlockLayout();
};

void TestReplyParsing::finalResults_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::newRow("ok") << QByteArray("OK") << int(Final::Ok) << -1;
    QTest::newRow("ok with blanks") << QByteArray("  OK ") << int(Final::Ok) << -1;
    QTest::newRow("error") << QByteArray("ERROR") << int(Final::Error) << -1;
    QTest::newRow("numeric cme") << QByteArray("+CME ERROR: 21") << int(Final::CmeError) << 21;
    QTest::newRow("verbose cme (Nokia, CMEE=2)") << QByteArray("+CME ERROR: invalid index") << int(Final::CmeError) << -1;
    QTest::newRow("cms") << QByteArray("+CMS ERROR: 500") << int(Final::CmeError) << 500;
    QTest::newRow("huge code") << QByteArray("+CME ERROR: 99999999999") << int(Final::CmeError) << -1;
    QTest::newRow("information line") << QByteArray("+CPBR: 1,\"1\",129,\"OK\"") << int(Final::None) << -1;
    QTest::newRow("name OK is not final") << QByteArray("OKAY") << int(Final::None) << -1;
}

void TestReplyParsing::finalResults()
{
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(int, code);
    const FinalResult result = classifyFinal(line);
    QCOMPARE(int(result.kind), kind);
    QCOMPARE(result.cmeCode, code);
}

void TestReplyParsing::unsolicitedLinesAreRecognised()
{
    for (const char* urc : {"RING", "+CREG: 1", "+CMTI: \"SM\",3", "+CLIP: \"+4930\",145", "^RSSI:17", "+PBREADY"})
        QVERIFY2(isUnsolicited(urc), urc);
    QVERIFY(!isUnsolicited("+CPBR: 1,\"1\",129,\"A\""));
    QVERIFY(!isUnsolicited("OK"));
}

void TestReplyParsing::recordFormats_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("numberLength");
    QTest::addColumn<int>("nameLength");
    QTest::newRow("Siemens S55 SIM") << QByteArray("+CPBR: (1-250),20,14") << true << 1 << 250 << 20 << 14;
    QTest::newRow("Nokia 6230i phone memory") << QByteArray("+CPBR: (1-500),48,24") << true << 1 << 500 << 48 << 24;
    QTest::newRow("Huawei E173, trailing 3GPP lengths") << QByteArray("+CPBR: (1-250),40,16,0,0,0") << true << 1 << 250 << 40 << 16;
    QTest::newRow("Wavecom, padded range") << QByteArray("+CPBR: (001-100),20,16") << true << 1 << 100 << 20 << 16;
    QTest::newRow("range without parentheses") << QByteArray("+CPBR: 1-30,20,18") << true << 1 << 30 << 20 << 18;
    QTest::newRow("lengths left out") << QByteArray("+CPBR: (1-10)") << true << 1 << 10 << 0 << 0;
    QTest::newRow("empty lengths") << QByteArray("+CPBR: (1-10),,") << true << 1 << 10 << 0 << 0;
    QTest::newRow("garbage lengths") << QByteArray("+CPBR: (1-10),x,y") << true << 1 << 10 << 0 << 0;
    QTest::newRow("reversed range") << QByteArray("+CPBR: (10-1),20,16") << false << 0 << 0 << 0 << 0;
    QTest::newRow("no range") << QByteArray("+CPBR: 20,16") << false << 0 << 0 << 0 << 0;
    QTest::newRow("other prefix") << QByteArray("+CPBS: (1-10),20,16") << false << 0 << 0 << 0 << 0;
}

void TestReplyParsing::recordFormats()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    const auto format = parseRecordFormat(line);
    QCOMPARE(format.has_value(), valid);
    if (!valid) return;
    QTEST(format->first, "first");
    QTEST(format->last, "last");
    QTEST(format->numberLength, "numberLength");
    QTEST(format->nameLength, "nameLength");
}

void TestReplyParsing::storageStatus_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("storage");
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("total");
    QTest::newRow("Nokia") << QByteArray("+CPBS: \"SM\",23,250") << QByteArray("SM") << 23 << 250;
    QTest::newRow("Siemens S35, storage only") << QByteArray("+CPBS: \"ME\"") << QByteArray("ME") << -1 << -1;
    QTest::newRow("unquoted") << QByteArray("+CPBS: ON,1,4") << QByteArray("ON") << 1 << 4;
    QTest::newRow("garbage counts") << QByteArray("+CPBS: \"SM\",-,?") << QByteArray("SM") << -1 << -1;
}

void TestReplyParsing::storageStatus()
{
    QFETCH(QByteArray, line);
    const auto status = parseStorageStatus(line);
    QVERIFY(status);
    QTEST(status->storage, "storage");
    QTEST(status->used, "used");
    QTEST(status->total, "total");
}

void TestReplyParsing::lists_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("Sony Ericsson K750i storages")
        << QByteArray("(\"ME\",\"SM\",\"DC\",\"RC\",\"MC\",\"MV\",\"HP\",\"BC\",\"EN\",\"ON\",\"FD\")")
        << QStringList{"ME", "SM", "DC", "RC", "MC", "MV", "HP", "BC", "EN", "ON", "FD"};
    QTest::newRow("without parentheses") << QByteArray("\"SM\",\"ME\"") << QStringList{"SM", "ME"};
    QTest::newRow("bare words") << QByteArray("(SM,FD, ON)") << QStringList{"SM", "FD", "ON"};
    QTest::newRow("Siemens charsets") << QByteArray("(\"GSM\",\"UCS2\")") << QStringList{"GSM", "UCS2"};
    QTest::newRow("empty") << QByteArray("()") << QStringList{};
}

void TestReplyParsing::lists()
{
    QFETCH(QByteArray, payload);
    QTEST(parseList(payload), "words");
}

void TestReplyParsing::records_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("Siemens S55") << QByteArray("+CPBR: 1,\"+49301234567\",145,\"Tom\"") << true << qint64(1)
                                 << QByteArray("+49301234567") << 145 << QByteArray("Tom");
    QTest::newRow("Motorola V3, trailing field") << QByteArray("+CPBR: 3,\"0123456\",129,\"Mum\",0") << true << qint64(3)
                                                 << QByteArray("0123456") << 129 << QByteArray("Mum");
    QTest::newRow("Huawei E173, UCS2 and trailing fields")
        << QByteArray("+CPBR: 2,\"13800138000\",129,\"004A006F0065\",0,\"\",\"\"") << true << qint64(2)
        << QByteArray("13800138000") << 129 << QByteArray("004A006F0065");
    QTest::newRow("comma inside the name") << QByteArray("+CPBR: 4,\"1\",129,\"Doe, John\"") << true << qint64(4)
                                           << QByteArray("1") << 129 << QByteArray("Doe, John");
    QTest::newRow("stray quote inside the name") << QByteArray("+CPBR: 5,\"1\",129,\"Bob \"Jr\" Smith\"") << true
                                                 << qint64(5) << QByteArray("1") << 129 << QByteArray("Bob \"Jr\" Smith");
    QTest::newRow("missing closing quote") << QByteArray("+CPBR: 6,\"1\",129,\"Anna") << true << qint64(6)
                                           << QByteArray("1") << 129 << QByteArray("Anna");
    QTest::newRow("unquoted name and number") << QByteArray("+CPBR: 7,0301,129,Work") << true << qint64(7)
                                              << QByteArray("0301") << 129 << QByteArray("Work");
    QTest::newRow("empty type") << QByteArray("+CPBR: 8,\"555\",,\"X\"") << true << qint64(8) << QByteArray("555") << -1
                                << QByteArray("X");
    QTest::newRow("no name at all") << QByteArray("+CPBR: 9,\"555\",129") << true << qint64(9) << QByteArray("555") << 129
                                    << QByteArray();
    QTest::newRow("index beyond 15 bits") << QByteArray("+CPBR: 40000,\"1\",129,\"Far\"") << true << qint64(40000)
                                          << QByteArray("1") << 129 << QByteArray("Far");
    QTest::newRow("garbage index") << QByteArray("+CPBR: x,\"1\",129,\"A\"") << false << qint64(0) << QByteArray()
                                   << 0 << QByteArray();
    QTest::newRow("too few fields") << QByteArray("+CPBR: 1") << false << qint64(0) << QByteArray() << 0 << QByteArray();
    QTest::newRow("test answer is no record") << QByteArray("+CPBR: (1-250),20,16") << false << qint64(0) << QByteArray()
                                              << 0 << QByteArray();
    QTest::newRow("line noise") << QByteArray("\xff\xfe+CPB") << false << qint64(0) << QByteArray() << 0 << QByteArray();
}

void TestReplyParsing::records()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    const auto record = parseRecord(line);
    QCOMPARE(record.has_value(), valid);
    if (!valid) return;
    QTEST(record->index, "index");
    QTEST(record->number, "number");
    QTEST(record->type, "type");
    QTEST(record->name, "name");
}

void TestReplyParsing::charsetPreference_data()
{
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<int>("chosen");
    QTest::newRow("Nokia: all") << QStringList{"GSM", "IRA", "8859-1", "UCS2"} << int(PhoneCharset::Ucs2);
    QTest::newRow("Siemens M20: GSM and HEX") << QStringList{"GSM", "HEX"} << int(PhoneCharset::Hex);
    QTest::newRow("GSM only") << QStringList{"GSM"} << int(PhoneCharset::Gsm);
    QTest::newRow("8859-1 over IRA") << QStringList{"IRA", "8859-1"} << int(PhoneCharset::Latin1);
    QTest::newRow("unknown sets") << QStringList{"PCCP437", "UTF-8"} << int(PhoneCharset::Ira);
}

void TestReplyParsing::charsetPreference()
{
    QFETCH(QStringList, offered);
    QTEST(int(PhoneCharsets::choose(offered)), "chosen");
}

void TestReplyParsing::namesFromEachCharset_data()
{
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("UCS2") << int(PhoneCharset::Ucs2) << QByteArray("004D00FC006C006C00650072") << QStringLiteral("Müller");
    QTest::newRow("UCS2 beyond Latin-1") << int(PhoneCharset::Ucs2) << QByteArray("041C0430043C0430") << QStringLiteral("Мама");
    QTest::newRow("UCS2 phone answering plain text") << int(PhoneCharset::Ucs2) << QByteArray("Tom") << QStringLiteral("Tom");
    QTest::newRow("HEX of GSM codes with @ and €") << int(PhoneCharset::Hex) << QByteArray("41001B65") << QStringLiteral("A@€");
    QTest::newRow("GSM raw codes") << int(PhoneCharset::Gsm) << QByteArray("J\x7Crg") << QStringLiteral("Jörg");
    QTest::newRow("IRA") << int(PhoneCharset::Ira) << QByteArray("Bob") << QStringLiteral("Bob");
    QTest::newRow("8859-1") << int(PhoneCharset::Latin1) << QByteArray("Caf\xE9") << QStringLiteral("Café");
}

void TestReplyParsing::namesFromEachCharset()
{
    QFETCH(int, charset);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QCOMPARE(PhoneCharsets::decodeName(field, PhoneCharset(charset)), text);
    QByteArray encoded;
    if (PhoneCharsets::encodeName(text, PhoneCharset(charset), &encoded) && field != "Tom")
        QCOMPARE(PhoneCharsets::decodeName(encoded, PhoneCharset(charset)), text);
}

void TestReplyParsing::namesThatCannotTravelSafelyAreRefused()
{
    QByteArray field;
    // A quote would end the string inside AT+CPBW and let the rest of the name run as command text.
    QVERIFY(!PhoneCharsets::encodeName(QStringLiteral("A\"B"), PhoneCharset::Ira, &field));
    QVERIFY(!PhoneCharsets::encodeName(QStringLiteral("A\"B"), PhoneCharset::Gsm, &field));
    QVERIFY(!PhoneCharsets::encodeName(QStringLiteral("A\rATD110;"), PhoneCharset::Latin1, &field));
    QVERIFY(!PhoneCharsets::encodeName(QStringLiteral("Ünal"), PhoneCharset::Ira, &field));
    QVERIFY(!PhoneCharsets::encodeName(QStringLiteral("Мама"), PhoneCharset::Hex, &field));
    QVERIFY(PhoneCharsets::encodeName(QStringLiteral("A\"B"), PhoneCharset::Ucs2, &field));
    QCOMPARE(field, QByteArray("004100220042"));
}

void TestReplyParsing::wholeAlphabetSurvivesHex()
{
    QString all;
    for (int code = 0; code < 128; ++code)
        if (code != GsmAlphabet::kEscape) all.append(QChar(GsmAlphabet::basicCharacter(uchar(code))));
    all += QStringLiteral("^{}\\[~]|€\f");
    QByteArray field;
    QVERIFY(PhoneCharsets::encodeName(all, PhoneCharset::Hex, &field));
    QCOMPARE(PhoneCharsets::decodeName(field, PhoneCharset::Hex), all);
    QVERIFY(PhoneCharsets::encodeName(all, PhoneCharset::Ucs2, &field));
    QCOMPARE(PhoneCharsets::decodeName(field, PhoneCharset::Ucs2), all);
}

void TestReplyParsing::blockNamesAreUtf8CutAtWholeCharacters()
{
    QCOMPARE(PhonebookRecords::nameFieldSize(16), 64); // four bytes for each character the phone may hold
    const QString name = QStringLiteral("@home [€] Zoë Мама");
    QCOMPARE(PhonebookRecords::blockName(name, 64), name.toUtf8());
    // A character that does not fit whole is left out, never cut into bytes that are no UTF-8.
    QCOMPARE(PhonebookRecords::blockName(QStringLiteral("ABCDEFG€"), 9), QByteArray("ABCDEFG"));
    QCOMPARE(PhonebookRecords::blockName(QStringLiteral("ABCDEFG€"), 10), QStringLiteral("ABCDEFG€").toUtf8());
    QCOMPARE(PhonebookRecords::blockName(QStringLiteral("李小龍"), 8), QStringLiteral("李小").toUtf8());
}

void TestReplyParsing::recordsAreCutToAnnouncedLengths()
{
    RawRecord raw;
    raw.index = 1;
    raw.name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    raw.number = "4930123456789012345678";
    raw.type = 145;
    auto record = PhonebookRecords::fromRaw(raw, PhoneCharset::Ira, 16, 20);
    QVERIFY(record);
    QCOMPARE(record->name, QStringLiteral("ABCDEFGHIJKLMNOP"));
    // Type 145 without "+": the phone means an international number.
    QCOMPARE(record->number, QByteArray("+49301234567890123456"));
    // An extension character takes two positions and is never cut in half.
    raw.name = QByteArray("0041").repeated(15) + "005B";
    record = PhonebookRecords::fromRaw(raw, PhoneCharset::Ucs2, 16, 20);
    QCOMPARE(record->name, QString(15, QChar(u'A')));
    QVERIFY(!PhonebookRecords::fromRaw(RawRecord{5, "", 129, ""}, PhoneCharset::Ira, 16, 20));
    // Numbers keep only dialling characters.
    record = PhonebookRecords::fromRaw(RawRecord{5, "030-123 45;ATH", 129, "X"}, PhoneCharset::Ira, 16, 20);
    QCOMPARE(record->number, QByteArray("03012345"));
    // A UCS2 phone that sends its numbers in UCS2 as well.
    record = PhonebookRecords::fromRaw(RawRecord{5, "002B003400390033", 145, "0058"}, PhoneCharset::Ucs2, 16, 20);
    QCOMPARE(record->number, QByteArray("+493"));
}

void TestReplyParsing::recordsOutsideRangeOrDuplicatedAreDropped()
{
    QList<PhoneRecord> records{{7, "Seven", "7"}, {0, "Zero", "0"}, {251, "Beyond", "1"}, {3, "Three", "3"},
                               {3, "Again", "33"}, {40000, "Far", "4"}};
    const QList<PhoneRecord> kept = PhonebookRecords::keepValid(records, 1, 250);
    QCOMPARE(kept.size(), 2);
    QCOMPARE(kept[0].name, QStringLiteral("Three"));
    QCOMPARE(kept[1].name, QStringLiteral("Seven"));
    // Even with a phone that announces more, no index needs more than 15 bits.
    QCOMPARE(PhonebookRecords::keepValid({{40000, "Far", "4"}, {32767, "Last", "5"}}, 1, 50000).size(), 1);
}

void TestReplyParsing::atMostThousandLowestRecordsAreKept()
{
    QList<PhoneRecord> records;
    for (int i = 1500; i >= 1; --i) records.append({i, QStringLiteral("N%1").arg(i), QByteArray::number(i)});
    const QList<PhoneRecord> kept = PhonebookRecords::keepValid(records, 1, 2000);
    QCOMPARE(kept.size(), 1000);
    QCOMPARE(kept.first().index, 1);
    QCOMPARE(kept.last().index, 1000);
}

void TestReplyParsing::recordBlockLayout()
{
    QList<PhoneRecord> records{{5, QStringLiteral("Ann"), "+491"}, {300, QStringLiteral("ABCDEFGH"), "+12345678"},
                               {7, QStringLiteral("Мама"), "1"}, {8, QStringLiteral("004E0G61"), "2"}};
    records[3].nameUnreadable = true;
    const QByteArray block = PhonebookRecords::buildBlock(records, 2, 8);
    constexpr qsizetype kStride = 2 + 8 + 9; // name field of 4 x 2 bytes, number field of 8 digits and a "+"
    QCOMPARE(block.size(), 4 * kStride);
    QCOMPARE(block.left(kStride), QByteArray("\x05\x00" "Ann\0\0\0\0\0" "+491\0\0\0\0\0", kStride));
    // Index 300 little-endian; a text that fills its field has no terminator: "+" and every digit stay.
    QCOMPARE(block.mid(kStride, kStride), QByteArray("\x2C\x01" "ABCDEFGH" "+12345678", kStride));
    const QByteArray numberOne("1\0\0\0\0\0\0\0\0", 9);
    QCOMPARE(block.mid(2 * kStride, kStride), QByteArray("\x07\x00", 2) + QStringLiteral("Мама").toUtf8() + numberOne);
    // Bit 15 of the index marks a name that came damaged over the line; the field holds what arrived.
    QCOMPARE(block.mid(3 * kStride, kStride), QByteArray("\x08\x80" "004E0G61" "2\0\0\0\0\0\0\0\0", kStride));
    for (qsizetype r = 0; r < 3; ++r) QVERIFY((uchar(block[r * kStride + 1]) & 0x80) == 0);
}

QTEST_GUILESS_MAIN(TestReplyParsing)
#include "TestReplyParsing.moc"
