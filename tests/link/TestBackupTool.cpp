// telephone-link backup and restore, run as a user runs them, against the emulated phone and a scripted one
// on real pseudo-terminals. The tool's data folder points into a temporary folder.
#include "ScriptedPhone.h"
#include "ToolRun.h"
#include "link/DirectoryBackup.h"
#include "link/PhoneEmulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kWaitMs = 120000;

class BackupToolTest {
public:
    // A phone with the sample entries plus a wild-value number and a name outside code page 1252.
    explicit BackupToolTest(int failWrite = 0, bool ucs2 = true, int dropWriteAnswer = 0)
    {
        EmulatorState state = EmulatorState::seeded();
        state.storage("SM")->entries.insert(20, EmulatorEntry{QStringLiteral("Мама"), QStringLiteral("0301?34")});
        QString error;
        PhoneEmulator::writeState(m_dir.filePath("phone.json"), state, &error);
        PhoneEmulatorOptions options;
        options.stateFile = m_dir.filePath("phone.json");
        options.logFile = m_dir.filePath("commands.log");
        options.failWrite = failWrite;
        options.identity.ucs2 = ucs2;
        options.dropWriteAnswer = dropWriteAnswer;
        if (!m_phone.start(options, &m_device, &error)) qWarning("emulator: %s", qPrintable(error));
    }
    QString device() const { return m_device; }
    QString file(const char* name) const { return m_dir.filePath(name); }
    QString backupFolder() const { return m_dir.filePath("data/Korvane/Telvora PRO/phone-backups"); }
    QMap<int, EmulatorEntry> entries(const char* storage) const { return m_phone.state().storage(storage)->entries; }
    bool anyRecordWritten() const
    {
        QFile log(m_dir.filePath("commands.log"));
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("AT+CPBW=");
    }
    ToolRun tool(const QStringList& args, const QString& device = {}) const
    {
        return runTool(QCoreApplication::applicationDirPath() + "/telephone-link",
                       QStringList{"--device", device.isEmpty() ? m_device : device} + args, m_dir.path(), kWaitMs);
    }

private:
    QTemporaryDir m_dir;
    PhoneEmulator m_phone;
    QString m_device;
};

QString describe(const QMap<int, EmulatorEntry>& entries)
{
    QStringList lines;
    for (auto it = entries.begin(); it != entries.end(); ++it) lines.append(QStringLiteral("%1|%2|%3").arg(QString::number(it.key()), it->name, it->number));
    return lines.join('\n');
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DirectoryBackup backupOf(QList<PhoneRecord> records, int nameLength = 16, int numberLength = 20)
{
    DirectoryBackup b;
    b.directoryCode = "SM";
    b.taken = QDateTime::currentDateTimeUtc();
    b.nameLength = nameLength;
    b.numberLength = numberLength;
    b.records = std::move(records);
    return b;
}
}

class TestBackupTool : public QObject {
    Q_OBJECT
private slots:
    void restoreBringsAChangedPhoneBackToTheBackup();
    void restoreLeavesANameThatCouldNotBeReadAsThePhoneHoldsIt();
    void damagedForeignOrMismatchedFilesWriteNothing_data();
    void damagedForeignOrMismatchedFilesWriteNothing();
    void backupThatDoesNotFitThePhoneWritesNothing();
    void refusedRecordStopsTheRestoreWithItsIndex();
    void recordsThatDifferAfterwardsAreListed();
    void backupWithoutAPhoneOrFolderFails();
    void helpNamesBackupAndRestore();
};

