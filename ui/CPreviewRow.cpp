// The preview row's copies and its layout: filled from the active list's selection, grown with the form.
#include "ui/CPreviewRow.h"

#include "model/EntryStore.h"
#include "model/TelephoneName.h"
#include "ui/CFormControls.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewHeader.h"
#include "ui/DialogUnits.h"
#include "ui/FormLayout.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {
constexpr int kPreviewRowUnits = 224; // the preview row's width in dialog units, less 4 pixels
}

CPreviewRow::CPreviewRow(CFormControls& controls, EntryStore& store, IQuestions& questions, QObject* parent)
    : QObject(parent), m_controls(controls), m_store(store), m_questions(questions)
{
    m_controls.m_previewHeader->SetRow(this);
    m_controls.m_cbPreview->SetRow(this);
    Connect();
}

void CPreviewRow::Connect()
{
    CPreviewCombo* combo = m_controls.m_cbPreview;
    connect(combo, &CPreviewCombo::focusEntered, this, &CPreviewRow::OnSetFocusPreview);
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this] {
        ShowPreviewEntry();
        m_controls.m_edName->setFocus();
        m_controls.m_edName->selectAll();
    });
    combo->installEventFilter(this);
    connect(combo, &CPreviewCombo::droppedDown, this, &CPreviewRow::ShowPreviewEntry);
    connect(combo, &CPreviewCombo::closedUp, this, &CPreviewRow::ShowPreviewEntry);
    connect(m_controls.m_edName, &QLineEdit::textChanged, this, [this] {
        OnUpdatePreviewName();
        OnChangePreviewName();
    });
    connect(m_controls.m_edNumber, &QLineEdit::textChanged, this, [this] {
        OnUpdatePreviewNumber();
        OnChangePreviewNumber();
    });
    connect(m_controls.m_edIndex, &QLineEdit::textChanged, this, &CPreviewRow::OnChangePreviewIndex);
    connect(m_controls.m_edStatus, &QLineEdit::textChanged, this, &CPreviewRow::OnChangePreviewStatus);
}

bool CPreviewRow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.m_cbPreview && event->type() == QEvent::FocusOut) ShowPreviewEntry();
    return QObject::eventFilter(watched, event);
}

void CPreviewRow::FillPreview()
{
    m_store.m_nSuspendedList = LIST_NONE;
    const QTreeWidget* source = m_controls.List(m_store.m_nActiveList);
    if (!source) return;
    CPreviewCombo* combo = m_controls.m_cbPreview;
    combo->clear();
    combo->setEnabled(true);
    int k = 0;
    for (int row = 0; row < source->topLevelItemCount() && k < kTableSlots; ++row) {
        const QTreeWidgetItem* item = source->topLevelItem(row);
        const DirEntry* entry = CFormLists::EntryOfItem(item);
        if (!item->isSelected() || !entry) continue;
        DirEntry& copy = m_store.m_previewEntries[static_cast<size_t>(k)];
        copy.m_nIndex = entry->m_nIndex;
        copy.m_strName = entry->m_strName;
        // A copy bound for the telephone shows at once what the telephone will hold of its name, every copy in
        // the list and not only the one in the edits.
        if (m_store.m_nActiveList == LIST_AB && m_store.m_nNameLen > 0)
            copy.m_strName = TelephoneName::ForTelephone(copy.m_strName, m_store.PhoneNameLimits());
        copy.m_strNumber = entry->m_strNumber;
        copy.m_strStatus = entry->m_strStatus;
        combo->AddCopy(QString::fromStdString(copy.m_strName), &copy);
        ++k;
    }
    ShowPreviewEntry();
}

void CPreviewRow::ShowPreviewEntry()
{
    const CPreviewCombo* combo = m_controls.m_cbPreview;
    if (combo->count() == 0) {
        for (QLineEdit* edit : {m_controls.m_edName, m_controls.m_edNumber, m_controls.m_edIndex, m_controls.m_edStatus})
            edit->clear();
        return;
    }
    const DirEntry* copy = combo->Copy(std::max(0, combo->currentIndex()));
    if (!copy) return;
    m_controls.m_edName->setText(QString::fromStdString(copy->m_strName));
    m_controls.m_edNumber->setText(QString::fromStdString(copy->m_strNumber));
    m_controls.m_edIndex->setText(QString::number(copy->m_nIndex));
    m_controls.m_edStatus->setText(QString::fromStdString(copy->m_strStatus));
}

