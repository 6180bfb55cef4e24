// Saving the telephone directory record by record, and leaving the program with unsaved changes, through the form
// against the phone emulator on a pseudo-terminal and a real address-book file.
#include "FormControls.h"
#include "TestEntries.h"
#include "FormTestCase.h"
#include "PhoneLogWrites.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "model/EntryTableEditor.h"
#include "ui/CDirectoryCombo.h"
#include "phone/TelephoneDirectories.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CFormHost.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {
int SlotNamed(const DirTable& table, const std::string& name)
{
    for (int i = 0; i < table.m_nCount; ++i)
        if (table[i].m_strName == name) return i;
    return -1;
}

EmulatorState OwnNumbers(int count)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage* sim = state.storage("SM");
    for (int i = 1; i <= count; ++i) sim->entries.insert(i, {QStringLiteral("N%1").arg(i), QStringLiteral("%1").arg(i)});
    state.storage("ON")->entries.insert(1, {"Own", "1"});
    return state;
}

// "Friend" new in the address book, and a new number for the telephone entry in the slot: both lists edited.
void EditBothLists(FormFixture& f, int slot, const std::string& number)
{
    CDlgView* v = f.View();
    EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
    DirEntry friendEntry = TestEntry("Friend", "0401", 1);
    v->Store().SetFlag(VF_BATCH);
    QVERIFY(editor.InsertAbEntry(0, friendEntry));
    v->Store().ClearFlag(VF_BATCH);
    v->Store().CurrentPhoneTable()[slot].m_strNumber = number;
    v->Store().CurrentPhoneTable()[slot].m_nState = ENTRY_NEW;
    v->Store().SetFlag(VF_PHONE_MODIFIED);
}

void ReadSim(FormFixture& f)
{
    DirectoryCombo(f.View())->setCurrentIndex(DIR_SIM);
    f.View()->Phone().ReadDirectory(DIR_SIM);
    QVERIFY(f.WaitUntilIdle());
}
}

class TestSaveAndExit : public FormTestCase {
    Q_OBJECT
    // A started form showing the SIM directory, read from a phone with this many numbers; the phone refuses its
    // failWrite-th write when failWrite is given.
    FormFixture& FormOnSim(int numbers, int failWrite = 0)
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(OwnNumbers(numbers));
        f.PhoneOptions().failWrite = failWrite;
        f.Start();
        if (!f.WaitUntilIdle()) QTest::qFail("the start-up read did not end", __FILE__, __LINE__);
        ReadSim(f);
        return f;
    }

