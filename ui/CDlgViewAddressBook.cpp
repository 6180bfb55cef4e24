// The form's side of the address book: its handlers hand the work to the address-book layer, which shows its
// results through the form's widgets.
#include "pab/AddressBook.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"

#include <QPushButton>

bool CDlgView::OpenAddressBookAtStartUp()
{
    return m_ab->OpenAtStartUp();
}

void CDlgView::CloseAbSession()
{
    m_ab->CloseSession();
}

void CDlgView::SaveAddressBook()
{
    m_ab->SaveAddressBook();
}

void CDlgView::OnSaveAddressBook()
{
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    m_ab->SaveBeforeLeaving();
}

void CDlgView::OnSelchangeFolder()
{
    ClearStaleStatus();
    m_ab->ChangeFolder();
}

void CDlgView::OnNewFolder()
{
    m_ab->NewFolder();
}

void CDlgView::OnOpenFolder()
{
    m_ab->OpenFolder();
}

void CDlgView::ClearFolderCombo()
{
    m_cbFolder->clear();
}

int CDlgView::SelectedFolderItem() const
{
    return m_cbFolder->currentIndex();
}

void CDlgView::SelectFolderItem(int item)
{
    m_cbFolder->setCurrentIndex(item);
}
