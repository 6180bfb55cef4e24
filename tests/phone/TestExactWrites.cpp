// Every change of a telephone directory reaches the phone exactly: through the real form, against the phone
// emulator on a pseudo-terminal, checked in the emulator's state and in the commands it logged.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PhoneLogWrites.h"
#include "PabQuery.h"

#include "app/CMainFrame.h"
#include "link/TelephoneLinkSetup.h"
#include "model/FieldRules.h"
#include "phone/TelephoneDirectories.h"
#include "res/CommandIds.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString kSuccessful = QStringLiteral("Action successful");
const QString kBusy = QStringLiteral("The telephone is busy - Action aborted.");

EmulatorState Sim(const QMap<int, EmulatorEntry>& entries)
{
    EmulatorState state = EmulatorState::blank();
    state.storage("SM")->entries = entries;
    state.storage("SM")->capacity = 20;
    state.storage("ME")->entries.insert(1, {"Mobile", "1"});
    return state;
}

void ChooseDirectory(CDlgView* v, int directory)
{
    DirectoryCombo(v)->setCurrentIndex(directory);
    emit DirectoryCombo(v)->activated(directory);
}

void StartOnSim(FormFixture& f, const QMap<int, EmulatorEntry>& entries)
{
    f.SetPhoneState(Sim(entries));
    f.Start();
    QVERIFY(f.WaitUntilIdle());
    ChooseDirectory(f.View(), DIR_SIM);
    QVERIFY(f.WaitUntilIdle());
}

void Select(CDlgView* v, const QStringList& names)
{
    PhoneList(v)->clearSelection();
    for (int row = 0; row < PhoneList(v)->topLevelItemCount(); ++row)
        if (names.contains(PhoneList(v)->topLevelItem(row)->text(0))) PhoneList(v)->topLevelItem(row)->setSelected(true);
    v->Store().m_nActiveList = LIST_PHONE;
}

void EditSelected(FormFixture& f, const std::string& name, const std::string& number, const std::string& index = {})
{
    f.Questions().AnswerEntry([=](EntryDialogData& d) {
        d.m_szName = name;
        d.m_szNumber = number;
        if (!index.empty()) d.m_szIndex = index;
        return true;
    });
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));
}

void DeleteSelected(FormFixture& f, int question)
{
    f.Questions().AnswerYesNo(question, true);
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CLEAR));
}

void Save(FormFixture& f)
{
    QTest::mouseClick(SaveToPhoneButton(f.View()), Qt::LeftButton);
    QVERIFY(f.WaitUntilIdle());
}

QList<int> PhoneIndices(FormFixture& f)
{
    return f.Phone().state().storage("SM")->entries.keys();
}

QStringList ListNames(CDlgView* v)
{
    QStringList names;
    for (int row = 0; row < PhoneList(v)->topLevelItemCount(); ++row) names << PhoneList(v)->topLevelItem(row)->text(0);
    return names;
}

void ClickRow(QTreeWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
}

// Restarts the phone over another state, as if it had been changed by another program meanwhile.
void ReplacePhone(FormFixture& f, const EmulatorState& state)
{
    f.Phone().stop();
    f.SetPhoneState(state);
    LinkOptions link;
    QString error;
    QVERIFY2(f.Phone().start(f.PhoneOptions(), &link.device, &error), qPrintable(error));
    ConnectTelephoneLink(link);
}
}

