// Copying the preview row's working copies from one list into the other. The source table never changes; the
// target is only marked as edited, and its save button writes it.
#include "model/FieldRules.h"
#include "pab/AbNameCheck.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewCombo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {
void ClearSelection(QTreeWidget* list, int rows)
{
    for (int row = 0; row < rows && row < list->topLevelItemCount(); ++row) list->topLevelItem(row)->setSelected(false);
}
}

void CDlgView::BeginBatch(int entries)
{
    m_store->SetFlag(VF_BATCH);
    // Only a run of several entries offers "Accept All" in the index dialog.
    if (entries != 1) m_store->SetFlag(VF_BATCH_MULTI); else m_store->ClearFlag(VF_BATCH_MULTI);
}

void CDlgView::FinishTransfer()
{
    m_cbPreview->clear();
    m_cbPreview->setEnabled(false);
    for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->setText(QString());
}

void CDlgView::OnCopyToPhone()
{
    if (RefusePhoneChange(LIST_PHONE)) return;
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    // No list is active before the selection goes, so the shrinking selection cannot rebuild the preview.
    m_store->m_nActiveList = LIST_NONE;
    ClearSelection(m_lcAddressBook, m_store->m_abTable.m_nCount);
    CopyPreviewToPhone();
    FinishTransfer();
}

void CDlgView::OnCopyToAddressBook()
{
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    m_store->m_nActiveList = LIST_NONE;
    ClearSelection(m_lcPhone, m_store->CurrentPhoneTable().m_nCount);
    CopyPreviewToAddressBook();
    FinishTransfer();
}

void CDlgView::CopyPreviewToPhone()
{
    const int n = m_cbPreview->count();
    int p = m_lcPhone->topLevelItemCount();
    BeginBatch(n);
    for (int i = 0; i < n; ++i) {
        DirEntry* copy = m_cbPreview->Copy(i);
        if (!copy) return;
        TrimTrailingBlanks(copy->m_strName);
        if (!InsertPhoneEntry(p, *copy)) break;
        ++p;
    }
    m_store->ClearFlag(VF_BATCH);
    FillPhoneList(false);
}

void CDlgView::CopyPreviewToAddressBook()
{
    const int n = m_cbPreview->count();
    int p = m_lcAddressBook->topLevelItemCount();
    BeginBatch(n);
    for (int i = 0; i < n; ++i) {
        DirEntry* copy = m_cbPreview->Copy(i);
        if (!copy) return;
        TrimTrailingBlanks(copy->m_strName);
        std::string name = copy->m_strName;
        if (!MakeAbNameUnique(*m_store, *m_pQuestions, *this, name)) continue; // only this copy is skipped
        copy->m_strName = name;
        if (!InsertAbEntry(p, *copy)) break;
        ++p;
    }
    m_store->ClearFlag(VF_BATCH);
    FillAbList(false);
}
