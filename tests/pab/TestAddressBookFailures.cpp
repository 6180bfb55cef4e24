// What the form does when the address book fails or holds more than the form can show: which message is
// reported, whether the session stays, and that the program ends with exit code -1 where it cannot go on.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "pab/AddressBook.h"
#include "pab/AddressBookSession.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CFolderCombo.h"

#include <QtTest>

class TestAddressBookFailures : public FormTestCase {
    Q_OBJECT
    void AfterEachTest() override { MapiFaults::Clear(); }

private slots:
    void startUpFailuresEndTheProgram_data()
    {
        QTest::addColumn<MapiCall>("method");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("skip");
        QTest::addColumn<std::vector<int>>("reports");
        const int fail = static_cast<int>(MAPI_E_CALL_FAILED);
        QTest::newRow("initialise") << MapiCall::MAPIInitialize << fail << 0 << std::vector<int>{41000};
        QTest::newRow("logon") << MapiCall::MAPILogonEx << fail << 0 << std::vector<int>{41001};
        QTest::newRow("address book") << MapiCall::OpenAddressBook << fail << 0 << std::vector<int>{41002};
        QTest::newRow("personal address book") << MapiCall::GetPAB << fail << 0 << std::vector<int>{41003};
        QTest::newRow("root container") << MapiCall::OpenEntry << fail << 0 << std::vector<int>{41004};
        QTest::newRow("contents table") << MapiCall::GetContentsTable << fail << 0 << std::vector<int>{41006};
        QTest::newRow("no contents table") << MapiCall::GetContentsTable << static_cast<int>(MAPI_E_NO_SUPPORT) << 0
                                           << std::vector<int>{41005};
        QTest::newRow("rows") << MapiCall::HrQueryAllRows << fail << 0 << std::vector<int>{41007};
        QTest::newRow("reading an entry") << MapiCall::GetProps << fail << 0 << std::vector<int>{41004};
    }
    void startUpFailuresEndTheProgram()
    {
        QFETCH(MapiCall, method);
        QFETCH(int, result);
        QFETCH(int, skip);
        QFETCH(std::vector<int>, reports);
        FormFixture& f = NewForm();
        f.WithoutPhone();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "1", std::string("Standard-Status - Index: 1 "));
        }
        MapiFaults::Inject(method, static_cast<HRESULT>(result), skip);
        // The report comes while the form is set up, before the frame appears.
        bool frameShownAtReport = false;
        f.Questions().OnReport([&](int) { frameShownAtReport = frameShownAtReport || f.Frame()->isVisible(); });
        f.Start();
        QVERIFY(!frameShownAtReport);
        std::vector<int> expected;
        for (int id : reports) expected.push_back(2 * 100000 + id);
        QCOMPARE(f.Questions().TakeReports(), expected);
        QCOMPARE(f.EndedWith(), (std::vector<int>{-1}));
    }

    void aFailedLogoffKeepsTheSession()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        f.Start();
        CDlgView* v = f.View();
        QVERIFY(v->Book().Internals().Session());
        MapiFaults::Inject(MapiCall::Logoff, MAPI_E_CALL_FAILED);
        v->Book().CloseSession();
        QVERIFY(v->Book().Internals().Session() != nullptr);
        QVERIFY(v->Book().Internals().Container() == nullptr);
        v->Book().CloseSession(); // a second close logs off for good
        QVERIFY(v->Book().Internals().Session() == nullptr);
        v->Book().CloseSession(); // and a third does nothing
        QVERIFY(v->Book().Internals().Session() == nullptr);
    }

    void aFailedSaveEndsTheProgramAfterItsReport()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        f.Start();
        QVERIFY(f.WaitUntilIdle()); // the telephone read fails without a phone: not what this test is about
        f.Questions().Clear();
        CDlgView* v = f.View();
        v->Store().m_abTable.m_nCount = 1;
        v->Store().m_abTable[0].m_strName = "New";
        v->Store().m_abTable[0].m_strStatus = " ";
        v->Store().m_abTable[0].m_nIndex = 1;
        v->Store().m_abTable[0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_AB_MODIFIED);
        MapiFaults::Inject(MapiCall::SaveChanges, MAPI_E_CALL_FAILED);
        v->Commands().OnSaveAddressBook();
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{2 * 100000 + 41015}));
        QCOMPARE(f.EndedWith(), (std::vector<int>{-1}));
        QVERIFY(v->Book().Internals().Session() == nullptr);
        // Nothing of the save reached the book, so the entry is still to be created.
        QCOMPARE(v->Store().m_abTable[0].m_nState, ENTRY_NEW);
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));
    }

    void moreThan48ListsStopTheScanAtTheTable()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        {
            PabSeeder pab(f.PabPath().toStdString());
            for (int i = 0; i < 52; ++i) pab.AddList("List " + std::to_string(i));
        }
        f.Start();
        CDlgView* v = f.View();
        QVERIFY(f.EndedWith().empty());
        QCOMPARE(v->Store().m_nFolderCount, 49);
        QCOMPARE(FolderCombo(v)->count(), 49);
        QCOMPARE(v->Store().m_folders[48].m_strName, std::string("List 47"));
    }

    void moreThan1000MailUsersShowTheFirst1000()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        {
            PabSeeder pab(f.PabPath().toStdString());
            for (int i = 1; i <= 1003; ++i)
                pab.AddUser("P" + std::to_string(i), "1", "Standard-Status - Index: " + std::to_string(i) + " ");
        }
        f.Start();
        QVERIFY(f.EndedWith().empty());
        QCOMPARE(f.View()->Store().m_abTable.m_nCount, 1000);
        QCOMPARE(f.View()->Store().m_abTable[999].m_strName, std::string("P1000"));
    }
};

QTEST_MAIN(TestAddressBookFailures)
#include "TestAddressBookFailures.moc"
