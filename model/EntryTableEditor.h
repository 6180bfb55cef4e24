#pragma once
// The four table operations every way of adding or taking out an entry ends in, and the index rules they
// follow. Works on the form's entry store; asks the user through the question seam and reports progress
// in the status line, so it runs without a window.
#include "model/DirTable.h"

class IStatusLine;
class IQuestions;
struct EntryStore;

class EntryTableEditor {
public:
    EntryTableEditor(EntryStore& store, IQuestions& questions, IStatusLine& status);

    // Not 0, below 1 or above the table's capacity, and used by no live entry (deletion records do not count).
    static bool IsIndexFree(int index, const DirTable& table);
    // The smallest index from 1 to m_nCount that no live entry uses, else the highest used plus 1 (1 when the
    // table is empty). May exceed the capacity.
    static int LowestFreeIndex(const DirTable& table);

    // Insert into the current telephone directory's table at the position (clamped to 0..m_nCount). The
    // caller's entry receives the cut name and the index the entry was given. False when nothing was inserted.
    bool InsertPhoneEntry(int position, DirEntry& entry);
    // Insert into the address-book table; the caller's entry receives the index it was given.
    bool InsertAbEntry(int position, DirEntry& entry);
    // Take the live entry at the position out; entries that exist on the other side leave a deletion record.
    bool RemovePhoneEntry(int position);
    bool RemoveAbEntry(int position);

private:
    enum class TableKind { Phone, AddressBook };

    bool Insert(TableKind kind, DirTable& table, int position, DirEntry& entry);
    // Settles the entry's index; false when the user cancelled or the proposal does not fit the table.
    bool SettleIndex(TableKind kind, DirTable& table, DirEntry& entry, bool& tableFull);
    bool Remove(TableKind kind, DirTable& table, int position);
    void FillNewSlot(TableKind kind, DirEntry& slot, DirEntry& entry) const;
    bool ReportTableFull();

    EntryStore& m_store;
    IQuestions& m_questions;
    IStatusLine& m_status;
};
