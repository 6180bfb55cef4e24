#include "ui/CFolderSelectDlg.h"

#include "model/FolderRecord.h"
#include "ui/CFolderListBox.h"
#include "ui/DialogPlacement.h"

#include <QPushButton>

#include <algorithm>

namespace {
const QString kCaption = QStringLiteral("Selection of folder in the personal address book");
}

CFolderSelectDlg::CFolderSelectDlg(QWidget* parent) : CTemplateDialog(parent)
{
    setWindowTitle(kCaption);
    CreateControls();
    connect(m_btnOk, &QPushButton::clicked, this, &CFolderSelectDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CFolderSelectDlg::CreateControls()
{
    const DialogPlacement placement(this, 237, 185);
    m_lbFolders = new CFolderListBox(this);
    m_lbFolders->setObjectName(QStringLiteral("list1026"));
    m_lbFolders->setAccessibleName(QStringLiteral("Folders of the personal address book"));
    m_lbFolders->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lbFolders->setGeometry(placement.Units().Rect(22, 20, 138, 142));

    m_btnOk = placement.AddButton(QStringLiteral("OK"), "button1", 180, 117, 50, 14);
    m_btnOk->setDefault(true);
    m_btnCancel = placement.AddButton(QStringLiteral("Cancel"), "button2", 180, 147, 50, 14);
    setTabOrder(m_lbFolders, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);
}

void CFolderSelectDlg::OnInitDialog()
{
    const int count = m_pFolderTable ? std::clamp(m_nFolderCount, 0, kFolderSlots) : 0;
    for (int i = m_lbFolders->Count(); i < count; ++i)
        m_lbFolders->AddFolder(QString::fromStdString(m_pFolderTable[i].m_strName), &m_pFolderTable[i]);
    m_lbFolders->SelectItem(0);
    m_lbFolders->setFocus();
}

void CFolderSelectDlg::OnOK()
{
    // Without a selection the book itself is meant: it is item 0.
    m_nSelected = std::max(0, m_lbFolders->SelectedItem());
    accept();
}
