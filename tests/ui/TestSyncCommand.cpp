// File, "Synchronize Address Book" on the real form against a real Radicale: never over unsaved changes, the
// book's side waits while the telephone side stays usable, the progress window cancels, and the book comes back
// open on the folder shown before with what the server holds.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"
#include "RadicaleServer.h"

#include "app/CMainFrame.h"
#include "app/StatusLine.h"
#include "dav/CardDavClient.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "pab/SyncAccount.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormCommands.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QtTest>

namespace {
QString StatusText(FormFixture& f)
{
    auto* pane = f.Frame()->statusBar()->findChild<StatusLine*>(QStringLiteral("pane0"));
    return pane ? pane->text() : QString();
}

bool Enabled(CDlgView* v, int id)
{
    bool enabled = false;
    return v->OnUpdateCommand(id, enabled) && enabled;
}

int CardsOnServer(const QUrl& book)
{
    DavAccount account;
    account.url = book;
    account.user = QStringLiteral("anna");
    account.password = QStringLiteral("pw");
    const auto listed = CardDavClient(account).ListEtags();
    return listed.ok() ? int(listed.value.size()) : -1;
}
}

class TestSyncCommand : public FormTestCase {
    Q_OBJECT
    RadicaleServer m_server;
    QUrl m_book;
    int m_nBooks = 0;

    // The book holds Anna and the list Family with Bert; the form shows Family; the account names an address
    // book of its own on the server.
    CDlgView* Start(FormFixture& f)
    {
        m_book = m_server.CreateAddressBook(QStringLiteral("anna"), QStringLiteral("pw"),
                                            QStringLiteral("contacts%1").arg(++m_nBooks));
        if (!m_book.isValid()) qFatal("%s", qPrintable(m_server.Problem()));
        f.WithoutPhone();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "+49301", std::string("Standard-Status - Index: 1 "));
            const auto family = pab.AddList("Family");
            pab.AddUser("Bert", "+49302", std::string("Standard-Status - Index: 2 "), family);
        }
        f.Start();
        if (!f.WaitUntilIdle()) qFatal("the start-up read did not end");
        CDlgView* v = f.View();
        SyncAccount account;
        account.m_strServer = m_book.toString();
        account.m_strUser = QStringLiteral("anna");
        QSettings settings;
        account.Write(settings);
        v->Commands().SetPasswordSource([](const SyncAccount&, QString&) { return QStringLiteral("pw"); });
        FolderCombo(v)->setCurrentIndex(FolderCombo(v)->findText(QStringLiteral("Family")));
        v->Book().ChangeFolder();
        return v;
    }

