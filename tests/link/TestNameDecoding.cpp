// Names decoded by what the phone's reply is, not only by the set the link selected: the pure functions
// behind it, each with a table of fields as phones send them.
#include "link/AtReply.h"
#include "link/NameDecoding.h"
#include "link/PhoneQuirks.h"
#include "link/PhonebookRecords.h"
#include "link/SimAlphaId.h"

#include <QTest>

namespace {
// A hint column: 0 none, 1 always UCS2, 2 hex bytes.
NameDecoding::Hints hintsOf(int code)
{
    return {code == 1, code == 2};
}
}

class TestNameDecoding : public QObject {
    Q_OBJECT
private slots:
    void namesByWhatTheyAre_data();
    void namesByWhatTheyAre();
    void simCodings_data();
    void simCodings();
    void identityAnswers_data();
    void identityAnswers();
    void quirkTable_data();
    void quirkTable();
    void nameIsCutAfterDecodingInCharacters();
    void damagedFields_data();
    void damagedFields();
};

void TestNameDecoding::namesByWhatTheyAre_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("hints");
    QTest::addColumn<QString>("text");
    const int ucs2 = int(PhoneCharset::Ucs2), gsm = int(PhoneCharset::Gsm), ira = int(PhoneCharset::Ira),
              hex = int(PhoneCharset::Hex), latin1 = int(PhoneCharset::Latin1);
    QTest::newRow("UCS2 as selected") << QByteArray("004D00FC006C006C00650072") << ucs2 << 0 << QStringLiteral("Müller");
    QTest::newRow("UCS2 padded with NUL") << QByteArray("0041006E006E00000000") << ucs2 << 0 << QStringLiteral("Ann");
    QTest::newRow("UCS2 padded with FFFF") << QByteArray("0041006E006EFFFF") << ucs2 << 0 << QStringLiteral("Ann");
    QTest::newRow("UCS2 asked, plain text answered") << QByteArray("My Tempo") << ucs2 << 0 << QStringLiteral("My Tempo");
    QTest::newRow("UCS2 asked, 8-bit hex with NUL answered")
        << QByteArray("56697263686F77204B6C696E696B756D2053742E20333100") << ucs2 << 0
        << QStringLiteral("Virchow Klinikum St. 31");
    QTest::newRow("UCS2 asked, SIM coding 80") << QByteArray("8000C500730061") << ucs2 << 0 << QStringLiteral("Åsa");
    QTest::newRow("UCS2 asked, SIM coding 80 padded") << QByteArray("8000C500730061FFFF") << ucs2 << 0 << QStringLiteral("Åsa");
    QTest::newRow("UCS2 asked, SIM coding 81") << QByteArray("8104014AF67267") << ucs2 << 0 << QStringLiteral("Jörg");
    QTest::newRow("UCS2 asked, SIM coding 81 Cyrillic") << QByteArray("8104089CB0BCB0") << ucs2 << 0 << QStringLiteral("Мама");
    QTest::newRow("UCS2 asked, SIM coding 82") << QByteArray("820300805A6FEB") << ucs2 << 0 << QStringLiteral("Zoë");
    QTest::newRow("HEX asked, SIM coding 80") << QByteArray("8000C500730061") << hex << 0 << QStringLiteral("Åsa");
    QTest::newRow("HEX asked, GSM codes") << QByteArray("4A7C7267001B65") << hex << 0 << QStringLiteral("Jörg@€");
    QTest::newRow("HEX asked, UCS2 of Latin answered") << QByteArray("004A00F600720067") << hex << 0 << QStringLiteral("Jörg");
    QTest::newRow("GSM asked, UCS2 of Latin answered") << QByteArray("004A00F600720067") << gsm << 0 << QStringLiteral("Jörg");
    QTest::newRow("IRA asked, UCS2 of Cyrillic answered") << QByteArray("041C0430043C0430") << ira << 0 << QStringLiteral("Мама");
    QTest::newRow("IRA asked, a name of four hex letters") << QByteArray("CAFE") << ira << 0 << QStringLiteral("CAFE");
    QTest::newRow("IRA asked, a name of digits") << QByteArray("12345678") << ira << 0 << QStringLiteral("12345678");
    QTest::newRow("IRA asked, a single Cyrillic unit stays text") << QByteArray("0410") << ira << 0 << QStringLiteral("0410");
    QTest::newRow("IRA asked, zeros stay text") << QByteArray("0000") << ira << 0 << QStringLiteral("0000");
    QTest::newRow("IRA asked, CJK in UCS2 with the quirk") << QByteArray("5F204E09") << ira << 1 << QStringLiteral("张三");
    QTest::newRow("IRA asked, CJK digits without the quirk") << QByteArray("5F204E09") << ira << 0 << QStringLiteral("5F204E09");
    QTest::newRow("IRA asked, hex bytes with the quirk") << QByteArray("546F6D") << ira << 2 << QStringLiteral("Tom");
    QTest::newRow("IRA asked, hex bytes without the quirk") << QByteArray("546F6D") << ira << 0 << QStringLiteral("546F6D");
    QTest::newRow("IRA asked, UTF-8 answered") << QByteArray("J\xC3\xB6rg") << ira << 0 << QStringLiteral("Jörg");
    QTest::newRow("8859-1 asked and answered") << QByteArray("J\xF6rg") << latin1 << 0 << QStringLiteral("Jörg");
    QTest::newRow("UCS2 asked, raw default-alphabet codes answered") << QByteArray("Bj\x7Crn \x02", 7) << ucs2 << 0
                                                                    << QStringLiteral("Björn $");
    QTest::newRow("GSM raw codes") << QByteArray("J\x7Crg") << gsm << 0 << QStringLiteral("Jörg");
    // Captured: a Chinese Nokia's answer in UCS2 mode, SIM coding 81 with half-page base 5B80
    // (developer.nokia.com forum thread 10202 "how to decode the phone": +CPBR: 2,...,"8104B72E2D2EB6").
    QTest::newRow("Nokia (Chinese) SIM coding 81") << QByteArray("8104B72E2D2EB6") << ucs2 << 0 << QStringLiteral(".-.家");
    QTest::newRow("empty") << QByteArray() << ucs2 << 0 << QString();
}

