// The form's plain logic: its settings and the order of the lists.
#include "model/EntryCompare.h"
#include "TestEntries.h"
#include "model/FormSettings.h"
#include "model/ViewFlags.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestFormLogic : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    FormSettings ReadFrom(const QVariantMap& values, bool withGroup = true)
    {
        static int counter = 0;
        QSettings settings(m_dir.filePath(QStringLiteral("s%1.ini").arg(++counter)), QSettings::IniFormat);
        if (withGroup) {
            settings.beginGroup(QStringLiteral("CfgPropPage2"));
            settings.setValue(QStringLiteral("Placeholder"), 0); // the group exists even when no value does
            for (auto it = values.begin(); it != values.end(); ++it) settings.setValue(it.key(), it.value());
            settings.endGroup();
        }
        settings.sync();
        return FormSettings::Read(settings);
    }

private slots:
    void settings_data()
    {
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<bool>("withGroup");
        QTest::addColumn<bool>("showCorrection");
        QTest::addColumn<uint>("autoReadMask");

        QTest::newRow("no group: defaults, nothing read automatically") << QVariantMap{} << false << true << 0u;
        QTest::newRow("empty group") << QVariantMap{} << true << true << 0u;
        QTest::newRow("ShowCorrection 0 hides") << QVariantMap{{"ShowCorrection", 0}} << true << false << 0u;
        QTest::newRow("ShowCorrection 2 shows") << QVariantMap{{"ShowCorrection", 2}} << true << true << 0u;
        QTest::newRow("only the first byte counts: 256 is 0")
            << QVariantMap{{"ShowCorrection", 256}} << true << false << 0u;
        QTest::newRow("Autoload without Phonebooks reads the SIM")
            << QVariantMap{{"Autoload", 1}} << true << true << (0x01u | AUTOREAD_FIRST);
        QTest::newRow("Autoload with 0x06 reads ME and LD")
            << QVariantMap{{"Autoload", 1}, {"Phonebooks", 6}} << true << true << (0x06u | AUTOREAD_FIRST);
        QTest::newRow("Phonebooks beyond bit 6 are ignored")
            << QVariantMap{{"Autoload", 1}, {"Phonebooks", 0x80}} << true << true << 0u;
        QTest::newRow("Phonebooks counts by its first byte")
            << QVariantMap{{"Autoload", 1}, {"Phonebooks", 0x108}} << true << true << (0x08u | AUTOREAD_FIRST);
        QTest::newRow("Autoload 2 is off") << QVariantMap{{"Autoload", 2}, {"Phonebooks", 6}} << true << true << 0u;
        QTest::newRow("Autoload 257 is 1 by its first byte")
            << QVariantMap{{"Autoload", 257}, {"Phonebooks", 4}} << true << true << (0x04u | AUTOREAD_FIRST);
        QTest::newRow("Phonebooks read as a string of digits")
            << QVariantMap{{"Autoload", "1"}, {"Phonebooks", "2"}} << true << true << (0x02u | AUTOREAD_FIRST);
    }

    void settings()
    {
        QFETCH(QVariantMap, values);
        QFETCH(bool, withGroup);
        QFETCH(bool, showCorrection);
        QFETCH(uint, autoReadMask);
        const FormSettings read = ReadFrom(values, withGroup);
        QCOMPARE(read.m_bKeyOpened, withGroup);
        QCOMPARE(read.m_nShowCorrection != 0, showCorrection);
        QCOMPARE(read.AutoReadMask(), autoReadMask);
    }

    // What the preferences write is what the program reads at its next start, through a real settings file
    // reopened from disk: every start-up mask of the seven directories, and the keys that fall back to defaults.
    void settingsRoundTrip()
    {
        const QString file = m_dir.filePath(QStringLiteral("roundtrip.ini"));
        for (int mask = 0; mask <= 0x7F; ++mask) {
            FormSettings written;
            written.m_nShowCorrection = mask % 2;
            written.SetStartUpDirectories(mask);
            written.m_strDevice = mask % 3 ? QStringLiteral("/dev/ttyUSB%1").arg(mask) : QString();
            written.m_nBaud = mask % 5 ? 9600 * (mask % 5) : 0;
            written.m_strAddressBookFile = mask % 7 ? QStringLiteral("/home/ü/book %1.sqlite").arg(mask) : QString();
            {
                QSettings settings(file, QSettings::IniFormat);
                written.Write(settings);
            }
            QSettings settings(file, QSettings::IniFormat);
            const FormSettings read = FormSettings::Read(settings);
            QVERIFY(read.m_bKeyOpened);
            QCOMPARE(read.StartUpDirectories(), mask);
            QCOMPARE(read.AutoReadMask(), mask ? (static_cast<uint>(mask) | AUTOREAD_FIRST) : 0u);
            QCOMPARE(read.m_nShowCorrection != 0, mask % 2 == 1);
            QCOMPARE(read.m_strDevice, written.m_strDevice);
            QCOMPARE(read.m_nBaud, written.m_nBaud);
            QCOMPARE(read.m_strAddressBookFile, written.m_strAddressBookFile);
            // Defaults are keys left out, not empty values that would override a default.
            QCOMPARE(settings.contains(QStringLiteral("Link/Device")), !written.m_strDevice.isEmpty());
            QCOMPARE(settings.contains(QStringLiteral("AddressBook/File")), !written.m_strAddressBookFile.isEmpty());
        }
        // No directory at start-up keeps the last set of directories for when the user turns it on again.
        QSettings settings(file, QSettings::IniFormat);
        FormSettings values = FormSettings::Read(settings);
        values.SetStartUpDirectories(0x12);
        values.Write(settings);
        values.SetStartUpDirectories(0);
        values.Write(settings);
        QCOMPARE(settings.value(QStringLiteral("CfgPropPage2/Autoload")).toInt(), 0);
        QCOMPARE(settings.value(QStringLiteral("CfgPropPage2/Phonebooks")).toInt(), 0x12);
    }

    void sortOrder()
    {
        // Names compare without regard to case; "!" entries come first by status.
        QCOMPARE(CompareEntries(TestEntry("Miller", "", 1, " "), TestEntry("miller", "", 2, " "), 0), 0);
        QVERIFY(CompareEntries(TestEntry("Adam", "", 1, " "), TestEntry("bert", "", 2, " "), 0) < 0);
        QVERIFY(CompareEntries(TestEntry("a", "", 1, "!"), TestEntry("b", "", 2, " "), 3) < 0);
        QVERIFY(CompareEntries(TestEntry("a", "", 1, " "), TestEntry("b", "", 2, "!"), 3) > 0);
        // Indices compare as numbers below 1000, numbers as texts.
        QVERIFY(CompareEntries(TestEntry("", "", 9, " "), TestEntry("", "", 10, " "), 2) < 0);
        QVERIFY(CompareEntries(TestEntry("", "", 99, " "), TestEntry("", "", 100, " "), 2) < 0);
        QVERIFY(CompareEntries(TestEntry("", "+49", 1, " "), TestEntry("", "0049", 1, " "), 1) < 0);
        // Bytes above 127 compare unsigned: accented letters sort after plain ones.
        QVERIFY(CompareEntries(TestEntry("Ärger", "", 1, " "), TestEntry("Zorn", "", 1, " "), 0) > 0);
    }
};

QTEST_APPLESS_MAIN(TestFormLogic)
#include "TestFormLogic.moc"
