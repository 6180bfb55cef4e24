// The editing commands (add, edit, delete, copy, cut, paste, transfer) on both sides, without a window: the real
// telephone and address-book sides over one entry store, plain lists that show their tables sorted by name, and
// a question seam that answers at random. After every command the tables must still hold exactly the entries
// the command may have left: nothing lost, nothing duplicated, indices on the telephone unique and in range,
// every entry in the state its history gives it, and no deletion record that a save would turn against a live
// entry.
#include "model/EntryClipboard.h"
#include "model/EntryCompare.h"
#include "model/EntryDeletion.h"
#include "model/EntryDialogCommands.h"
#include "model/EntryStore.h"
#include "model/EntryTransfer.h"
#include "model/IEntryList.h"
#include "model/Questions.h"
#include "pab/AddressBookEntrySide.h"
#include "pab/IAddressBookHost.h"
#include "phone/ITelephoneHost.h"
#include "phone/TelephoneDirectories.h"
#include "phone/TelephoneEntrySide.h"
#include "res/StringTable.h"
#include "TestSeed.h"

#include <QtTest>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

namespace {
// A list showing a table's live entries sorted by name, with a selection that a refill clears.
class PlainList : public IEntryList {
public:
    explicit PlainList(DirTable& table) : m_table(table) { Refill(); }
    int RowCount() const override { return int(m_rows.size()); }
    DirEntry* EntryAt(int row) const override { return row >= 0 && row < RowCount() ? m_rows[size_t(row)] : nullptr; }
    bool IsSelected(int row) const override { return m_selected.count(row) != 0; }
    std::string CellText(int row, int column) const override
    {
        const DirEntry* e = EntryAt(row);
        const std::string cells[4] = {e->m_strName, e->m_strNumber, std::to_string(e->m_nIndex), e->m_strStatus};
        return cells[column];
    }
    void Refill() override
    {
        m_rows.clear();
        m_selected.clear();
        for (int slot = 0; slot < m_table.m_nCount; ++slot) m_rows.push_back(&m_table[slot]);
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const DirEntry* a, const DirEntry* b) { return CompareEntries(*a, *b, 0) < 0; });
    }
    void SelectRow(int row) override
    {
        if (row < 0 || m_rows.empty()) return;
        m_selected.insert(std::clamp(row, 0, RowCount() - 1));
    }
    void Select(std::set<int> rows) { m_selected = std::move(rows); }

private:
    DirTable& m_table;
    std::vector<DirEntry*> m_rows;
    std::set<int> m_selected;
};

// Answers every question at random; remembers whether an insertion was cancelled in the index dialog.
class RandomQuestions : public IQuestions {
public:
    explicit RandomQuestions(std::mt19937_64& rng) : m_rng(rng) {}
    bool m_bIndexCancelled = false;
    EntryDialogData m_typed; // what the next entry dialog is filled with
    bool m_bEntryOk = true;
    std::string m_freshName;

    bool Chance(int percent) { return int(m_rng() % 100) < percent; }
    bool AskYesNo(int, const std::string&) override { return Chance(60); }
    void ReportError(int, int) override {}
    bool RunIndexDialog(IndexDialogData& data) override
    {
        if (Chance(10)) {
            m_bIndexCancelled = true;
            return false;
        }
        if (Chance(30)) data.m_nChosenIndex = int(m_rng() % 40) - 5; // typed: maybe taken or impossible
        data.m_bAcceptAll = data.m_bShowAcceptAll == 1 && Chance(40);
        return true;
    }
    bool RunNameDialog(const std::string&, const std::string&, std::string& text) override
    {
        if (Chance(30)) return false;
        text = m_freshName;
        return true;
    }
    bool RunEntryDialog(EntryDialogData& data) override
    {
        data.m_szName = m_typed.m_szName;
        data.m_szNumber = m_typed.m_szNumber;
        data.m_szStatus = m_typed.m_szStatus;
        if (!m_typed.m_szIndex.empty()) data.m_szIndex = m_typed.m_szIndex;
        return m_bEntryOk;
    }
    bool RunFolderDialog(const FolderRecord*, int, int&) override { return false; }
    void RunAboutBox() override {}
    bool RunConnectionDialog(std::string&) override { return false; }
    bool RunVCardImportDialog(VCardImportData&) override { return false; }
    bool RunVCardExportDialog(VCardExportData&) override { return false; }
    void ShowMessage(int, const std::string&) override {}

private:
    std::mt19937_64& m_rng;
};