void CPreviewRow::ClearPreviewRow()
{
    m_store.m_nActiveList = LIST_NONE;
    m_controls.m_btnToAddressBook->setEnabled(false);
    m_controls.m_btnToPhone->setEnabled(false);
    EmptyPreview();
}

void CPreviewRow::EmptyPreview()
{
    m_controls.m_cbPreview->clear();
    m_controls.m_cbPreview->setEnabled(false);
    for (QLineEdit* edit : {m_controls.m_edName, m_controls.m_edNumber, m_controls.m_edIndex, m_controls.m_edStatus})
        edit->setText(QString());
}

std::vector<DirEntry*> CPreviewRow::Copies() const
{
    std::vector<DirEntry*> copies;
    for (int i = 0; i < m_controls.m_cbPreview->count(); ++i) copies.push_back(m_controls.m_cbPreview->Copy(i));
    return copies;
}

void CPreviewRow::ShowCorrectionRow(bool show)
{
    const bool visible = show && m_store.HasFlag(VF_SHOW_CORRECTION);
    for (QWidget* w : std::initializer_list<QWidget*>{m_controls.m_previewHeader, m_controls.m_cbPreview,
                                                      m_controls.m_edName, m_controls.m_edNumber, m_controls.m_edIndex,
                                                      m_controls.m_edStatus, m_controls.m_stPreview})
        w->setVisible(visible);
}

void CPreviewRow::InitWidths(const QFont& font)
{
    const DialogUnits du(font);
    m_nPreviewWidth = du.X(kPreviewRowUnits) - 4;
    const int previewUnits[4] = {112, 82, 20, 10};
    for (size_t i = 0; i < 4; ++i) m_anPreviewWidth[i] = du.X(previewUnits[i]);
}

void CPreviewRow::FitToWidth(int formWidth, const QFont& font)
{
    if (m_nPreviewWidth <= 0) return; // the preview row's widths come with the initial update
    const DialogUnits du(font);
    const FormLayout layout(du);
    const int extra = std::max(0, formWidth - layout.TemplateSize().width());
    const int accounted = m_nPreviewWidth - (du.X(kPreviewRowUnits) - 4);
    const int delta = extra - accounted;
    if (delta != 0) {
        m_nPreviewWidth += delta;
        m_anPreviewWidth = FormLayout::GrowPreviewColumns(m_anPreviewWidth, delta);
    }
    // At the template's widths the edits stand where the template puts them; otherwise under their headings.
    if (m_anPreviewWidth != layout.TemplatePreviewColumns()) LayoutPreviewRow();
    m_controls.m_previewHeader->update();
}

void CPreviewRow::LayoutPreviewRow()
{
    const QRect name = m_controls.m_edName->geometry();
    const int w0 = m_anPreviewWidth[0], w1 = m_anPreviewWidth[1], w2 = m_anPreviewWidth[2], w3 = m_anPreviewWidth[3];
    m_controls.m_edName->setGeometry(name.left(), name.top(), w0 + 2, name.height());
    m_controls.m_edName->raise();
    m_controls.m_edNumber->setGeometry(name.left() + w0 + 2, name.top(), w1, name.height());
    m_controls.m_edIndex->setGeometry(name.left() + w0 + 2 + w1, name.top(), w2 + 2, name.height());
    m_controls.m_edStatus->setGeometry(name.left() + w0 + 2 + w1 + w2 + 2, name.top(), std::max(0, w3 - 4),
                                       name.height());
}

void CPreviewRow::FocusPreviewField(int x)
{
    const int w0 = m_anPreviewWidth[0], w1 = m_anPreviewWidth[1], w2 = m_anPreviewWidth[2];
    QLineEdit* edit = x < w0 ? m_controls.m_edName
        : x < w0 + w1        ? m_controls.m_edNumber
        : x < w0 + w1 + w2   ? m_controls.m_edIndex
                             : m_controls.m_edStatus;
    edit->setFocus();
    edit->selectAll();
}
