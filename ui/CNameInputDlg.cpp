#include "ui/CNameInputDlg.h"

#include "model/FieldRules.h"
#include "res/Cp1252.h"
#include "ui/DialogPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kTemplateCaption = QStringLiteral("Insert folder on current selection");
const QString kTemplatePrompt = QStringLiteral("Input of folder name:");


// Names are stored in code page 1252; a character it cannot hold is dropped as it is typed, not replaced later.
QString WithoutUnrepresentable(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    std::string ignored;
    for (QChar ch : text) {
        if (Cp1252::fromQStringExact(QString(ch), ignored)) kept.append(ch);
    }
    return kept;
}
}

CNameInputDlg::CNameInputDlg(QWidget* parent) : CTemplateDialog(parent)
{
    setWindowTitle(kTemplateCaption);
    CreateControls();
    connect(m_btnOk, &QPushButton::clicked, this, &CNameInputDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edName, &QLineEdit::textEdited, this, &CNameInputDlg::OnNameEdited);
}

void CNameInputDlg::CreateControls()
{
    const DialogPlacement placement(this, 252, 108);
    const DialogUnits& du = placement.Units();
    m_stPrompt = new QLabel(kTemplatePrompt, this);
    m_stPrompt->setObjectName(QStringLiteral("static1027"));
    m_stPrompt->setGeometry(du.Rect(16, 20, 219, 9));

    m_edName = new QLineEdit(this);
    m_edName->setObjectName(QStringLiteral("edit1021"));
    m_edName->setMaxLength(kMaxNameLength);
    m_edName->setGeometry(du.Rect(9, 43, 149, 12));
    m_stPrompt->setBuddy(m_edName);

    m_btnOk = placement.AddButton(QStringLiteral("OK"), "button1", 195, 43, 50, 14);
    m_btnOk->setDefault(true);
    m_btnCancel = placement.AddButton(QStringLiteral("Cancel"), "button2", 195, 71, 50, 14);
}

void CNameInputDlg::OnInitDialog()
{
    const QString title = Cp1252::toQString(m_strTitle);
    const QString prompt = Cp1252::toQString(m_strPrompt);
    setWindowTitle(title);
    m_stPrompt->setText(prompt);
    m_stPrompt->setAccessibleName(prompt);
    m_edName->setAccessibleName(prompt.isEmpty() ? title : prompt);
    m_edName->setText(Cp1252::toQString(m_strText));
    m_edName->selectAll();
    m_edName->setFocus();
}

void CNameInputDlg::OnOK()
{
    const std::string name = CutText(Cp1252::fromQString(m_edName->text()), kMaxNameLength);
    if (name.empty()) {
        m_edName->setFocus();
        return;
    }
    m_szName = name;
    accept();
}

void CNameInputDlg::OnNameEdited(const QString& text)
{
    const QString kept = WithoutUnrepresentable(text);
    if (kept.size() == text.size()) return;
    const int cursor = m_edName->cursorPosition() - static_cast<int>(text.size() - kept.size());
    m_edName->setText(kept);
    m_edName->setCursorPosition(std::max(0, cursor));
}
