// Search text against names and numbers: case and accents do not count, letters with strokes and ligatures
// match their plain spelling, and nothing matches what is not there.
#include "model/TextMatch.h"

#include <QtTest>

class TestTextMatch : public QObject {
    Q_OBJECT
private slots:
    void matchesIgnoringCaseAndAccents_data()
    {
        QTest::addColumn<QString>("haystack");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("found");
        QTest::newRow("stroke") << QStringLiteral("Łukasz Nowak") << QStringLiteral("lukasz") << true;
        QTest::newRow("diaeresis") << QStringLiteral("Zoë Smith") << QStringLiteral("zoe") << true;
        QTest::newRow("accented needle") << QStringLiteral("Zoe Smith") << QStringLiteral("ZOË") << true;
        QTest::newRow("decomposed text") << QStringLiteral("Jose\u0301") << QStringLiteral("josé") << true;
        QTest::newRow("sharp s") << QStringLiteral("Straße") << QStringLiteral("strasse") << true;
        QTest::newRow("ligature") << QStringLiteral("Ærø") << QStringLiteral("aero") << true;
        QTest::newRow("middle of a number") << QStringLiteral("+49 170 1234") << QStringLiteral("170") << true;
        QTest::newRow("empty needle") << QStringLiteral("Anna") << QString() << true;
        QTest::newRow("absent") << QStringLiteral("Łukasz") << QStringLiteral("lucas") << false;
        QTest::newRow("accent is not a letter") << QStringLiteral("Zoë") << QStringLiteral("zoee") << false;
        QTest::newRow("empty haystack") << QString() << QStringLiteral("a") << false;
    }
    void matchesIgnoringCaseAndAccents()
    {
        QFETCH(QString, haystack);
        QFETCH(QString, needle);
        QFETCH(bool, found);
        QCOMPARE(TextMatch::Contains(haystack, needle), found);
    }
};

QTEST_APPLESS_MAIN(TestTextMatch)
#include "TestTextMatch.moc"
