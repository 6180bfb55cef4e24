#include "ui/CFolderSelectDlg.h"

#include "model/FolderRecord.h"
#include "res/Cp1252.h"
#include "ui/CFolderListBox.h"
#include "ui/DialogUnits.h"

#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

namespace {
const QString kCaption = QStringLiteral("Selection of folder in the personal address book");

QPushButton* MakeButton(QWidget* parent, const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAccessibleName(text);
    return button;
}
}

CFolderSelectDlg::CFolderSelectDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kCaption);
    setFont(DialogUnits::DialogFont());
    CreateControls();
    connect(m_btnOk, &QPushButton::clicked, this, &CFolderSelectDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CFolderSelectDlg::CreateControls()
{
    const DialogUnits du(font());
    setFixedSize(du.X(237), du.Y(185));
    m_lbFolders = new CFolderListBox(this);
    m_lbFolders->setObjectName(QStringLiteral("list1026"));
    m_lbFolders->setAccessibleName(QStringLiteral("Folders of the personal address book"));
    m_lbFolders->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lbFolders->setGeometry(du.Rect(22, 20, 138, 142));

    m_btnOk = MakeButton(this, QStringLiteral("OK"), "button1");
    m_btnOk->setGeometry(du.Rect(180, 117, 50, 14));
    m_btnOk->setDefault(true);
    m_btnCancel = MakeButton(this, QStringLiteral("Cancel"), "button2");
    m_btnCancel->setGeometry(du.Rect(180, 147, 50, 14));
    setTabOrder(m_lbFolders, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);
}

void CFolderSelectDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) OnInitDialog();
    QDialog::showEvent(event);
}

void CFolderSelectDlg::OnInitDialog()
{
    const int count = m_pFolderTable ? std::clamp(m_nFolderCount, 0, kFolderSlots) : 0;
    for (int i = m_lbFolders->Count(); i < count; ++i)
        m_lbFolders->AddFolder(Cp1252::toQString(m_pFolderTable[i].m_strName), &m_pFolderTable[i]);
    m_lbFolders->SelectItem(0);
    m_lbFolders->setFocus();
}

void CFolderSelectDlg::OnOK()
{
    // Without a selection the book itself is meant: it is item 0.
    m_nSelected = std::max(0, m_lbFolders->SelectedItem());
    accept();
}