class Hosts : public ITelephoneHost, public IAddressBookHost {
public:
    const IEntryList* m_abList = nullptr;
    void SetStatusText(const std::string&) override {}
    void FillPhoneList(bool) override {}
    void SelectDirectoryInCombo(int) override {}
    void ClearPhoneList() override {}
    void ShowCorrectionRow(bool) override {}
    void ShowBusy(bool) override {}
    void CloseFrame() override {}
    int AbListItemCount() const override { return m_abList ? m_abList->RowCount() : 0; }
    void ClearAbList() override {}
    void EndProgram(int) override {}
    void FillAbList(bool) override {}
    void FillFolderCombo() override {}
    void ClearFolderCombo() override {}
    int SelectedFolderItem() const override { return 0; }
    void SelectFolderItem(int) override {}
};

// Each entry the test makes carries a number of its own; the number says who it is.
std::multiset<std::string> Numbers(const DirTable& table)
{
    std::multiset<std::string> numbers;
    for (int slot = 0; slot < table.m_nCount; ++slot) numbers.insert(table[slot].m_strNumber);
    return numbers;
}

std::multiset<std::string> Added(const std::multiset<std::string>& before, const std::multiset<std::string>& after)
{
    std::multiset<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::inserter(added, added.end()));
    return added;
}

int DeletionRecords(const DirTable& table)
{
    int records = 0;
    while (table.m_nCount + records < kTableSlots && table[table.m_nCount + records].m_nState == ENTRY_REMOVED) ++records;
    return records;
}
}

class TestEntryEditing : public QObject {
    Q_OBJECT

    static constexpr int kPhoneCapacity = 24;

    struct Rig {
        std::unique_ptr<EntryStore> store = std::make_unique<EntryStore>();
        std::mt19937_64 rng;
        RandomQuestions questions{rng};
        Hosts hosts;
        TelephoneDirectories phone{*store, questions, hosts};
        TelephoneEntrySide phoneSide{*store, phone};
        AddressBookEntrySide abSide{*store, questions, hosts};
        PlainList phoneList{store->CurrentPhoneTable()};
        PlainList abList{store->m_abTable};
        int nextNumber = 0;
        // Numbers of the entries read at the start (originals); those edited since on the address-book side.
        std::set<std::string> originals;
        std::set<std::string> editedAbOriginals;
        int abOriginalsRemoved = 0;
        std::multiset<std::string> clip;
        explicit Rig(quint64 seed) : rng(seed) { hosts.m_abList = &abList; }
    };

    static std::string NewNumber(Rig& rig) { return "0" + std::to_string(1000 + rig.nextNumber++); }
    static std::string SomeName(Rig& rig)
    {
        static const char* const kNames[] = {"Anna", "Bert", "Cora  ", "Dirk", "Eva", " "};
        return rig.rng() % 3 == 0 ? "Name " + std::to_string(rig.nextNumber) : kNames[rig.rng() % 6];
    }
    static void SelectSome(Rig& rig, PlainList& list)
    {
        std::set<int> rows;
        for (int row = 0; row < list.RowCount(); ++row)
            if (rig.rng() % 3 == 0) rows.insert(row);
        list.Select(rows);
    }
    static std::multiset<std::string> SelectedNumbers(const PlainList& list)
    {
        std::multiset<std::string> numbers;
        for (int row : list.SelectedRows()) numbers.insert(list.EntryAt(row)->m_strNumber);
        return numbers;
    }

