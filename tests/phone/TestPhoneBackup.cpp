// The directory as read is kept in the backup folder before the program first writes to it, and nothing is
// written when it cannot be kept. Through the telephone layer, against the emulator on a pseudo-terminal.
#include "PhoneLayerRig.h"

#include "link/BackupFolder.h"
#include "res/StringTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {
EmulatorState Sim()
{
    EmulatorState state = EmulatorState::blank();
    state.storage("SM")->entries.insert(1, {QString::fromUtf8("Jörg!"), "+4989"});
    state.storage("SM")->entries.insert(4, {"Anna", "12?3"});
    return state;
}

int WritesIn(const QString& log)
{
    return int(log.count(QRegularExpression(QStringLiteral("AT\\+CPBW="))));
}

void ChangeFirstNumber(PhoneLayerRig& rig, const char* number)
{
    DirEntry edited = rig.Table()[0];
    edited.m_strNumber = number;
    QVERIFY(rig.Phone().ApplyEdit(0, edited));
}
}

class TestPhoneBackup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
        QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    }

    void firstWriteOfARunKeepsTheDirectoryAsRead()
    {
        PhoneLayerRig rig;
        QVERIFY(rig.Start(Sim()));
        QVERIFY(rig.Show(DIR_SIM));
        ChangeFirstNumber(rig, "555");
        QVERIFY(rig.Save());
        const QStringList files = BackupFolder().files();
        QCOMPARE(files.size(), qsizetype(1));
        QVERIFY(QFileInfo(files[0]).fileName().startsWith(QStringLiteral("SM-")));
        QString error;
        const std::optional<DirectoryBackup> backup = DirectoryBackup::load(files[0], &error);
        QVERIFY2(backup, qPrintable(error));
        QCOMPARE(backup->records.size(), qsizetype(2));
        QCOMPARE(backup->records[0].name, QString::fromUtf8("Jörg!"));
        QCOMPARE(backup->records[0].number, QByteArray("+4989")); // the number before the save changed it
        QCOMPARE(backup->records[1].number, QByteArray("12?3"));
        // Later saves of the run keep no further copy.
        ChangeFirstNumber(rig, "556");
        QVERIFY(rig.Save());
        QCOMPARE(BackupFolder().files().size(), qsizetype(1));
    }

    void nothingIsWrittenWhenTheBackupCannotBeKept()
    {
        PhoneLayerRig rig;
        QVERIFY(rig.Start(Sim()));
        QVERIFY(rig.Show(DIR_SIM));
        // The data folder is a file: no backup folder can be made in it.
        QTemporaryDir elsewhere;
        const QString blocker = elsewhere.filePath(QStringLiteral("data"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
        ChangeFirstNumber(rig, "555");
        QVERIFY(!rig.Save());
        QVERIFY(rig.Host().LastStatus().starts_with("Nothing was written"));
        QCOMPARE(WritesIn(rig.PhoneLog()), 0);
        QVERIFY(rig.Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(!rig.Store().HasFlag(VF_BUSY));
        QCOMPARE(rig.PhoneStorage("SM").entries.value(1).number, QStringLiteral("+4989"));
        // A directory change that asks for the save stays with the edits when the save cannot start.
        rig.Questions().AnswerYesNo(Ids::IDS_SAVE_DIR_BEFORE_CHANGE, true);
        rig.Host().m_nComboSelection = DIR_MOBILE;
        rig.Phone().ChangeDirectory(DIR_MOBILE);
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(rig.Store().m_nCurDir, int(DIR_SIM));
        QCOMPARE(rig.Host().m_nComboSelection, int(DIR_SIM));
        QVERIFY(rig.Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(rig.Questions().Unanswered().empty());
    }
};

QTEST_GUILESS_MAIN(TestPhoneBackup)
#include "TestPhoneBackup.moc"
