// Adding and editing entries through the entry dialog, on the active list's side.
#include "ui/CDlgView.h"
#include "ui/CEntryPanes.h"

void CDlgView::OnAddEntry()
{
    if (IEntrySide* side = m_panes->Side(m_store->m_nActiveList))
        m_panes->Dialogs().Add(*side, *m_panes->List(m_store->m_nActiveList));
}

void CDlgView::OnEditEntry()
{
    if (IEntrySide* side = m_panes->Side(m_store->m_nActiveList))
        m_panes->Dialogs().Edit(*side, *m_panes->List(m_store->m_nActiveList));
}