void TestBackupTool::restoreBringsAChangedPhoneBackToTheBackup()
{
    BackupToolTest phone;
    const QMap<int, EmulatorEntry> before = phone.entries("SM");
    const ToolRun backup = phone.tool({"backup", "SM", phone.file("sm.json")});
    QCOMPARE(backup.exitCode, 0);
    QVERIFY2(backup.out.contains("Backed up 9 records of SM"), qPrintable(backup.out));
    QVERIFY(readFile(phone.file("sm.json")).contains("\"name\": \"Мама\""));

    QCOMPARE(phone.tool({"write", "SM", "3", "Changed", "999"}).exitCode, 0);
    QCOMPARE(phone.tool({"write", "SM", "40", "Added", "+4930?"}).exitCode, 0);
    QCOMPARE(phone.tool({"write", "SM", "1", "", ""}).exitCode, 0);
    QCOMPARE(phone.tool({"write", "SM", "20", "", ""}).exitCode, 0);
    const ToolRun restore = phone.tool({"restore", "sm", phone.file("sm.json")});
    QVERIFY2(restore.exitCode == 0, qPrintable(restore.err));
    QVERIFY2(restore.out.contains("Restored 9 records of SM") && restore.out.contains("erased 1 others"), qPrintable(restore.out));
    QCOMPARE(describe(phone.entries("SM")), describe(before));

    // The directory as it was before the restore is kept, and can itself be restored.
    const QStringList kept = QDir(phone.backupFolder()).entryList({"SM-*.json"}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QString error;
    const std::optional<DirectoryBackup> previous = DirectoryBackup::load(phone.backupFolder() + '/' + kept[0], &error);
    QVERIFY2(previous, qPrintable(error));
    QCOMPARE(previous->records.last().name, QStringLiteral("Added"));
    QVERIFY(restore.out.contains(kept[0]));
}

void TestBackupTool::restoreLeavesANameThatCouldNotBeReadAsThePhoneHoldsIt()
{
    BackupToolTest phone;
    // Record 3 ("Büro") came damaged over the line when the backup was taken: what arrived is no name to write.
    PhoneRecord damaged{3, QStringLiteral("0042G0FC00720"), "0301234567"};
    damaged.nameUnreadable = true;
    QString error;
    QVERIFY(backupOf({damaged, {40, QStringLiteral("New"), "1"}}).save(phone.file("damaged.json"), &error));
    const ToolRun restore = phone.tool({"restore", "SM", phone.file("damaged.json")});
    QVERIFY2(restore.exitCode == 0, qPrintable(restore.err));
    QVERIFY2(restore.out.contains("Restored 1 records") && restore.out.contains("1 records whose names could not be read"),
             qPrintable(restore.out));
    const QMap<int, EmulatorEntry> after = phone.entries("SM");
    QCOMPARE(QList<int>(after.keyBegin(), after.keyEnd()), (QList<int>{3, 40}));
    QCOMPARE(after.value(3).name, QStringLiteral("Büro"));
}

void TestBackupTool::damagedForeignOrMismatchedFilesWriteNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray sound = backupOf({{1, "Anna", "1"}}).toJson();
    DirectoryBackup ofMe = backupOf({{1, "Mama", "1"}});
    ofMe.directoryCode = "ME";
    DirectoryBackup ofLastDialled = ofMe;
    ofLastDialled.directoryCode = "LD";
    QTest::newRow("changed by hand") << "SM" << QByteArray(sound).replace("Anna", "Hugo") << "checksum";
    QTest::newRow("another directory's backup") << "SM" << ofMe.toJson() << "a backup of the directory ME, not of SM";
    QTest::newRow("a read-only directory") << "LD" << ofLastDialled.toJson() << "This directory can only be read.";
}

void TestBackupTool::damagedForeignOrMismatchedFilesWriteNothing()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    BackupToolTest phone;
    const QMap<int, EmulatorEntry> before = phone.entries("SM");
    QVERIFY(writeFile(phone.file("bad.json"), content));
    const ToolRun restore = phone.tool({"restore", code, phone.file("bad.json")});
    QCOMPARE(restore.exitCode, 1);
    QVERIFY2(restore.err.contains(reason), qPrintable(restore.err));
    QVERIFY(!phone.anyRecordWritten());
    QCOMPARE(describe(phone.entries("SM")), describe(before));
}

void TestBackupTool::backupThatDoesNotFitThePhoneWritesNothing()
{
    // A phone without UCS2: every record it could not take is named, and not one is written.
    BackupToolTest phone(0, false);
    const QMap<int, EmulatorEntry> before = phone.entries("SM");
    const QList<PhoneRecord> records = {{1, "Near", "1"},
                                        {2, "A name of twenty ch", "2"},
                                        {3, QStringLiteral("Иван Петров"), "3"},
                                        {4, QStringLiteral("VIP of 15 chars!"), "4"}, // the "!" takes its position
                                        {251, "Far", "+123456789012345678901"}};
    QVERIFY(writeFile(phone.file("misfit.json"), backupOf(records, 20, 30).toJson()));
    const ToolRun restore = phone.tool({"restore", "SM", phone.file("misfit.json")});
    QCOMPARE(restore.exitCode, 1);
    const QStringList expected = {
        "does not fit the telephone's directory SM; nothing was written. 3 records",
        "record 2 \"A name of twenty ch\": its name is longer than 16 positions (it takes 19).",
        "record 3 \"Иван Петров\": its name holds characters outside the GSM alphabet",
        "record 251 \"Far\": it lies beyond the directory's 250 places; its number is longer than 20 digits (it has 21).",
    };
    for (const QString& text : expected) QVERIFY2(restore.err.contains(text), qPrintable(restore.err));
    QVERIFY2(!restore.err.contains("record 1 ") && !restore.err.contains("record 4 "), qPrintable(restore.err));
    QVERIFY(!phone.anyRecordWritten());
    QCOMPARE(describe(phone.entries("SM")), describe(before));
}

