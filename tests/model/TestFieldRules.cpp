#include "model/FieldRules.h"
#include "model/TelephoneName.h"

#include <QtTest>

#include <climits>

namespace {
QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
std::string Str(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
}

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    // How the telephone holds a name (L = 16, UCS2 names keep (16 - 1) / 2 = 7 characters): the encoding, the
    // name's length in it, and what is left of the name with and without UCS2.
    void telephoneName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("gsm");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("withUcs2");
        QTest::addColumn<QString>("withoutUcs2");
        auto row = [](const char* what, const char* name, bool gsm, int length, const char* withUcs2, const char* withoutUcs2) {
            QTest::newRow(what) << QString::fromUtf8(name) << gsm << length << QString::fromUtf8(withUcs2)
                                << QString::fromUtf8(withoutUcs2);
        };
        row("German", "Jörg Bäcker", true, 11, "Jörg Bäcker", "Jörg Bäcker");
        row("capital O umlaut kept", "Özil", true, 4, "Özil", "Özil");
        row("GSM extension counts two", "€ \\ ^ ~ |", true, 14, "€ \\ ^ ~ |", "€ \\ ^ ~ |");
        row("extension never halved", "Anna ~~~~~~", true, 17, "Anna ~~~~~", "Anna ~~~~~");
        row("dollar and at sign", "$5 @home", true, 8, "$5 @home", "$5 @home");
        row("forbidden and grave accent", "Jo[1]`{µ}²", false, 10, "Jo1", "Jo1");
        row("Polish", "Łukasz Żak", false, 10, "Łukasz ", "ukasz ak");
        row("Cyrillic", "Иван Петров", false, 11, "Иван Пе", " ");
        row("Greek capitals of the GSM alphabet", "ΔΦΓΛΩ", true, 5, "ΔΦΓΛΩ", "ΔΦΓΛΩ");
        row("Greek small letters", "Γιώργος", false, 7, "Γιώργος", "Γ");
        row("Czech", "Žluťoučký kůň", false, 13, "Žluťouč", "luouk k");
        row("Chinese", "李小龍", false, 3, "李小龍", "");
        row("Arabic", "محمد علي", false, 8, "محمد عل", " ");
        row("Turkish", "Şükrü Öztürk", false, 12, "Şükrü Ö", "ükrü Öztürk");
        row("Hebrew", "דוד לוי", false, 7, "דוד לוי", " ");
        row("Romanian", "Ștefan Iașă", false, 11, "Ștefan ", "tefan Ia");
        row("Thai", "สมชาย", false, 5, "สมชาย", "");
        row("A acute and I grave take their firmware pairs", "Ábel Ìda", false, 8, "Ábel Ìd", "Åbel ¡da");
        row("combining acute is composed", "Rene\u0301", false, 5, "René", "René");
        row("emoji beyond UCS2 and controls go", "Ann\U0001F600a\x01", false, 7, "Anna", "Anna");
    }
    void telephoneName()
    {
        QFETCH(QString, name);
        QFETCH(bool, gsm);
        QFETCH(int, length);
        QFETCH(QString, withUcs2);
        QFETCH(QString, withoutUcs2);
        const std::string text = name.toStdString();
        QCOMPARE(TelephoneName::EncodingOf(text) == TelephoneName::Encoding::Gsm, gsm);
        QCOMPARE(TelephoneName::LengthOf(text), length);
        QCOMPARE(QString::fromStdString(TelephoneName::ForTelephone(text, {16, 7})), withUcs2);
        QCOMPARE(QString::fromStdString(TelephoneName::ForTelephone(text, {16, 0})), withoutUcs2);
        // Nothing is cut or replaced while the telephone's limits are unknown; what no telephone holds still goes.
        QCOMPARE(QString::fromStdString(TelephoneName::ForTelephone(text, {0, 0})),
                 QString::fromStdString(TelephoneName::Holdable(text, {0, 0})));
        // What the preview shows is what the telephone holds: correcting it again changes nothing, and it fits.
        for (const TelephoneNameLimits limits : {TelephoneNameLimits{16, 7}, TelephoneNameLimits{16, 0}}) {
            const std::string held = TelephoneName::ForTelephone(text, limits);
            QCOMPARE(TelephoneName::ForTelephone(held, limits), held);
            QVERIFY(TelephoneName::LengthOf(held) <= TelephoneName::LimitOf(held, limits));
            const std::string vip = TelephoneName::AsSent(held, true, limits);
            QVERIFY(TelephoneName::LengthOf(vip) <= TelephoneName::LimitOf(vip, limits));
            QVERIFY(vip.ends_with('!'));
        }
    }

    void charactersAreCountedNotBytes()
    {
        QCOMPARE(CutText("Łódź", 2), std::string("Łó"));
        QCOMPARE(CutText("李小龍", 1), std::string("李"));
        QCOMPARE(CharacterCount("Żak 😀"), 5);
        QCOMPARE(NormaliseStatus("é!", true), std::string("!"));
        std::string out;
        QVERIFY(StripForbidden("Иван", out));
        QCOMPARE(out, std::string("Иван"));
    }

    void stripForbidden_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stripped");
        QTest::addColumn<bool>("untouched");
        QTest::newRow("brackets round a digit") << QByteArray("Jo[1]") << QByteArray("Jo1") << false;
        QTest::newRow("plain letters") << QByteArray("Miller") << QByteArray("Miller") << true;
        QTest::newRow("empty") << QByteArray("") << QByteArray("") << true;
        QTest::newRow("all seven and the grave accent") << QByteArray("a{}[]²³µ`z") << QByteArray("az") << false;
        QTest::newRow("umlauts stay") << QByteArray("ÄÖ") << QByteArray("ÄÖ") << true;
    }
    void stripForbidden()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, stripped);
        QFETCH(bool, untouched);
        std::string out;
        QCOMPARE(StripForbidden(Str(name), out), untouched);
        QCOMPARE(Bytes(out), stripped);
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<bool>("spaces");
        QTest::addColumn<bool>("typable");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("parentheses, no spaces") << QByteArray("(089) 12") << false << false << QByteArray("08912");
        QTest::newRow("parentheses, spaces") << QByteArray("(089) 12") << true << false << QByteArray("089 12");
        QTest::newRow("plus between digits") << QByteArray("12+34") << false << true << QByteArray("12+34");
        QTest::newRow("only star hash query") << QByteArray("*#?") << false << true << QByteArray("*#?");
        QTest::newRow("separators typed not stored") << QByteArray("089-12/3") << false << true << QByteArray("089123");
        QTest::newRow("space refused for telephone") << QByteArray("089 12") << false << false << QByteArray("08912");
        QTest::newRow("letter") << QByteArray("12a") << true << false << QByteArray("12");
        QTest::newRow("empty") << QByteArray("") << false << true << QByteArray("");
    }
    void numbers()
    {
        QFETCH(QByteArray, number);
        QFETCH(bool, spaces);
        QFETCH(bool, typable);
        QFETCH(QByteArray, stored);
        QCOMPARE(IsNumberText(Str(number), spaces), typable);
        std::string out = "stale";
        FilterNumber(Str(number), spaces, out);
        QCOMPARE(Bytes(out), stored);
    }

    void leadingDecimalNumber_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QByteArray("12") << 12;
        QTest::newRow("blanks and sign") << QByteArray("  -7") << -7;
        QTest::newRow("plus sign") << QByteArray("+5x") << 5;
        QTest::newRow("stops at letter") << QByteArray("3a4") << 3;
        QTest::newRow("no digits") << QByteArray("abc") << 0;
        QTest::newRow("empty") << QByteArray("") << 0;
        QTest::newRow("sign alone") << QByteArray("-") << 0;
        QTest::newRow("blank between sign and digits") << QByteArray("- 5") << 0;
        QTest::newRow("largest int") << QByteArray("2147483647") << INT_MAX;
        QTest::newRow("clamped above") << QByteArray("99999999999999999999999999") << INT_MAX;
        QTest::newRow("smallest int") << QByteArray("-2147483648") << INT_MIN;
        QTest::newRow("clamped below") << QByteArray("-99999999999999999999999999") << INT_MIN;
    }
    void leadingDecimalNumber()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, value);
        QCOMPARE(LeadingDecimalNumber(Str(text)), value);
    }

    void statusNormalisation_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("add empty") << QByteArray("") << false << QByteArray(" ");
        QTest::newRow("add vip") << QByteArray("!") << false << QByteArray("!");
        QTest::newRow("add blank then vip") << QByteArray(" !") << false << QByteArray(" ");
        QTest::newRow("add letter") << QByteArray("x") << false << QByteArray(" ");
        QTest::newRow("add long vip") << QByteArray("!!x") << false << QByteArray("!");
        QTest::newRow("edit blank then vip") << QByteArray(" !") << true << QByteArray("!");
        QTest::newRow("edit letter then vip") << QByteArray("x!") << true << QByteArray("!");
        QTest::newRow("edit letter") << QByteArray("xy") << true << QByteArray(" ");
        QTest::newRow("edit empty") << QByteArray("") << true << QByteArray(" ");
        QTest::newRow("edit blank") << QByteArray(" ") << true << QByteArray(" ");
    }
    void statusNormalisation()
    {
        QFETCH(QByteArray, typed);
        QFETCH(bool, editing);
        QFETCH(QByteArray, status);
        QCOMPARE(Bytes(NormaliseStatus(Str(typed), editing)), status);
    }
};

QTEST_APPLESS_MAIN(TestFieldRules)
#include "TestFieldRules.moc"