private slots:
    void initTestCase()
    {
        m_server.AddUser(QStringLiteral("anna"), QStringLiteral("pw"));
        QVERIFY2(m_server.Start(), qPrintable(m_server.Problem()));
    }

    void synchronizesInTheBackgroundAndOpensTheBookAgain()
    {
        FormFixture& f = NewForm();
        CDlgView* v = Start(f);

        // Unsaved changes: asked first; staying starts nothing.
        v->Store().SetFlag(VF_AB_MODIFIED);
        f.Questions().AnswerStay(Ids::IDS_SAVE_AB_BEFORE_SYNC);
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        QVERIFY(!v->Commands().IsSynchronizing());
        QVERIFY(f.Questions().Unanswered().empty());
        v->Store().ClearFlag(VF_AB_MODIFIED);

        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        QVERIFY(v->Commands().IsSynchronizing());
        QVERIFY(!AbList(v)->isEnabled());
        QVERIFY(!Enabled(v, ID_FILE_NEW_FOLDER));
        QVERIFY(!Enabled(v, ID_FILE_SYNC));
        QVERIFY(Enabled(v, ID_FILE_CONNECTION)); // the telephone side stays usable
        QTRY_VERIFY_WITH_TIMEOUT(!v->Commands().IsSynchronizing(), 30000);
        QCOMPARE(StatusText(f), QStringLiteral("Synchronization ended: 2 sent, 0 received, 0 deleted, 0 conflicts kept"));
        QVERIFY(AbList(v)->isEnabled());
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("Family"));
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
        QCOMPARE(AbList(v)->topLevelItem(0)->text(0), QStringLiteral("Bert"));
        QVERIFY(f.View()->findChild<QProgressDialog*>(QStringLiteral("syncProgress")) == nullptr ||
                !f.View()->findChild<QProgressDialog*>(QStringLiteral("syncProgress"))->isVisible());
        QCOMPARE(CardsOnServer(m_book), 2);
        QSettings settings;
        QCOMPARE(SyncAccount::Read(settings).m_strAddressBook, m_book.toString()); // found once, kept
        QVERIFY(f.Questions().LeftOpen().empty());
    }

    void cancelledRunLeavesTheBookOpen()
    {
        FormFixture& f = NewForm();
        CDlgView* v = Start(f);
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        auto* progress = v->findChild<QProgressDialog*>(QStringLiteral("syncProgress"));
        QVERIFY(progress && progress->isVisible() && !progress->isModal());
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!v->Commands().IsSynchronizing(), 30000);
        QVERIFY2(StatusText(f).startsWith(QLatin1String("Synchronization failed")), qPrintable(StatusText(f)));
        QVERIFY(AbList(v)->isEnabled());
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
        QVERIFY(Enabled(v, ID_FILE_NEW_FOLDER));
        QCOMPARE(CardsOnServer(m_book), 0);
        QVERIFY(f.Questions().MessagesShown().empty()); // a cancel is no failure to report
    }

    // The way out while a run goes on: the run is cancelled and has ended, the book open again, before the
    // questions of the way out come.
    void exitEndsTheRunFirst()
    {
        FormFixture& f = NewForm();
        QPointer<CDlgView> v = Start(f);
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        f.Questions().AnswerStay(Ids::IDS_SAVE_DIR_BEFORE_EXIT);
        QVERIFY(v->OnCommand(ID_APP_EXIT));
        QVERIFY(v);
        QVERIFY(!v->Commands().IsSynchronizing());
        QVERIFY(AbList(v)->isEnabled());
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
        QVERIFY(f.Questions().Unanswered().empty());
        v->Store().ClearFlag(VF_PHONE_MODIFIED);
    }

    // A server whose certificate no authority signed: refused until the user trusts its fingerprint, which is then
    // remembered with the account.
    void untrustedCertificateIsAskedAboutAndRemembered()
    {
        RadicaleServer tls;
        tls.AddUser(QStringLiteral("anna"), QStringLiteral("pw"));
        QVERIFY(tls.EnableTls());
        QVERIFY2(tls.Start(), qPrintable(tls.Problem()));
        const QUrl book = tls.CreateAddressBook(QStringLiteral("anna"), QStringLiteral("pw"), QStringLiteral("secure"));
        QVERIFY2(book.isValid(), qPrintable(tls.Problem()));
        FormFixture& f = NewForm();
        CDlgView* v = Start(f);
        QSettings settings;
        SyncAccount account = SyncAccount::Read(settings);
        account.m_strServer = book.toString();
        account.m_strAddressBook.clear();
        account.Write(settings);

        f.Questions().AnswerYesNo(Ids::IDS_SYNC_TRUST_CERTIFICATE, false);
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        QTRY_VERIFY_WITH_TIMEOUT(!v->Commands().IsSynchronizing(), 30000);
        QVERIFY(f.Questions().Unanswered().empty());
        QVERIFY(SyncAccount::Read(settings).m_acceptedCertificates.isEmpty());
        QVERIFY(StatusText(f).startsWith(QLatin1String("Synchronization failed")));

        f.Questions().AnswerYesNo(Ids::IDS_SYNC_TRUST_CERTIFICATE, true);
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        QTRY_VERIFY_WITH_TIMEOUT(StatusText(f).startsWith(QLatin1String("Synchronization ended")), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!v->Commands().IsSynchronizing(), 30000);
        QCOMPARE(SyncAccount::Read(settings).m_acceptedCertificates.size(), 1);
        QCOMPARE(StatusText(f), QStringLiteral("Synchronization ended: 2 sent, 0 received, 0 deleted, 0 conflicts kept"));
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void wrongPasswordNamesTheCause()
    {
        FormFixture& f = NewForm();
        CDlgView* v = Start(f);
        v->Commands().SetPasswordSource([](const SyncAccount&, QString&) { return QStringLiteral("wrong"); });
        QVERIFY(v->OnCommand(ID_FILE_SYNC));
        QTRY_VERIFY_WITH_TIMEOUT(!v->Commands().IsSynchronizing(), 30000);
        const auto shown = f.Questions().MessagesShown();
        QCOMPARE(int(shown.size()), 1);
        QVERIFY2(QString::fromStdString(shown[0].text).contains(QLatin1String("did not accept")), shown[0].text.c_str());
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestSyncCommand)
#include "TestSyncCommand.moc"
