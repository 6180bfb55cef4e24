#include "model/FieldRules.h"

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
    void toGsm_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("gsm");
        QTest::addColumn<QByteArray>("nameAfterwards");
        QTest::newRow("empty name becomes one blank") << QByteArray("") << QByteArray(" ") << QByteArray("");
        QTest::newRow("capital O umlaut sent as small") << QByteArray("\xD6l") << QByteArray("\x7Cl") << QByteArray("\xF6l");
        QTest::newRow("A acute is a pair") << QByteArray("\xC1") << QByteArray("\x0E") << QByteArray("\xC1");
        QTest::newRow("A ring is not") << QByteArray("\xC5") << QByteArray("\xC5") << QByteArray("\xC5");
        QTest::newRow("I grave is a pair") << QByteArray("\xCC") << QByteArray("\x40") << QByteArray("\xCC");
        QTest::newRow("inverted exclamation is not") << QByteArray("\xA1") << QByteArray("\xA1") << QByteArray("\xA1");
        QTest::newRow("at sign is the phone's at sign") << QByteArray("a@b") << QByteArray("a\x81" "b") << QByteArray("a@b");
        QTest::newRow("brace passes the conversion") << QByteArray("{") << QByteArray("{") << QByteArray("{");
        QTest::newRow("mixed German name") << QByteArray("M\xFCller_\xDF") << QByteArray("M\x7Eller\x11\x1E")
                                           << QByteArray("M\xFCller_\xDF");
    }
    void toGsm()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, gsm);
        QFETCH(QByteArray, nameAfterwards);
        std::string text = Str(name);
        std::string out = "stale";
        ToGsm(text, out);
        QCOMPARE(Bytes(out), gsm);
        QCOMPARE(Bytes(text), nameAfterwards);
    }

    void fromGsm_data()
    {
        QTest::addColumn<QByteArray>("gsm");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
        QTest::newRow("0x5C is the capital O umlaut") << QByteArray("\x5C") << QByteArray("\xD6");
        QTest::newRow("0x0E back to A acute") << QByteArray("\x0E") << QByteArray("\xC1");
        QTest::newRow("0x40 is I grave") << QByteArray("\x40") << QByteArray("\xCC");
        QTest::newRow("the phone's at sign is the at sign") << QByteArray("a\x81" "b") << QByteArray("a@b");
        QTest::newRow("letters and digits pass") << QByteArray("Ab 09") << QByteArray("Ab 09");
    }
    void fromGsm()
    {
        QFETCH(QByteArray, gsm);
        QFETCH(QByteArray, name);
        std::string out = "stale";
        FromGsm(Str(gsm), out);
        QCOMPARE(Bytes(out), name);
    }

    void everyPairButTheCapitalOUmlautSurvivesARoundTrip()
    {
        QCOMPARE(static_cast<int>(sizeof g_achAnsiChars), 26);
        QCOMPARE(static_cast<int>(sizeof g_achGsmChars), 26);
        for (int i = 0; i < kGsmPairCount; ++i) {
            std::string text(1, g_achAnsiChars[i]);
            std::string gsm, back;
            ToGsm(text, gsm);
            FromGsm(gsm, back);
            const std::string expected = g_achAnsiChars[i] == '\xD6' ? "\xF6" : std::string(1, g_achAnsiChars[i]);
            QCOMPARE(Bytes(back), Bytes(expected));
        }
    }

    void stripForbidden_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stripped");
        QTest::addColumn<bool>("untouched");
        QTest::newRow("brackets round a digit") << QByteArray("Jo[1]") << QByteArray("Jo1") << false;
        QTest::newRow("plain letters") << QByteArray("Miller") << QByteArray("Miller") << true;
        QTest::newRow("empty") << QByteArray("") << QByteArray("") << true;
        QTest::newRow("all seven") << QByteArray("a{}[]\xB2\xB3\xB5z") << QByteArray("az") << false;
        QTest::newRow("umlauts stay") << QByteArray("\xC4\xD6") << QByteArray("\xC4\xD6") << true;
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
