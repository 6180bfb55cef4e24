// The two programs beside the editor, run as a user would run them, and Debian's gammu as an independent
// AT client of the emulated phone.
#include "ToolRun.h"
#include "Utf8Locale.h"
#include "link/PhoneEmulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kWaitMs = 120000;

QString tool(const char* name)
{
    return QCoreApplication::applicationDirPath() + '/' + name;
}

// Settings and data folders of the tools point into dir, so that nothing of the user's is touched.
ToolRun run(const QString& program, const QStringList& args, const QTemporaryDir& dir, const QMap<QString, QString>& environment = {})
{
    return runTool(program, args, dir.path(), kWaitMs, environment);
}

// Works in another folder while it lives, and goes back to the one before.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : m_before(QDir::currentPath()) { m_entered = QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(m_before); }
    bool entered() const { return m_entered; }

private:
    QString m_before;
    bool m_entered = false;
};

// Starts telephone-emulator with the options, in the same locale whatever the tests run in; the device it
// serves, empty when it did not start.
QString startEmulator(QProcess& emulator, const QStringList& options)
{
    emulator.setProcessEnvironment(WithUtf8Locale());
    emulator.start(QCoreApplication::applicationDirPath() + "/telephone-emulator", options);
    if (!emulator.waitForReadyRead(kWaitMs)) return {};
    return QString::fromUtf8(emulator.readLine()).trimmed();
}
}

class TestLinkTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void emulatorProgramServesItsLink();
    void linkToolReadsAndWrites();
    void linkToolFailsWithTheReportText();
    void linkToolUsesTheBuiltInPhoneWithoutDevice();
    void optionsHelpAndVersion();
    void gammuListsAndDeletesEntries();
    void emulatorNamesTheMakerAndModelItIsGiven();
    void emulatorOptionsShapeTheNamesTheLinkReads();
    void relativeDevicePathsAndEmulatorFaults();

private:
    QTemporaryDir m_dir;
    PhoneEmulator m_phone;
    QString m_device;
};

void TestLinkTools::initTestCase()
{
    PhoneEmulatorOptions options;
    options.stateFile = m_dir.filePath("phone.json");
    QString error;
    QVERIFY2(m_phone.start(options, &m_device, &error), qPrintable(error));
}

void TestLinkTools::cleanupTestCase()
{
    m_phone.stop();
}

void TestLinkTools::emulatorProgramServesItsLink()
{
    QTemporaryDir dir;
    QProcess emulator;
    const QString device =
        startEmulator(emulator, {"--state", dir.filePath("s.json"), "--link", dir.filePath("phone"), "--without", "FD"});
    QVERIFY(device.startsWith("/dev/"));
    QCOMPARE(QFileInfo(dir.filePath("phone")).symLinkTarget(), device);
    const ToolRun read = run(tool("telephone-link"), {"--device", dir.filePath("phone"), "read", "SM"}, dir);
    QCOMPARE(read.exitCode, 0);
    QVERIFY(read.out.contains("1\tAnna Müller\t+4930123456"));
    const ToolRun missing = run(tool("telephone-link"), {"--device", device, "read", "FD"}, dir);
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains("Telephone book not available."));
    emulator.terminate();
    QVERIFY(emulator.waitForFinished(kWaitMs));
    QCOMPARE(emulator.exitCode(), 0);
    QVERIFY(QFile::exists(dir.filePath("s.json")));
}

void TestLinkTools::linkToolReadsAndWrites()
{
    const ToolRun write = run(tool("telephone-link"), {"--device", m_device, "write", "SM", "44", "Chloé @ Ωmega", "+3312"}, m_dir);
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(run(tool("telephone-link"), {"--device", m_device, "write", "SM", "45", "Иван €\\", "+7"}, m_dir).exitCode, 0);
    // The arguments and what is printed are UTF-8 whatever the locale says.
    const ToolRun read = run(tool("telephone-link"), {"--device", m_device, "read", "SM"}, m_dir, {{"LC_ALL", "C"}});
    QCOMPARE(read.exitCode, 0);
    QVERIFY(read.out.startsWith("Name length: 16\nNumber length: 20\nMaximum entries: 250\nName length in UCS2: 7\n"));
    QVERIFY(read.out.contains("44\tChloé @ Ωmega\t+3312\n"));
    QVERIFY(read.out.contains("45\tИван €\\\t+7\n"));
    // A number is never turned into other dial characters: "٣" is no "?".
    QCOMPARE(run(tool("telephone-link"), {"--device", m_device, "write", "SM", "46", "X", "12٣"}, m_dir).exitCode, 1);
    QVERIFY(!m_phone.state().storage("SM")->entries.contains(46));
    const ToolRun erase = run(tool("telephone-link"), {"--device", m_device, "write", "SM", "44", "", ""}, m_dir);
    QCOMPARE(erase.exitCode, 0);
    QVERIFY(!m_phone.state().storage("SM")->entries.contains(44));
}

