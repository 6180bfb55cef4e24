#include "model/EntryDeletion.h"

#include "model/EntryStore.h"
#include "model/IEntryList.h"
#include "model/IEntrySide.h"
#include "model/IStatusLine.h"
#include "model/Questions.h"
#include "res/StringTable.h"

namespace {
void RemoveRows(IEntrySide& side, const IEntryList& list, const std::vector<int>& rows)
{
    // Removing an entry moves the entries behind it, so each is found again by its own slot before removal.
    std::vector<const DirEntry*> entries;
    for (int row : rows) entries.push_back(list.EntryAt(row));
    DirTable& table = side.Table();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i]) continue;
        const auto slot = entries[i] - &table[0];
        if (slot < 0 || slot >= table.m_nCount) continue;
        side.Remove(static_cast<int>(slot));
        // The entries behind the removed one moved down one slot.
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j] > entries[i]) --entries[j];
    }
}
}

std::string EntryDeletion::Question(const IEntryList& list, const std::vector<int>& rows)
{
    if (rows.size() == 1) {
        std::string text = StringTable::LoadString(Ids::IDS_DELETE_ONE);
        for (int column = 0; column < 4; ++column)
            text += (column ? "     " : "") + list.CellText(rows.front(), column);
        return text;
    }
    std::string text = StringTable::LoadString(Ids::IDS_DELETE_MANY);
    const size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(rows.size()));
    return text;
}

void EntryDeletion::DeleteSelected(IEntrySide& side, IEntryList& list)
{
    if (side.RefuseChange()) return;
    const std::vector<int> rows = list.SelectedRows();
    if (rows.empty()) return;
    if (!m_questions.AskYesNo(rows.size() == 1 ? Ids::IDS_DELETE_ONE : Ids::IDS_DELETE_MANY, Question(list, rows))) {
        m_store.m_strScratch = StringTable::LoadString(Ids::IDS_ACTION_ABORTED);
        m_status.SetStatusText(m_store.m_strScratch);
        return;
    }
    RemoveSelected(side, list);
}

void EntryDeletion::RemoveSelected(IEntrySide& side, IEntryList& list)
{
    const std::vector<int> rows = list.SelectedRows();
    RemoveRows(side, list, rows);
    list.Refill();
    list.SelectRow(rows.empty() ? -1 : rows.front());
}
