#include "model/EntryTableEditor.h"

#include "model/EntryStore.h"
#include "model/FieldRules.h"
#include "model/TelephoneName.h"
#include "model/IStatusLine.h"
#include "model/Questions.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"

#include <algorithm>
#include <vector>

namespace {

int LiveCount(const DirTable& table)
{
    return std::clamp(table.m_nCount, 0, kTableSlots);
}

int SlotCapacity(const DirTable& table)
{
    return std::clamp(table.m_nCapacity, 0, kTableSlots);
}

// First slot after the run of deletion records. The scan runs to the end of the slots rather than to the
// capacity, so that a record is never overlooked (and overwritten) in a table whose capacity is not yet set.
int EndOfDeletionRecords(const DirTable& table)
{
    int s = LiveCount(table);
    while (s < kTableSlots && table[s].m_nState == ENTRY_REMOVED) ++s;
    return s;
}

// The last deletion record carrying the index, or `end` when there is none.
int DeletionRecordWithIndex(const DirTable& table, int end, int index)
{
    for (int j = end - 1; j >= LiveCount(table); --j) {
        if (table[j].m_nIndex == index) return j;
    }
    return end;
}

// Telephone entries have no identifier or comment, and a slot of a telephone table must not pick up either.
// What the telephone holds of an entry moves with it.
void CopyPhoneFields(DirEntry& to, const DirEntry& from)
{
    to.m_nIndex = from.m_nIndex;
    to.m_strName = from.m_strName;
    to.m_strNumber = from.m_strNumber;
    to.m_strStatus = from.m_strStatus;
    to.m_nState = from.m_nState;
    to.m_bNameUnreadable = from.m_bNameUnreadable;
    to.m_strPhoneName = from.m_strPhoneName;
    to.m_strPhoneNumber = from.m_strPhoneNumber;
}
}

EntryTableEditor::EntryTableEditor(EntryStore& store, IQuestions& questions, IStatusLine& status)
    : m_store(store), m_questions(questions), m_status(status)
{
}

bool EntryTableEditor::IsIndexFree(int index, const DirTable& table)
{
    // Record numbers count from 1; a negative one would be sent to the telephone as it stands.
    if (index < 1 || index > SlotCapacity(table)) return false;
    const int count = LiveCount(table);
    for (int i = 0; i < count; ++i) {
        if (table[i].m_nIndex == index) return false;
    }
    return true;
}

int EntryTableEditor::LowestFreeIndex(const DirTable& table)
{
    const int count = LiveCount(table);
    std::vector<bool> used(static_cast<size_t>(count) + 1, false);
    long long highest = 0;
    for (int i = 0; i < count; ++i) {
        const int index = table[i].m_nIndex;
        if (index >= 1 && index <= count) used[static_cast<size_t>(index)] = true;
        highest = std::max<long long>(highest, index);
    }
    for (int i = 1; i <= count; ++i) {
        if (!used[static_cast<size_t>(i)]) return i;
    }
    // Every index up to the count is taken, so the highest is the count itself; the clamp only guards the sum.
    return static_cast<int>(std::min<long long>(highest + 1, INT32_MAX));
}

bool EntryTableEditor::InsertPhoneEntry(int position, DirEntry& entry)
{
    return Insert(TableKind::Phone, m_store.CurrentPhoneTable(), position, entry);
}

bool EntryTableEditor::InsertAbEntry(int position, DirEntry& entry)
{
    m_store.m_abTable.m_nCapacity = kTableSlots;
    return Insert(TableKind::AddressBook, m_store.m_abTable, position, entry);
}

bool EntryTableEditor::RemovePhoneEntry(int position)
{
    return Remove(TableKind::Phone, m_store.CurrentPhoneTable(), position);
}

bool EntryTableEditor::RemoveAbEntry(int position)
{
    return Remove(TableKind::AddressBook, m_store.m_abTable, position);
}