void TestLinkTools::linkToolFailsWithTheReportText()
{
    const ToolRun readOnly = run(tool("telephone-link"), {"--device", m_device, "write", "LD", "1", "X", "1"}, m_dir);
    QCOMPARE(readOnly.exitCode, 1);
    QVERIFY(readOnly.err.contains("Communication error with the telephone."));
    const ToolRun noPhone = run(tool("telephone-link"), {"--device", m_dir.filePath("nothing"), "read", "SM"}, m_dir);
    QCOMPARE(noPhone.exitCode, 1);
    QVERIFY(noPhone.err.contains("No data."));
    QVERIFY(noPhone.err.contains("Check connection to telephone."));
    const ToolRun badCode = run(tool("telephone-link"), {"--device", m_device, "read", "XX"}, m_dir);
    QCOMPARE(badCode.exitCode, 2);
    const ToolRun badIndex = run(tool("telephone-link"), {"--device", m_device, "write", "SM", "abc", "X", "1"}, m_dir);
    QCOMPARE(badIndex.exitCode, 2);
}

void TestLinkTools::linkToolUsesTheBuiltInPhoneWithoutDevice()
{
    QTemporaryDir home;
    const ToolRun read = run(tool("telephone-link"), {"read", "OW"}, home);
    QCOMPARE(read.exitCode, 0);
    QVERIFY(read.out.contains("1\tMein Handy\t+491701234567"));
    QVERIFY(QFile::exists(home.filePath("data/Korvane/Telvora PRO/phone-state.json")));
}

void TestLinkTools::optionsHelpAndVersion()
{
    QTemporaryDir dir;
    for (const char* name : {"telephone-link", "telephone-emulator"}) {
        const ToolRun help = run(tool(name), {"--help"}, dir);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--device") || help.out.contains("--hangup-after"));
        const ToolRun version = run(tool(name), {"--version"}, dir);
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.contains("1.1.03"));
    }
    QCOMPARE(run(tool("telephone-emulator"), {"--latency", "soon"}, dir).exitCode, 2);
}

