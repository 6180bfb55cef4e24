// Reading the telephone's directories through the form, against the phone emulator on a real pseudo-terminal:
// which directories start-up reads, what a read puts into a table and the list, how failures are reported, and
// that a directory read once is shown from memory.
#include "FormControls.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "link/TelephoneLinkSetup.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest>

namespace {
EmulatorState PhoneWith(const QString& storage, const QMap<int, EmulatorEntry>& entries)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage* s = state.storage(storage);
    s->entries = entries;
    if (!entries.isEmpty()) s->capacity = std::max(s->capacity, entries.lastKey());
    return state;
}

int CommandsMatching(const QString& log, const QString& pattern)
{
    return static_cast<int>(log.count(QRegularExpression(pattern)));
}

QStringList Names(QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

void ChooseDirectory(CDlgView* view, int directory)
{
    DirectoryCombo(view)->setCurrentIndex(directory);
    emit DirectoryCombo(view)->activated(directory);
}
}

class TestPhoneReading : public FormTestCase {
    Q_OBJECT
private slots:
    void startUpReadsTheOwnNumbers()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(PhoneWith("ON", {{1, {"My number", "+491701234567"}}}));
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        QCOMPARE(v->Store().m_nCurDir, int(DIR_OWN));
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_OWN));
        QCOMPARE(Names(PhoneList(v)), QStringList{"My number"});
        QCOMPARE(PhoneList(v)->topLevelItem(0)->text(1), QStringLiteral("+491701234567"));
        QVERIFY(CommandsMatching(f.PhoneLog(), QStringLiteral("CPBS=\"ON\"")) >= 1);
        QCOMPARE(CommandsMatching(f.PhoneLog(), QStringLiteral("CPBS=\"SM\"")), 0);
        QCOMPARE(v->Store().m_nNameLen, 16);
        QCOMPARE(v->Store().m_nNumberLen, 20);
        QCOMPARE(v->Store().m_dirTables[DIR_OWN].m_bReadOnly, 0);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action successful"));
        QVERIFY(f.Questions().TakeReports().empty());
    }

    void autoloadReadsTheNamedDirectoriesInTurn()
    {
        FormFixture& f = NewForm();
        EmulatorState state = EmulatorState::blank();
        state.storage("ME")->entries = {{1, {"Mobile", "1"}}};
        state.storage("LD")->entries = {{1, {"Dialled", "2"}}, {2, {"Again", "3"}}};
        f.SetPhoneState(state);
        f.PhoneOptions().latencyMs = 30;
        f.SetSetting(QStringLiteral("Autoload"), 1);
        f.SetSetting(QStringLiteral("Phonebooks"), 0x06);
        f.Start();
        CDlgView* v = f.View();
        // The combo box shows the first directory of the sequence from its start on.
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_MOBILE));
        QVERIFY(f.WaitUntilIdle());
        QTRY_COMPARE(v->Store().m_nAutoReadMask, 0u);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_LAST_DIAL));
        QCOMPARE(v->Store().m_nCurDir, int(DIR_LAST_DIAL));
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Again", "Dialled"}));
        QCOMPARE(v->Store().m_dirTables[DIR_MOBILE].m_nCount, 1);
        QCOMPARE(v->Store().m_dirTables[DIR_LAST_DIAL].m_bReadOnly, 1);
        const QString log = f.PhoneLog();
        QVERIFY(log.indexOf(QStringLiteral("CPBS=\"ME\"")) < log.indexOf(QStringLiteral("CPBS=\"LD\"")));
        QCOMPARE(CommandsMatching(log, QStringLiteral("CPBS=\"ON\"")), 0);
    }

    void missingDirectoryIsReportedAndTheSequenceGoesOn()
    {
        FormFixture& f = NewForm();
        EmulatorState state = EmulatorState::blank();
        state.storage("SM")->entries = {{3, {"Sim", "3"}}};
        f.SetPhoneState(state);
        f.PhoneOptions().without = QStringList{QStringLiteral("ME")};
        f.SetSetting(QStringLiteral("Autoload"), 1);
        f.SetSetting(QStringLiteral("Phonebooks"), 0x03);
        f.Start();
        CDlgView* v = f.View();
        QTRY_COMPARE(v->Store().m_nAutoReadMask, 0u);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{5 * 100000 + 41024}));
        QCOMPARE(v->Store().m_dirTables[DIR_MOBILE].m_nCount, 0);
        QCOMPARE(v->Store().m_nCurDir, int(DIR_SIM));
        QCOMPARE(Names(PhoneList(v)), QStringList{"Sim"});
    }

    void hangUpInTheMiddleLeavesTheTableEmpty()
    {
        FormFixture& f = NewForm();
        QMap<int, EmulatorEntry> many;
        for (int i = 1; i <= 60; ++i) many.insert(i, {QStringLiteral("Name %1").arg(i), QStringLiteral("%1").arg(i)});
        f.SetPhoneState(PhoneWith("ON", many));
        f.PhoneOptions().hangupAfter = 6;
        f.Start();
        CDlgView* v = f.View();
        QVERIFY(f.WaitUntilIdle(60000));
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{5 * 100000 + 41019}));
        QCOMPARE(v->Store().m_dirTables[DIR_OWN].m_nCount, 0);
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
        // No read has succeeded: the preview row is hidden, and the previous directory is shown again.
        QVERIFY(!PreviewName(v)->isVisible());
        QCOMPARE(v->Store().m_nCurDir, int(DIR_SIM));
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_SIM));
    }

    void vipNamesAndEmptyFieldsAreSplitAsStored()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(PhoneWith("ON", {{1, {"Boss!", "110"}}, {2, {"!Bang", "112"}}, {3, {"", "5"}}}));
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        const DirTable& t = f.View()->Store().m_dirTables[DIR_OWN];
        QCOMPARE(t.m_nCount, 3);
        QCOMPARE(t[0].m_strName, std::string("Boss"));
        QCOMPARE(t[0].m_strStatus, std::string("!"));
        QCOMPARE(t[1].m_strName, std::string("!Bang")); // a "!" in front is part of the name
        QCOMPARE(t[1].m_strStatus, std::string(" "));
        QCOMPARE(t[2].m_nIndex, 3);
        QCOMPARE(t[2].m_strName, std::string(" ")); // an empty name is read as one blank
    }

    void accentedNamesArriveInCodePage1252()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(PhoneWith("ON", {{1, {QStringLiteral("Jürgen Öz"), "1"}}}));
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.View()->Store().m_dirTables[DIR_OWN][0].m_strName, std::string("Jürgen Öz"));
        QCOMPARE(PhoneList(f.View())->topLevelItem(0)->text(0), QStringLiteral("Jürgen Öz"));
    }

    void directoryReadOnceIsShownFromMemory()
    {
        FormFixture& f = NewForm();
        EmulatorState state = EmulatorState::blank();
        state.storage("SM")->entries = {{1, {"Sim", "1"}}};
        f.SetPhoneState(state);
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        ChooseDirectory(v, DIR_SIM);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(Names(PhoneList(v)), QStringList{"Sim"});
        ChooseDirectory(v, DIR_OWN); // empty: read again
        QVERIFY(f.WaitUntilIdle());
        const qint64 commandsBefore = TelephoneLinkCounters().commands;
        ChooseDirectory(v, DIR_SIM);
        QVERIFY(!v->Store().HasFlag(VF_BUSY));
        QCOMPARE(Names(PhoneList(v)), QStringList{"Sim"});
        // The counters wait for every request made so far: none may have been made for a directory in memory.
        QCOMPARE(TelephoneLinkCounters().commands, commandsBefore);
        ChooseDirectory(v, DIR_OWN);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(CommandsMatching(f.PhoneLog(), QStringLiteral("CPBS=\"ON\"")) >= 2, true);
    }

    void changingAnEditedDirectoryAsksFirst()
    {
        FormFixture& f = NewForm();
        EmulatorState state = EmulatorState::blank();
        state.storage("SM")->entries = {{1, {"Sim", "1"}}};
        state.storage("ON")->entries = {{1, {"Own", "2"}}};
        f.SetPhoneState(state);
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        // No: the new directory is read and the edits stay in the old table, unmarked.
        v->Store().m_dirTables[DIR_OWN][0].m_strNumber = "22";
        v->Store().m_dirTables[DIR_OWN][0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        f.Questions().AnswerYesNo(61262, false);
        ChooseDirectory(v, DIR_SIM);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(Names(PhoneList(v)), QStringList{"Sim"});
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        QCOMPARE(f.Phone().state().storage("ON")->entries.value(1).number, QStringLiteral("2"));
        // Yes: the edited directory is written first, then the chosen one shown.
        v->Store().m_dirTables[DIR_SIM][0].m_strNumber = "11";
        v->Store().m_dirTables[DIR_SIM][0].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_PHONE_MODIFIED);
        f.Questions().AnswerYesNo(61262, true);
        ChooseDirectory(v, DIR_OWN);
        QVERIFY(f.WaitUntilIdle());
        QTRY_COMPARE(v->Store().m_nCurDir, int(DIR_OWN));
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Phone().state().storage("SM")->entries.value(1).number, QStringLiteral("11"));
        QCOMPARE(Names(PhoneList(v)), QStringList{"Own"});
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void previewRowStaysHiddenWhenTheSettingSaysSo()
    {
        FormFixture& f = NewForm();
        f.SetSetting(QStringLiteral("ShowCorrection"), 0);
        f.SetPhoneState(PhoneWith("ON", {{1, {"Own", "1"}}}));
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(PhoneList(f.View())->topLevelItemCount(), 1);
        QVERIFY(!PreviewName(f.View())->isVisible());
    }

    void windowStaysResponsiveDuringASlowRead()
    {
        FormFixture& f = NewForm();
        QMap<int, EmulatorEntry> many;
        for (int i = 1; i <= 40; ++i) many.insert(i, {QStringLiteral("N%1").arg(i), QStringLiteral("%1").arg(i)});
        f.SetPhoneState(PhoneWith("ON", many));
        f.PhoneOptions().latencyMs = 150;
        f.Start();
        CDlgView* v = f.View();
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        QCOMPARE(v->cursor().shape(), Qt::WaitCursor);
        // The event loop keeps running: a timer fires while the read goes on.
        bool fired = false;
        QTimer::singleShot(10, [&fired] { fired = true; });
        QTRY_VERIFY(fired);
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        QVERIFY(f.Frame()->MessageText().startsWith(QStringLiteral("Reading Own directory...")));
        QVERIFY(f.WaitUntilIdle(60000));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 40);
        QCOMPARE(v->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestPhoneReading)
#include "TestPhoneReading.moc"