void TestBackupTool::refusedRecordStopsTheRestoreWithItsIndex()
{
    // The phone refuses the second write: the first, already written over record 1, is put back.
    BackupToolTest phone(2);
    const QMap<int, EmulatorEntry> before = phone.entries("SM");
    QVERIFY(writeFile(phone.file("three.json"), backupOf({{1, "One", "1"}, {2, "Two", "2"}, {3, "Three", "3"}}).toJson()));
    const ToolRun restore = phone.tool({"restore", "SM", phone.file("three.json")});
    QCOMPARE(restore.exitCode, 1);
    QVERIFY2(restore.err.contains("did not take record 2 \"Two\" while writing (result 1)")
                 && restore.err.contains("put back as it was"), qPrintable(restore.err));
    QCOMPARE(describe(phone.entries("SM")), describe(before));

    // The phone goes off after storing the second write, before its answer: nothing can be put back, and the
    // report says where the directory as it was is kept.
    BackupToolTest gone(0, true, 2);
    QVERIFY(writeFile(gone.file("three.json"), backupOf({{1, "One", "1"}, {2, "Two", "2"}, {3, "Three", "3"}}).toJson()));
    const ToolRun cut = gone.tool({"restore", "SM", gone.file("three.json")});
    QCOMPARE(cut.exitCode, 1);
    const QStringList kept = QDir(gone.backupFolder()).entryList({"SM-*.json"}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY2(cut.err.contains("did not take record 2 \"Two\" while writing (result -2: sent, but its answer never came)")
                 && cut.err.contains("only partly restored") && cut.err.contains(kept[0]), qPrintable(cut.err));
    QCOMPARE(gone.entries("SM").value(2).name, QStringLiteral("Two"));
}

void TestBackupTool::recordsThatDifferAfterwardsAreListed()
{
    // A phone that takes every write and keeps showing what it had.
    const QMap<QByteArray, QByteArray> script = {
        {"AT", "\r\nOK\r\n"},
        {"AT+CMEE=1", "\r\nOK\r\n"},
        {"AT+CSCS=?", "\r\n+CSCS: (\"IRA\")\r\n\r\nOK\r\n"},
        {"AT+CSCS=\"IRA\"", "\r\nOK\r\n"},
        {"AT+CPBS=?", "\r\n+CPBS: (\"SM\")\r\n\r\nOK\r\n"},
        {"AT+CPBS=\"SM\"", "\r\nOK\r\n"},
        {"AT+CPBR=?", "\r\n+CPBR: (1-10),20,16\r\n\r\nOK\r\n"},
        {"AT+CPBS?", "\r\n+CPBS: \"SM\",1,10\r\n\r\nOK\r\n"},
        {"AT+CPBR=1,10", "\r\n+CPBR: 1,\"1\",129,\"Stuck\"\r\n\r\nOK\r\n"},
        {"AT+CPBW=1,\"1\",129,\"Wanted\"", "\r\nOK\r\n"},
    };
    ScriptedPhone scripted(script, false);
    BackupToolTest phone;
    QVERIFY(writeFile(phone.file("one.json"), backupOf({{1, "Wanted", "1"}}).toJson()));
    const ToolRun restore = phone.tool({"restore", "SM", phone.file("one.json")}, scripted.path());
    QCOMPARE(restore.exitCode, 1);
    QVERIFY2(restore.err.contains("differs from the backup in 1 records")
                 && restore.err.contains("Record 1 is \"Stuck\" 1 on the telephone but \"Wanted\" 1 in the backup."),
             qPrintable(restore.err));
    QVERIFY(scripted.commands().contains("AT+CPBW=1,\"1\",129,\"Wanted\""));
}

void TestBackupTool::backupWithoutAPhoneOrFolderFails()
{
    BackupToolTest phone;
    const ToolRun missing = phone.tool({"backup", "SM", phone.file("x.json")}, phone.file("no-such-device"));
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains("No data."));
    QVERIFY(!QFile::exists(phone.file("x.json")));
    const ToolRun unwritable = phone.tool({"backup", "SM", phone.file("no-folder/x.json")});
    QCOMPARE(unwritable.exitCode, 1);
    QVERIFY2(unwritable.err.contains("Cannot write the backup"), qPrintable(unwritable.err));
}

void TestBackupTool::helpNamesBackupAndRestore()
{
    BackupToolTest phone;
    const ToolRun help = phone.tool({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("backup CODE FILE") && help.out.contains("restore CODE FILE"));
    QCOMPARE(help.out.count("--device"), 1);
    QCOMPARE(phone.tool({"restore", "SM"}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestBackupTool)
#include "TestBackupTool.moc"
