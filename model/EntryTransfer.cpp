#include "model/EntryTransfer.h"

#include "model/FieldRules.h"
#include "model/IEntryList.h"
#include "model/IEntrySide.h"
#include "model/InsertionRun.h"

void EntryTransfer::CopyInto(IEntrySide& target, IEntryList& targetList, const std::vector<DirEntry*>& copies)
{
    int p = targetList.RowCount();
    {
        InsertionRun run(m_store, static_cast<int>(copies.size()));
        for (DirEntry* copy : copies) {
            if (!copy) return;
            TrimTrailingBlanks(copy->m_strName);
            if (!target.AcceptCarriedName(*copy)) continue; // only this copy is skipped
            if (!target.Insert(p, *copy)) break;
            ++p;
        }
    }
    targetList.Refill();
}
