#include "pab/FolderNames.h"

#include "model/EntryStore.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "pab/AbNameCheck.h"
#include "res/StringTable.h"

namespace FolderNames {
bool Ask(IQuestions& questions, int titleId, int promptId, std::string& name)
{
    std::string typed = name;
    if (!questions.RunNameDialog(StringTable::LoadString(titleId), StringTable::LoadString(promptId), typed))
        return false;
    name = CutText(typed, kMaxAbNameLength);
    return true;
}

int OtherNamed(const EntryStore& store, const std::string& name, int except)
{
    for (int i = 0; i < store.m_nFolderCount && i < kFolderSlots; ++i)
        if (i != except && store.m_folders[static_cast<size_t>(i)].m_strName == name) return i;
    return -1;
}
}
