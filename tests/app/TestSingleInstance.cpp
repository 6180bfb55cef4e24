// Single instance across real processes: a second copy ends at once with status 0, after the first copy
// restored and raised its window; a first copy that does not answer leaves the second to end all the same; after
// the first copy was killed, the next start runs normally.
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <signal.h>

namespace {
constexpr int kStartMs = 60000;
}

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secondCopyEndsAtOnceWithStatusZero();
    void secondStartRestoresAndRaisesTheMinimizedFirstWindow();
    void secondStartEndsAloneWhenTheFirstDoesNotAnswer();
    void startAfterTheFirstCopyWasKilledRunsNormally();
    void cleanup();

private:
    std::unique_ptr<QProcess> Start(const QStringList& arguments = {});
    static bool WaitUntilReady(QProcess& process);
    static bool WaitForLine(QProcess& process, const QByteArray& start, QByteArray* line);

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_first;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_runtime.isValid());
}

std::unique_ptr<QProcess> TestSingleInstance::Start(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(PROBE_PATH), arguments);
    return process;
}

bool TestSingleInstance::WaitUntilReady(QProcess& process)
{
    return WaitForLine(process, "READY", nullptr);
}

// Reads the process's lines until one starts with start (kept in *line); false when it ends or takes too long.
bool TestSingleInstance::WaitForLine(QProcess& process, const QByteArray& start, QByteArray* line)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kStartMs) {
        while (process.canReadLine()) {
            const QByteArray next = process.readLine().trimmed();
            if (!next.startsWith(start)) continue;
            if (line) *line = next;
            return true;
        }
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(500);
    }
    return false;
}

void TestSingleInstance::cleanup()
{
    if (m_first && m_first->state() != QProcess::NotRunning) {
        m_first->kill();
        m_first->waitForFinished(kStartMs);
    }
    m_first.reset();
}

void TestSingleInstance::secondCopyEndsAtOnceWithStatusZero()
{
    m_first = Start();
    QVERIFY(WaitUntilReady(*m_first));

    auto second = Start();
    QVERIFY(second->waitForFinished(kStartMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!second->readAllStandardOutput().contains("READY"));
    // The first copy is left as it was.
    QCOMPARE(m_first->state(), QProcess::Running);
}

void TestSingleInstance::secondStartRestoresAndRaisesTheMinimizedFirstWindow()
{
    m_first = Start({QStringLiteral("--minimized")});
    QVERIFY(WaitUntilReady(*m_first));

    for (int start = 0; start < 2; ++start) { // the first copy keeps listening after a handover
        auto second = Start();
        QVERIFY(second->waitForFinished(kStartMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(!second->readAllStandardOutput().contains("READY"));

        QByteArray shown;
        QVERIFY(WaitForLine(*m_first, "SHOWN", &shown));
        QCOMPARE(shown, QByteArray("SHOWN minimized=0"));
    }
    QCOMPARE(m_first->state(), QProcess::Running);
}

void TestSingleInstance::secondStartEndsAloneWhenTheFirstDoesNotAnswer()
{
    m_first = Start();
    QVERIFY(WaitUntilReady(*m_first));
    // A first copy that hangs: its socket still accepts the connection, but nobody answers.
    QCOMPARE(::kill(pid_t(m_first->processId()), SIGSTOP), 0);

    QElapsedTimer timer;
    timer.start();
    auto second = Start();
    const bool ended = second->waitForFinished(kStartMs);
    ::kill(pid_t(m_first->processId()), SIGCONT);
    QVERIFY(ended);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!second->readAllStandardOutput().contains("READY"));
    // It waited for an answer a short while only (3 s), not for the first copy to come back.
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    // The first copy runs on.
    QCOMPARE(m_first->state(), QProcess::Running);
}

void TestSingleInstance::startAfterTheFirstCopyWasKilledRunsNormally()
{
    m_first = Start();
    QVERIFY(WaitUntilReady(*m_first));
    m_first->kill(); // SIGKILL: the lock file stays behind
    QVERIFY(m_first->waitForFinished(kStartMs));
    QCOMPARE(m_first->exitStatus(), QProcess::CrashExit);

    m_first = Start();
    QVERIFY(WaitUntilReady(*m_first));
    QCOMPARE(m_first->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
