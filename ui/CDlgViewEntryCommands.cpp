// Adding and editing entries through the entry dialog.
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "phone/TelephoneDirectories.h"
#include "pab/AbNameCheck.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"

#include <QTreeWidget>

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

// The topmost selected row of a list, or nullptr.
QTreeWidgetItem* FirstSelectedItem(const QTreeWidget* list)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        if (item->isSelected()) return item;
    }
    return nullptr;
}

// The table slot of a live entry, or -1 when the entry is not one of the table's live entries (any more).
int LiveSlotOf(const DirTable& table, const DirEntry* entry)
{
    for (int slot = 0; slot < table.m_nCount && slot < kTableSlots; ++slot) {
        if (&table[slot] == entry) return slot;
    }
    return -1;
}

int RowOfIndex(const QTreeWidget* list, int index)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->text(2).toInt() == index) return row;
    }
    return -1;
}

int RowOfEntry(const QTreeWidget* list, const DirEntry* entry)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (CDlgView::EntryOfItem(list->topLevelItem(row)) == entry) return row;
    }
    return -1;
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

void CDlgView::OnAddEntry()
{
    if (m_store->m_nActiveList != LIST_PHONE && m_store->m_nActiveList != LIST_AB) return;
    const bool phone = m_store->m_nActiveList == LIST_PHONE;
    // The telephone's limits are unknown until a directory was read (the command is disabled then).
    if ((phone && m_store->m_nNameLen == 0) || RefusePhoneChange(m_store->m_nActiveList)) return;
    const int directory = m_store->m_nCurDir;
    DirTable& table = phone ? m_store->CurrentPhoneTable() : m_store->m_abTable;
    QTreeWidget* list = phone ? m_lcPhone : m_lcAddressBook;

    EntryDialogData data;
    data.m_strTitle = StringTable::LoadString(phone ? Ids::IDS_TITLE_ADD_PHONE : Ids::IDS_TITLE_ADD_AB);
    data.m_szIndex = std::to_string(EntryTableEditor::LowestFreeIndex(table));
    data.m_nNameLen = m_store->m_nNameLen;
    data.m_nUcs2NameLen = m_store->m_nUcs2NameLen;
    data.m_nNumberLen = m_store->m_nNumberLen;
    data.m_nListKind = m_store->m_nActiveList;
    if (!AskForCompleteEntry(*m_pQuestions, data)) return;
    // A telephone read that ended while the dialog was open may have shown another directory.
    if (phone && (directory != m_store->m_nCurDir || RefusePhoneChange(LIST_PHONE))) return;

    DirEntry entry;
    entry.m_strName = CutText(data.m_szName, kMaxDialogText);
    entry.m_strNumber = CutText(data.m_szNumber, kMaxDialogText);
    entry.m_strStatus = NormaliseStatus(data.m_szStatus, false);
    entry.m_nIndex = LeadingDecimalNumber(data.m_szIndex);
    entry.m_nState = ENTRY_NEW;
    if (!phone && !MakeAbNameUnique(*m_store, *m_pQuestions, *this, entry.m_strName)) return;

    // The new entry follows the selected one in the table (the list itself is sorted).
    const int position = LiveSlotOf(table, EntryOfItem(FirstSelectedItem(list))) + 1;
    BeginBatch(1); // a single entry: the index dialog offers no "Accept All"
    const bool inserted = phone ? InsertPhoneEntry(position, entry) : InsertAbEntry(position, entry);
    if (phone) FillPhoneList(false);
    else FillAbList(false);
    // The index the insertion settled finds the new row; nothing is selected when nothing was inserted.
    const int row = inserted ? RowOfIndex(list, entry.m_nIndex) : -1;
    if (phone) {
        SelectPhoneItem(row);
        m_store->SetFlag(VF_PHONE_MODIFIED);
    } else {
        SelectAbItem(row);
        m_store->SetFlag(VF_AB_MODIFIED);
    }
    m_store->ClearFlag(VF_BATCH);
}