void TestLinkTools::gammuListsAndDeletesEntries()
{
    const QString gammu = QStandardPaths::findExecutable("gammu");
    if (gammu.isEmpty()) QSKIP("gammu is not installed");
    QFile config(m_dir.filePath("gammurc"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("[gammu]\ndevice = " + m_device.toLocal8Bit() + "\nconnection = at\n");
    config.close();
    const ToolRun list = run(gammu, {"-c", config.fileName(), "getallmemory", "SM"}, m_dir);
    QCOMPARE(list.exitCode, 0);
    for (const char* name : {"Anna Müller", "Jörg Bäcker!", "Søren Ærø", "Peña Iñigo", "Dr. Weiß!"})
        QVERIFY2(list.out.contains(QString::fromUtf8(name)), name);
    QVERIFY(list.out.contains("\"+4930123456\""));
    QVERIFY(list.out.contains("Location 12"));

    const ToolRun erase = run(gammu, {"-c", config.fileName(), "deletememory", "SM", "5"}, m_dir);
    QCOMPARE(erase.exitCode, 0);
    QFile state(m_dir.filePath("phone.json"));
    QVERIFY(state.open(QIODevice::ReadOnly));
    const QByteArray json = state.readAll();
    QVERIFY(!json.contains("Søren"));
    QVERIFY(json.contains("Peña Iñigo"));
}

void TestLinkTools::emulatorNamesTheMakerAndModelItIsGiven()
{
    QTemporaryDir dir;
    QCOMPARE(run(tool("telephone-emulator"), {"--maker", ""}, dir).exitCode, 2);
    QProcess emulator;
    const QString device = startEmulator(emulator, {"--state", dir.filePath("s.json"), "--maker", "Acme Mobile", "--model",
                                                    "Brick 9", "--ucs2-always"});
    // Names answered in UCS2 against the selected set still read as the phone holds them.
    const ToolRun read = run(tool("telephone-link"), {"--device", device, "read", "SM"}, dir);
    QCOMPARE(read.exitCode, 0);
    QVERIFY2(read.out.contains("1\tAnna Müller\t+4930123456"), qPrintable(read.out));
    const QString gammu = QStandardPaths::findExecutable("gammu");
    if (!gammu.isEmpty()) {
        QFile config(dir.filePath("gammurc"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[gammu]\ndevice = " + device.toLocal8Bit() + "\nconnection = at\n");
        config.close();
        const ToolRun identify = run(gammu, {"-c", config.fileName(), "identify"}, dir);
        QCOMPARE(identify.exitCode, 0);
        QVERIFY2(identify.out.contains("Acme Mobile") && identify.out.contains("Brick 9"), qPrintable(identify.out));
    }
    emulator.terminate();
    QVERIFY(emulator.waitForFinished(kWaitMs));
}

void TestLinkTools::emulatorOptionsShapeTheNamesTheLinkReads()
{
    QTemporaryDir dir;
    for (const char* bad : {"--garble=101", "--ucs2-length=x", "--seed=-1"})
        QCOMPARE(run(tool("telephone-emulator"), {bad}, dir).exitCode, 2);
    // Without UCS2: no length for UCS2 names, and a name outside the GSM alphabet is refused before it is sent.
    QProcess plain;
    const QString plainDevice = startEmulator(plain, {"--state", dir.filePath("plain.json"), "--no-ucs2"});
    QVERIFY(!plainDevice.isEmpty());
    QCOMPARE(run(tool("telephone-link"), {"--device", plainDevice, "write", "SM", "30", "Иван", "1"}, dir).exitCode, 1);
    QCOMPARE(run(tool("telephone-link"), {"--device", plainDevice, "write", "SM", "30", "Søren €", "1"}, dir).exitCode, 0);
    const ToolRun plainRead = run(tool("telephone-link"), {"--device", plainDevice, "read", "SM"}, dir);
    QVERIFY(plainRead.out.contains("Name length in UCS2: 0\n"));
    QVERIFY(plainRead.out.contains("30\tSøren €\t1\n"));
    // A UCS2 length of the phone's own; every name field damaged on the line, also when read again: all marked.
    QProcess garbling;
    const QString garblingDevice = startEmulator(garbling, {"--state", dir.filePath("garbling.json"), "--ucs2-length", "12",
                                                            "--garble", "100", "--seed", "3"});
    QVERIFY(!garblingDevice.isEmpty());
    const ToolRun garbled = run(tool("telephone-link"), {"--device", garblingDevice, "read", "SM"}, dir);
    QCOMPARE(garbled.exitCode, 0);
    QVERIFY(garbled.out.contains("Name length in UCS2: 12\nRecords: 8\n"));
    QCOMPARE(garbled.out.count("\t(name unreadable)\n"), 8);
    for (QProcess* emulator : {&plain, &garbling}) {
        emulator->terminate();
        QVERIFY(emulator->waitForFinished(kWaitMs));
    }
}

void TestLinkTools::relativeDevicePathsAndEmulatorFaults()
{
    // Named relative to the folder the tool runs in: the emulator's link, a plain file and a folder. The
    // emulator gets a record typed on its keypad before its first answer and drops the line after storing the
    // first write.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("s3"));
    QFile plain(dir.filePath("notes.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("AT\n") == 3);
    plain.close();
    QProcess emulator;
    const QString device = startEmulator(emulator, {"--state", dir.filePath("s.json"), "--link", dir.filePath("s3/phone"),
                                                    "--keypad-add", "0:OW:0:Tür: Büro:0301", "--drop-write-answer", "1"});
    QVERIFY(!device.isEmpty());
    CurrentFolder inside(dir.path());
    QVERIFY(inside.entered());
    const QString here = QDir::currentPath();
    const ToolRun read = run(tool("telephone-link"), {"--device", "s3/phone", "read", "OW"}, dir);
    QVERIFY2(read.exitCode == 0, qPrintable(read.err));
    QVERIFY2(read.out.contains("2\tTür: Büro\t0301\n"), qPrintable(read.out));
    const ToolRun write = run(tool("telephone-link"), {"--device", "s3/phone", "write", "OW", "3", "Stored", "4711"}, dir);
    QCOMPARE(write.exitCode, 1);
    QVERIFY2(write.err.contains("record 3 was sent, but its answer never came"), qPrintable(write.err));
    emulator.terminate();
    QVERIFY(emulator.waitForFinished(kWaitMs));
    QFile state(dir.filePath("s.json"));
    QVERIFY(state.open(QIODevice::ReadOnly) && state.readAll().contains("\"Stored\""));

    const ToolRun file = run(tool("telephone-link"), {"--device", "notes.txt", "read", "SM"}, dir);
    QCOMPARE(file.exitCode, 1);
    QVERIFY2(file.err.contains(here + "/notes.txt is an ordinary file, not a serial device"), qPrintable(file.err));
    const ToolRun folder = run(tool("telephone-link"), {"--device", "./s3/", "read", "SM"}, dir);
    QVERIFY2(folder.err.contains(here + "/s3 is a folder, not a serial device"), qPrintable(folder.err));
}

QTEST_GUILESS_MAIN(TestLinkTools)
#include "TestLinkTools.moc"