    static void Start(Rig& rig)
    {
        EntryStore& s = *rig.store;
        s.m_nCurDir = DIR_SIM;
        s.m_nNameLen = 14;
        s.m_nNumberLen = 20;
        s.m_bPhoneDataRead = 1;
        DirTable& phone = s.CurrentPhoneTable();
        phone.m_nCapacity = kPhoneCapacity;
        for (int i = 0; i < 10; ++i) {
            DirEntry& e = phone[phone.m_nCount++];
            e.m_nIndex = i * 2 + 1;
            e.m_strName = SomeName(rig);
            e.m_strNumber = NewNumber(rig);
            e.m_strStatus = " ";
            rig.originals.insert(e.m_strNumber);
        }
        DirTable& ab = s.m_abTable;
        ab.m_nCapacity = kTableSlots;
        for (int i = 0; i < 8; ++i) {
            DirEntry& e = ab[ab.m_nCount++];
            e.m_nIndex = i;
            e.m_strName = "Book " + std::to_string(i);
            e.m_strNumber = NewNumber(rig);
            e.m_strStatus = " ";
            rig.originals.insert(e.m_strNumber);
        }
        rig.phoneList.Refill();
        rig.abList.Refill();
    }

    // The invariants that hold after every command.
    static void CheckTables(Rig& rig)
    {
        const DirTable& phone = rig.store->CurrentPhoneTable();
        QVERIFY(phone.m_nCount >= 0 && phone.m_nCount <= kPhoneCapacity);
        std::set<int> indices;
        for (int slot = 0; slot < phone.m_nCount; ++slot) {
            const DirEntry& e = phone[slot];
            QVERIFY2(e.m_nIndex >= 1 && e.m_nIndex <= kPhoneCapacity, qPrintable(QString::number(e.m_nIndex)));
            QVERIFY2(indices.insert(e.m_nIndex).second, "two live telephone entries share an index");
            // Read entries agree with the telephone until edited; everything else must be written.
            if (!rig.originals.count(e.m_strNumber)) QCOMPARE(e.m_nState, int(ENTRY_NEW));
            QVERIFY(e.m_nState == ENTRY_NEW || e.m_nState == ENTRY_UNCHANGED);
            QVERIFY(int(e.m_strName.size()) <= 14);
        }
        const int phoneRecords = DeletionRecords(phone);
        QVERIFY(phone.m_nCount + phoneRecords <= kPhoneCapacity);
        for (int r = 0; r < phoneRecords; ++r)
            QVERIFY2(!indices.count(phone[phone.m_nCount + r].m_nIndex), "a save would erase a live entry");

        const DirTable& ab = rig.store->m_abTable;
        for (int slot = 0; slot < ab.m_nCount; ++slot) {
            const DirEntry& e = ab[slot];
            const bool original = rig.originals.count(e.m_strNumber) && e.m_nState != ENTRY_NEW;
            const int expected = !original ? ENTRY_NEW : rig.editedAbOriginals.count(e.m_strNumber) ? ENTRY_CHANGED : ENTRY_UNCHANGED;
            QCOMPARE(e.m_nState, expected);
        }
        QCOMPARE(DeletionRecords(ab), rig.abOriginalsRemoved);
        QCOMPARE(rig.phoneList.RowCount(), phone.m_nCount);
        QCOMPARE(rig.abList.RowCount(), ab.m_nCount);
        QVERIFY(!rig.store->HasFlag(VF_BATCH));
    }

