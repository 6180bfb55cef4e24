#include "model/EntryDialogCommands.h"

#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "model/IEntryList.h"
#include "model/IEntrySide.h"
#include "model/InsertionRun.h"
#include "model/Questions.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"

#include <string>

namespace {
// The dialog's texts hold this many characters.
constexpr int kMaxDialogText = 127;

// Shows the entry dialog until name and number are both given; false when the user cancels. A retry shows what
// was typed the time before.
bool AskForCompleteEntry(IQuestions& questions, EntryDialogData& data)
{
    for (;;) {
        if (!questions.RunEntryDialog(data)) return false;
        if (!data.m_szName.empty() && !data.m_szNumber.empty()) return true;
        questions.ReportError(ErrorClass::kInput, Ids::IDS_ERR_INCOMPLETE_INPUT);
    }
}

EntryDialogData DialogFor(const EntryStore& store, const IEntrySide& side, bool adding)
{
    EntryDialogData data;
    data.m_strTitle = StringTable::LoadString(side.DialogTitle(adding));
    data.m_nNameLen = store.m_nNameLen;
    data.m_nUcs2NameLen = store.m_nUcs2NameLen;
    data.m_nNumberLen = store.m_nNumberLen;
    data.m_nListKind = side.ListKind();
    return data;
}

// The table slot of a live entry, or -1 when the entry is not one of the table's live entries (any more).
int LiveSlotOf(const DirTable& table, const DirEntry* entry)
{
    for (int slot = 0; slot < table.m_nCount && slot < kTableSlots; ++slot) {
        if (&table[slot] == entry) return slot;
    }
    return -1;
}

// True when the side may still change the table it showed before the dialog: a telephone read that ended while
// the dialog was open may have shown another directory, or the telephone may be at work now.
bool StillTheSameTable(IEntrySide& side, const DirTable* before)
{
    return &side.Table() == before && !side.RefuseChange();
}

// The edited index: n when it is free, else what the index dialog settles (without "Accept All"); the old index
// when the user cancels or types it.
int SettleEditedIndex(IQuestions& questions, const DirTable& table, int oldIndex, int typedIndex)
{
    int n = typedIndex;
    if (n == oldIndex || EntryTableEditor::IsIndexFree(n, table)) return n;
    while (n != oldIndex) {
        IndexDialogData data;
        data.m_nChosenIndex = EntryTableEditor::LowestFreeIndex(table);
        data.m_bShowAcceptAll = 0;
        if (!questions.RunIndexDialog(data)) return oldIndex;
        n = data.m_nChosenIndex;
        if (EntryTableEditor::IsIndexFree(n, table)) return n;
    }
    return oldIndex;
}
}

void EntryDialogCommands::Add(IEntrySide& side, IEntryList& list)
{
    // The telephone's limits are unknown until a directory was read (the command is disabled then).
    if (!side.TakesNewEntries() || side.RefuseChange()) return;
    DirTable* table = &side.Table();
    EntryDialogData data = DialogFor(m_store, side, true);
    data.m_szIndex = std::to_string(EntryTableEditor::LowestFreeIndex(*table));
    if (!AskForCompleteEntry(m_questions, data) || !StillTheSameTable(side, table)) return;

    DirEntry entry;
    entry.m_strName = CutText(data.m_szName, kMaxDialogText);
    entry.m_strNumber = CutText(data.m_szNumber, kMaxDialogText);
    entry.m_strStatus = NormaliseStatus(data.m_szStatus, false);
    entry.m_nIndex = LeadingDecimalNumber(data.m_szIndex);
    entry.m_nState = ENTRY_NEW;
    if (!side.AcceptTypedName(entry.m_strName)) return;

    // The new entry follows the selected one in the table (the list itself is sorted).
    const int first = list.FirstSelectedRow();
    const int position = LiveSlotOf(*table, first < 0 ? nullptr : list.EntryAt(first)) + 1;
    InsertionRun run(m_store, 1); // a single entry: the index dialog offers no "Accept All"
    const bool inserted = side.Insert(position, entry);
    list.Refill();
    // The index the insertion settled finds the new row; nothing is selected when nothing was inserted.
    list.SelectRow(inserted ? list.RowOfIndex(entry.m_nIndex) : -1);
    m_store.SetFlag(side.ModifiedFlag());
}

void EntryDialogCommands::Edit(IEntrySide& side, IEntryList& list)
{
    if (side.RefuseChange()) return;
    DirTable* table = &side.Table();
    const int rememberedRow = list.FirstSelectedRow();
    if (rememberedRow < 0) return;
    DirEntry* entry = list.EntryAt(rememberedRow);
    if (LiveSlotOf(*table, entry) < 0) return;

    // Texts longer than the dialog holds are shown cut; left as shown, they keep their full length.
    const std::string shownName = CutText(entry->m_strName, kMaxDialogText);
    const std::string shownNumber = CutText(entry->m_strNumber, kMaxDialogText);
    EntryDialogData data = DialogFor(m_store, side, false);
    data.m_szName = shownName;
    data.m_szNumber = shownNumber;
    data.m_szIndex = std::to_string(entry->m_nIndex);
    data.m_szStatus = CutText(entry->m_strStatus, kMaxDialogText);
    if (!AskForCompleteEntry(m_questions, data)) return;
    // The entry may have gone while the dialog was open (a telephone read that ended meanwhile).
    if (!StillTheSameTable(side, table) || LiveSlotOf(*table, entry) < 0) return;

    DirEntry edited = *entry;
    const std::string typedName = CutText(data.m_szName, kMaxDialogText);
    if (typedName != shownName) {
        std::string name = typedName;
        if (!side.AcceptTypedName(name)) return; // nothing at all changes
        edited.m_strName = name;
        edited.m_bNameUnreadable = false; // a name the user typed can be written
    }
    const std::string typedNumber = CutText(data.m_szNumber, kMaxDialogText);
    if (typedNumber != shownNumber) edited.m_strNumber = typedNumber;
    if (data.m_szStatus != entry->m_strStatus) edited.m_strStatus = NormaliseStatus(data.m_szStatus, true);
    edited.m_nIndex = SettleEditedIndex(m_questions, *table, entry->m_nIndex, LeadingDecimalNumber(data.m_szIndex));
    if (!side.StoreEdit(LiveSlotOf(*table, entry), edited)) return;

    list.Refill();
    // The refilled list is sorted again: the edited entry's own row is selected, wherever it now stands.
    const int row = list.RowOfEntry(entry);
    list.SelectRow(row >= 0 ? row : rememberedRow);
    m_store.SetFlag(side.ModifiedFlag());
}
