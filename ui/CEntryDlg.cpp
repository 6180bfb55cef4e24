#include "ui/CEntryDlg.h"

#include "model/FieldRules.h"
#include "model/TelephoneName.h"
#include "ui/DialogPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
// Dialog units of the template: four labelled fields in one row, the buttons below them on the right.
constexpr int kWidth = 286;
constexpr int kHeight = 62;
constexpr int kLabelTop = 8;
constexpr int kEditTop = 18;
constexpr int kEditHeight = 12;
constexpr int kButtonTop = 40;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

struct FieldPlace {
    int id;
    const char* label;
    int x;
    int width;
};
constexpr FieldPlace kFields[] = {
    {1021, "Name", 7, 110},
    {1022, "Telephone-No.", 122, 100},
    {1023, "Index", 227, 32},
    {1024, "!", 264, 15},
};

std::string ReadEdit(const QLineEdit* edit)
{
    return CutText(edit->text().toStdString(), CEntryDlg::kMaxText);
}

}

CEntryDlg::CEntryDlg(QWidget* parent) : CTemplateDialog(parent)
{
    setWindowTitle(QStringLiteral("Input of new entry"));
    CreateControls();
    connect(m_btnOK, &QPushButton::clicked, this, &CEntryDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // textChanged also reports texts set by the program, as the edit control's notifications do: a number put
    // in on opening is checked like a typed one.
    connect(m_edName, &QLineEdit::textChanged, this, &CEntryDlg::OnChangeName);
    connect(m_edNumber, &QLineEdit::textChanged, this, &CEntryDlg::OnChangeNumber);
}

QLineEdit* CEntryDlg::MakeEdit(int id, const QString& accessibleName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setAccessibleName(accessibleName);
    edit->setMaxLength(kMaxText);
    return edit;
}

void CEntryDlg::CreateControls()
{
    const DialogPlacement placement(this, kWidth, kHeight);
    const DialogUnits& du = placement.Units();
    QLineEdit* edits[4] = {};
    for (int i = 0; i < 4; ++i) {
        const FieldPlace& field = kFields[i];
        const QString text = QString::fromLatin1(field.label);
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("static%1").arg(field.id));
        label->setGeometry(du.Rect(field.x, kLabelTop, field.width, 9));
        // The status column's label is only "!": the edit's accessible name says what it holds.
        edits[i] = MakeEdit(field.id, i == 3 ? QStringLiteral("Status (! or blank)") : text);
        edits[i]->setGeometry(du.Rect(field.x, kEditTop, field.width, kEditHeight));
        label->setBuddy(edits[i]);
        label->setAccessibleName(text);
    }
    m_edName = edits[0];
    m_edNumber = edits[1];
    m_edIndex = edits[2];
    m_edStatus = edits[3];

    m_btnOK = placement.AddButton(QStringLiteral("OK"), "button1", kWidth - 2 * kButtonWidth - 12, kButtonTop,
                                  kButtonWidth, kButtonHeight);
    m_btnOK->setDefault(true);
    m_btnCancel = placement.AddButton(QStringLiteral("Cancel"), "button2", kWidth - kButtonWidth - 7, kButtonTop,
                                      kButtonWidth, kButtonHeight);
    setTabOrder(m_edName, m_edNumber);
    setTabOrder(m_edNumber, m_edIndex);
    setTabOrder(m_edIndex, m_edStatus);
    setTabOrder(m_edStatus, m_btnOK);
    setTabOrder(m_btnOK, m_btnCancel);
}

void CEntryDlg::OnInitDialog()
{
    setWindowTitle(QString::fromStdString(m_strTitle));
    m_edName->setText(QString::fromStdString(CutText(m_szName, kMaxText)));
    m_edNumber->setText(QString::fromStdString(CutText(m_szNumber, kMaxText)));
    m_edIndex->setText(QString::fromStdString(CutText(m_szIndex, kMaxText)));
    m_edStatus->setText(QString::fromStdString(CutText(m_szStatus, kMaxText)));
    m_edName->setFocus();
}

void CEntryDlg::OnOK()
{
    m_szName = ReadEdit(m_edName);
    FilterNumber(ReadEdit(m_edNumber), SpacesAllowed(), m_szNumber);
    m_szIndex = ReadEdit(m_edIndex);
    m_szStatus = ReadEdit(m_edStatus);
    accept();
}

void CEntryDlg::ReplaceKeepingSelection(QLineEdit* edit, const std::string& corrected,
                                        const std::function<int(int)>& mapPosition)
{
    const bool selected = edit->hasSelectedText();
    const int start = selected ? edit->selectionStart() : edit->cursorPosition();
    const int end = selected ? edit->selectionEnd() : start;
    const bool caretAtStart = selected && edit->cursorPosition() == start;
    m_bCorrecting = true;
    edit->setText(QString::fromStdString(corrected));
    m_bCorrecting = false;
    const int newStart = std::clamp(mapPosition(start), 0, static_cast<int>(edit->text().size()));
    const int newEnd = std::clamp(mapPosition(end), newStart, static_cast<int>(edit->text().size()));
    if (newStart == newEnd) edit->setCursorPosition(newStart);
    else if (caretAtStart) edit->setSelection(newEnd, newStart - newEnd);
    else edit->setSelection(newStart, newEnd - newStart);
}

void CEntryDlg::OnChangeName()
{
    if (m_bCorrecting || m_nListKind != 1) return;
    const QString typed = m_edName->text();
    const TelephoneNameLimits limits{m_nNameLen, m_nUcs2NameLen};
    const std::string corrected = TelephoneName::ForTelephone(typed.toStdString(), limits);
    if (QString::fromStdString(corrected) == typed) return;
    // Characters removed before the caret move it left by as many; a cut only pulls it back to the end.
    ReplaceKeepingSelection(m_edName, corrected, [&typed, &limits](int position) {
        return static_cast<int>(QString::fromStdString(TelephoneName::Holdable(typed.left(position).toStdString(), limits)).size());
    });
}

void CEntryDlg::OnChangeNumber()
{
    if (m_bCorrecting) return;
    const std::string text = CutText(m_edNumber->text().toStdString(), kMaxCheckedNumber);
    const bool spaces = SpacesAllowed();
    // Refused characters go first, so that a letter typed into a full number does not cost a digit at its end.
    const bool filtered = !IsNumberText(text, spaces);
    std::string corrected = text;
    if (filtered) FilterNumber(text, spaces, corrected);
    if (m_nListKind == 1 && m_nNumberLen > 0) corrected = CutText(corrected, NumberLimit(corrected, m_nNumberLen));
    if (QString::fromStdString(corrected) == m_edNumber->text()) return;
    const int limit = static_cast<int>(corrected.size());
    ReplaceKeepingSelection(m_edNumber, corrected, [&text, spaces, filtered, limit](int position) {
        std::string kept = CutText(text, position);
        if (filtered) FilterNumber(CutText(text, position), spaces, kept);
        return std::min(static_cast<int>(kept.size()), limit);
    });
}