bool EntryTableEditor::Insert(TableKind kind, DirTable& table, int position, DirEntry& entry)
{
    if (table.m_nCount < 0) return false;
    const int capacity = SlotCapacity(table);
    if (table.m_nCount >= capacity) return ReportTableFull();
    position = std::clamp(position, 0, table.m_nCount);
    const int freeSlot = EndOfDeletionRecords(table);

    bool tableFull = false;
    if (!SettleIndex(kind, table, entry, tableFull)) return tableFull ? ReportTableFull() : false;

    // An entry at the index of a pending telephone deletion replaces that record: writing the new entry
    // overwrites the telephone's record anyway. Address-book deletions always stay.
    const int target = kind == TableKind::Phone ? DeletionRecordWithIndex(table, freeSlot, entry.m_nIndex) : freeSlot;
    // Live entries and deletion records fill every slot the table may use: nowhere to put the entry.
    if (target >= capacity) return ReportTableFull();

    for (int k = target; k > position; --k) {
        if (kind == TableKind::Phone) CopyPhoneFields(table[k], table[k - 1]);
        else table[k] = table[k - 1];
    }
    FillNewSlot(kind, table[position], entry);
    ++table.m_nCount;
    m_store.SetFlag(kind == TableKind::Phone ? VF_PHONE_MODIFIED : VF_AB_MODIFIED);
    return true;
}

bool EntryTableEditor::SettleIndex(TableKind kind, DirTable& table, DirEntry& entry, bool& tableFull)
{
    if (m_store.HasFlag(VF_BATCH) && !IsIndexFree(entry.m_nIndex, table)) {
        IndexDialogData dialog;
        dialog.m_bShowAcceptAll = m_store.HasFlag(VF_BATCH_MULTI) ? 1 : 0;
        dialog.m_nChosenIndex = LowestFreeIndex(table);
        if (kind == TableKind::Phone && dialog.m_nChosenIndex > table.m_nCapacity) {
            tableFull = true;
            return false;
        }
        if (!m_questions.RunIndexDialog(dialog)) {
            m_store.ClearFlag(VF_BATCH);
            return false;
        }
        entry.m_nIndex = dialog.m_nChosenIndex;
        // From here on the rest of the run takes the lowest free index without asking.
        if (dialog.m_bAcceptAll == 1) m_store.ClearFlag(VF_BATCH);
    }
    if (!IsIndexFree(entry.m_nIndex, table)) entry.m_nIndex = LowestFreeIndex(table);
    return true;
}

void EntryTableEditor::FillNewSlot(TableKind kind, DirEntry& slot, DirEntry& entry) const
{
    if (kind == TableKind::Phone) {
        // The lengths are 0 until the telephone has told them; cutting to an unknown length would empty the text.
        entry.m_strName = TelephoneName::ForTelephone(entry.m_strName, m_store.PhoneNameLimits());
        CopyPhoneFields(slot, entry);
        if (m_store.m_nNumberLen > 0) slot.m_strNumber = CutText(entry.m_strNumber, m_store.m_nNumberLen);
        slot.m_strComment.clear();
    } else {
        slot = entry;
    }
    // The slot may have held an address-book entry: the new one must never be taken for it when saving.
    slot.m_cbEntryId = 0;
    slot.m_pEntryId = nullptr;
    slot.m_nState = ENTRY_NEW;
}

bool EntryTableEditor::Remove(TableKind kind, DirTable& table, int position)
{
    if (table.m_nCount <= 0 || position < 0 || position >= LiveCount(table)) return false;
    const int freeSlot = EndOfDeletionRecords(table);
    DirEntry removed = std::move(table[position]);

    // Close the gap first and put the record into the slot that frees, so nothing is written past the run.
    for (int k = position; k < freeSlot - 1; ++k) {
        if (kind == TableKind::Phone) CopyPhoneFields(table[k], table[k + 1]);
        else table[k] = std::move(table[k + 1]);
    }
    DirEntry& last = table[freeSlot - 1];
    last.Clear();
    // An entry that exists only here is simply dropped; anything else must be deleted on the other side.
    if (removed.m_nState != ENTRY_NEW) {
        if (kind == TableKind::Phone) CopyPhoneFields(last, removed);
        else last = std::move(removed);
        last.m_nState = ENTRY_REMOVED;
        m_store.SetFlag(kind == TableKind::Phone ? VF_PHONE_MODIFIED : VF_AB_MODIFIED);
    }
    --table.m_nCount;
    return true;
}

bool EntryTableEditor::ReportTableFull()
{
    m_questions.ReportError(ErrorClass::kInput, Ids::IDS_ERR_MAXIMUM_EXCEEDED);
    m_store.m_strScratch = StringTable::LoadString(Ids::IDS_ACTION_ABORTED);
    m_status.SetStatusText(m_store.m_strScratch);
    return false;
}
