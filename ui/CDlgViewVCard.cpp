// The form's vCard commands: the dialogs ask for the file and the choices, the address-book layer does the
// work. An import lands in the folder shown like a transfer, and is kept only when the user saves.
#include "model/Questions.h"
#include "pab/VCardTransfer.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"
#include "ui/CEntryPanes.h"
#include "ui/CFolderCombo.h"

#include <QTreeWidget>

void CDlgView::OnImportVCard()
{
    VCardImportData request;
    if (!m_pQuestions->RunVCardImportDialog(request)) return;
    // As after a transfer: no list is active and the preview row is empty while the list is refilled.
    m_store->m_nActiveList = LIST_NONE;
    FinishTransfer();
    VCardTransfer(*m_store, *m_pQuestions, *this).Import(request);
}

void CDlgView::OnExportVCard()
{
    VCardExportData request;
    request.m_nList = m_store->m_nActiveList == LIST_PHONE || (m_lcAddressBook->topLevelItemCount() == 0) ? 1 : 2;
    request.m_nSelected[0] = int(m_panes->List(LIST_PHONE)->SelectedRows().size());
    request.m_nSelected[1] = int(m_panes->List(LIST_AB)->SelectedRows().size());
    request.m_strListNames[0] = m_cbDirectory->currentText().toStdString();
    request.m_strListNames[1] = m_cbFolder->currentText().toStdString();
    if (!m_pQuestions->RunVCardExportDialog(request)) return;
    const bool phone = request.m_nList == 1;
    const QTreeWidget* list = phone ? m_lcPhone : m_lcAddressBook;
    const DirTable& table = phone ? m_store->CurrentPhoneTable() : m_store->m_abTable;
    // In the order the list shows them.
    std::vector<int> chosen;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        const DirEntry* entry = EntryOfItem(item);
        if (!entry || (request.m_bSelectedOnly && !item->isSelected())) continue;
        chosen.push_back(int(entry - &table[0]));
    }
    VCardTransfer(*m_store, *m_pQuestions, *this).Export(request, table, chosen);
}
