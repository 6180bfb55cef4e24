// Filling the two lists, the folder combo box and the preview fields from the form's tables.
#include "model/EntryCompare.h"
#include "model/EntryTableEditor.h"
#include "res/StringTable.h"
#include "ui/AccessibleControls.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"
#include "ui/ListFilter.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kEntryRole = Qt::UserRole;
constexpr int kColumnTitles[4] = {Ids::IDS_COL_NAME, Ids::IDS_COL_NUMBER, Ids::IDS_COL_INDEX, Ids::IDS_COL_STATUS};
}

DirEntry* CDlgView::EntryOfItem(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<DirEntry*>(item->data(0, kEntryRole).value<quintptr>()) : nullptr;
}

void CDlgView::InsertColumns(QTreeWidget* list)
{
    QStringList titles;
    for (int id : kColumnTitles) titles << StringTable::LoadQString(id);
    list->setColumnCount(4);
    list->setHeaderLabels(titles);
    for (int column = 0; column < 4; ++column) {
        list->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
        list->setColumnWidth(column, 60);
        list->setColumnWidth(column, g_anColWidth[column]);
    }
    AccessibleControls::DescribeListColumns(list);
}

void CDlgView::InsertPhoneColumns()
{
    InsertColumns(m_lcPhone);
}

void CDlgView::InsertAbColumns()
{
    InsertColumns(m_lcAddressBook);
}

void CDlgView::ClearPreviewRow()
{
    m_store->m_nActiveList = LIST_NONE;
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    m_cbPreview->clear();
    m_cbPreview->setEnabled(false);
    for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->clear();
}

void CDlgView::FillList(QTreeWidget* list, DirTable& table, bool resetStates, bool repairAbEntries, int sortColumn)
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

void CDlgView::FillPhoneList(bool resetStates)
{
    ClearPreviewRow();
    m_lcPhone->clear();
    if (m_store->m_bPhoneDataRead == 0 || m_store->CurrentPhoneTable().m_nCount == 0) return;
    FillList(m_lcPhone, m_store->CurrentPhoneTable(), resetStates, false, m_store->m_nPhoneSort);
}

void CDlgView::FillAbList(bool resetStates)
{
    ClearPreviewRow();
    m_lcAddressBook->clear();
    FillList(m_lcAddressBook, m_store->m_abTable, resetStates, true, m_store->m_nAbSort);
}

void CDlgView::FillFolderCombo()
{
    m_cbFolder->clear();
    for (int i = 0; i < m_store->m_nFolderCount && i < kFolderSlots; ++i)
        m_cbFolder->AddFolder(QString::fromStdString(m_store->m_folders[static_cast<size_t>(i)].m_strName),
                              &m_store->m_folders[static_cast<size_t>(i)]);
    if (m_store->m_nFolderCount == 0) // the root record is always listed
        m_cbFolder->AddFolder(QString::fromStdString(m_store->m_folders[0].m_strName), &m_store->m_folders[0]);
    m_cbFolder->setCurrentIndex(0);
}

void CDlgView::ShowPreviewEntry()
{
    if (m_cbPreview->count() == 0) {
        for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->clear();
        return;
    }
    const int current = m_cbPreview->currentIndex() < 0 ? 0 : m_cbPreview->currentIndex();
    const DirEntry* copy = m_cbPreview->Copy(current);
    if (!copy) return;
    m_edName->setText(QString::fromStdString(copy->m_strName));
    m_edNumber->setText(QString::fromStdString(copy->m_strNumber));
    m_edIndex->setText(QString::number(copy->m_nIndex));
    m_edStatus->setText(QString::fromStdString(copy->m_strStatus));
}
