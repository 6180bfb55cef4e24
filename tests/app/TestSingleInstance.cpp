// Single instance across real processes: a second copy ends at once with status 0; after the first copy was
// killed, the next start runs normally.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr int kStartMs = 60000;
}

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secondCopyEndsAtOnceWithStatusZero();
    void startAfterTheFirstCopyWasKilledRunsNormally();
    void cleanup();

private:
    std::unique_ptr<QProcess> Start();
    static bool WaitUntilReady(QProcess& process);

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_first;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_runtime.isValid());
}

std::unique_ptr<QProcess> TestSingleInstance::Start()
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(PROBE_PATH), {});
    return process;
}

bool TestSingleInstance::WaitUntilReady(QProcess& process)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kStartMs) {
        if (process.canReadLine() && process.readLine().startsWith("READY"))
            return true;
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