void TestNameDecoding::namesByWhatTheyAre()
{
    QFETCH(QByteArray, field);
    QFETCH(int, selected);
    QFETCH(int, hints);
    QTEST(NameDecoding::decode(field, PhoneCharset(selected), hintsOf(hints)), "text");
}

void TestNameDecoding::simCodings_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("text");
    QTest::newRow("80 pairs") << QByteArray("80041C0430") << true << QStringLiteral("Ма");
    QTest::newRow("80 odd half pair") << QByteArray("80041C04") << false << QString();
    QTest::newRow("80 padding then text") << QByteArray("800041FFFF0042") << false << QString();
    QTest::newRow("81 count beyond the bytes") << QByteArray("8109089CB0") << false << QString();
    QTest::newRow("81 padded") << QByteArray("8102089CB0FFFF") << true << QStringLiteral("Ма");
    QTest::newRow("81 default alphabet @ and ü") << QByteArray("810201007E") << true << QStringLiteral("@ü");
    QTest::newRow("82 16-bit base") << QByteArray("82020410A0A1") << true << QStringLiteral("аб");
    // Reconstructed from the manual: Multi-Tech GSM/GPRS AT commands S000293I, appendix E, example 3.
    QTest::newRow("82 Armenian, manual example") << QByteArray("820505302D82D32D31") << true << QStringLiteral("-Բփ-1");
    QTest::newRow("82 too short") << QByteArray("8201") << false << QString();
    QTest::newRow("other first byte") << QByteArray("414243") << false << QString();
}

