// The preview row's four fields: what is typed into them corrects the working copy shown, by the rules of the
// list the copy would go to.
#include "model/EntryStore.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "model/TelephoneName.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "ui/CFormControls.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewRow.h"

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

DirEntry* CPreviewRow::CurrentPreviewCopy() const
{
    const CPreviewCombo* combo = m_controls.m_cbPreview;
    if (combo->count() == 0) return nullptr;
    return combo->Copy(std::max(0, combo->currentIndex()));
}

// Entering the row keeps the transfer buttons of the list whose copies it holds.
void CPreviewRow::OnSetFocusPreview()
{
    switch (m_store.m_nActiveList) {
    case LIST_PHONE:
        m_controls.m_btnToPhone->setEnabled(false);
        m_controls.m_btnToAddressBook->setEnabled(true);
        break;
    case LIST_AB:
        m_controls.m_btnToPhone->setEnabled(m_store.CurrentPhoneTable().m_bReadOnly == 0);
        m_controls.m_btnToAddressBook->setEnabled(false);
        break;
    case LIST_NONE:
        m_controls.m_btnToPhone->setEnabled(false);
        m_controls.m_btnToAddressBook->setEnabled(false);
        break;
    default: break;
    }
    ShowPreviewEntry();
}

void CPreviewRow::OnChangePreviewName()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    const QString text = m_controls.m_edName->text();
    if (!text.isEmpty()) {
        copy->m_strName = text.toStdString();
        if (m_store.m_nSuspendedList != LIST_NONE) {
            m_controls.m_btnToAddressBook->setEnabled(m_store.m_nSuspendedList == LIST_PHONE);
            m_controls.m_btnToPhone->setEnabled(m_store.m_nSuspendedList == LIST_AB);
            m_store.m_nActiveList = m_store.m_nSuspendedList;
        }
        m_store.m_nSuspendedList = LIST_NONE;
        return;
    }
    // Without a name nothing can be carried across; the list that was active comes back with the first letter.
    m_controls.m_btnToAddressBook->setEnabled(false);
    m_controls.m_btnToPhone->setEnabled(false);
    if (m_store.m_nActiveList != LIST_NONE) m_store.m_nSuspendedList = m_store.m_nActiveList;
    if (m_store.m_nNameLen > 0) m_store.m_nActiveList = LIST_NONE;
}

void CPreviewRow::OnChangePreviewNumber()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    QLineEdit* edit = m_controls.m_edNumber;
    const std::string text = edit->text().toStdString();
    const bool spaces = m_store.m_nActiveList == LIST_PHONE; // copies of telephone entries go to the address book
    std::string filtered;
    FilterNumber(text, spaces, filtered);
    if (IsNumberText(text, spaces)) {
        copy->m_strNumber = filtered; // the edit keeps showing the separators that were typed
        return;
    }
    edit->setText(QString::fromStdString(filtered)); // raises this handler again, which stores it
    edit->selectAll();
}

void CPreviewRow::OnChangePreviewIndex()
{
    if (DirEntry* copy = CurrentPreviewCopy())
        copy->m_nIndex = LeadingDecimalNumber(m_controls.m_edIndex->text().toStdString());
}

void CPreviewRow::OnChangePreviewStatus()
{
    DirEntry* copy = CurrentPreviewCopy();
    if (!copy) return;
    const std::string status = m_controls.m_edStatus->text().toStdString();
    if (IsPreviewStatusAccepted(status)) {
        copy->m_strStatus = status;
        return;
    }
    m_questions.ReportError(ErrorClass::kInput, Ids::IDS_ERR_STATUS_INPUT);
    m_controls.m_edStatus->clear(); // stores the empty status
}

void CPreviewRow::OnUpdatePreviewName()
{
    if (m_store.m_nActiveList != LIST_AB) return; // only copies bound for the telephone meet its limits
    QLineEdit* edit = m_controls.m_edName;
    const QString text = edit->text();
    // While the telephone's limits are unknown, a name is cut to nothing: there is no name the copy could keep.
    const QString corrected = m_store.m_nNameLen > 0
        ? QString::fromStdString(TelephoneName::ForTelephone(text.toStdString(), m_store.PhoneNameLimits()))
        : QString();
    if (corrected != text) SetTextKeepingSelection(edit, corrected, SelectionOf(edit));
}

void CPreviewRow::OnUpdatePreviewNumber()
{
    if (m_store.m_nActiveList != LIST_AB) return;
    QLineEdit* edit = m_controls.m_edNumber;
    const Selection selection = SelectionOf(edit);
    QString text = edit->text();
    const int limit = std::max(0, m_store.m_nNumberLen) + (text.startsWith(u'+') ? 1 : 0);
    if (text.size() > limit) {
        text.truncate(limit);
        SetTextKeepingSelection(edit, text, selection);
    }
}
