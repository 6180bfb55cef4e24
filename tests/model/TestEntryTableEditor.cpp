#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "RecordingHost.h"
#include "ScriptedQuestions.h"

#include <QtTest>

#include <memory>
#include <vector>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {
DirEntry MakeEntry(int index, const std::string& name, int state = ENTRY_UNCHANGED)
{
    DirEntry entry;
    entry.m_nIndex = index;
    entry.m_strName = name;
    entry.m_strNumber = "0891234";
    entry.m_strStatus = " ";
    entry.m_nState = state;
    return entry;
}

void FillTable(DirTable& table, int capacity, const std::vector<int>& indices)
{
    table.m_nCapacity = capacity;
    table.m_nCount = static_cast<int>(indices.size());
    for (size_t i = 0; i < indices.size(); ++i)
        table[static_cast<int>(i)] = MakeEntry(indices[i], "E" + std::to_string(indices[i]));
}

std::vector<int> LiveIndices(const DirTable& table)
{
    std::vector<int> out;
    for (int i = 0; i < table.m_nCount; ++i) out.push_back(table[i].m_nIndex);
    return out;
}

// Typed into the index dialog by a data row: keeps what the dialog proposed.
constexpr int kKeepProposal = -999999;

std::vector<int> DeletionRecordIndices(const DirTable& table)
{
    std::vector<int> out;
    for (int s = table.m_nCount; s < kTableSlots && table[s].m_nState == ENTRY_REMOVED; ++s) out.push_back(table[s].m_nIndex);
    return out;
}
}

class TestEntryTableEditor : public QObject {
    Q_OBJECT
    // The store holds 32 tables of 1000 entries: too large for the stack.
    std::unique_ptr<EntryStore> m_store;
    ScriptedQuestions m_questions;
    RecordingHost m_host;
    std::unique_ptr<EntryTableEditor> m_editor;

    DirTable& Phone() { return m_store->CurrentPhoneTable(); }
    DirTable& Ab() { return m_store->m_abTable; }
    void BeginBatch(bool multi)
    {
        m_store->SetFlag(VF_BATCH);
        if (multi) m_store->SetFlag(VF_BATCH_MULTI);
        else m_store->ClearFlag(VF_BATCH_MULTI);
    }

private slots:
    void init()
    {
        m_store = std::make_unique<EntryStore>();
        m_store->m_nCurDir = DIR_SIM;
        m_store->m_nNameLen = 16;
        m_store->m_nNumberLen = 20;
        m_questions = ScriptedQuestions();
        m_host = RecordingHost();
        m_editor = std::make_unique<EntryTableEditor>(*m_store, m_questions, m_host);
    }

    void lowestFreeIndex_data()
    {
        QTest::addColumn<std::vector<int>>("indices");
        QTest::addColumn<int>("lowest");
        QTest::newRow("gap") << std::vector<int>{1, 2, 4} << 3;
        QTest::newRow("no gap") << std::vector<int>{1, 2, 3} << 4;
        QTest::newRow("empty") << std::vector<int>{} << 1;
        QTest::newRow("starts high") << std::vector<int>{5, 6} << 1;
        QTest::newRow("unordered") << std::vector<int>{3, 1, 2} << 4;
        QTest::newRow("duplicates leave a gap") << std::vector<int>{1, 1, 2} << 3;
    }
    void lowestFreeIndex()
    {
        QFETCH(std::vector<int>, indices);
        QFETCH(int, lowest);
        FillTable(Phone(), 250, indices);
        QCOMPARE(EntryTableEditor::LowestFreeIndex(Phone()), lowest);
    }