void TestNameDecoding::simCodings()
{
    QFETCH(QByteArray, hex);
    QFETCH(bool, valid);
    const auto decoded = SimAlphaId::decode(QByteArray::fromHex(hex));
    QCOMPARE(decoded.has_value(), valid);
    if (valid) QTEST(*decoded, "text");
}

void TestNameDecoding::identityAnswers_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("identity");
    // Each reply is the lines between the command and its final result, split at line ends.
    QTest::newRow("bare") << QByteArray("Sony Ericsson") << QByteArray("Sony Ericsson");
    QTest::newRow("prefix and quotes") << QByteArray("+CGMI: \"Motorola CE, Copyright 2000\"")
                                       << QByteArray("Motorola CE, Copyright 2000");
    QTest::newRow("prefix without quotes") << QByteArray("+CGMI: huawei") << QByteArray("huawei");
    QTest::newRow("leading blank and padding") << QByteArray("\n MULTIBAND  900E  1800 ") << QByteArray("MULTIBAND  900E  1800");
    QTest::newRow("unsolicited first") << QByteArray("RING\nNokia") << QByteArray("Nokia");
    QTest::newRow("nothing") << QByteArray() << QByteArray();
}

void TestNameDecoding::identityAnswers()
{
    QFETCH(QByteArray, reply);
    QTEST(AtReply::parseIdentity(reply.split('\n'), "+CGMI"), "identity");
}

void TestNameDecoding::quirkTable_data()
{
    QTest::addColumn<QByteArray>("maker");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<bool>("ignoresCharset");
    QTest::addColumn<bool>("hexBytes");
    QTest::addColumn<bool>("selectEachRead");
    QTest::addColumn<int>("batch");
    QTest::newRow("Motorola any model") << QByteArray("Motorola CE, Copyright 2000") << QByteArray("GSM900/1800 C350")
                                        << false << true << false << 0;
    QTest::newRow("Huawei E173") << QByteArray("huawei") << QByteArray("E173") << true << false << false << 0;
    QTest::newRow("Huawei not E-series") << QByteArray("huawei") << QByteArray("MS2131") << false << false << false << 0;
    QTest::newRow("ZTE MF") << QByteArray("ZTE CORPORATION") << QByteArray("MF190") << true << false << false << 0;
    QTest::newRow("Siemens") << QByteArray("SIEMENS") << QByteArray("S45") << false << false << true << 0;
    QTest::newRow("Sony Ericsson T") << QByteArray("Sony Ericsson") << QByteArray("T610") << false << false << false << 20;
    QTest::newRow("Sony Ericsson K") << QByteArray("Sony Ericsson") << QByteArray("K750i") << false << false << false << 0;
    QTest::newRow("unknown") << QByteArray("Korvane") << QByteArray("Telvora Phone") << false << false << false << 0;
    QTest::newRow("refused") << QByteArray() << QByteArray() << false << false << false << 0;
}

void TestNameDecoding::quirkTable()
{
    QFETCH(QByteArray, maker);
    QFETCH(QByteArray, model);
    const PhoneQuirks quirks = PhoneQuirkTable::lookup(maker, model);
    QTEST(quirks.ignoresCharset, "ignoresCharset");
    QTEST(quirks.hexWithoutSetting, "hexBytes");
    QTEST(quirks.selectBeforeEachRead, "selectEachRead");
    QTEST(quirks.readBatch, "batch");
}

void TestNameDecoding::nameIsCutAfterDecodingInCharacters()
{
    // "(1-250),40,18": eighteen characters, although the field carries 4 hex digits for each.
    const QByteArray field = QByteArray("0041").repeated(20);
    const auto record = PhonebookRecords::fromRaw(AtReply::RawRecord{1, "1", 129, field}, PhoneCharset::Gsm,
                                                  NameDecoding::Hints{}, 18, 40);
    QVERIFY(record);
    QCOMPARE(record->name, QString(18, QChar(u'A')));
}

