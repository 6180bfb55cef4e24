// Filling the two lists from the entry tables, selecting rows in them, and keeping their columns between runs.
#include "ui/CFormLists.h"

#include "model/EntryCompare.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "ui/CFormControls.h"
#include "ui/CPreviewRow.h"
#include "ui/CellToolTips.h"
#include "ui/ListFilter.h"
#include "ui/WindowSettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kEntryRole = Qt::UserRole;

ListState StateOf(const QTreeWidget* list, int sortColumn)
{
    ListState state;
    std::array<int, 4> widths{};
    for (int column = 0; column < 4; ++column) widths[static_cast<size_t>(column)] = list->columnWidth(column);
    state.columnWidths = widths;
    state.sortColumn = sortColumn;
    return state;
}

void ApplyColumns(QTreeWidget* list, const ListState& state)
{
    if (!state.columnWidths) return;
    for (int column = 0; column < 4; ++column) list->setColumnWidth(column, (*state.columnWidths)[static_cast<size_t>(column)]);
}
}

CFormLists::CFormLists(CFormControls& controls, EntryStore& store, CPreviewRow& preview, ICommandTarget& commands,
                       QWidget* form)
    : QObject(form), m_controls(controls), m_store(store), m_preview(preview), m_commands(commands)
{
    ConnectListInput(form);
    InstallListDragDrop();
    InstallFilter();
    for (QTreeWidget* list : {m_controls.m_lcPhone, m_controls.m_lcAddressBook}) CellToolTips::Install(list);
}

void CFormLists::InstallFilter()
{
    m_filter = new ListFilter(m_controls.m_edFilter, {m_controls.m_lcPhone, m_controls.m_lcAddressBook}, this);
    // Rows the filter hid lost their selection: the preview row must not keep copies of them.
    connect(m_filter, &ListFilter::selectionPruned, this, [this](QTreeWidget* list) {
        if (list == ActiveListWidget()) m_preview.FillPreview();
    });
}

DirEntry* CFormLists::EntryOfItem(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<DirEntry*>(item->data(0, kEntryRole).value<quintptr>()) : nullptr;
}

void CFormLists::FillList(QTreeWidget* list, DirTable& table, bool resetStates, bool repairAbEntries, int sortColumn)
{
    std::vector<DirEntry*> rows;
    rows.reserve(static_cast<size_t>(table.m_nCount));
    for (int slot = 0; slot < table.m_nCount && slot < kTableSlots; ++slot) {
        DirEntry& entry = table[slot];
        if (repairAbEntries) {
            // Indices outside 0..1000 cannot be a telephone record: the entry takes the lowest free one.
            if (entry.m_nIndex < 0 || entry.m_nIndex > kTableSlots)
                entry.m_nIndex = EntryTableEditor::LowestFreeIndex(table);
            if (entry.m_strStatus != " " && entry.m_strStatus != "!") entry.m_strStatus = " ";
        }
        if (resetStates) entry.m_nState = ENTRY_UNCHANGED;
        rows.push_back(&entry);
    }
    std::stable_sort(rows.begin(), rows.end(), [sortColumn](const DirEntry* a, const DirEntry* b) {
        return CompareEntries(*a, *b, sortColumn) < 0;
    });
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (DirEntry* entry : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::fromStdString(entry->m_strName));
        item->setText(1, QString::fromStdString(entry->m_strNumber));
        item->setText(2, QString::number(entry->m_nIndex));
        item->setText(3, QString::fromStdString(entry->m_strStatus));
        item->setData(0, kEntryRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry)));
        items.append(item);
    }
    list->addTopLevelItems(items);
    if (m_filter) m_filter->Apply(list); // a list filled again keeps the filter
}

void CFormLists::FillPhoneList(bool resetStates)
{
    m_preview.ClearPreviewRow();
    m_controls.m_lcPhone->clear();
    if (m_store.m_bPhoneDataRead == 0 || m_store.CurrentPhoneTable().m_nCount == 0) return;
    FillList(m_controls.m_lcPhone, m_store.CurrentPhoneTable(), resetStates, false, m_store.m_nPhoneSort);
}

void CFormLists::FillAbList(bool resetStates)
{
    m_preview.ClearPreviewRow();
    m_controls.m_lcAddressBook->clear();
    FillList(m_controls.m_lcAddressBook, m_store.m_abTable, resetStates, true, m_store.m_nAbSort);
}

void CFormLists::ClearPhoneList()
{
    if (m_store.m_nActiveList == LIST_PHONE) m_preview.ClearPreviewRow();
    m_controls.m_lcPhone->clear();
}

void CFormLists::SelectListItem(QTreeWidget* list, int position, int listKind)
{
    if (position == -1 || list->topLevelItemCount() == 0) return;
    position = std::clamp(position, 0, list->topLevelItemCount() - 1);
    QTreeWidgetItem* item = list->topLevelItem(position);
    item->setSelected(true);
    list->setCurrentItem(item, 0, QItemSelectionModel::Current);
    list->scrollToItem(item);
    m_controls.m_btnToAddressBook->setEnabled(listKind == LIST_PHONE);
    m_controls.m_btnToPhone->setEnabled(listKind == LIST_AB);
    m_store.m_nActiveList = listKind;
    m_preview.FillPreview();
}

void CFormLists::SelectPhoneItem(int position)
{
    SelectListItem(m_controls.m_lcPhone, position, LIST_PHONE);
}

void CFormLists::SelectAbItem(int position)
{
    SelectListItem(m_controls.m_lcAddressBook, position, LIST_AB);
}

QTreeWidget* CFormLists::ActiveListWidget() const
{
    return m_controls.List(m_store.m_nActiveList);
}

void CFormLists::SetTransferButtonsFor(int list)
{
    const bool phoneWritable = m_store.CurrentPhoneTable().m_bReadOnly == 0;
    if (list == LIST_PHONE) {
        m_controls.m_btnToAddressBook->setEnabled(m_controls.m_lcPhone->topLevelItemCount() > 0);
        m_controls.m_btnToPhone->setEnabled(false);
    } else {
        m_controls.m_btnToPhone->setEnabled(phoneWritable && m_controls.m_lcAddressBook->topLevelItemCount() > 0);
        m_controls.m_btnToAddressBook->setEnabled(false);
    }
    m_store.m_nActiveList = list;
}

void CFormLists::RestoreListState(const WindowState& state)
{
    ApplyColumns(m_controls.m_lcPhone, state.phoneList);
    ApplyColumns(m_controls.m_lcAddressBook, state.abList);
    if (state.phoneList.sortColumn) m_store.m_nPhoneSort = *state.phoneList.sortColumn;
    if (state.abList.sortColumn) m_store.m_nAbSort = *state.abList.sortColumn;
}

void CFormLists::SaveListState(WindowState& state) const
{
    state.phoneList = StateOf(m_controls.m_lcPhone, m_store.m_nPhoneSort);
    state.abList = StateOf(m_controls.m_lcAddressBook, m_store.m_nAbSort);
}
