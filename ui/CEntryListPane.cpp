#include "ui/CEntryListPane.h"

#include "ui/CFormLists.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

#include <algorithm>

int CEntryListPane::RowCount() const
{
    return m_list->topLevelItemCount();
}

DirEntry* CEntryListPane::EntryAt(int row) const
{
    return CFormLists::EntryOfItem(m_list->topLevelItem(row));
}

bool CEntryListPane::IsSelected(int row) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item && item->isSelected();
}

std::string CEntryListPane::CellText(int row, int column) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->text(column).toStdString() : std::string();
}

void CEntryListPane::ClearSelection(int rows)
{
    for (int row = 0; row < rows && row < m_list->topLevelItemCount(); ++row) m_list->topLevelItem(row)->setSelected(false);
}

void CEntryListPane::SelectFirstRows(int rows)
{
    const int count = std::min(rows, m_list->topLevelItemCount());
    if (count <= 0) return;
    const QAbstractItemModel* model = m_list->model();
    const QItemSelection selection(model->index(0, 0), model->index(count - 1, model->columnCount() - 1));
    m_list->selectionModel()->select(selection, QItemSelectionModel::Select);
}