private slots:
    void newEntryFirstThenDeletionsInTheirOrder()
    {
        FormFixture& f = FormOnSim(3);
        CDlgView* v = f.View();
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        QVERIFY(editor.RemovePhoneEntry(SlotNamed(v->Store().CurrentPhoneTable(), "N3")));
        QVERIFY(editor.RemovePhoneEntry(SlotNamed(v->Store().CurrentPhoneTable(), "N1")));
        DirEntry added = TestEntry("Neu", "0300", 7);
        v->Store().SetFlag(VF_BATCH);
        QVERIFY(editor.InsertPhoneEntry(0, added));
        v->Store().ClearFlag(VF_BATCH);
        QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
        QVERIFY(f.WaitUntilIdle());
        // A name of the GSM alphabet goes in the phone's GSM set.
        QCOMPARE(WritesIn(f.PhoneLog()), (QStringList{QStringLiteral("7,\"0300\",129,\"Neu\""),
                                                      QStringLiteral("3"), QStringLiteral("1")}));
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action successful"));
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        const auto sim = f.Phone().state().storage("SM")->entries;
        QCOMPARE(sim.keys(), (QList<int>{2, 7}));
    }

    void vipNameLosesItsLastCharacterForTheMark()
    {
        FormFixture& f = FormOnSim(1);
        CDlgView* v = f.View();
        DirTable& t = v->Store().CurrentPhoneTable();
        t[0].m_strName = "ABCDEFGHIJKLMNOP"; // 16 characters, the name length
        t[0].m_strStatus = "!";
        t[0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        v->Commands().OnSaveToPhone();
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).name, QStringLiteral("ABCDEFGHIJKLMNO!"));
    }

    void refusedRecordKeepsItAndTheRestPending()
    {
        FormFixture& f = FormOnSim(5, 3);
        CDlgView* v = f.View();
        DirTable& t = v->Store().CurrentPhoneTable();
        for (int i = 0; i < 5; ++i) {
            t[i].m_strNumber = "99" + std::to_string(i);
            t[i].m_nState = ENTRY_NEW;
        }
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        v->Commands().OnSaveToPhone();
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{3 * 100000 + 41017}));
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
        int pending = 0;
        for (int i = 0; i < 5; ++i) pending += t[i].m_nState == ENTRY_NEW;
        QCOMPARE(pending, 3);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        const int writesBefore = static_cast<int>(WritesIn(f.PhoneLog()).size());
        v->Commands().OnSaveToPhone();
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(static_cast<int>(WritesIn(f.PhoneLog()).size()) - writesBefore, 3);
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
    }

    void readOnlyDirectoryIsRefusedAndNothingSent()
    {
        FormFixture& f = NewForm();
        EmulatorState state = EmulatorState::blank();
        state.storage("LD")->entries.insert(1, {"Dialled", "1"});
        f.SetPhoneState(state);
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        v->Phone().ReadDirectory(DIR_LAST_DIAL);
        QVERIFY(f.WaitUntilIdle());
        v->Store().CurrentPhoneTable()[0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        f.Questions().AnswerYesNo(61258, true);
        QTest::mouseClick(ExitButton(v), Qt::LeftButton);
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{4 * 100000 + 41020}));
        QVERIFY(WritesIn(f.PhoneLog()).isEmpty());
        QVERIFY(f.Frame()->isVisible()); // stays open
        QVERIFY(!v->Store().HasFlag(VF_EXIT_AFTER_WRITE));
        QTest::mouseClick(ExitButton(v), Qt::LeftButton); // no question this time
        QTRY_VERIFY(!f.Frame()->isVisible());
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void exitWithBothListsEditedSavesBothThenCloses()
    {
        FormFixture& f = FormOnSim(2);
        EditBothLists(f, 1, "222");
        f.Questions().AnswerYesNo(61259, true);
        f.Questions().AnswerYesNo(61258, true);
        QVERIFY(f.Frame()->ExecuteCommand(57665)); // File, Exit (Ctrl+B)
        QTRY_VERIFY_WITH_TIMEOUT(!f.Frame()->isVisible(), 30000);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(2).number, QStringLiteral("222"));
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(check.Users().size(), size_t(1));
        QCOMPARE(check.Users()[0].name, std::string("Friend"));
    }

    void exitAnsweringNoClosesAtOnceAndLosesTheEdits()
    {
        FormFixture& f = FormOnSim(1);
        CDlgView* v = f.View();
        v->Store().CurrentPhoneTable()[0].m_strNumber = "555";
        v->Store().CurrentPhoneTable()[0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        f.Questions().AnswerYesNo(61258, false);
        QTest::mouseClick(ExitButton(v), Qt::LeftButton);
        QTRY_VERIFY(!f.Frame()->isVisible());
        QVERIFY(WritesIn(f.PhoneLog()).isEmpty());
    }

    void closeBoxAsksLikeExitAndEscapeStays()
    {
        FormFixture& f = FormOnSim(1);
        CDlgView* v = f.View();
        EditBothLists(f, 0, "555");
        // Escape on either question: the program stays, nothing is saved and nothing is dropped.
        f.Questions().AnswerStay(61259);
        QVERIFY(!f.Frame()->close());
        f.Questions().AnswerYesNo(61259, false);
        f.Questions().AnswerStay(61258);
        QVERIFY(!f.Frame()->close());
        QVERIFY(f.Frame()->isVisible());
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED) && v->Store().HasFlag(VF_AB_MODIFIED));
        QVERIFY(WritesIn(f.PhoneLog()).isEmpty());
        // The close box with Yes: the directory is written, then the program ends, as Exit does.
        f.Questions().AnswerYesNo(61259, false);
        f.Questions().AnswerYesNo(61258, true);
        f.Frame()->close();
        QTRY_VERIFY_WITH_TIMEOUT(!f.Frame()->isVisible(), 30000);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).number, QStringLiteral("555"));
        QVERIFY(PabSeeder(f.PabPath().toStdString()).Users().empty());
    }
};

QTEST_MAIN(TestSaveAndExit)
#include "TestSaveAndExit.moc"
