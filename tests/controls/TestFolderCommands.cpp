// Creating address-book folders (command 32771) and choosing one from the folder dialog (command 32772), on the
// real form and a real address-book file, and the folder-selection dialog itself.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "model/FolderRecord.h"
#include "model/ViewFlags.h"
#include "res/StringTable.h"
#include "pab/AddressBook.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"
#include "ui/CFolderListBox.h"
#include "ui/CFolderSelectDlg.h"
#include "ui/DialogQuestions.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {
constexpr int kNewFolder = 32771;
constexpr int kOpenFolder = 32772;

// The book with list "A" (holding list "A1" and member "Member") and list "B".
void SeedFolders(FormFixture& f)
{
    PabSeeder pab(f.PabPath().toStdString());
    QVERIFY(pab.Ok());
    const auto a = pab.AddList("A");
    pab.AddList("A1", a);
    pab.AddUser("Member", "1", std::string("Standard-Status - Index: 1 "), a);
    pab.AddList("B");
}

std::vector<std::pair<std::string, int>> FolderTree(const CDlgView* v)
{
    std::vector<std::pair<std::string, int>> tree;
    for (int i = 0; i < v->Store().m_nFolderCount; ++i)
        tree.emplace_back(v->Store().m_folders[static_cast<size_t>(i)].m_strName, v->Store().m_folders[static_cast<size_t>(i)].m_nLevel);
    return tree;
}

void ShowFolder(CDlgView* v, int item)
{
    FolderCombo(v)->setCurrentIndex(item);
    v->Book().ChangeFolder();
}

int CountAsked(const ScriptedQuestions& q, int id)
{
    int n = 0;
    for (const auto& asked : q.AskedSoFar())
        if (asked.kind == "yesno" && asked.id == id) ++n;
    return n;
}

// Starts the form and lets its start-up telephone read end, so that nothing of it mixes with the folder commands.
void StartForm(FormFixture& f)
{
    f.Start();
    QVERIFY(f.WaitUntilIdle());
    QVERIFY(f.Questions().TakeReports().empty());
    f.Questions().Clear();
}

using Tree = std::vector<std::pair<std::string, int>>;
}

