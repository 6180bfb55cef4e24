// Changes made in an address-book folder are saved into that folder or stay pending there, whatever the user
// answers while creating another folder; a folder that cannot be read leaves nothing of the one before.
// Checked on the real form and in the address-book file itself, with SQL.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabQuery.h"
#include "PabSeeder.h"

#include "mapi/MapiCodes.h"
#include "mapi/MapiFaults.h"
#include "model/EntryTableEditor.h"
#include "res/StringTable.h"
#include "pab/AddressBook.h"
#include "ui/CDlgView.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CFolderCombo.h"

#include <QTreeWidget>
#include <QtTest>


namespace {
constexpr int kNewFolder = 32771;

// The names of the folders (the book or a list) holding a mail user of that name. 12289: the display name.
QStringList FoldersHolding(const QString& file, const QString& user)
{
    return QueryPab(file,
                 "SELECT folder.value FROM props AS name JOIN objects AS o ON o.id = name.object "
                 "JOIN props AS folder ON folder.object = o.parent AND folder.propid = 12289 "
                 "WHERE name.propid = 12289 AND name.value = ?1 ORDER BY folder.value",
                 user);
}

// The mail user's primary telephone number (property 0x3A1A).
QString NumberOf(const QString& file, const QString& user)
{
    return QueryPab(file,
                 "SELECT number.value FROM props AS name JOIN props AS number ON number.object = name.object "
                 "AND number.propid = 14874 WHERE name.propid = 12289 AND name.value = ?1",
                 user)
        .value(0);
}

// The book holds "Same"; list "A" holds "Old" and "Gone". The form shows list A.
void StartInListA(FormFixture& f)
{
    {
        PabSeeder pab(f.PabPath().toStdString());
        QVERIFY(pab.Ok());
        pab.AddUser("Same", "1", std::string("Standard-Status - Index: 1 "));
        const auto a = pab.AddList("A");
        pab.AddUser("Old", "2", std::string("Standard-Status - Index: 2 "), a);
        pab.AddUser("Gone", "3", std::string("Standard-Status - Index: 3 "), a);
    }
    f.Start();
    QVERIFY(f.WaitUntilIdle());
    f.Questions().Clear();
    CDlgView* v = f.View();
    FolderCombo(v)->setCurrentIndex(1);
    v->Book().ChangeFolder();
    QCOMPARE(v->Store().m_abTable.m_nCount, 2);
}

int SlotNamed(const DirTable& table, const std::string& name)
{
    for (int i = 0; i < table.m_nCount; ++i)
        if (table[i].m_strName == name) return i;
    return -1;
}

// In list A: a new entry whose name the book has, an edited entry and a deleted one.
void ChangeListA(FormFixture& f)
{
    CDlgView* v = f.View();
    EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
    DirEntry same;
    same.m_strName = "Same";
    same.m_strNumber = "11";
    same.m_strStatus = " ";
    same.m_nIndex = 4;
    QVERIFY(editor.InsertAbEntry(0, same));
    DirEntry& old = v->Store().m_abTable[SlotNamed(v->Store().m_abTable, "Old")];
    old.m_strNumber = "22";
    old.m_nState = ENTRY_CHANGED;
    QVERIFY(editor.RemoveAbEntry(SlotNamed(v->Store().m_abTable, "Gone")));
    v->Lists().FillAbList(false);
    QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));
}
}

class TestFolderChangesKept : public FormTestCase {
    Q_OBJECT
    void AfterEachTest() override { MapiFaults::Clear(); }

private slots:
    void newFolderWithUnsavedChanges_data()
    {
        QTest::addColumn<bool>("saveFirst");
        QTest::addColumn<bool>("saveOnChange");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes before the name") << true << false << true;
        QTest::newRow("No, then Yes when the new folder is shown") << false << true << true;
        QTest::newRow("No, then No") << false << false << false;
    }

    void newFolderWithUnsavedChanges()
    {
        QFETCH(bool, saveFirst);
        QFETCH(bool, saveOnChange);
        QFETCH(bool, saved);
        FormFixture& f = NewForm();
        StartInListA(f);
        ChangeListA(f);
        CDlgView* v = f.View();
        f.Questions().AnswerYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, saveFirst);
        f.Questions().AnswerName(true, "N");
        if (!saveFirst) f.Questions().AnswerYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, saveOnChange);

        QVERIFY(v->OnCommand(kNewFolder));

        QVERIFY(f.Questions().Unanswered().empty());
        QVERIFY(f.Questions().TakeReports().empty()); // no 41014: nothing went into the book, where "Same" is
        QVERIFY(f.EndedWith().empty());
        const QString file = f.PabPath();
        if (saved) {
            QCOMPARE(FoldersHolding(file, "Same"), (QStringList{"A", "Personal Address Book"}));
            QCOMPARE(FoldersHolding(file, "Gone"), QStringList{});
            QCOMPARE(NumberOf(file, "Old"), QStringLiteral("22"));
        } else {
            QCOMPARE(FoldersHolding(file, "Same"), QStringList{"Personal Address Book"});
            QCOMPARE(FoldersHolding(file, "Gone"), QStringList{"A"});
            QCOMPARE(NumberOf(file, "Old"), QStringLiteral("2"));
        }
        QCOMPARE(FoldersHolding(file, "Old"), QStringList{"A"});
        // The new folder is shown, empty, and nothing is left pending.
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("N"));
        QCOMPARE(v->Store().m_abTable.m_nCount, 0);
        QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
        // Showing list A again shows what its file holds.
        FolderCombo(v)->setCurrentIndex(1);
        v->Book().ChangeFolder();
        QCOMPARE(AbList(v)->topLevelItemCount(), 2);
        QCOMPARE(SlotNamed(v->Store().m_abTable, "Gone") >= 0, !saved);
        QCOMPARE(SlotNamed(v->Store().m_abTable, "Same") >= 0, saved);
    }

    void failedFolderReadLeavesNothingOfTheFolderBefore_data()
    {
        QTest::addColumn<MapiCall>("call");
        QTest::addColumn<int>("report");
        QTest::newRow("contents table") << MapiCall::GetContentsTable << 2 * 100000 + 41006;
        QTest::newRow("rows") << MapiCall::HrQueryAllRows << 2 * 100000 + 41007;
    }

    void failedFolderReadLeavesNothingOfTheFolderBefore()
    {
        QFETCH(MapiCall, call);
        QFETCH(int, report);
        FormFixture& f = NewForm();
        StartInListA(f);
        CDlgView* v = f.View();
        MapiFaults::Inject(call, MAPI_E_CALL_FAILED);
        FolderCombo(v)->setCurrentIndex(0);
        v->Book().ChangeFolder();
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{report});
        // No entry of list A is left, listed under the book's name or kept with an identifier into freed rows.
        QCOMPARE(v->Store().m_abTable.m_nCount, 0);
        QCOMPARE(AbList(v)->topLevelItemCount(), 0);
        for (const DirEntry& entry : v->Store().m_abTable.m_entries) QVERIFY(entry.m_pEntryId == nullptr);
    }
};

QTEST_MAIN(TestFolderChangesKept)
#include "TestFolderChangesKept.moc"
