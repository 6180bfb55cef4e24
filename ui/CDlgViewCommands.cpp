// The form's commands: the save buttons and the way out, and the enabling of the commands the form handles.
#include "model/Questions.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"

#include <QPushButton>

bool CDlgView::OnUpdateCommand(int id, bool& enabled) const
{
    switch (id) {
    case ID_APP_EXIT:
        enabled = true;
        return true;
    default:
        return false; // commands the form does not offer yet stay disabled
    }
}

bool CDlgView::OnCommand(int id)
{
    switch (id) {
    case ID_APP_EXIT:
        OnExit();
        return true;
    default:
        return false;
    }
}

void CDlgView::OnSaveToPhone()
{
    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    m_nActiveList = LIST_NONE;
    WriteDirectory();
}

void CDlgView::OnExit()
{
    if (HasFlag(VF_AB_MODIFIED) &&
        m_pQuestions->AskYesNo(Ids::IDS_SAVE_AB_BEFORE_EXIT, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_EXIT)))
        OnSaveAddressBook();
    if (HasFlag(VF_PHONE_MODIFIED) &&
        m_pQuestions->AskYesNo(Ids::IDS_SAVE_DIR_BEFORE_EXIT, StringTable::LoadString(Ids::IDS_SAVE_DIR_BEFORE_EXIT))) {
        OnSaveToPhone();
        // Only a write that started can close the frame when it ends; one refused at once (a read-only directory,
        // nothing pending) leaves the program open with its address book still usable, and the next Exit closes it.
        if (HasFlag(VF_BUSY)) SetFlag(VF_EXIT_AFTER_WRITE);
        return;
    }
    CloseAbSession();
    window()->close();
}