class TestExactWrites : public FormTestCase {
    Q_OBJECT
private slots:
    void editedThenDeletedEntryIsErased()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anne", "111");
        Select(v, {"Anne"});
        DeleteSelected(f, 61266);
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QCOMPARE(PhoneIndices(f), QList<int>{2});
        QCOMPARE(WritesIn(f.PhoneLog()), QStringList{"1"});
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void cutOfAnEditedEntryErasesIt()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}});
        CDlgView* v = f.View();
        Select(v, {"Bert"});
        EditSelected(f, "Bert", "999");
        Select(v, {"Bert"});
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CUT));
        Save(f);
        QCOMPARE(PhoneIndices(f), QList<int>{1});
    }

    void movedEntryLeavesNothingAtItsOldIndex()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "111", "5");
        Save(f);
        const auto sim = f.Phone().state().storage("SM")->entries;
        QCOMPARE(sim.keys(), (QList<int>{2, 5}));
        QCOMPARE(sim.value(5).name, QStringLiteral("Anna"));
        // Moving another entry into the freed index writes it there and erases its own old one.
        Select(v, {"Bert"});
        EditSelected(f, "Bert", "222", "1");
        Save(f);
        QCOMPARE(f.Phone().state().storage("SM")->entries.keys(), (QList<int>{1, 5}));
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).name, QStringLiteral("Bert"));
    }

    void editedBackToItsOldValuesWritesNothing()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "111"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anne", "112");
        Select(v, {"Anne"});
        EditSelected(f, "Anna", "111");
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("No data for writing - Action aborted."));
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(WritesIn(f.PhoneLog()).isEmpty());
    }

    void refusedDeletionStaysPendingUntilWritten()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().failWrite = 2;
        StartOnSim(f, {{1, {"Anna", "1"}}, {2, {"Bert", "2"}}, {3, {"Cleo", "3"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna", "Bert", "Cleo"});
        DeleteSelected(f, 61267);
        Save(f);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{3 * 100000 + 41017});
        QCOMPARE(PhoneIndices(f).size(), qsizetype(2));
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED)); // Exit still asks
        // A new entry at the index of a deletion still pending is written, and not erased afterwards.
        const int pendingIndex = PhoneIndices(f).last();
        f.Questions().AnswerEntry([pendingIndex](EntryDialogData& d) {
            d.m_szName = "Dora";
            d.m_szNumber = "4";
            d.m_szIndex = std::to_string(pendingIndex);
            return true;
        });
        v->Store().m_nActiveList = LIST_PHONE;
        QVERIFY(f.Frame()->ExecuteCommand(ID_ADD_ENTRY));
        const int writesBefore = int(WritesIn(f.PhoneLog()).size());
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QCOMPARE(int(WritesIn(f.PhoneLog()).size()) - writesBefore, 2); // Dora, and the other deletion
        const auto sim = f.Phone().state().storage("SM")->entries;
        QCOMPARE(sim.keys(), QList<int>{pendingIndex});
        QCOMPARE(sim.value(pendingIndex).name, QStringLiteral("Dora"));
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("No data for writing - Action aborted."));
    }

    void nothingChangesTheTableWhileItIsWritten()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().latencyMs = 40;
        StartOnSim(f, {{1, {"Anna", "1"}}, {2, {"Bert", "2"}}, {3, {"Cleo", "3"}}, {4, {"Dora", "4"}}});
        CDlgView* v = f.View();
        for (const char* name : {"Anna", "Bert", "Cleo", "Dora"}) {
            Select(v, {name});
            EditSelected(f, name, "99");
        }
        QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        // A second save, and every command that would change the table, is refused or disabled meanwhile.
        QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
        QCOMPARE(f.Frame()->MessageText(), kBusy);
        Select(v, {"Anna"});
        for (int command : {ID_EDIT_CUT, ID_EDIT_CLEAR, ID_EDIT_ENTRY, ID_ADD_ENTRY, ID_UPLOAD_TO_PHONE, ID_COPY_TO_PHONE})
            QVERIFY2(!f.Frame()->ExecuteCommand(command), qPrintable(QString::number(command)));
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_COPY)); // reading the table is fine
        f.Frame()->SetMessageText(QString());
        v->Commands().OnEditCut();
        QCOMPARE(f.Frame()->MessageText(), kBusy);
        v->Commands().OnCopyToPhone();
        v->Commands().OnDeleteEntries();
        v->Commands().OnEditPaste();
        QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, 4);
        ChooseDirectory(v, DIR_MOBILE);
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_SIM));
        // "Action successful" only once the phone has acknowledged the last record.
        QVERIFY(QTest::qWaitFor([&] { return f.Frame()->MessageText() == kSuccessful; }, 30000));
        const auto sim = f.Phone().state().storage("SM")->entries;
        for (int index = 1; index <= 4; ++index) QCOMPARE(sim.value(index).number, QStringLiteral("99"));
        QCOMPARE(WritesIn(f.PhoneLog()).size(), qsizetype(4));
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void readingAgainDropsOldDeletions()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "1"}}, {2, {"Bert", "2"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna", "Bert"});
        DeleteSelected(f, 61267);
        f.Questions().AnswerYesNo(61262, false);
        ChooseDirectory(v, DIR_MOBILE);
        QVERIFY(f.WaitUntilIdle());
        ReplacePhone(f, Sim({{1, {"Neu", "5"}}, {2, {"Zwei", "6"}}}));
        ChooseDirectory(v, DIR_SIM); // an empty table: read again
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(ListNames(v).size(), qsizetype(2));
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("No data for writing - Action aborted."));
        QCOMPARE(PhoneIndices(f), (QList<int>{1, 2}));
    }

    void numberWithWildCharacterIsWritten()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "1"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "+4930?12#*");
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QVERIFY(f.Questions().TakeReports().empty());
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).number, QStringLiteral("+4930?12#*"));
    }

    void listShowsWhatThePhoneHoldsAfterWriting()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "1"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        // A name outside the GSM alphabet keeps the seven characters a SIM holds in UCS2 for a length of 16.
        EditSelected(f, "Łukasz Żak", "1");
        Save(f);
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).name, QString::fromUtf8("Łukasz "));
        QCOMPARE(ListNames(v), QStringList{QString::fromUtf8("Łukasz ")});
        QCOMPARE(v->Store().CurrentPhoneTable()[0].m_nState, int(ENTRY_UNCHANGED));
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("No data for writing - Action aborted."));
    }

    void comboAndListAgreeWhateverTheSaveBeforeAChange()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().failWrite = 1;
        StartOnSim(f, {{1, {"Anna", "1"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "2");
        // The save fails: the SIM directory stays, in the list and in the combo box, with its edit pending.
        f.Questions().AnswerYesNo(61262, true);
        ChooseDirectory(v, DIR_MOBILE);
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_SIM)); // while the save runs, too
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{3 * 100000 + 41017});
        QCOMPARE(v->Store().m_nCurDir, int(DIR_SIM));
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_SIM));
        QCOMPARE(ListNames(v), QStringList{"Anna"});
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        // Nothing left to write (edited back): the chosen directory is shown at once.
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "1");
        f.Questions().AnswerYesNo(61262, true);
        ChooseDirectory(v, DIR_MOBILE);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(v->Store().m_nCurDir, int(DIR_MOBILE));
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_MOBILE));
        QCOMPARE(ListNames(v), QStringList{"Mobile"});
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void atSignTravelsFromThePhoneToTheBookAndBack()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna@Work", "1"}}});
        CDlgView* v = f.View();
        QCOMPARE(ListNames(v), QStringList{"Anna@Work"});
        ClickRow(PhoneList(v), 0);
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Anna@Work"));
        QTest::mouseClick(ToAddressBookButton(v), Qt::LeftButton);
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
        QCOMPARE(AbList(v)->topLevelItem(0)->text(0), QStringLiteral("Anna@Work"));
        QTest::mouseClick(SaveAddressBookButton(v), Qt::LeftButton);
        QVERIFY(PabDisplayNames(f.PabPath()).contains(QStringLiteral("Anna@Work")));
        // Back to the telephone under another index, and written as the phone's own "@".
        f.Questions().AnswerIndex(ScriptedQuestions::TypeIndex(2));
        ClickRow(AbList(v), 0);
        QTest::mouseClick(ToPhoneButton(v), Qt::LeftButton);
        Save(f);
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(2).name, QStringLiteral("Anna@Work"));
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).name, QStringLiteral("Anna@Work"));
        QCOMPARE(ListNames(v), (QStringList{"Anna@Work", "Anna@Work"}));
    }

    void exitDuringAReadLeavesNothingArmedForALaterSave()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().latencyMs = 30;
        StartOnSim(f, {{1, {"Anna", "1"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "2");
        v->Phone().ReadDirectory(DIR_MOBILE); // a read runs while the edit is unsaved
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        f.Questions().AnswerYesNo(61258, true);
        QVERIFY(f.Frame()->ExecuteCommand(ID_APP_EXIT));
        QCOMPARE(f.Frame()->MessageText(), kBusy); // the save cannot start now
        QVERIFY(!v->Store().HasFlag(VF_EXIT_AFTER_WRITE));
        QVERIFY(f.WaitUntilIdle());
        QVERIFY(f.Frame()->isVisible());
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void unsavedChangesShownAgainCountAsEdited()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "1"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "2");
        f.Questions().AnswerYesNo(61262, false);
        ChooseDirectory(v, DIR_MOBILE);
        QVERIFY(f.WaitUntilIdle());
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        ChooseDirectory(v, DIR_SIM);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED)); // leaving the program asks about them
        QVERIFY(f.Questions().Unanswered().empty());
    }

    // An entry typed again as the phone holds it counts as new yet leaves nothing to write; after "No" to the
    // save question, deleting it is the change that must be saved.
    void deletingAnEntryTypedAgainAfterNotNowCountsAsEdited()
    {
        FormFixture& f = NewForm();
        StartOnSim(f, {{1, {"Anna", "1"}}, {2, {"Bert", "2"}}});
        CDlgView* v = f.View();
        Select(v, {"Anna"});
        EditSelected(f, "Anna", "1");
        f.Questions().AnswerYesNo(61262, false);
        ChooseDirectory(v, DIR_MOBILE);
        QVERIFY(f.WaitUntilIdle());
        ChooseDirectory(v, DIR_SIM);
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        Select(v, {"Anna"});
        DeleteSelected(f, 61266);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        Save(f);
        QCOMPARE(PhoneIndices(f), QList<int>{2});
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void namesDamagedOnTheLineAreNeverWrittenBack()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().garblePercent = 100; // every name answered in hex comes damaged, also when read again
        StartOnSim(f, {{1, {QString::fromUtf8("Иван"), "111"}}, {2, {QString::fromUtf8("Олег"), "222"}}});
        CDlgView* v = f.View();
        const DirTable& t = v->Store().CurrentPhoneTable();
        QCOMPARE(t.m_nCount, 2);
        QVERIFY(t[0].m_bNameUnreadable && t[1].m_bNameUnreadable);
        QVERIFY(f.Frame()->MessageText().startsWith(QStringLiteral("Action successful. 2 names could not be read")));
        const int first = t[0].m_nIndex == 1 ? 0 : 1;
        const QString shown = QString::fromStdString(t[first].m_strName);
        // Only the number edited: nothing is sent, the status line says why and the edit stays pending.
        Select(v, {shown});
        EditSelected(f, shown.toStdString(), "999");
        Save(f);
        QCOMPARE(WritesIn(f.PhoneLog()), QStringList{});
        QVERIFY(f.Frame()->MessageText().startsWith(QStringLiteral("1 entries were not written")));
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).name, QString::fromUtf8("Иван"));
        // The name typed again is written with the number; the other entry is deleted as usual.
        Select(v, {shown});
        EditSelected(f, "Ivan", "999");
        Select(v, {QString::fromStdString(t[1 - first].m_strName)});
        DeleteSelected(f, 61266);
        Save(f);
        QCOMPARE(WritesIn(f.PhoneLog()), (QStringList{QStringLiteral("1,\"999\",129,\"Ivan\""), QStringLiteral("2")}));
        QCOMPARE(f.Phone().state().storage("SM")->entries.keys(), QList<int>{1});
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
    }
};

QTEST_MAIN(TestExactWrites)
#include "TestExactWrites.moc"
