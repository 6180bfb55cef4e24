#pragma once
// A list that shows one side's table, as the editing commands see it: its rows in the order shown, each the
// entry of a slot, which of them are selected, and the two things the commands ask of it afterwards. The form
// gives one per list pane; tests give a plain one.
#include "model/DirEntry.h"

#include <string>
#include <vector>

class IEntryList {
public:
    virtual ~IEntryList() = default;
    virtual int RowCount() const = 0;
    // The entry the row shows (a slot of the side's table), or nullptr.
    virtual DirEntry* EntryAt(int row) const = 0;
    virtual bool IsSelected(int row) const = 0;
    // A cell's text as the list shows it (columns: name, number, index, status).
    virtual std::string CellText(int row, int column) const = 0;
    // Empties the list and fills it again from the table, in the list's sort order; no row stays selected.
    virtual void Refill() = 0;
    // Selects the row (clamped to the rows; -1 selects nothing), makes the list the active one and shows the
    // selection in the preview row.
    virtual void SelectRow(int row) = 0;

    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int row = 0; row < RowCount(); ++row)
            if (IsSelected(row)) rows.push_back(row);
        return rows;
    }
    int FirstSelectedRow() const
    {
        for (int row = 0; row < RowCount(); ++row)
            if (IsSelected(row)) return row;
        return -1;
    }
    int RowOfEntry(const DirEntry* entry) const
    {
        for (int row = 0; row < RowCount(); ++row)
            if (EntryAt(row) == entry) return row;
        return -1;
    }
    int RowOfIndex(int index) const
    {
        for (int row = 0; row < RowCount(); ++row)
            if (const DirEntry* entry = EntryAt(row); entry && entry->m_nIndex == index) return row;
        return -1;
    }
};
