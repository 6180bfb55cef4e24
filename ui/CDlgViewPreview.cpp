// The preview row's four fields: what is typed into them corrects the working copy shown, by the rules of the
// list the copy would go to.
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "model/TelephoneName.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewCombo.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
struct Selection {
    int start;
    int end;
};

Selection SelectionOf(const QLineEdit* edit)
{
    if (!edit->hasSelectedText()) return {edit->cursorPosition(), edit->cursorPosition()};
    return {edit->selectionStart(), edit->selectionStart() + static_cast<int>(edit->selectedText().size())};
}

void SetTextKeepingSelection(QLineEdit* edit, const QString& text, Selection selection)
{
    edit->setText(text);
    const int length = static_cast<int>(text.size());
    const int start = std::clamp(selection.start, 0, length);
    const int end = std::clamp(selection.end, start, length);
    edit->setSelection(start, end - start);
}
}

DirEntry* CDlgView::CurrentPreviewCopy() const
{
    if (m_cbPreview->count() == 0) return nullptr;
    return m_cbPreview->Copy(std::max(0, m_cbPreview->currentIndex()));
}

void CDlgView::OnChangePreviewName()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    const QString text = m_edName->text();
    if (!text.isEmpty()) {
        copy->m_strName = text.toStdString();
        if (m_store->m_nSuspendedList != LIST_NONE) {
            m_btnToAddressBook->setEnabled(m_store->m_nSuspendedList == LIST_PHONE);
            m_btnToPhone->setEnabled(m_store->m_nSuspendedList == LIST_AB);
            m_store->m_nActiveList = m_store->m_nSuspendedList;
        }
        m_store->m_nSuspendedList = LIST_NONE;
        return;
    }
    // Without a name nothing can be carried across; the list that was active comes back with the first letter.
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    if (m_store->m_nActiveList != LIST_NONE) m_store->m_nSuspendedList = m_store->m_nActiveList;
    if (m_store->m_nNameLen > 0) m_store->m_nActiveList = LIST_NONE;
}

void CDlgView::OnChangePreviewNumber()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    const std::string text = m_edNumber->text().toStdString();
    const bool spaces = m_store->m_nActiveList == LIST_PHONE; // copies of telephone entries go to the address book
    std::string filtered;
    FilterNumber(text, spaces, filtered);
    if (IsNumberText(text, spaces)) {
        copy->m_strNumber = filtered; // the edit keeps showing the separators that were typed
        return;
    }
    m_edNumber->setText(QString::fromStdString(filtered)); // raises this handler again, which stores it
    m_edNumber->selectAll();
}

void CDlgView::OnChangePreviewIndex()
{
    if (DirEntry* copy = CurrentPreviewCopy()) copy->m_nIndex = LeadingDecimalNumber(m_edIndex->text().toStdString());
}

void CDlgView::OnChangePreviewStatus()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    const std::string status = m_edStatus->text().toStdString();
    if (IsPreviewStatusAccepted(status)) {
        copy->m_strStatus = status;
        return;
    }
    m_pQuestions->ReportError(ErrorClass::kInput, Ids::IDS_ERR_STATUS_INPUT);
    m_edStatus->clear(); // stores the empty status
}

void CDlgView::OnUpdatePreviewName()
{
    if (m_store->m_nActiveList != LIST_AB) return; // only copies bound for the telephone meet its limits
    const QString text = m_edName->text();
    // While the telephone's limits are unknown, a name is cut to nothing: there is no name the copy could keep.
    const QString corrected = m_store->m_nNameLen > 0
        ? QString::fromStdString(TelephoneName::ForTelephone(text.toStdString(), m_store->PhoneNameLimits())) : QString();
    if (corrected != text) SetTextKeepingSelection(m_edName, corrected, SelectionOf(m_edName));
}

void CDlgView::OnUpdatePreviewNumber()
{
    if (m_store->m_nActiveList != LIST_AB) return;
    const Selection selection = SelectionOf(m_edNumber);
    QString text = m_edNumber->text();
    const int limit = std::max(0, m_store->m_nNumberLen) + (text.startsWith(u'+') ? 1 : 0);
    if (text.size() > limit) {
        text.truncate(limit);
        SetTextKeepingSelection(m_edNumber, text, selection);
    }
}