    // Added entries are a part of what was carried, in its order for the telephone (a refused insertion ends
    // the run there); a shortfall needs a reason.
    static void CheckCarried(Rig& rig, bool toPhone, const std::multiset<std::string>& before,
                             const std::vector<std::string>& carried)
    {
        const DirTable& table = toPhone ? rig.store->CurrentPhoneTable() : rig.store->m_abTable;
        const std::multiset<std::string> after = Numbers(table);
        QVERIFY2(std::includes(after.begin(), after.end(), before.begin(), before.end()), "an entry was lost");
        const std::multiset<std::string> added = Added(before, after);
        QCOMPARE(int(after.size()), int(before.size() + added.size()));
        if (toPhone) {
            const std::multiset<std::string> prefix(carried.begin(), carried.begin() + long(added.size()));
            QVERIFY2(added == prefix, "the telephone took other entries than the first ones carried");
            if (added.size() < carried.size())
                QVERIFY(rig.questions.m_bIndexCancelled || table.m_nCount + DeletionRecords(table) >= kPhoneCapacity
                        || table.m_nCount >= kPhoneCapacity);
        } else {
            const std::multiset<std::string> all(carried.begin(), carried.end());
            QVERIFY2(std::includes(all.begin(), all.end(), added.begin(), added.end()), "an entry came from nowhere");
        }
    }

