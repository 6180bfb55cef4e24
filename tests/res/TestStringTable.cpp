#include "res/Cp1252.h"
#include "res/StringTable.h"

#include <QtTest>

class TestStringTable : public QObject {
    Q_OBJECT
private slots:
    void everyByteSurvivesAWidgetRoundTrip()
    {
        std::string all;
        for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
        std::string back;
        QVERIFY(Cp1252::fromQStringExact(Cp1252::toQString(all), back));
        QCOMPARE(back, all);
    }
    void highRangeUsesTheWindowsTable()
    {
        QCOMPARE(Cp1252::toQString("\x80"), QString(QChar(0x20AC)));
        QCOMPARE(Cp1252::toQString("\x9F"), QString(QChar(0x0178)));
        QCOMPARE(Cp1252::fromQString(QString(QChar(0x2026))), std::string("\x85"));
        std::string out;
        QVERIFY(!Cp1252::fromQStringExact(QString(QChar(0x0416)), out)); // Cyrillic letter: not in 1252
        QCOMPARE(out, std::string("?"));
    }
    void textsAreLoadedByNumber()
    {
        QCOMPARE(StringTable::LoadQString(57344), QStringLiteral("Telephone Directory"));
        QCOMPARE(StringTable::LoadQString(61260), QStringLiteral("Korvane\\Telvora PRO"));
        QCOMPARE(StringTable::Prompt(32771), QStringLiteral("Inserting a new PAB-folder at the current selection"));
        QCOMPARE(StringTable::Tooltip(32771), QStringLiteral("Inserting a new PAB-folder"));
        QVERIFY(StringTable::LoadString(32774).find("PAB´s") != std::string::npos);
        QVERIFY(StringTable::LoadQString(12345).isEmpty());
    }
    void everyReportedMessageHasItsRemedy()
    {
        for (int id : {41000, 41007, 41015, 41016, 41017, 41019, 41020, 41023, 41024, 41025})
            QVERIFY2(StringTable::Has(id + Ids::REMEDY_OFFSET), qPrintable(QString::number(id)));
        for (int id : {41018, 41021, 41022})
            QVERIFY(!StringTable::Has(id + Ids::REMEDY_OFFSET));
    }
};

QTEST_APPLESS_MAIN(TestStringTable)
#include "TestStringTable.moc"
