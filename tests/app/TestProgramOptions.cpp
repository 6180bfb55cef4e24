// The program's command line, run as a user would: --version and --help answer even without a display, and the
// program starts on its embedded defaults (its own phone, a new address book) in a fresh home folder.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestProgramOptions : public QObject {
    Q_OBJECT
private:
    QString Program() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/telephone-directory"); }

    QProcessEnvironment WithoutDisplay(const QString& home) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.remove(QStringLiteral("XDG_CONFIG_HOME"));
        return env;
    }

private slots:
    void versionAndHelpNeedNoDisplay()
    {
        QTemporaryDir home;
        QProcess process;
        process.setProcessEnvironment(WithoutDisplay(home.path()));
        process.start(Program(), {QStringLiteral("--version")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("Telephone Directory 1.1.03"));
        process.start(Program(), {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        const QByteArray help = process.readAllStandardOutput();
        QVERIFY(help.contains("--device"));
        QVERIFY(help.contains("--pab"));
    }

    void firstStartCreatesItsFilesAndRunsAlone()
    {
        QTemporaryDir home;
        QProcessEnvironment env = WithoutDisplay(home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(Program(), {});
        QVERIFY(process.waitForStarted());
        const QString data = home.path() + QStringLiteral("/.local/share/Korvane/Telvora PRO/");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + QStringLiteral("pab.sqlite")), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + QStringLiteral("phone-state.json")), 20000);
        QCOMPARE(process.state(), QProcess::Running);

        // A second copy ends at once, showing nothing, and leaves the first running.
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(Program(), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(process.state(), QProcess::Running);

        // A copy killed outright leaves its lock behind; the next start is not blocked by it.
        process.kill();
        QVERIFY(process.waitForFinished(20000));
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(Program(), {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(3000));
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        QVERIFY(third.waitForFinished(20000));
    }
};

QTEST_GUILESS_MAIN(TestProgramOptions)
#include "TestProgramOptions.moc"