void TestNameDecoding::damagedFields_data()
{
    // A field as a phone answering in hex sends it: its shape, and whether it came damaged over the line.
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("answeredIn");
    QTest::addColumn<int>("hints");
    QTest::addColumn<int>("shape");
    QTest::addColumn<bool>("damaged");
    const int ucs2 = int(PhoneCharset::Ucs2), hex = int(PhoneCharset::Hex);
    const int empty = int(NameDecoding::Shape::Empty), whole = int(NameDecoding::Shape::Hex),
              near = int(NameDecoding::Shape::NearHex), text = int(NameDecoding::Shape::Text);
    QTest::newRow("UCS2 name") << QByteArray("004E0061006D0065") << ucs2 << 0 << whole << false;
    QTest::newRow("UCS2, a digit replaced") << QByteArray("004E0G61006D0065") << ucs2 << 0 << near << true;
    QTest::newRow("UCS2, a digit dropped") << QByteArray("004E061006D0065") << ucs2 << 0 << near << true;
    QTest::newRow("UCS2, a control unit") << QByteArray("0001004E") << ucs2 << 0 << whole << true;
    QTest::newRow("UCS2, private use") << QByteArray("E000E001") << ucs2 << 0 << whole << true;
    QTest::newRow("UCS2, lone surrogates") << QByteArray("D800DC00") << ucs2 << 0 << whole << true;
    QTest::newRow("UCS2, unassigned") << QByteArray("0378") << ucs2 << 0 << whole << true;
    QTest::newRow("UCS2 CJK") << QByteArray("674E5C0F9F8D") << ucs2 << 0 << whole << false;
    QTest::newRow("UCS2 CJK, a digit replaced") << QByteArray("674E5CZF9F8D") << ucs2 << 0 << near << true;
    QTest::newRow("UCS2 padded") << QByteArray("0041FFFF") << ucs2 << 0 << whole << false;
    QTest::newRow("SIM coding 80 padded") << QByteArray("8000C500730061FFFF") << ucs2 << 0 << near << false;
    QTest::newRow("SIM coding 81") << QByteArray("8104014AF67267") << ucs2 << 0 << near << false;
    QTest::newRow("8-bit hex bytes") << QByteArray("546F6D") << ucs2 << 0 << near << false;
    QTest::newRow("8-bit hex with NUL, as UCS2 unassigned")
        << QByteArray("56697263686F77204B6C696E696B756D2053742E20333100") << ucs2 << 2 << whole << false;
    QTest::newRow("text in UCS2 is no hex") << QByteArray("My Tempo") << ucs2 << 0 << text << true;
    QTest::newRow("UCS2 known whatever the set") << QByteArray("004AZ0F6") << hex << 1 << near << true;
    QTest::newRow("HEX codes") << QByteArray("4A7C7267001B65") << hex << 0 << near << false;
    QTest::newRow("HEX, a digit dropped") << QByteArray("4A7C726001B65") << hex << 0 << near << true;
    QTest::newRow("HEX, a digit replaced") << QByteArray("4A7C72Q7001B65") << hex << 0 << near << true;
    QTest::newRow("HEX phone answering plain text") << QByteArray("Plain text") << hex << 0 << text << false;
    QTest::newRow("HEX phone answering a short word") << QByteArray("Abel") << hex << 0 << text << false;
    QTest::newRow("a name of hex letters and a blank") << QByteArray("Bad Face") << hex << 0 << text << false;
    QTest::newRow("empty") << QByteArray() << ucs2 << 0 << empty << false;
}

void TestNameDecoding::damagedFields()
{
    QFETCH(QByteArray, field);
    QFETCH(int, answeredIn);
    QFETCH(int, hints);
    QFETCH(int, shape);
    QCOMPARE(int(NameDecoding::shapeOf(field)), shape);
    QTEST(NameDecoding::isDamagedHex(field, PhoneCharset(answeredIn), hintsOf(hints)), "damaged");
}

QTEST_GUILESS_MAIN(TestNameDecoding)
#include "TestNameDecoding.moc"
