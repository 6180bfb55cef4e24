// Copying the preview row's working copies from one list into the other. The source table never changes; the
// target is only marked as edited, and its save button writes it.
#include "ui/CDlgView.h"
#include "ui/CEntryPanes.h"
#include "ui/CPreviewCombo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

void CDlgView::FinishTransfer()
{
    m_cbPreview->clear();
    m_cbPreview->setEnabled(false);
    for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->setText(QString());
}

void CDlgView::TransferPreviewTo(int target)
{
    const int source = target == LIST_PHONE ? LIST_AB : LIST_PHONE;
    if (m_panes->Side(target)->RefuseChange()) return;
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    // No list is active before the selection goes, so the shrinking selection cannot rebuild the preview.
    m_store->m_nActiveList = LIST_NONE;
    m_panes->List(source)->ClearSelection(m_panes->Side(source)->Table().m_nCount);
    std::vector<DirEntry*> copies;
    for (int i = 0; i < m_cbPreview->count(); ++i) copies.push_back(m_cbPreview->Copy(i));
    m_panes->Transfer().CopyInto(*m_panes->Side(target), *m_panes->List(target), copies);
    FinishTransfer();
}

void CDlgView::OnCopyToPhone()
{
    TransferPreviewTo(LIST_PHONE);
}

void CDlgView::OnCopyToAddressBook()
{
    TransferPreviewTo(LIST_AB);
}
