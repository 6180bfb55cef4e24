// What the user is told when the serial device of the telephone is the trouble, on real devices: a path that
// is not there, a pseudo-terminal of a group the user is not in, one that another process holds for itself,
// one where nothing answers, and a device that answers AT but has no phone book. The tool is run as a user
// runs it (as "nobody" where a plain user's rights matter, for the tests run as root); the program's side is
// checked through the report the link raises.
#include "LinkTestSupport.h"
#include "ScriptedPhone.h"
#include "ToolRun.h"
#include "link/LinkService.h"
#include "link/PseudoTerminal.h"
#include "res/ErrorReport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kWaitMs = 60000;
const QStringList kAsNobody = {"--reuid=nobody", "--regid=nogroup", "--clear-groups"};

QString tool(const char* name)
{
    return QCoreApplication::applicationDirPath() + '/' + name;
}

// A home for the tool that a plain user may write to.
bool openToAll(const QTemporaryDir& dir)
{
    return QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
}

ToolRun linkTool(const QStringList& args, const QTemporaryDir& home)
{
    return runTool(tool("telephone-link"), args, home.path(), kWaitMs);
}

ToolRun linkToolAsNobody(const QStringList& args, const QTemporaryDir& home)
{
    return runTool("setpriv", kAsNobody + QStringList{tool("telephone-link")} + args, home.path(), kWaitMs);
}

bool contains(const QString& text, const QStringList& parts, QString* missing)
{
    for (const QString& part : parts) {
        if (!text.contains(part)) {
            *missing = part + QStringLiteral("\n--- not in ---\n") + text;
            return false;
        }
    }
    return true;
}

// The report the link raises for a read end, as the user would see it.
QString reportOfRead(const QString& device, int silenceTimeoutMs, intptr_t* result)
{
    LinkOptions options;
    options.device = device;
    options.silenceTimeoutMs = silenceTimeoutMs;
    ConnectTelephoneLink(options);
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    if (!QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs)) return {};
    *result = window.last().lParam;
    QString shown;
    SetErrorReportHandler([&](int errorClass, int messageId) { shown = ErrorReport::plainText(errorClass, messageId); });
    Fehler_Melden(5, *result == PB_READ_NOT_AVAILABLE ? 41024 : 41019);
    SetErrorReportHandler(nullptr);
    return shown;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}
}

class TestPortProblems : public QObject {
    Q_OBJECT
private slots:
    void missingDeviceIsNamedWithThePresentOnes_data();
    void missingDeviceIsNamedWithThePresentOnes();
    void deniedDeviceNamesItsGroupAndTheCommand();
    void heldDeviceNamesItsHolder();
    void silentDeviceIsNoPhoneAndTheNextGoodReadClearsTheWord();
    void modemWithoutPhonebookIsNamedSo();
    void cleanup();
};

void TestPortProblems::cleanup()
{
    SetErrorReportHandler(nullptr);
    ConnectTelephoneLink({});
}

void TestPortProblems::missingDeviceIsNamedWithThePresentOnes_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("report");
    QTest::newRow("read") << QStringList{"read", "SM"} << "An error occurred while reading telephone data: No data.";
    QTest::newRow("write") << QStringList{"write", "SM", "1", "Anna", "0301234"}
                           << "Communication error with the telephone.";
}

void TestPortProblems::missingDeviceIsNamedWithThePresentOnes()
{
    QFETCH(QStringList, command);
    QFETCH(QString, report);
    QTemporaryDir home;
    const QString device = home.filePath("ttyUSB7");
    const ToolRun run = linkTool(QStringList{"--device", device} + command, home);
    QCOMPARE(run.exitCode, 1);
    QString missing;
    QVERIFY2(contains(run.err, {report, "The device " + device + " does not exist"}, &missing), qPrintable(missing));
    QVERIFY2(run.err.contains("Serial devices present: ") || run.err.contains("No serial devices are present"),
             qPrintable(run.err));
}

