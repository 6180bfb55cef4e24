// Writing the pending changes of the current directory to the telephone, one record per request: first the new
// and edited entries in slot order, then the deletion records. Each request's end starts the next one.
#include "link/Cellbus.h"
#include "model/FieldRules.h"
#include "res/StringTable.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"

#include <algorithm>

namespace {
bool IsRemovalSlot(const DirTable& table, int slot)
{
    return slot < table.m_nCapacity && slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED;
}
}

void CDlgView::WriteSlot(int slot)
{
    const DirEntry& entry = CurrentPhoneTable()[slot];
    // A VIP entry travels with "!" after its name, which therefore loses its last character when full.
    std::string name = entry.m_strName;
    if (entry.m_strStatus == "!") name = CutText(name, std::max(0, m_nNameLen - 1)) + "!";
    std::string gsm;
    ToGsm(name, gsm);
    ATPBWrite(this, UM_PHONEBOOK_WRITTEN, g_apszWriteCodes[m_nCurDir], entry.m_nIndex, gsm.c_str(),
              entry.m_strNumber.c_str());
}

void CDlgView::WriteRemoval(int slot)
{
    DirEntry& entry = CurrentPhoneTable()[slot];
    entry.m_strName.clear();
    entry.m_strNumber.clear();
    entry.m_strStatus.clear();
    ATPBWrite(this, UM_PHONEBOOK_WRITTEN, g_apszWriteCodes[m_nCurDir], entry.m_nIndex, "", "");
}

bool CDlgView::WriteNextPending()
{
    const DirTable& table = CurrentPhoneTable();
    while (m_nWritePos < table.m_nCount && table[m_nWritePos].m_nState != ENTRY_NEW) ++m_nWritePos;
    if (m_nWritePos < table.m_nCount) {
        WriteSlot(m_nWritePos);
        return true;
    }
    if (IsRemovalSlot(table, m_nWritePos)) {
        WriteRemoval(m_nWritePos);
        return true;
    }
    return false;
}

void CDlgView::WriteDirectory()
{
    if (g_apszWriteCodes[m_nCurDir][0] == '\0') {
        Fehler_Melden(4, 41020);
        SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        ClearFlag(VF_PHONE_MODIFIED | VF_RELOAD_AFTER_WRITE);
        return;
    }
    SetStatusText(StringTable::LoadString(Ids::IDS_WRITING));
    SetBusy();
    m_nWritePos = 0;
    if (WriteNextPending()) return;
    SetStatusText(StringTable::LoadString(Ids::IDS_NO_DATA_FOR_WRITING));
    EndBusyState();
    ClearFlag(VF_PHONE_MODIFIED | VF_RELOAD_AFTER_WRITE);
}

void CDlgView::OnPhonebookWritten(intptr_t, intptr_t lParam)
{
    DirTable& table = CurrentPhoneTable();
    if (lParam != 0) {
        EndBusyState();
        Fehler_Melden(3, 41017);
        SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        // The selected directory is not shown after a failed write: its edits stay pending.
        ClearFlag(VF_RELOAD_AFTER_WRITE);
        if (HasFlag(VF_EXIT_AFTER_WRITE)) QMetaObject::invokeMethod(window(), &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (m_nWritePos >= 0 && m_nWritePos < kTableSlots) table[m_nWritePos].m_nState = ENTRY_UNCHANGED;
    ++m_nWritePos;
    if (WriteNextPending()) return;
    EndBusyState();
    ClearFlag(VF_PHONE_MODIFIED);
    SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL));
    if (HasFlag(VF_EXIT_AFTER_WRITE)) QMetaObject::invokeMethod(window(), &QWidget::close, Qt::QueuedConnection);
    if (HasFlag(VF_RELOAD_AFTER_WRITE)) {
        ClearFlag(VF_RELOAD_AFTER_WRITE);
        const int selected = m_cbDirectory->currentIndex();
        if (selected >= 0) ReadDirectory(selected);
    }
}
