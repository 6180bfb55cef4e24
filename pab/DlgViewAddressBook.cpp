// The address-book half of the form: opening the book at start-up and changing the folder.
#include "model/FolderRecord.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"

bool CDlgView::OpenAddressBookAtStartUp()
{
    // The session, the folder scan and the first folder read arrive with the address-book layer; until then the
    // form shows the book's root folder, empty.
    m_folders[0].m_nKind = FOLDER_MAIN;
    m_folders[0].m_nLevel = 1;
    m_folders[0].m_strName = StringTable::LoadString(Ids::IDS_PAB_NAME);
    m_nFolderCount = 1;
    return true;
}

void CDlgView::OnSelchangeFolder() {}