    static void Step(Rig& rig, EntryDialogCommands& dialogs, EntryTransfer& transfer, EntryDeletion& deletion,
                     EntryClipboard& clipboard)
    {
        const bool onPhone = rig.rng() % 2 == 0;
        IEntrySide& side = onPhone ? static_cast<IEntrySide&>(rig.phoneSide) : rig.abSide;
        PlainList& list = onPhone ? rig.phoneList : rig.abList;
        DirTable& table = side.Table();
        rig.questions.m_bIndexCancelled = false;
        rig.questions.m_freshName = "Fresh " + std::to_string(rig.nextNumber);
        const std::multiset<std::string> before = Numbers(table);
        switch (rig.rng() % 7) {
        case 0: { // add
            SelectSome(rig, list);
            const std::string number = NewNumber(rig);
            rig.questions.m_typed = EntryDialogData();
            rig.questions.m_typed.m_szName = SomeName(rig);
            rig.questions.m_typed.m_szNumber = number;
            rig.questions.m_typed.m_szStatus = rig.rng() % 2 ? "!" : "";
            if (rig.rng() % 2) rig.questions.m_typed.m_szIndex = std::to_string(int(rig.rng() % 30));
            rig.questions.m_bEntryOk = rig.rng() % 5 != 0;
            dialogs.Add(side, list);
            const std::multiset<std::string> added = Added(before, Numbers(table));
            QVERIFY(added.empty() || added == std::multiset<std::string>{number});
            QCOMPARE(Numbers(table).size(), before.size() + added.size());
            if (!added.empty()) QVERIFY(list.EntryAt(list.FirstSelectedRow())->m_strNumber == number);
            break;
        }
        case 1: { // edit
            SelectSome(rig, list);
            const int row = list.FirstSelectedRow();
            const DirEntry* entry = list.EntryAt(row);
            const std::string oldNumber = entry ? entry->m_strNumber : std::string();
            const std::string number = rig.rng() % 2 ? NewNumber(rig) : oldNumber;
            rig.questions.m_typed = EntryDialogData();
            rig.questions.m_typed.m_szName = entry && rig.rng() % 2 ? entry->m_strName : SomeName(rig);
            rig.questions.m_typed.m_szNumber = number.empty() ? "1" : number;
            rig.questions.m_typed.m_szStatus = "!";
            rig.questions.m_typed.m_szIndex = std::to_string(int(rig.rng() % 30));
            rig.questions.m_bEntryOk = rig.rng() % 5 != 0;
            dialogs.Edit(side, list);
            std::multiset<std::string> after = Numbers(table);
            QCOMPARE(after.size(), before.size());
            if (entry && after != before) {
                QCOMPARE(Added(before, after), std::multiset<std::string>{number});
                QCOMPARE(Added(after, before), std::multiset<std::string>{oldNumber});
            }
            // An edit that went through marks the entry, wherever it now stands.
            const DirEntry* selected = list.EntryAt(list.FirstSelectedRow());
            if (selected && selected->m_strNumber == number && number != oldNumber && rig.originals.count(oldNumber)) {
                rig.originals.insert(number);
                if (!onPhone && selected->m_nState == ENTRY_CHANGED) rig.editedAbOriginals.insert(number);
            }
            if (!onPhone && selected && rig.originals.count(selected->m_strNumber) && selected->m_nState == ENTRY_CHANGED)
                rig.editedAbOriginals.insert(selected->m_strNumber);
            break;
        }
        case 2:   // delete
        case 3: { // cut
            SelectSome(rig, list);
            const std::multiset<std::string> selected = SelectedNumbers(list);
            int originalsOnAb = 0;
            for (int row : list.SelectedRows())
                if (list.EntryAt(row)->m_nState != ENTRY_NEW) ++originalsOnAb;
            const bool cut = rig.rng() % 2;
            if (cut) {
                clipboard.Copy(&list);
                rig.clip = selected;
                EntryDeletion::RemoveSelected(side, list);
            } else {
                deletion.DeleteSelected(side, list);
            }
            const std::multiset<std::string> after = Numbers(table);
            if (after != before) {
                std::multiset<std::string> expected = before;
                for (const std::string& n : selected) expected.erase(expected.find(n));
                QCOMPARE(after, expected); // exactly the selected rows went
                if (!onPhone) rig.abOriginalsRemoved += originalsOnAb;
            }
            QVERIFY(after == before || after.size() + selected.size() == before.size());
            break;
        }
        case 4: // copy
            SelectSome(rig, list);
            clipboard.Copy(&list);
            rig.clip = SelectedNumbers(list);
            QCOMPARE(rig.store->m_clipTable.m_nCount, int(rig.clip.size()));
            break;
        case 5: { // paste
            SelectSome(rig, list);
            const bool armed = rig.store->HasFlag(VF_CLIPBOARD);
            std::vector<std::string> carried;
            for (int i = 0; armed && i < rig.store->m_clipTable.m_nCount; ++i) carried.push_back(rig.store->m_clipTable[i].m_strNumber);
            if (armed) clipboard.Paste(&side, &list);
            QVERIFY(!rig.store->HasFlag(VF_CLIPBOARD));
            CheckCarried(rig, onPhone, before, carried);
            break;
        }
        default: { // transfer from the other side
            PlainList& source = onPhone ? rig.abList : rig.phoneList;
            const DirTable& sourceTable = onPhone ? rig.store->m_abTable : rig.store->CurrentPhoneTable();
            const std::multiset<std::string> sourceBefore = Numbers(sourceTable);
            SelectSome(rig, source);
            std::vector<DirEntry> preview;
            for (int row : source.SelectedRows()) preview.push_back(*source.EntryAt(row));
            std::vector<DirEntry*> copies;
            std::vector<std::string> carried;
            for (DirEntry& copy : preview) {
                copies.push_back(&copy);
                carried.push_back(copy.m_strNumber);
            }
            transfer.CopyInto(side, list, copies);
            QCOMPARE(Numbers(sourceTable), sourceBefore); // the source never changes
            CheckCarried(rig, onPhone, before, carried);
            break;
        }
        }
        CheckTables(rig);
    }

private slots:
    void randomEditingKeepsBothTablesWhole()
    {
        const quint64 seed = TestSeed();
        qInfo("seed %llu (replay with TD_SEED=%llu)", seed, seed);
        for (int sequence = 0; sequence < 40; ++sequence) {
            Rig rig(seed + quint64(sequence));
            Start(rig);
            EntryDialogCommands dialogs(*rig.store, rig.questions);
            EntryTransfer transfer(*rig.store);
            EntryDeletion deletion(*rig.store, rig.questions, rig.hosts);
            EntryClipboard clipboard(*rig.store);
            for (int step = 0; step < 150; ++step) {
                Step(rig, dialogs, transfer, deletion, clipboard);
                if (QTest::currentTestFailed()) {
                    qWarning("sequence %d step %d failed", sequence, step);
                    return;
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestEntryEditing)
#include "TestEntryEditing.moc"
