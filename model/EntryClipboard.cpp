#include "model/EntryClipboard.h"

#include "model/EntryStore.h"
#include "model/IEntryList.h"
#include "model/IEntrySide.h"
#include "model/InsertionRun.h"

#include <vector>

void EntryClipboard::Copy(const IEntryList* list)
{
    m_store.SetFlag(VF_CLIPBOARD);
    if (!list) return;
    int k = 0;
    for (int row : list->SelectedRows()) {
        const DirEntry* entry = list->EntryAt(row);
        if (!entry || k >= kTableSlots) continue;
        DirEntry& copy = m_store.m_clipTable[k++];
        copy = DirEntry();
        copy.m_nIndex = entry->m_nIndex;
        copy.m_strName = entry->m_strName;
        copy.m_strNumber = entry->m_strNumber;
        copy.m_strStatus = entry->m_strStatus;
        copy.m_nState = entry->m_nState;
        // A telephone entry pasted back keeps what the telephone held of the fields the user did not change.
        copy.m_strPhoneName = entry->m_strPhoneName;
        copy.m_strPhoneNumber = entry->m_strPhoneNumber;
    }
    m_store.m_clipTable.m_nCount = k;
}

void EntryClipboard::Paste(IEntrySide* side, IEntryList* list)
{
    if (side && side->RefuseChange()) return;
    const int n = m_store.m_clipTable.m_nCount;
    {
        InsertionRun run(m_store, n);
        if (side && list) {
            const int f = list->FirstSelectedRow();
            int k = 0;
            for (int i = 0; i < n; ++i) {
                DirEntry& copy = m_store.m_clipTable[i];
                if (!side->AcceptCarriedName(copy)) continue;
                if (!side->Insert(f + 1 + k, copy)) break;
                ++k;
            }
            list->Refill();
        }
    }
    m_store.ClearFlag(VF_CLIPBOARD); // the same copies paste only once
}