class TestFolderCommands : public FormTestCase {
    Q_OBJECT
private slots:
    void newFolderGoesIntoTheFolderShown_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<Tree>("expected");
        QTest::addColumn<int>("newItem");
        QTest::newRow("in the book") << 0
            << Tree{{"Personal Address Book", 1}, {"A", 2}, {"A1", 3}, {"B", 2}, {"New", 2}} << 4;
        QTest::newRow("in list A") << 1
            << Tree{{"Personal Address Book", 1}, {"A", 2}, {"A1", 3}, {"New", 3}, {"B", 2}} << 3;
        QTest::newRow("in list A1") << 2
            << Tree{{"Personal Address Book", 1}, {"A", 2}, {"A1", 3}, {"New", 4}, {"B", 2}} << 3;
    }

    void newFolderGoesIntoTheFolderShown()
    {
        QFETCH(int, shown);
        QFETCH(Tree, expected);
        QFETCH(int, newItem);
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        ShowFolder(v, shown);
        f.Questions().AnswerName(true, "New");

        QVERIFY(v->OnCommand(kNewFolder));

        QCOMPARE(FolderTree(v), expected);
        QCOMPARE(FolderCombo(v)->count(), int(expected.size()));
        QCOMPARE(FolderCombo(v)->currentIndex(), newItem);
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("New"));
        // The new, empty folder is what the right list shows now.
        QCOMPARE(v->Store().m_abTable.m_nCount, 0);
        QCOMPARE(AbList(v)->topLevelItemCount(), 0);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{});
        QVERIFY(f.Questions().Unanswered().empty());
        QVERIFY(f.EndedWith().empty());
    }

    void refusedOrCancelledNameCreatesNothing_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("clashQuestions");
        // n:<name> answers the name dialog with OK, n- cancels it; y/N answer question 41022.
        QTest::newRow("name dialog cancelled") << QStringList{"n-"} << 0;
        QTest::newRow("No to 41022") << QStringList{"n:B", "N"} << 1;
        QTest::newRow("second name dialog cancelled") << QStringList{"n:B", "y", "n-"} << 1;
        QTest::newRow("book's own name") << QStringList{"n:Personal Address Book", "N"} << 1;
        // The replacement is checked against every folder again, also those before the clashing one.
        QTest::newRow("replacement clashes with an earlier folder") << QStringList{"n:B", "y", "n:A", "N"} << 2;
    }

    void refusedOrCancelledNameCreatesNothing()
    {
        QFETCH(QStringList, script);
        QFETCH(int, clashQuestions);
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        ShowFolder(v, 1);
        const Tree before = FolderTree(v);
        for (const QString& step : script) {
            if (step == "n-") f.Questions().AnswerName(false);
            else if (step.startsWith("n:")) f.Questions().AnswerName(true, step.mid(2).toStdString());
            else f.Questions().AnswerYesNo(Ids::IDS_NAME_EXISTS, step == "y");
        }

        QVERIFY(v->OnCommand(kNewFolder));

        QCOMPARE(CountAsked(f.Questions(), Ids::IDS_NAME_EXISTS), clashQuestions);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(FolderTree(v), before);
        QCOMPARE(FolderCombo(v)->count(), int(before.size()));
        QCOMPARE(FolderCombo(v)->currentIndex(), 1);
        QCOMPARE(AbList(v)->topLevelItemCount(), 1); // list A's member is still shown
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(check.Users().size(), size_t(0));
    }

    void renamedFolderIsCreatedUnderTheNewName()
    {
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        f.Questions().AnswerName(true, "A");
        f.Questions().AnswerYesNo(Ids::IDS_NAME_EXISTS, true);
        f.Questions().AnswerName(true, "C");
        QVERIFY(v->OnCommand(kNewFolder));
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(v->Store().m_nFolderCount, 5);
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("C"));
    }

    // The folder combo box's own menu offers the distribution-list commands, enabled as the File menu enables
    // them: the book itself cannot be renamed; a list chosen there is renamed through the name dialog.
    void folderMenuRunsTheListCommands()
    {
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        QStringList enabled;
        // Runs inside the menu's own event loop, once the menu is open: notes what is enabled, picks `choose`.
        auto openMenu = [&](const QString& choose) {
            enabled.clear();
            QTimer::singleShot(0, [&, choose] {
                auto* menu = v->findChild<QMenu*>(QStringLiteral("folderMenu"));
                if (!menu) return;
                QAction* chosen = nullptr;
                for (QAction* action : menu->actions()) {
                    if (action->isEnabled()) enabled << action->text();
                    if (action->text() == choose) chosen = action;
                }
                if (!chosen) {
                    menu->close();
                    return;
                }
                menu->setActiveAction(chosen);
                QTest::keyClick(menu, Qt::Key_Return);
            });
            emit FolderCombo(v)->customContextMenuRequested(QPoint(2, 2));
        };
        openMenu(QString());
        QCOMPARE(enabled, QStringList{QStringLiteral("&New distribution list...")});

        ShowFolder(v, 1); // list "A"
        f.Questions().AnswerName(true, "Renamed");
        openMenu(QStringLiteral("&Rename Distribution List..."));
        QCOMPARE(enabled.size(), 3);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("Renamed"));
    }

    void nameDifferingInCaseIsANewFolderAndIsShown()
    {
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        f.Questions().AnswerName(true, "a");
        QVERIFY(v->OnCommand(kNewFolder));
        QCOMPARE(v->Store().m_nFolderCount, 5);
        // The new folder is shown, not the older "A" that only differs in case.
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("a"));
        QCOMPARE(v->Store().m_abTable.m_nCount, 0);
    }

    void unsavedChangesAreOfferedBeforeTheName()
    {
        FormFixture& f = NewForm();
        StartForm(f);
        CDlgView* v = f.View();
        v->Store().SetFlag(VF_AB_MODIFIED);
        f.Questions().AnswerYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, false);
        f.Questions().AnswerName(false);
        QVERIFY(v->OnCommand(kNewFolder));
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(f.Questions().AskedSoFar().front().id, Ids::IDS_SAVE_AB_BEFORE_FOLDER);
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED)); // No leaves the changes pending
    }

    void openFolderShowsTheChosenFolder()
    {
        FormFixture& f = NewForm();
        SeedFolders(f);
        StartForm(f);
        CDlgView* v = f.View();
        f.Questions().AnswerFolder(true, 1);
        QVERIFY(v->OnCommand(kOpenFolder));
        QCOMPARE(FolderCombo(v)->currentIndex(), 1);
        QCOMPARE(AbList(v)->topLevelItemCount(), 1);
        QCOMPARE(AbList(v)->topLevelItem(0)->text(0), QStringLiteral("Member"));

        f.Questions().AnswerFolder(false, 3);
        QVERIFY(v->OnCommand(kOpenFolder));
        QCOMPARE(FolderCombo(v)->currentIndex(), 1);

        // A choice outside the table changes nothing.
        f.Questions().AnswerFolder(true, 17);
        QVERIFY(v->OnCommand(kOpenFolder));
        QCOMPARE(FolderCombo(v)->currentIndex(), 1);
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void selectionDialogListsTheTable_data()
    {
        QTest::addColumn<int>("clicked"); // -1: OK without a selection
        QTest::addColumn<int>("expected");
        QTest::newRow("no selection means the book") << -1 << 0;
        QTest::newRow("second folder") << 1 << 1;
        QTest::newRow("last folder") << 2 << 2;
    }

    void selectionDialogListsTheTable()
    {
        QFETCH(int, clicked);
        QFETCH(int, expected);
        FolderRecord table[3];
        const char* names[] = {"Personal Address Book", "Friends", "Work"};
        for (int i = 0; i < 3; ++i) {
            table[i].m_nKind = i == 0 ? FOLDER_MAIN : FOLDER_SUB;
            table[i].m_nLevel = i == 0 ? 1 : 2;
            table[i].m_strName = names[i];
        }
        CFolderSelectDlg dialog;
        dialog.m_pFolderTable = table;
        dialog.m_nFolderCount = 3;
        dialog.m_nSelected = -5;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Selection of folder in the personal address book"));
        CFolderListBox* list = dialog.m_lbFolders;
        QCOMPARE(list->Count(), 3);
        QCOMPARE(list->model()->index(2, 0).data().toString(), QStringLiteral("Work"));
        QCOMPARE(CFolderListBox::RecordOf(list->model()->index(1, 0)), &table[1]);
        QCOMPARE(list->SelectedItem(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));

        if (clicked < 0) {
            list->clearSelection();
        } else {
            const QRect row = list->visualRect(list->model()->index(clicked, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        }
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("button1")), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nSelected, expected);
    }

    void realQuestionSeamRunsTheDialog()
    {
        FolderRecord table[2];
        table[0].m_nKind = FOLDER_MAIN;
        table[0].m_nLevel = 1;
        table[0].m_strName = "Personal Address Book";
        table[1].m_nKind = FOLDER_SUB;
        table[1].m_nLevel = 2;
        table[1].m_strName = "Friends";
        QWidget parent;
        DialogQuestions questions(&parent);
        for (const bool ok : {true, false}) {
            QTimer::singleShot(0, this, [ok] {
                auto* dialog = qobject_cast<CFolderSelectDlg*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->m_lbFolders->SelectItem(1);
                QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? QStringLiteral("button1") : QStringLiteral("button2")),
                                  Qt::LeftButton);
            });
            int selected = -1;
            QCOMPARE(questions.RunFolderDialog(table, 2, selected), ok);
            QCOMPARE(selected, ok ? 1 : -1);
        }
    }
};

QTEST_MAIN(TestFolderCommands)
#include "TestFolderCommands.moc"
