// File, Restore telephone backup... on the real form: the backups kept in the data folder are listed newest
// first with their directory, local time and entries, a damaged file among them with what is wrong with it; the
// selected backup shows its records as the telephone list would; "Restore" asks, and on Yes the form receives
// the backup's path. The window stays while nothing started, goes once a restore runs, and Escape closes it.
#include "FormControls.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "link/BackupFolder.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CRestoreBackupDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
QStringList Rows(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < item->columnCount(); ++c) cells << item->text(c);
        rows << cells.join(u'|');
    }
    return rows;
}

QString Store(const char* code, const char* takenUtc, const QList<PhoneRecord>& records)
{
    DirectoryBackup backup;
    backup.directoryCode = code;
    backup.taken = QDateTime::fromString(QString::fromLatin1(takenUtc), Qt::ISODate);
    backup.nameLength = 16;
    backup.numberLength = 20;
    backup.records = records;
    QString path;
    QString error;
    if (!BackupFolder().store(backup, &path, &error)) qWarning() << error;
    return path;
}

// Runs `inDialog` on the restore dialog that the menu command opens, and returns once the dialog has closed.
// A dialog the check leaves open is closed, so that a failed check cannot hang the test.
void WithRestoreDialog(FormFixture& f, const std::function<void(CRestoreBackupDlg&)>& inDialog)
{
    QTimer::singleShot(0, f.View(), [inDialog] {
        auto* dialog = qobject_cast<CRestoreBackupDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const QPointer<CRestoreBackupDlg> guard(dialog);
        inDialog(*dialog);
        if (guard && guard->isVisible()) guard->done(QDialog::Rejected);
    });
    QVERIFY(f.Frame()->IsCommandEnabled(ID_FILE_RESTORE_BACKUP));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_RESTORE_BACKUP));
}
}

class TestRestoreBackup : public FormTestCase {
    Q_OBJECT
private slots:
    void backupsAreListedShownAndHandedToTheForm();
};

void TestRestoreBackup::backupsAreListedShownAndHandedToTheForm()
{
    FormFixture& f = NewForm();
    f.Start();
    QVERIFY(f.WaitUntilIdle());
    const QString sim = Store("SM", "2026-03-01T10:00:00Z", {{3, "Bert", "555"}, {1, QString::fromUtf8("Jörg!"), "+4930"}});
    const QString own = Store("OW", "2026-03-02T09:30:05Z", {{1, "Me", "0170"}});
    QVERIFY(!sim.isEmpty() && !own.isEmpty());
    QFile damaged(QDir(BackupFolder().path()).filePath(QStringLiteral("ME-20260303-080000.json")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": ");
    damaged.close();

    QStringList handedOver;
    bool started = false;
    f.View()->Commands().SetBackupRestorer([&](const QString& path) {
        handedOver << path;
        return started;
    });
    const QString question = QString::fromUtf8(
        "Restore the telephone's SIM directory from the backup of 2026-03-01 11:00:00? Its 2 entries replace what "
        "the directory holds now on the telephone; changes not yet saved in that directory are dropped.");
    bool closedByRestore = false;
    WithRestoreDialog(f, [&](CRestoreBackupDlg& dialog) {
        auto* backups = dialog.findChild<QTreeWidget*>(QStringLiteral("backups"));
        auto* records = dialog.findChild<QTreeWidget*>(QStringLiteral("records"));
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("problem"));
        auto* restore = dialog.findChild<QPushButton*>(QStringLiteral("restore"));
        QVERIFY(backups && records && problem && restore);
        // Newest first, in local time (Central European in this test); the damaged file by its name.
        QCOMPARE(Rows(backups), QStringList({"Mobile Equipment directory|2026-03-03 08:00:00|damaged",
                                             "Own directory|2026-03-02 10:30:05|1",
                                             "SIM directory|2026-03-01 11:00:00|2"}));
        QCOMPARE(backups->currentItem(), backups->topLevelItem(0));
        QVERIFY2(problem->text().contains(QStringLiteral("not readable JSON")), qPrintable(problem->text()));
        QCOMPARE(records->topLevelItemCount(), 0);
        QVERIFY(!restore->isEnabled());

        // By keyboard to the next backup, by mouse to the last: the records as the telephone list shows them.
        QTest::keyClick(backups, Qt::Key_Down);
        QCOMPARE(Rows(records), QStringList({"1|Me|0170| "}));
        QTest::mouseClick(backups->viewport(), Qt::LeftButton, {}, backups->visualItemRect(backups->topLevelItem(2)).center());
        QCOMPARE(Rows(records), QStringList({QString::fromUtf8("1|Jörg|+4930|!"), "3|Bert|555| "}));
        QCOMPARE(problem->text(), QString());
        QVERIFY(restore->isEnabled());

        // No leaves everything; Yes hands the backup over, and while nothing started the window stays.
        f.Questions().AnswerYesNo(Ids::IDS_RESTORE_BACKUP_QUESTION, false);
        QTest::mouseClick(restore, Qt::LeftButton);
        QVERIFY(handedOver.isEmpty());
        f.Questions().AnswerYesNo(Ids::IDS_RESTORE_BACKUP_QUESTION, true);
        QTest::mouseClick(restore, Qt::LeftButton);
        QCOMPARE(handedOver, QStringList({sim}));
        QVERIFY(dialog.isVisible());
        started = true;
        f.Questions().AnswerYesNo(Ids::IDS_RESTORE_BACKUP_QUESTION, true);
        QTest::mouseClick(restore, Qt::LeftButton);
        closedByRestore = !dialog.isVisible() && dialog.result() == QDialog::Accepted;
    });
    QVERIFY(closedByRestore);
    QCOMPARE(handedOver, QStringList({sim, sim}));
    const auto asked = f.Questions().AskedOfKind("yesno");
    QCOMPARE(asked.size(), size_t(3));
    QCOMPARE(QString::fromStdString(asked[2].text), question);

    bool closedByEscape = false;
    WithRestoreDialog(f, [&](CRestoreBackupDlg& dialog) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        closedByEscape = !dialog.isVisible();
    });
    QVERIFY(closedByEscape);
    QCOMPARE(handedOver.size(), qsizetype(2));
}

int main(int argc, char* argv[])
{
    // Times are shown in local time: a zone of the test's own makes them known.
    qputenv("TZ", "Europe/Berlin");
    QApplication app(argc, argv);
    TestRestoreBackup test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestRestoreBackup.moc"
