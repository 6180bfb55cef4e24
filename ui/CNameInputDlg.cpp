#include "ui/CNameInputDlg.h"

#include "model/FieldRules.h"
#include "ui/DialogPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kTemplateCaption = QStringLiteral("Insert folder on current selection");
const QString kTemplatePrompt = QStringLiteral("Input of folder name:");
}

CNameInputDlg::CNameInputDlg(QWidget* parent) : CTemplateDialog(parent)
{
    setWindowTitle(kTemplateCaption);
    CreateControls();
    connect(m_btnOk, &QPushButton::clicked, this, &CNameInputDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
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
    const QString title = QString::fromStdString(m_strTitle);
    const QString prompt = QString::fromStdString(m_strPrompt);
    setWindowTitle(title);
    m_stPrompt->setText(prompt);
    m_stPrompt->setAccessibleName(prompt);
    m_edName->setAccessibleName(prompt.isEmpty() ? title : prompt);
    m_edName->setText(QString::fromStdString(m_strText));
    m_edName->selectAll();
    m_edName->setFocus();
}

void CNameInputDlg::OnOK()
{
    const std::string name = CutText(m_edName->text().toStdString(), kMaxNameLength);
    if (name.empty()) {
        m_edName->setFocus();
        return;
    }
    m_szName = name;
    accept();
}
