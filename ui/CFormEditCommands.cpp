// Adding, editing, deleting, the internal clipboard, select all and the transfers, on the active list's side.
// The system clipboard only ever receives text the user selected in the preview's name field.
#include "model/EntryStore.h"
#include "ui/CEntryPanes.h"
#include "ui/CFormCommands.h"
#include "ui/CFormControls.h"
#include "ui/CPreviewRow.h"

#include <QLineEdit>
#include <QPushButton>

void CFormCommands::OnAddEntry()
{
    const int active = m_parts.store.m_nActiveList;
    if (IEntrySide* side = m_parts.panes.Side(active)) m_parts.panes.Dialogs().Add(*side, *m_parts.panes.List(active));
}

void CFormCommands::OnEditEntry()
{
    const int active = m_parts.store.m_nActiveList;
    if (IEntrySide* side = m_parts.panes.Side(active)) m_parts.panes.Dialogs().Edit(*side, *m_parts.panes.List(active));
}

void CFormCommands::OnDeleteEntries()
{
    const int active = m_parts.store.m_nActiveList;
    if (IEntrySide* side = m_parts.panes.Side(active))
        m_parts.panes.Deletion().DeleteSelected(*side, *m_parts.panes.List(active));
}

void CFormCommands::OnEditCopy()
{
    m_parts.panes.Clipboard().Copy(m_parts.panes.List(m_parts.store.m_nActiveList));
    m_parts.controls.m_edName->copy(); // only the text selected in the preview's name field reaches the system clipboard
}

void CFormCommands::OnEditCut()
{
    const int active = m_parts.store.m_nActiveList;
    IEntrySide* side = m_parts.panes.Side(active);
    if (side && side->RefuseChange()) return;
    OnEditCopy();
    if (side) EntryDeletion::RemoveSelected(*side, *m_parts.panes.List(active));
}

void CFormCommands::OnEditPaste()
{
    const int active = m_parts.store.m_nActiveList;
    m_parts.panes.Clipboard().Paste(m_parts.panes.Side(active), m_parts.panes.List(active));
}

void CFormCommands::OnSelectAll()
{
    const int active = m_parts.store.m_nActiveList;
    CEntryListPane* list = m_parts.panes.List(active);
    if (!list) return;
    // One selection change for all the rows, and one rebuild of the preview after it.
    m_parts.preview.SetHeld(true);
    list->SelectFirstRows(m_parts.panes.Side(active)->Table().m_nCount);
    m_parts.preview.SetHeld(false);
    m_parts.preview.FillPreview();
}

// Copying the preview row's working copies from one list into the other. The source table never changes; the
// target is only marked as edited, and its save button writes it.
void CFormCommands::TransferPreviewTo(int target)
{
    const int source = target == LIST_PHONE ? LIST_AB : LIST_PHONE;
    if (m_parts.panes.Side(target)->RefuseChange()) return;
    m_parts.controls.m_btnToAddressBook->setEnabled(false);
    m_parts.controls.m_btnToPhone->setEnabled(false);
    // No list is active before the selection goes, so the shrinking selection cannot rebuild the preview.
    m_parts.store.m_nActiveList = LIST_NONE;
    m_parts.panes.List(source)->ClearSelection(m_parts.panes.Side(source)->Table().m_nCount);
    const std::vector<DirEntry*> copies = m_parts.preview.Copies();
    m_parts.panes.Transfer().CopyInto(*m_parts.panes.Side(target), *m_parts.panes.List(target), copies);
    m_parts.preview.EmptyPreview();
}

void CFormCommands::OnCopyToPhone()
{
    TransferPreviewTo(LIST_PHONE);
}

void CFormCommands::OnCopyToAddressBook()
{
    TransferPreviewTo(LIST_AB);
}
