// Delete, the internal clipboard and select all, on the selected rows of the active list. The system clipboard
// only ever receives text the user selected in the preview's name field.
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "pab/AbNameCheck.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

QTreeWidget* CDlgView::ActiveListWidget() const
{
    return m_store->m_nActiveList == LIST_PHONE ? m_lcPhone : m_store->m_nActiveList == LIST_AB ? m_lcAddressBook : nullptr;
}

std::vector<int> CDlgView::SelectedRows(const QTreeWidget* list)
{
    std::vector<int> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->isSelected()) rows.push_back(row);
    return rows;
}

std::string CDlgView::DeleteQuestion(const QTreeWidget* list, const std::vector<int>& rows) const
{
    if (rows.size() == 1) {
        const QTreeWidgetItem* item = list->topLevelItem(rows.front());
        QStringList columns;
        for (int c = 0; c < 4; ++c) columns << item->text(c);
        return StringTable::LoadString(Ids::IDS_DELETE_ONE) + columns.join(QStringLiteral("     ")).toStdString();
    }
    return StringTable::LoadQString(Ids::IDS_DELETE_MANY).replace(QStringLiteral("%1"), QString::number(rows.size())).toStdString();
}

void CDlgView::RemoveSelectedRows(QTreeWidget* list, const std::vector<int>& rows)
{
    // Removing an entry moves the entries behind it, so each is found again by its own slot before removal.
    std::vector<const DirEntry*> entries;
    for (int row : rows) entries.push_back(EntryOfItem(list->topLevelItem(row)));
    DirTable& table = list == m_lcPhone ? m_store->CurrentPhoneTable() : m_store->m_abTable;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int slot = static_cast<int>(entries[i] - &table[0]);
        if (slot < 0 || slot >= table.m_nCount) continue;
        if (list == m_lcPhone) RemovePhoneEntry(slot); else RemoveAbEntry(slot);
        // The entries behind the removed one moved down one slot.
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j] > entries[i]) --entries[j];
    }
    const int first = rows.empty() ? -1 : rows.front();
    if (list == m_lcPhone) {
        FillPhoneList(false);
        SelectPhoneItem(first);
    } else {
        FillAbList(false);
        SelectAbItem(first);
    }
}

void CDlgView::OnDeleteEntries()
{
    QTreeWidget* list = ActiveListWidget();
    if (!list || RefusePhoneChange(m_store->m_nActiveList)) return;
    const std::vector<int> rows = SelectedRows(list);
    if (rows.empty()) return;
    if (!m_pQuestions->AskYesNo(rows.size() == 1 ? Ids::IDS_DELETE_ONE : Ids::IDS_DELETE_MANY, DeleteQuestion(list, rows))) {
        m_store->m_strScratch = StringTable::LoadString(Ids::IDS_ACTION_ABORTED);
        SetStatusText(m_store->m_strScratch);
        return;
    }
    RemoveSelectedRows(list, rows);
}

void CDlgView::CopySelectionToClip()
{
    const QTreeWidget* list = ActiveListWidget();
    if (!list) return;
    int k = 0;
    for (int row : SelectedRows(list)) {
        const DirEntry* entry = EntryOfItem(list->topLevelItem(row));
        if (!entry || k >= kTableSlots) continue;
        DirEntry& copy = m_store->m_clipTable[k++];
        copy = DirEntry();
        copy.m_nIndex = entry->m_nIndex;
        copy.m_strName = entry->m_strName;
        copy.m_strNumber = entry->m_strNumber;
        copy.m_strStatus = entry->m_strStatus;
        copy.m_nState = entry->m_nState;
        // A telephone entry pasted back keeps what the telephone held of the fields the user did not change.
        copy.m_strPhoneName = entry->m_strPhoneName;
        copy.m_strPhoneNumber = entry->m_strPhoneNumber;
    }
    m_store->m_clipTable.m_nCount = k;
}

void CDlgView::OnEditCopy()
{
    CopySelectionToClip();
    m_edName->copy(); // only the text selected in the preview's name field reaches the system clipboard
    m_store->SetFlag(VF_CLIPBOARD);
}

void CDlgView::OnEditCut()
{
    if (RefusePhoneChange(m_store->m_nActiveList)) return;
    OnEditCopy();
    QTreeWidget* list = ActiveListWidget();
    if (list) RemoveSelectedRows(list, SelectedRows(list));
}

void CDlgView::OnEditPaste()
{
    if (RefusePhoneChange(m_store->m_nActiveList)) return;
    const int n = m_store->m_clipTable.m_nCount;
    BeginBatch(n);
    if (m_store->m_nActiveList == LIST_PHONE) {
        const std::vector<int> selected = SelectedRows(m_lcPhone);
        const int f = selected.empty() ? -1 : selected.front();
        for (int i = 0; i < n; ++i)
            if (!InsertPhoneEntry(f + 1 + i, m_store->m_clipTable[i])) break;
        FillPhoneList(false);
    } else if (m_store->m_nActiveList == LIST_AB) {
        const std::vector<int> selected = SelectedRows(m_lcAddressBook);
        const int f = selected.empty() ? -1 : selected.front();
        int k = 0;
        for (int i = 0; i < n; ++i) {
            DirEntry& copy = m_store->m_clipTable[i];
            TrimTrailingBlanks(copy.m_strName);
            std::string name = copy.m_strName;
            if (!MakeAbNameUnique(*m_store, *m_pQuestions, *this, name)) continue;
            copy.m_strName = name;
            if (!InsertAbEntry(f + 1 + k, copy)) break;
            ++k;
        }
        FillAbList(false);
    }
    m_store->ClearFlag(VF_BATCH | VF_CLIPBOARD); // the same copies paste only once
}

void CDlgView::OnSelectAll()
{
    QTreeWidget* list = ActiveListWidget();
    if (!list) return;
    const int tableCount = list == m_lcPhone ? m_store->CurrentPhoneTable().m_nCount : m_store->m_abTable.m_nCount;
    const int count = std::min(tableCount, list->topLevelItemCount());
    if (count > 0) {
        // One selection change for all the rows, and one rebuild of the preview after it.
        m_bPreviewHeld = true;
        const QAbstractItemModel* model = list->model();
        const QItemSelection rows(model->index(0, 0), model->index(count - 1, model->columnCount() - 1));
        list->selectionModel()->select(rows, QItemSelectionModel::Select);
        m_bPreviewHeld = false;
    }
    FillPreview();
}
