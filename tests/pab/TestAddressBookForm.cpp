// The address-book half of the form on real widgets and a real address-book file: opening it at start-up, its
// folders, reading entries with status and index from their comments, and saving changes back.
#include "FormControls.h"
#include "TestEntries.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "model/EntryTableEditor.h"
#include "pab/AddressBook.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CFormHost.h"
#include "ui/CFolderCombo.h"

#include <QFile>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
std::vector<std::string> Names(const std::vector<PabSeeder::StoredUser>& users)
{
    std::vector<std::string> names;
    for (const auto& u : users) names.push_back(u.name);
    std::sort(names.begin(), names.end());
    return names;
}

const PabSeeder::StoredUser* UserNamed(const std::vector<PabSeeder::StoredUser>& users, const std::string& name)
{
    for (const auto& u : users)
        if (u.name == name) return &u;
    return nullptr;
}

const DirEntry* EntryNamed(const DirTable& table, const std::string& name)
{
    for (int i = 0; i < table.m_nCount; ++i)
        if (table[i].m_strName == name) return &table[i];
    return nullptr;
}

}

class TestAddressBookForm : public FormTestCase {
    Q_OBJECT
private slots:
    void emptyBookShowsOneFolder()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        QVERIFY(f.EndedWith().empty());
        QCOMPARE(v->Store().m_nFolderCount, 1);
        QCOMPARE(v->Store().m_folders[0].m_nKind, int(FOLDER_MAIN));
        QCOMPARE(v->Store().m_folders[0].m_nLevel, 1);
        QCOMPARE(FolderCombo(v)->count(), 1);
        QCOMPARE(FolderCombo(v)->itemText(0), QStringLiteral("Personal Address Book"));
        QCOMPARE(AbList(v)->topLevelItemCount(), 0);
        QVERIFY(QFile::exists(f.PabPath()));
    }

    void nestedListsFollowTheirParent()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            QVERIFY(pab.Ok());
            auto a = pab.AddList("A");
            pab.AddList("A1", a);
            pab.AddUser("Member", "1", std::string("Standard-Status - Index: 1 "), a);
            pab.AddList("B");
        }
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(v->Store().m_nFolderCount, 4);
        const char* names[] = {"Personal Address Book", "A", "A1", "B"};
        const int levels[] = {1, 2, 3, 2};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(v->Store().m_folders[static_cast<size_t>(i)].m_strName, std::string(names[i]));
            QCOMPARE(v->Store().m_folders[static_cast<size_t>(i)].m_nLevel, levels[i]);
            QCOMPARE(FolderCombo(v)->itemText(i), QString::fromLatin1(names[i]));
        }
        // Lists are folders, never entries of the folder that holds them.
        QCOMPARE(v->Store().m_abTable.m_nCount, 0);
        // Choosing list A shows its member.
        FolderCombo(v)->setCurrentIndex(1);
        v->Book().ChangeFolder();
        QCOMPARE(v->Store().m_abTable.m_nCount, 1);
        QCOMPARE(AbList(v)->topLevelItem(0)->text(0), QStringLiteral("Member"));
    }

    void commentsGiveStatusIndexAndFreeComment()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "111", std::string("Standard-Status - Index: 12 "));
            pab.AddUser("Bert", "222", std::string("VIP-Status - Index: 7 "));
            pab.AddUser("Carl", "333", std::string("Met at fair Standard-Status - Index: 3 "));
            pab.AddUser("Dora", "444", std::string("Met at fair"));
            pab.AddUser("Emil", "555", std::nullopt);
        }
        f.Start();
        const DirTable& t = f.View()->Store().m_abTable;
        QCOMPARE(t.m_nCount, 5);
        QCOMPARE(EntryNamed(t, "Anna")->m_nIndex, 12);
        QCOMPARE(EntryNamed(t, "Anna")->m_strStatus, std::string(" "));
        QCOMPARE(EntryNamed(t, "Bert")->m_nIndex, 7);
        QCOMPARE(EntryNamed(t, "Bert")->m_strStatus, std::string("!"));
        QCOMPARE(EntryNamed(t, "Carl")->m_nIndex, 3);
        // Dora and Emil had no index: they got the lowest free ones and were written back at once.
        QCOMPARE(EntryNamed(t, "Dora")->m_nIndex, 1);
        QCOMPARE(EntryNamed(t, "Emil")->m_nIndex, 2);
        // The list shows the folder read back after that write: the free comment as every later read gives it,
        // without the blank that joins it to the status word (as Carl's).
        QCOMPARE(EntryNamed(t, "Dora")->m_strComment, std::string("Met at fair"));
        QCOMPARE(EntryNamed(t, "Carl")->m_strComment, std::string("Met at fair"));
        QVERIFY(!f.View()->Store().HasFlag(VF_AB_MODIFIED));
        for (int i = 0; i < t.m_nCount; ++i) QCOMPARE(t[i].m_nState, int(ENTRY_UNCHANGED));

        PabSeeder check(f.PabPath().toStdString());
        const auto users = check.Users();
        QCOMPARE(*UserNamed(users, "Dora")->comment, std::string("Met at fair Standard-Status - Index: 1 "));
        QCOMPARE(*UserNamed(users, "Emil")->comment, std::string(" Standard-Status - Index: 2 "));
        // Entries whose indices were fine are not written.
        QCOMPARE(*UserNamed(users, "Carl")->comment, std::string("Met at fair Standard-Status - Index: 3 "));
    }

    void duplicateIndicesAreRepairedAndWrittenBack()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("First", "1", std::string("Standard-Status - Index: 5 "));
            pab.AddUser("Second", "2", std::string("VIP-Status - Index: 5 "));
            pab.AddUser("Third", "3", std::string("Standard-Status - Index: 1500 "));
        }
        f.Start();
        const DirTable& t = f.View()->Store().m_abTable;
        QCOMPARE(EntryNamed(t, "First")->m_nIndex, 5);
        QCOMPARE(EntryNamed(t, "Second")->m_nIndex, 1);
        QCOMPARE(EntryNamed(t, "Second")->m_strStatus, std::string("!"));
        QCOMPARE(EntryNamed(t, "Third")->m_nIndex, 2);
        PabSeeder check(f.PabPath().toStdString());
        const auto users = check.Users();
        QCOMPARE(*UserNamed(users, "Second")->comment, std::string(" VIP-Status - Index: 1 "));
        QCOMPARE(*UserNamed(users, "Third")->comment, std::string(" Standard-Status - Index: 2 "));
    }

    void newEditedAndDeletedEntriesAreSaved()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Carl", "333", std::string("Met at fair Standard-Status - Index: 3 "));
            pab.AddUser("Gone", "999", std::string("Standard-Status - Index: 4 "));
        }
        f.Start();
        CDlgView* v = f.View();
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        v->Store().SetFlag(VF_BATCH);
        DirEntry added = TestEntry("Nina", "0171 555", 12, " ", ENTRY_NEW);
        QVERIFY(editor.InsertAbEntry(0, added));
        v->Store().ClearFlag(VF_BATCH);
        DirEntry* carl = const_cast<DirEntry*>(EntryNamed(v->Store().m_abTable, "Carl"));
        carl->m_strStatus = "!";
        carl->m_strNumber = "334";
        carl->m_nState = ENTRY_CHANGED;
        int gone = -1;
        for (int i = 0; i < v->Store().m_abTable.m_nCount; ++i)
            if (v->Store().m_abTable[i].m_strName == "Gone") gone = i;
        QVERIFY(editor.RemoveAbEntry(gone));
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));

        QTest::mouseClick(SaveAddressBookButton(v), Qt::LeftButton);

        QVERIFY(f.EndedWith().empty());
        QVERIFY(f.Questions().TakeReports().empty());
        QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
        PabSeeder check(f.PabPath().toStdString());
        const auto users = check.Users();
        QCOMPARE(Names(users), (std::vector<std::string>{"Carl", "Nina"}));
        QCOMPARE(*UserNamed(users, "Nina")->comment, std::string("Standard-Status - Index: 12 "));
        QCOMPARE(UserNamed(users, "Nina")->number, std::string("0171 555"));
        QCOMPARE(UserNamed(users, "Carl")->number, std::string("334"));
        // The free comment stays; status and index are written anew after it.
        QCOMPARE(*UserNamed(users, "Carl")->comment, std::string("Met at fair VIP-Status - Index: 3 "));
        // The folder was read again: the new entry is an ordinary entry of it now.
        QCOMPARE(v->Store().m_abTable.m_nCount, 2);
        QVERIFY(EntryNamed(v->Store().m_abTable, "Nina")->m_pEntryId != nullptr);
        QCOMPARE(AbList(v)->topLevelItemCount(), 2);
    }

    void savingTwiceKeepsTheFreeCommentAsItIs()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Carl", "333", std::string("Met at fair Standard-Status - Index: 3 "));
        }
        f.Start();
        CDlgView* v = f.View();
        for (int round = 0; round < 3; ++round) {
            v->Store().m_abTable[0].m_nState = ENTRY_CHANGED;
            v->Store().SetFlag(VF_AB_MODIFIED);
            v->Commands().OnSaveAddressBook();
        }
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(*check.Users()[0].comment, std::string("Met at fair Standard-Status - Index: 3 "));
    }

    void changesGoToTheSubFolderShown()
    {
        FormFixture& f = NewForm();
        PabSeeder::EntryId list;
        {
            PabSeeder pab(f.PabPath().toStdString());
            list = pab.AddList("Family");
            pab.AddUser("Mum", "1", std::string("Standard-Status - Index: 1 "), list);
            pab.AddUser("Dad", "2", std::string("Standard-Status - Index: 2 "), list);
            pab.AddUser("Boss", "3", std::string("Standard-Status - Index: 1 "));
        }
        f.Start();
        CDlgView* v = f.View();
        FolderCombo(v)->setCurrentIndex(1);
        v->Book().ChangeFolder();
        QCOMPARE(v->Store().m_abTable.m_nCount, 2);
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        QVERIFY(editor.RemoveAbEntry(EntryNamed(v->Store().m_abTable, "Dad") == &v->Store().m_abTable[0] ? 0 : 1));
        DirEntry sister = TestEntry("Sister", "4", 5, " ", ENTRY_NEW);
        v->Store().SetFlag(VF_BATCH);
        QVERIFY(editor.InsertAbEntry(v->Store().m_abTable.m_nCount, sister));
        v->Store().ClearFlag(VF_BATCH);
        v->Commands().OnSaveAddressBook();
        QVERIFY(f.EndedWith().empty());
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(Names(check.Users(list)), (std::vector<std::string>{"Mum", "Sister"}));
        QCOMPARE(Names(check.Users()), (std::vector<std::string>{"Boss"}));
    }

    void duplicateNameIsReportedAndSavingGoesOn()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "1", std::string("Standard-Status - Index: 1 "));
        }
        f.Start();
        CDlgView* v = f.View();
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        DirEntry twin = TestEntry("Anna", "2", 2, " ", ENTRY_NEW);
        DirEntry other = TestEntry("Otto", "3", 3, " ", ENTRY_NEW);
        v->Store().SetFlag(VF_BATCH);
        QVERIFY(editor.InsertAbEntry(1, twin));
        QVERIFY(editor.InsertAbEntry(2, other));
        v->Store().ClearFlag(VF_BATCH);
        v->Commands().OnSaveAddressBook();
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{2 * 100000 + 41014}));
        QVERIFY(f.EndedWith().empty());
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(Names(check.Users()), (std::vector<std::string>{"Anna", "Otto"}));
        QCOMPARE(v->Store().m_abTable.m_nCount, 2); // the list shows what the book kept
    }

    void folderChangeAsksToSaveFirst()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddList("Club");
        }
        f.Start();
        CDlgView* v = f.View();
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        DirEntry kept = TestEntry("Kept", "1", 1, " ", ENTRY_NEW);
        v->Store().SetFlag(VF_BATCH);
        QVERIFY(editor.InsertAbEntry(0, kept));
        v->Store().ClearFlag(VF_BATCH);
        f.Questions().AnswerYesNo(61261, true);
        FolderCombo(v)->setCurrentIndex(1);
        v->Book().ChangeFolder();
        QVERIFY(f.Questions().Unanswered().empty());
        QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
        QCOMPARE(v->Store().m_abTable.m_nCount, 0); // the club's (empty) list is shown
        PabSeeder check(f.PabPath().toStdString());
        QCOMPARE(Names(check.Users()), (std::vector<std::string>{"Kept"}));
    }

    void acceptAllInABatchOfThree()
    {
        FormFixture& f = NewForm();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("One", "1", std::string("Standard-Status - Index: 1 "));
            pab.AddUser("Two", "2", std::string("Standard-Status - Index: 2 "));
        }
        f.Start();
        CDlgView* v = f.View();
        EntryTableEditor editor(v->Store(), f.Questions(), v->Host());
        f.Questions().AnswerIndex([](IndexDialogData& d) {
            d.m_nChosenIndex = 9;
            d.m_bAcceptAll = 1;
            return true;
        });
        v->Store().SetFlag(VF_BATCH | VF_BATCH_MULTI);
        DirEntry batch[3] = {TestEntry("A", "1", 1, " ", ENTRY_NEW), TestEntry("B", "2", 2, " ", ENTRY_NEW),
                             TestEntry("C", "3", 1, " ", ENTRY_NEW)};
        for (int i = 0; i < 3; ++i) QVERIFY(editor.InsertAbEntry(v->Store().m_abTable.m_nCount, batch[i]));
        v->Store().ClearFlag(VF_BATCH | VF_BATCH_MULTI);
        QCOMPARE(f.Questions().AskedSoFar().size(), size_t(1)); // asked once, with "Accept All" offered
        QCOMPARE(f.Questions().AskedSoFar()[0].text, std::string("accept-all"));
        QCOMPARE(batch[0].m_nIndex, 9);
        QCOMPARE(batch[1].m_nIndex, 3);
        QCOMPARE(batch[2].m_nIndex, 4);
    }

    void damagedFileEndsTheProgramAndStaysAsItWas()
    {
        FormFixture& f = NewForm();
        {
            QFile file(f.PabPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("This is not an address book, but somebody's letter.\n");
        }
        QFile before(f.PabPath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray original = before.readAll();
        before.close();
        f.Start();
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{2 * 100000 + 41001}));
        QCOMPARE(f.EndedWith(), (std::vector<int>{-1}));
        QFile after(f.PabPath());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), original);
    }
};

QTEST_MAIN(TestAddressBookForm)
#include "TestAddressBookForm.moc"
