#pragma once
// One of the form's two lists as the editing commands see it: its rows are the entries they show, and refilling
// and selecting go through the form, which also keeps the preview row and the transfer buttons in step.
#include "model/IEntryList.h"

#include <functional>

class QTreeWidget;

class CEntryListPane : public IEntryList {
public:
    CEntryListPane(QTreeWidget* list, std::function<void()> refill, std::function<void(int)> select)
        : m_list(list), m_refill(std::move(refill)), m_select(std::move(select))
    {
    }

    QTreeWidget* Widget() const { return m_list; }
    int RowCount() const override;
    DirEntry* EntryAt(int row) const override;
    bool IsSelected(int row) const override;
    std::string CellText(int row, int column) const override;
    void Refill() override { m_refill(); }
    void SelectRow(int row) override { m_select(row); }
    // Clears the selected state of rows 0..rows-1.
    void ClearSelection(int rows);
    // Selects rows 0..rows-1 in one selection change.
    void SelectFirstRows(int rows);

private:
    QTreeWidget* m_list;
    std::function<void()> m_refill;
    std::function<void(int)> m_select;
};