void CDlgView::OnEditEntry()
{
    if (m_store->m_nActiveList != LIST_PHONE && m_store->m_nActiveList != LIST_AB) return;
    const bool phone = m_store->m_nActiveList == LIST_PHONE;
    if (RefusePhoneChange(m_store->m_nActiveList)) return;
    const int directory = m_store->m_nCurDir;
    DirTable& table = phone ? m_store->CurrentPhoneTable() : m_store->m_abTable;
    QTreeWidget* list = phone ? m_lcPhone : m_lcAddressBook;
    QTreeWidgetItem* item = FirstSelectedItem(list);
    if (!item) return;
    const int rememberedRow = list->indexOfTopLevelItem(item);
    DirEntry* entry = EntryOfItem(item);
    if (LiveSlotOf(table, entry) < 0) return;

    // Texts longer than the dialog holds are shown cut; left as shown, they keep their full length.
    const std::string shownName = CutText(entry->m_strName, kMaxDialogText);
    const std::string shownNumber = CutText(entry->m_strNumber, kMaxDialogText);
    EntryDialogData data;
    data.m_strTitle = StringTable::LoadString(phone ? Ids::IDS_TITLE_EDIT_PHONE : Ids::IDS_TITLE_EDIT_AB);
    data.m_szName = shownName;
    data.m_szNumber = shownNumber;
    data.m_szIndex = std::to_string(entry->m_nIndex);
    data.m_szStatus = CutText(entry->m_strStatus, kMaxDialogText);
    data.m_nNameLen = m_store->m_nNameLen;
    data.m_nUcs2NameLen = m_store->m_nUcs2NameLen;
    data.m_nNumberLen = m_store->m_nNumberLen;
    data.m_nListKind = m_store->m_nActiveList;
    if (!AskForCompleteEntry(*m_pQuestions, data)) return;
    // The entry may have gone while the dialog was open (a telephone read that ended meanwhile).
    if ((phone && (directory != m_store->m_nCurDir || RefusePhoneChange(LIST_PHONE))) || LiveSlotOf(table, entry) < 0) return;

    DirEntry edited = *entry;
    const std::string typedName = CutText(data.m_szName, kMaxDialogText);
    if (typedName != shownName) {
        std::string name = typedName;
        if (!phone && !MakeAbNameUnique(*m_store, *m_pQuestions, *this, name)) return;
        edited.m_strName = name;
        edited.m_bNameUnreadable = false; // a name the user typed can be written
    }
    const std::string typedNumber = CutText(data.m_szNumber, kMaxDialogText);
    if (typedNumber != shownNumber) edited.m_strNumber = typedNumber;
    if (data.m_szStatus != entry->m_strStatus) edited.m_strStatus = NormaliseStatus(data.m_szStatus, true);
    edited.m_nIndex = SettleEditedIndex(*m_pQuestions, table, entry->m_nIndex, LeadingDecimalNumber(data.m_szIndex));
    if (phone) {
        // The telephone layer keeps the entry bound to the record it was read from.
        if (!m_phone->ApplyEdit(LiveSlotOf(table, entry), edited)) return;
    } else {
        edited.m_nState = entry->m_nState == ENTRY_NEW ? ENTRY_NEW : ENTRY_CHANGED;
        *entry = edited;
    }
    if (phone) FillPhoneList(false);
    else FillAbList(false);
    // The refilled list is sorted again: the edited entry's own row is selected, wherever it now stands.
    const int row = RowOfEntry(list, entry);
    if (phone) {
        SelectPhoneItem(row >= 0 ? row : rememberedRow);
        m_store->SetFlag(VF_PHONE_MODIFIED);
    } else {
        SelectAbItem(row >= 0 ? row : rememberedRow);
        m_store->SetFlag(VF_AB_MODIFIED);
    }
}
