#include "pab/AbNameCheck.h"

#include "model/EntryStore.h"
#include "model/FieldRules.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"
#include "res/StringTable.h"

#include <algorithm>

std::string NameExistsMessage(const std::string& name)
{
    std::string text = StringTable::LoadString(Ids::IDS_NAME_EXISTS);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

namespace {
// Names are compared with the rows the list shows. During a transfer the list is refilled only at its end, so
// two copies of one name carried together are both taken in; the address book refuses the second when saving.
int EntriesToCompare(const EntryStore& store, const IAddressBookHost& host)
{
    return std::clamp(std::min(host.AbListItemCount(), store.m_abTable.m_nCount), 0, kTableSlots);
}

int FindEntryNamed(const DirTable& table, int count, const std::string& name)
{
    for (int i = 0; i < count; ++i) {
        if (table[i].m_strName == name) return i;
    }
    return -1;
}

// Asks for another name; false when the user declines or cancels.
bool AskForAnotherName(IQuestions& questions, std::string& name)
{
    if (!questions.AskYesNo(Ids::IDS_NAME_EXISTS, NameExistsMessage(name))) return false;
    std::string typed = name;
    if (!questions.RunNameDialog(StringTable::LoadString(Ids::IDS_OTHER_NAME_TITLE),
                                 StringTable::LoadString(Ids::IDS_OTHER_NAME_PROMPT), typed))
        return false;
    name = CutText(typed, kMaxAbNameLength);
    return true;
}
}

int MakeAbNameUnique(EntryStore& store, IQuestions& questions, const IAddressBookHost& host, std::string& name)
{
    std::string candidate = CutText(name, kMaxAbNameLength);
    const int count = EntriesToCompare(store, host);
    // Every replaced name is checked against all entries again, so it cannot clash with one checked before.
    while (FindEntryNamed(store.m_abTable, count, candidate) >= 0) {
        if (!AskForAnotherName(questions, candidate)) return 0;
    }
    if (candidate.empty()) return 0;
    name = candidate;
    return 1;
}
