// Delete, the internal clipboard and select all, on the selected rows of the active list. The system clipboard
// only ever receives text the user selected in the preview's name field.
#include "ui/CDlgView.h"
#include "ui/CEntryPanes.h"

#include <QLineEdit>

void CDlgView::OnDeleteEntries()
{
    if (IEntrySide* side = m_panes->Side(m_store->m_nActiveList))
        m_panes->Deletion().DeleteSelected(*side, *m_panes->List(m_store->m_nActiveList));
}

void CDlgView::OnEditCopy()
{
    m_panes->Clipboard().Copy(m_panes->List(m_store->m_nActiveList));
    m_edName->copy(); // only the text selected in the preview's name field reaches the system clipboard
}

void CDlgView::OnEditCut()
{
    IEntrySide* side = m_panes->Side(m_store->m_nActiveList);
    if (side && side->RefuseChange()) return;
    OnEditCopy();
    if (side) EntryDeletion::RemoveSelected(*side, *m_panes->List(m_store->m_nActiveList));
}

void CDlgView::OnEditPaste()
{
    m_panes->Clipboard().Paste(m_panes->Side(m_store->m_nActiveList), m_panes->List(m_store->m_nActiveList));
}

void CDlgView::OnSelectAll()
{
    CEntryListPane* list = m_panes->List(m_store->m_nActiveList);
    if (!list) return;
    // One selection change for all the rows, and one rebuild of the preview after it.
    m_bPreviewHeld = true;
    list->SelectFirstRows(m_panes->Side(m_store->m_nActiveList)->Table().m_nCount);
    m_bPreviewHeld = false;
    FillPreview();
}
