// The synchronization's account and password: the settings keep the account and never the password; a password
// command gives its first line, and fails with its cause (exit status, silence, time limit, a question it
// cannot ask) instead of hanging; the keyring answers or says why not, within its time limit.
#include "pab/KeyringPassword.h"
#include "pab/PasswordCommand.h"
#include "pab/SyncAccount.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSyncAccount : public QObject {
    Q_OBJECT
private slots:
    void accountComesBackAndThePasswordIsNeverASetting()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("settings.ini"));
        SyncAccount account;
        account.m_strServer = QStringLiteral("https://dav.example.org/");
        account.m_strUser = QStringLiteral("łukasz");
        account.m_strAddressBook = QStringLiteral("https://dav.example.org/addressbooks/lukasz/contacts/");
        account.m_acceptedCertificates = {QStringLiteral("ab12")};
        {
            QSettings settings(file, QSettings::IniFormat);
            account.Write(settings);
        }
        QSettings settings(file, QSettings::IniFormat);
        const SyncAccount read = SyncAccount::Read(settings);
        QCOMPARE(read.m_strServer, account.m_strServer);
        QCOMPARE(read.m_strUser, account.m_strUser);
        QCOMPARE(read.m_strAddressBook, account.m_strAddressBook);
        QCOMPARE(read.m_acceptedCertificates, account.m_acceptedCertificates);
        QVERIFY(!read.m_bAllowPlainHttp);
        QCOMPARE(settings.childGroups(), QStringList{QStringLiteral("Sync")});
        for (const QString& key : settings.allKeys()) QVERIFY2(!key.contains(QLatin1String("assword")), qPrintable(key));

        // Emptied values leave no keys behind.
        SyncAccount().Write(settings);
        settings.sync();
        QVERIFY(settings.allKeys().isEmpty());
    }

    void passwordCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expected"); // the password, or a part of the error
        QTest::newRow("first line") << "printf 'pa ss w\\303\\266rd\\r\\nsecond\\n'" << true << QStringLiteral("pa ss wörd");
        QTest::newRow("no newline") << "printf secret" << true << QStringLiteral("secret");
        QTest::newRow("fails") << "echo 'no such entry' >&2; exit 3" << false << QStringLiteral("exit status 3): no such entry");
        QTest::newRow("silent") << "true" << false << QStringLiteral("printed no password");
        QTest::newRow("asks") << "read answer; printf '%s' \"$answer\"" << false << QStringLiteral("printed no password");
        QTest::newRow("empty") << "  " << false << QStringLiteral("is empty");
        QTest::newRow("hangs") << "sleep 20" << false << QStringLiteral("did not end");
    }

    void passwordCommand()
    {
        QFETCH(QString, command);
        QFETCH(bool, ok);
        QFETCH(QString, expected);
        QElapsedTimer timer;
        timer.start();
        const PasswordCommand::Result result = PasswordCommand::Run(command, 500);
        QVERIFY2(timer.elapsed() < 5000, "the command was waited for beyond its limit");
        QCOMPARE(result.ok, ok);
        if (ok) QCOMPARE(result.password, expected);
        else QVERIFY2(result.error.contains(expected), qPrintable(result.error));
        if (!ok) QVERIFY(result.password.isEmpty());
    }

    // Without a desktop keyring (as in CI) the answer is a clear failure within the limit; with one, the password
    // goes in, comes back and is removed.
    void keyringAnswersOrSaysWhyNot()
    {
        const KeyringPassword keyring(QStringLiteral("test-%1@localhost").arg(QCoreApplication::applicationPid()), 3000);
        QElapsedTimer timer;
        timer.start();
        const KeyringPassword::Result written = keyring.Write(QStringLiteral("s3cret"));
        QVERIFY(timer.elapsed() < 10000);
        if (!written.ok) {
            QVERIFY(!written.error.isEmpty());
            const KeyringPassword::Result read = keyring.Read();
            QVERIFY(!read.ok);
            QVERIFY(read.password.isEmpty());
            return;
        }
        const KeyringPassword::Result read = keyring.Read();
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.password, QStringLiteral("s3cret"));
        QVERIFY(keyring.Remove().ok);
        QVERIFY(keyring.Read().notFound);
    }
};

QTEST_GUILESS_MAIN(TestSyncAccount)
#include "TestSyncAccount.moc"
