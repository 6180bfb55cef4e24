// Finding the telephone among the serial devices, on real pseudo-terminals behind a device folder of the
// test's own: an emulated phone with a maker and model, a port where nothing answers, a name whose device
// is gone and a port another program holds for itself. Both the probe module and the telephone-link tool's
// "list" are checked line by line.
#include "DeviceRoot.h"
#include "ToolRun.h"
#include "link/PhoneEmulator.h"
#include "link/PortProbe.h"
#include "link/PseudoTerminal.h"
#include "link/tools/PortListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <poll.h>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kProbeMs = 500;
const QString kById = QStringLiteral("usb-Siemens_S55_0001-if00");

QString tool(const char* name)
{
    return QCoreApplication::applicationDirPath() + '/' + name;
}

ToolRun listTool(const QString& root, const QTemporaryDir& home)
{
    return runTool(tool("telephone-link"), {"list", "--dev-root", root, "--timeout", QString::number(kProbeMs)},
                   home.path(), kWaitMs);
}

struct Expected {
    QString name;
    bool answers;
    QString maker;
    QString model;
    QString problem;
    QString line;
};

// Nothing came out of the port to the other side: the probe wrote nothing to it.
bool nothingWritten(const PseudoTerminal& pty)
{
    pollfd ready {pty.masterFd(), POLLIN, 0};
    return ::poll(&ready, 1, 0) == 0;
}
}

class TestPortProbe : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void eachPortSaysWhatIsOnIt();
    void theToolPrintsALinePerPort();
    void noDevicesIsSaid();
    void aHeldPortIsBusyWithItsHolderAndLeftAlone();

private:
    QList<Expected> expected() const;

    DeviceRoot m_root;
    PhoneEmulator m_phone;
    PseudoTerminal m_silent;
};

void TestPortProbe::initTestCase()
{
    QVERIFY(m_root.valid());
    PhoneEmulatorOptions options;
    options.identity.maker = "Siemens";
    options.identity.model = "S55";
    QString phonePath;
    QString error;
    QVERIFY2(m_phone.start(options, &phonePath, &error), qPrintable(error));
    QVERIFY2(m_silent.open(&error), qPrintable(error));
    QVERIFY(m_root.link("ttyUSB0", phonePath));
    QVERIFY(m_root.alias(kById, "ttyUSB0"));
    QVERIFY(m_root.link("ttyACM0", m_silent.slavePath()));
    QVERIFY(m_root.link("ttyUSB1", m_root.path() + "/gone/ttyUSB1"));
}

QList<Expected> TestPortProbe::expected() const
{
    const QString phone = m_root.node("ttyUSB0");
    return {
        {"ttyACM0", false, {}, {}, "no answer", m_root.node("ttyACM0") + ": no phone: no answer"},
        {"ttyUSB0", true, "Siemens", "S55", {},
         QStringLiteral("%1 (/dev/serial/by-id/%2): phone answers: Siemens S55").arg(phone, kById)},
        {"ttyUSB1", false, {}, {}, "missing", m_root.node("ttyUSB1") + ": no phone: missing"},
    };
}

void TestPortProbe::eachPortSaysWhatIsOnIt()
{
    QElapsedTimer clock;
    clock.start();
    const QList<PortProbeResult> results = PortProbe::probeAll(m_root.path(), PortProbe::kDefaultBaud, kProbeMs);
    // The ports are asked side by side: the silent one's wait is the whole scan's, not one of several.
    QVERIFY2(clock.elapsed() < 3 * kProbeMs, qPrintable(QString::number(clock.elapsed())));
    const QList<Expected> wanted = expected();
    QCOMPARE(results.size(), wanted.size());
    for (qsizetype k = 0; k < wanted.size(); ++k) {
        const PortProbeResult& got = results[k];
        QCOMPARE(got.device, m_root.node(wanted[k].name));
        QCOMPARE(got.answers, wanted[k].answers);
        QCOMPARE(got.maker, wanted[k].maker);
        QCOMPARE(got.model, wanted[k].model);
        QCOMPARE(got.problem, wanted[k].problem);
        QCOMPARE(PortListing::line(got), wanted[k].line);
    }
    QCOMPARE(results[1].byId, "/dev/serial/by-id/" + kById);
}

void TestPortProbe::theToolPrintsALinePerPort()
{
    QTemporaryDir home;
    const ToolRun run = listTool(m_root.path(), home);
    QCOMPARE(run.exitCode, 0);
    QStringList wanted;
    for (const Expected& port : expected()) wanted.append(port.line);
    QCOMPARE(run.out.trimmed().split('\n'), wanted);
}

void TestPortProbe::noDevicesIsSaid()
{
    DeviceRoot empty;
    QVERIFY(empty.valid());
    QTemporaryDir home;
    const ToolRun run = listTool(empty.path(), home);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("No serial devices found.\n"));
    QVERIFY(PortProbe::probeAll(empty.path(), PortProbe::kDefaultBaud, kProbeMs).isEmpty());
}

void TestPortProbe::aHeldPortIsBusyWithItsHolderAndLeftAlone()
{
    PseudoTerminal held;
    QString error;
    QVERIFY2(held.open(&error), qPrintable(error));
    QProcess holder;
    holder.start(tool("port-holder"), {held.slavePath()});
    QVERIFY(holder.waitForReadyRead(kWaitMs));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("holding"));
    const QString byHolder = QStringLiteral("port-holder (PID %1)").arg(holder.processId());

    const PortProbeResult result = PortProbe::probe(held.slavePath(), PortProbe::kDefaultBaud, kProbeMs);
    QVERIFY(!result.answers);
    QVERIFY2(result.problem.startsWith("busy, held by ") && result.problem.contains(byHolder), qPrintable(result.problem));

    DeviceRoot root;
    QVERIFY(root.valid());
    QVERIFY(root.link("ttyUSB2", held.slavePath()));
    QTemporaryDir home;
    const ToolRun run = listTool(root.path(), home);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(root.node("ttyUSB2") + ": no phone: busy, held by ") && run.out.contains(byHolder),
             qPrintable(run.out));

    QVERIFY(nothingWritten(held));
    QCOMPARE(holder.state(), QProcess::Running);
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(kWaitMs));
    QCOMPARE(holder.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestPortProbe)
#include "TestPortProbe.moc"