void TestPortProblems::deniedDeviceNamesItsGroupAndTheCommand()
{
    if (!runningAsRoot()) QSKIP("needs root to hand the device to another group and run the tool as nobody");
    const group* dialout = ::getgrnam("dialout");
    if (!dialout) QSKIP("no group dialout on this system");
    PseudoTerminal pty;
    QString error;
    QVERIFY2(pty.open(&error), qPrintable(error));
    const QByteArray node = QFile::encodeName(pty.slavePath());
    QCOMPARE(::chown(node.constData(), 0, dialout->gr_gid), 0);
    QCOMPARE(::chmod(node.constData(), 0660), 0);
    QTemporaryDir home;
    QVERIFY(openToAll(home));
    const ToolRun run = linkToolAsNobody({"--device", pty.slavePath(), "read", "SM"}, home);
    QCOMPARE(run.exitCode, 1);
    QString missing;
    QVERIFY2(contains(run.err, {"An error occurred while reading telephone data: No data.", "Check connection to telephone.",
                                "No permission to open " + pty.slavePath(), "group \"dialout\"", "as user nobody",
                                "sudo usermod -aG dialout nobody", "log out and log in again"},
                      &missing),
             qPrintable(missing));
}

void TestPortProblems::heldDeviceNamesItsHolder()
{
    // Root passes TIOCEXCL; a plain user is stopped by it, so both sides run as nobody.
    if (!runningAsRoot()) QSKIP("needs root to run the holder and the tool as nobody");
    PseudoTerminal pty;
    QString error;
    QVERIFY2(pty.open(&error), qPrintable(error));
    QCOMPARE(::chmod(QFile::encodeName(pty.slavePath()).constData(), 0666), 0);
    QProcess holder;
    holder.start("setpriv", kAsNobody + QStringList{tool("port-holder"), pty.slavePath()});
    QVERIFY(holder.waitForReadyRead(kWaitMs));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("holding"));
    const qint64 holderPid = holder.processId(); // setpriv became the holder: same process
    QTemporaryDir home;
    QVERIFY(openToAll(home));
    const ToolRun run = linkToolAsNobody({"--device", pty.slavePath(), "read", "SM"}, home);
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(kWaitMs));
    QCOMPARE(run.exitCode, 1);
    QString missing;
    QVERIFY2(contains(run.err, {"The device " + pty.slavePath() + " is in use by another program.",
                                QStringLiteral("It is held by port-holder (PID %1)").arg(holderPid),
                                QStringLiteral("kill %1").arg(holderPid)},
                      &missing),
             qPrintable(missing));
}

void TestPortProblems::silentDeviceIsNoPhoneAndTheNextGoodReadClearsTheWord()
{
    PseudoTerminal silent;
    QString error;
    QVERIFY2(silent.open(&error), qPrintable(error));
    intptr_t result = 0;
    // The link's own time for an answer, kept short: the test waits on the read's end.
    const QString report = reportOfRead(silent.slavePath(), 300, &result);
    QCOMPARE(result, PB_READ_NO_DATA);
    QString missing;
    QVERIFY2(contains(report, {"No data.", "Check connection to telephone.", "The device " + silent.slavePath() + " opened",
                               "nothing answered \"AT\" within 1 s", "wrong port", "115200 baud", "not a phone"},
                      &missing),
             qPrintable(missing));
    QVERIFY(ErrorReport::detail().isEmpty());

    EmulatedPhone phone;
    QVERIFY(phone.started());
    QVERIFY(reportOfRead(phone.path(), 2000, &result).endsWith("Check connection to telephone."));
    QVERIFY(result >= 0);
    QVERIFY(LinkService::instance().lastDiagnosis().isEmpty());
}

void TestPortProblems::modemWithoutPhonebookIsNamedSo()
{
    // A USB data stick: AT is fine, every phone-book command is an ERROR (the scripted phone's default).
    ScriptedPhone modem({{"AT", "\r\nOK\r\n"}}, true);
    QTemporaryDir home;
    const ToolRun run = linkTool({"--device", modem.path(), "read", "SM"}, home);
    QCOMPARE(run.exitCode, 1);
    QString missing;
    QVERIFY2(contains(run.err, {"Telephone book not available.", "Select another telephone directory",
                                "The device " + modem.path() + " answers AT commands but has no phone book",
                                "data-only modem"},
                      &missing),
             qPrintable(missing));
    QVERIFY(modem.commands().contains("AT+CPBS=?"));
}

QTEST_GUILESS_MAIN(TestPortProblems)
#include "TestPortProblems.moc"