    void isIndexFree_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("free");
        QTest::newRow("unused") << 3 << true;
        QTest::newRow("taken") << 2 << false;
        QTest::newRow("zero") << 0 << false;
        QTest::newRow("at capacity") << 10 << true;
        QTest::newRow("above capacity") << 11 << false;
        QTest::newRow("negative") << -4 << false;
        QTest::newRow("only a deletion record has it") << 7 << true;
    }
    void isIndexFree()
    {
        QFETCH(int, index);
        QFETCH(bool, free);
        FillTable(Phone(), 10, {1, 2, 7});
        QVERIFY(m_editor->RemovePhoneEntry(2));
        QCOMPARE(EntryTableEditor::IsIndexFree(index, Phone()), free);
    }

    void fullTableRefusesWithReportAndStatus()
    {
        FillTable(Phone(), 3, {1, 2, 3});
        DirEntry entry = MakeEntry(0, "New");
        QVERIFY(!m_editor->InsertPhoneEntry(3, entry));
        QCOMPARE(m_questions.TakeReports(), std::vector<int>{4 * 100000 + 41025}); // class 4, message 41025
        QCOMPARE(m_host.m_statusTexts, std::vector<std::string>{"Action aborted."});
        QCOMPARE(m_store->m_strScratch, std::string("Action aborted."));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{1, 2, 3}));
        QVERIFY(!m_store->HasFlag(VF_PHONE_MODIFIED));
    }

    void deletionRecordsFillingTheRestRefuseLikeAFullTable_data()
    {
        QTest::addColumn<std::vector<int>>("recordsBefore");
        QTest::addColumn<bool>("inserted");
        QTest::addColumn<std::vector<int>>("live");
        QTest::addColumn<std::vector<int>>("records");
        QTest::newRow("replaces a record") << std::vector<int>{1, 2} << true << std::vector<int>{1, 3}
                                           << std::vector<int>{2};
        QTest::newRow("matches no record") << std::vector<int>{2, 2} << false << std::vector<int>{3}
                                           << std::vector<int>{2, 2};
    }
    void deletionRecordsFillingTheRestRefuseLikeAFullTable()
    {
        QFETCH(std::vector<int>, recordsBefore);
        QFETCH(bool, inserted);
        QFETCH(std::vector<int>, live);
        QFETCH(std::vector<int>, records);
        // One live entry and two records occupy all three slots: only a record's index can still be placed.
        FillTable(Phone(), 3, {3});
        Phone()[1] = MakeEntry(recordsBefore[0], "gone", ENTRY_REMOVED);
        Phone()[2] = MakeEntry(recordsBefore[1], "gone", ENTRY_REMOVED);
        DirEntry entry = MakeEntry(9, "New"); // 9 is impossible and becomes the lowest free index, 1
        QCOMPARE(m_editor->InsertPhoneEntry(0, entry), inserted);
        QCOMPARE(LiveIndices(Phone()), live);
        QCOMPARE(DeletionRecordIndices(Phone()), records);
        QCOMPARE(m_questions.TakeReports().size(), size_t(inserted ? 0 : 1));
    }

    void addressBookNeverWritesPastItsLastSlot()
    {
        FillTable(Ab(), 1000, {});
        for (int i = 1; i <= 999; ++i) Ab()[i - 1] = MakeEntry(i, "N" + std::to_string(i));
        Ab().m_nCount = 999;
        Ab()[999] = MakeEntry(1000, "Gone", ENTRY_REMOVED);
        DirEntry entry = MakeEntry(0, "New");
        QVERIFY(!m_editor->InsertAbEntry(0, entry));
        QCOMPARE(m_questions.TakeReports().size(), size_t(1));
        QCOMPARE(Ab().m_nCount, 999);
        // Removing from a table whose every slot is used puts the record into the slot it frees.
        QVERIFY(m_editor->RemoveAbEntry(0));
        QCOMPARE(Ab().m_nCount, 998);
        QCOMPARE(DeletionRecordIndices(Ab()), (std::vector<int>{1000, 1}));
    }

    void insertPhoneEntryAppliesTheTelephoneLimits()
    {
        FillTable(Phone(), 250, {1});
        DirEntry entry = MakeEntry(2, "Abcdefg[h]ijklmnopqr"); // 20 characters
        entry.m_strNumber = "+12345678901234567890";        // "+" and 20 digits
        entry.m_nState = ENTRY_CHANGED;
        QVERIFY(m_editor->InsertPhoneEntry(1, entry));
        // Characters the telephone cannot hold go before the cut, so the name keeps all the room it has; the
        // caller's copy holds the name as inserted.
        QCOMPARE(entry.m_strName, std::string("Abcdefghijklmnop"));
        QCOMPARE(Phone()[1].m_strName, std::string("Abcdefghijklmnop"));
        QCOMPARE(Phone()[1].m_strNumber, std::string("+1234567890123456789"));
        QCOMPARE(Phone()[1].m_nState, int(ENTRY_NEW));
        QCOMPARE(Phone()[1].m_nIndex, 2);
        QVERIFY(m_store->HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(m_questions.IndexDialogsShown().empty());
    }

    void insertionsKeepTableOrderAndShiftTheRest()
    {
        FillTable(Phone(), 250, {1, 2, 3});
        QVERIFY(m_editor->RemovePhoneEntry(2)); // record for 3
        DirEntry entry = MakeEntry(4, "Mid");
        QVERIFY(m_editor->InsertPhoneEntry(1, entry));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{1, 4, 2}));
        QCOMPARE(DeletionRecordIndices(Phone()), std::vector<int>{3});
        DirEntry far = MakeEntry(5, "Far");
        QVERIFY(m_editor->InsertPhoneEntry(5000, far)); // beyond the live entries: appended
        DirEntry before = MakeEntry(6, "Before");
        QVERIFY(m_editor->InsertPhoneEntry(-3, before));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{6, 1, 4, 2, 5}));
        QCOMPARE(DeletionRecordIndices(Phone()), std::vector<int>{3});
    }

    void insertingAtAPendingDeletionsIndexDropsTheRecord()
    {
        FillTable(Phone(), 250, {5, 7, 9});
        QVERIFY(m_editor->RemovePhoneEntry(1)); // index 7, read from the telephone
        QVERIFY(m_editor->RemovePhoneEntry(0)); // index 5
        DirEntry entry = MakeEntry(7, "Again");
        QVERIFY(m_editor->InsertPhoneEntry(1, entry));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{9, 7}));
        QCOMPARE(DeletionRecordIndices(Phone()), std::vector<int>{5});
    }

    void addressBookKeepsItsDeletionRecords()
    {
        FillTable(Ab(), 1000, {5, 7});
        Ab()[1].m_strComment = "friend";
        QVERIFY(m_editor->RemoveAbEntry(1));
        DirEntry entry = MakeEntry(7, "Again");
        QVERIFY(m_editor->InsertAbEntry(0, entry));
        QCOMPARE(LiveIndices(Ab()), (std::vector<int>{7, 5}));
        QCOMPARE(DeletionRecordIndices(Ab()), std::vector<int>{7});
        QCOMPARE(Ab()[2].m_strComment, std::string("friend"));
        QVERIFY(m_store->HasFlag(VF_AB_MODIFIED));
    }

    void removalsLeaveRecordsOnlyForEntriesThatExistElsewhere()
    {
        FillTable(Phone(), 250, {1, 2, 3, 4});
        DirEntry added = MakeEntry(5, "Added");
        QVERIFY(m_editor->InsertPhoneEntry(4, added));
        m_store->ClearFlag(VF_PHONE_MODIFIED);
        QVERIFY(m_editor->RemovePhoneEntry(4)); // the new entry: dropped
        QVERIFY(DeletionRecordIndices(Phone()).empty());
        QVERIFY(!m_store->HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(m_editor->RemovePhoneEntry(2)); // 3
        QVERIFY(m_editor->RemovePhoneEntry(0)); // 1
        DirEntry another = MakeEntry(8, "Another");
        QVERIFY(m_editor->InsertPhoneEntry(0, another));
        QVERIFY(m_editor->RemovePhoneEntry(0));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{2, 4}));
        QCOMPARE(DeletionRecordIndices(Phone()), (std::vector<int>{3, 1})); // order of the deletions
        QVERIFY(m_store->HasFlag(VF_PHONE_MODIFIED));
        QCOMPARE(Phone()[4].m_nState, int(ENTRY_UNCHANGED)); // the run ends cleanly
    }

    void removalGuards()
    {
        QVERIFY(!m_editor->RemovePhoneEntry(0)); // empty table
        FillTable(Phone(), 250, {1, 2});
        QVERIFY(!m_editor->RemovePhoneEntry(-1));
        QVERIFY(!m_editor->RemovePhoneEntry(2));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{1, 2}));
        QVERIFY(DeletionRecordIndices(Phone()).empty());
        Phone().m_nCount = -1;
        DirEntry entry = MakeEntry(3, "X");
        QVERIFY(!m_editor->InsertPhoneEntry(0, entry));
        QVERIFY(m_questions.TakeReports().empty());
    }

    void addressBookRemovalFindsRecordsBeforeItsCapacityIsSet()
    {
        FillTable(Ab(), 0, {1, 2, 3});
        QVERIFY(m_editor->RemoveAbEntry(0));
        QVERIFY(m_editor->RemoveAbEntry(0));
        QCOMPARE(DeletionRecordIndices(Ab()), (std::vector<int>{1, 2}));
    }

    void newAddressBookEntryIsNeverTakenForTheSlotsFormerEntry()
    {
        FillTable(Ab(), 1000, {1});
        ENTRYID* const stale = reinterpret_cast<ENTRYID*>(&m_questions); // any address: never dereferenced
        Ab()[0].m_pEntryId = stale;
        Ab()[0].m_cbEntryId = 16;
        Ab()[1].m_pEntryId = stale; // left behind in a free slot by an earlier folder
        Ab()[1].m_cbEntryId = 16;
        DirEntry entry = MakeEntry(2, "New");
        entry.m_strComment = "met at fair";
        entry.m_pEntryId = stale;
        entry.m_cbEntryId = 8;
        QVERIFY(m_editor->InsertAbEntry(0, entry));
        QCOMPARE(Ab()[0].m_pEntryId, nullptr);
        QCOMPARE(Ab()[0].m_cbEntryId, 0u);
        QCOMPARE(Ab()[0].m_strComment, std::string("met at fair"));
        QCOMPARE(Ab()[1].m_pEntryId, stale); // the moved entry keeps its identifier
        QCOMPARE(Ab()[1].m_cbEntryId, 16u);
        QCOMPARE(Ab().m_nCapacity, 1000);
    }

    void cancelInTheIndexDialogDropsTheEntryAndEndsTheRun()
    {
        FillTable(Phone(), 250, {1, 2, 4});
        BeginBatch(false);
        m_questions.AnswerIndex(ScriptedQuestions::CancelIndex());
        DirEntry entry = MakeEntry(2, "Taken");
        QVERIFY(!m_editor->InsertPhoneEntry(3, entry));
        QCOMPARE(m_questions.IndexDialogsShown().size(), size_t(1));
        QCOMPARE(m_questions.IndexDialogsShown()[0].m_nChosenIndex, 3);
        QCOMPARE(m_questions.IndexDialogsShown()[0].m_bShowAcceptAll, 0); // a single entry never offers it
        QVERIFY(!m_store->HasFlag(VF_BATCH));
        QCOMPARE(LiveIndices(Phone()), (std::vector<int>{1, 2, 4}));
        QVERIFY(m_questions.TakeReports().empty());
    }

    void typedIndexThatIsNotFreeTakesTheLowestWithoutAskingAgain_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("settled");
        QTest::newRow("accepted proposal") << kKeepProposal << 3;
        QTest::newRow("typed free") << 9 << 9;
        QTest::newRow("typed zero") << 0 << 3;
        QTest::newRow("typed above capacity") << 251 << 3;
        QTest::newRow("typed taken") << 1 << 3;
        QTest::newRow("typed negative") << -2 << 3;
    }
    void typedIndexThatIsNotFreeTakesTheLowestWithoutAskingAgain()
    {
        QFETCH(int, typed);
        QFETCH(int, settled);
        FillTable(Phone(), 250, {1, 2, 4});
        BeginBatch(false);
        m_questions.AnswerIndex(typed == kKeepProposal ? ScriptedQuestions::KeepProposal()
                                                      : ScriptedQuestions::TypeIndex(typed));
        DirEntry entry = MakeEntry(4, "Taken");
        QVERIFY(m_editor->InsertPhoneEntry(3, entry));
        QCOMPARE(entry.m_nIndex, settled);
        QCOMPARE(Phone()[3].m_nIndex, settled);
        QCOMPARE(m_questions.IndexDialogsShown().size(), size_t(1));
        QVERIFY(m_store->HasFlag(VF_BATCH)); // plain "Accept" keeps asking for the rest of the run
    }

    void acceptAllSettlesTheRestOfTheRunWithoutAsking_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<std::vector<int>>("settled");
        QTest::newRow("typed free") << 20 << std::vector<int>{20, 4, 5};
        QTest::newRow("typed taken") << 2 << std::vector<int>{4, 5, 6};
    }
    void acceptAllSettlesTheRestOfTheRunWithoutAsking()
    {
        QFETCH(int, typed);
        QFETCH(std::vector<int>, settled);
        FillTable(Ab(), 1000, {1, 2, 3});
        BeginBatch(true);
        m_questions.AnswerIndex(ScriptedQuestions::TypeIndex(typed, true));
        std::vector<int> got;
        for (int i = 0; i < 3; ++i) {
            DirEntry entry = MakeEntry(1 + i, "Paste" + std::to_string(i));
            QVERIFY(m_editor->InsertAbEntry(3 + i, entry));
            got.push_back(entry.m_nIndex);
        }
        QCOMPARE(got, settled);
        QCOMPARE(m_questions.IndexDialogsShown().size(), size_t(1));
        QCOMPARE(m_questions.IndexDialogsShown()[0].m_bShowAcceptAll, 1);
        QCOMPARE(m_questions.IndexDialogsShown()[0].m_nChosenIndex, 4);
        QVERIFY(!m_store->HasFlag(VF_BATCH));
    }

    void withoutARunATakenIndexIsReplacedSilently()
    {
        FillTable(Phone(), 250, {1, 2});
        DirEntry entry = MakeEntry(1, "Quiet");
        QVERIFY(m_editor->InsertPhoneEntry(0, entry));
        QCOMPARE(entry.m_nIndex, 3);
        QVERIFY(m_questions.IndexDialogsShown().empty());
    }
};

QTEST_APPLESS_MAIN(TestEntryTableEditor)
#include "TestEntryTableEditor.moc"
