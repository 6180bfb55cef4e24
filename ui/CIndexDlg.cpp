#include "ui/CIndexDlg.h"

#include "model/FieldRules.h"
#include "ui/DialogPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Dialog units of the template: the texts above, the index below them and the buttons along the bottom.
constexpr int kWidth = 230;
constexpr int kHeight = 84;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonTop = 62;

QLabel* MakeLabel(QWidget* parent, const QString& text, const char* objectName)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setAccessibleName(text);
    return label;
}
}

CIndexDlg::CIndexDlg(QWidget* parent) : CTemplateDialog(parent)
{
    setWindowTitle(QStringLiteral("Index-Zuweisung"));
    CreateControls();
    connect(m_btnAccept, &QPushButton::clicked, this, &CIndexDlg::OnAccept);
    connect(m_btnAcceptAll, &QPushButton::clicked, this, &CIndexDlg::OnAcceptAll);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CIndexDlg::CreateControls()
{
    const DialogPlacement placement(this, kWidth, kHeight);
    const DialogUnits& du = placement.Units();
    m_stTaken = MakeLabel(this, QStringLiteral("The index exists already or is too high."), "staticIndexTaken");
    m_stTaken->setGeometry(du.Rect(10, 8, 210, 9));
    m_stUseLowest = MakeLabel(this, QStringLiteral("Do you want to use the lowest available value ?"), "staticUseLowest");
    m_stUseLowest->setGeometry(du.Rect(10, 20, 210, 9));

    m_edIndex = new QLineEdit(this);
    m_edIndex->setObjectName(QStringLiteral("edit1021"));
    m_edIndex->setAccessibleName(QStringLiteral("Index"));
    m_edIndex->setMaxLength(kMaxIndexText);
    m_edIndex->setGeometry(du.Rect(10, 38, 60, 12));
    m_stUseLowest->setBuddy(m_edIndex);

    m_btnAccept = placement.AddButton(QStringLiteral("Accept"), "button1", 60, kButtonTop, kButtonWidth, kButtonHeight);
    m_btnAccept->setDefault(true);
    m_btnAcceptAll =
        placement.AddButton(QStringLiteral("Accept All"), "button1028", 115, kButtonTop, kButtonWidth, kButtonHeight);
    m_btnCancel = placement.AddButton(QStringLiteral("Cancel"), "button2", 170, kButtonTop, kButtonWidth, kButtonHeight);
    setTabOrder(m_edIndex, m_btnAccept);
    setTabOrder(m_btnAccept, m_btnAcceptAll);
    setTabOrder(m_btnAcceptAll, m_btnCancel);
}

void CIndexDlg::OnInitDialog()
{
    m_btnCancel->setVisible(true);
    m_btnAcceptAll->setVisible(m_bShowAcceptAll == 1);
    m_edIndex->setText(QString::number(m_nChosenIndex));
    m_edIndex->selectAll();
    m_edIndex->setFocus();
    m_bAcceptAll = 0;
}

void CIndexDlg::OnAccept()
{
    const std::string typed = CutText(m_edIndex->text().toStdString(), kMaxIndexText);
    m_nChosenIndex = LeadingDecimalNumber(typed);
    accept();
}

void CIndexDlg::OnAcceptAll()
{
    m_bAcceptAll = 1;
    OnAccept();
}
