#include "phone/WritePlanner.h"

#include "model/FieldRules.h"

#include <algorithm>
#include <set>

namespace {
int ReadLimit(int fieldLen, int maxChars)
{
    return fieldLen > 0 ? std::min(fieldLen, maxChars) : maxChars;
}

// Numbers bound for the telephone never hold blanks; a read shows an empty number field as one blank, and that
// blank must not travel back, since the telephone refuses it.
std::string WithoutBlanks(const std::string& number)
{
    std::string kept;
    std::copy_if(number.begin(), number.end(), std::back_inserter(kept), [](char c) { return c != ' '; });
    return kept;
}

int LiveCount(const DirTable& table)
{
    return std::clamp(table.m_nCount, 0, kTableSlots);
}
}

WritePlanner::WritePlanner(int nameLen, int numberLen) : m_nNameLen(nameLen), m_nNumberLen(numberLen) {}

HeldRecord WritePlanner::FromFields(const std::string& gsmName, const std::string& number)
{
    HeldRecord held;
    FromGsm(gsmName.empty() ? std::string(" ") : gsmName, held.m_strName);
    held.m_strNumber = number.empty() ? std::string(" ") : number;
    // On the telephone a VIP entry carries "!" after its name; a "!" in front is part of the name.
    if (held.m_strName.find('!', 1) != std::string::npos) {
        held.m_strStatus = "!";
        held.m_strName.resize(held.m_strName.find('!'));
    } else {
        held.m_strStatus = " ";
    }
    return held;
}

PhoneWrite WritePlanner::WriteOf(const DirEntry& entry) const
{
    std::string name = entry.m_strName;
    // A VIP entry travels with "!" after its name, which therefore loses its last character when full.
    if (entry.m_strStatus == "!") name = (m_nNameLen > 0 ? CutText(name, m_nNameLen - 1) : name) + "!";
    PhoneWrite write;
    write.m_nIndex = entry.m_nIndex;
    ToGsm(name, write.m_strGsmName);
    write.m_strNumber = WithoutBlanks(entry.m_strNumber);
    write.m_held = FromFields(CutText(write.m_strGsmName, ReadLimit(m_nNameLen, kMaxNameChars)),
                              CutText(write.m_strNumber, ReadLimit(m_nNumberLen, kMaxNumberChars)));
    return write;
}

HeldRecord WritePlanner::HeldForm(const DirEntry& entry) const
{
    return WriteOf(entry).m_held;
}

bool WritePlanner::NeedsWrite(const DirEntry& entry, const PhoneImage& image) const
{
    const auto held = image.find(entry.m_nIndex);
    if (held == image.end()) return true;
    // An entry as it was read agrees with the telephone even where writing it would change it (a capital
    // "Ö" another program stored stays as it is until the user edits the entry).
    const HeldRecord asShown{entry.m_strName, entry.m_strNumber, entry.m_strStatus};
    return !(asShown == held->second) && !(HeldForm(entry) == held->second);
}

std::vector<PhoneWrite> WritePlanner::Plan(const DirTable& table, const PhoneImage& image) const
{
    std::vector<PhoneWrite> writes;
    std::set<int> kept;
    const int count = LiveCount(table);
    for (int slot = 0; slot < count; ++slot) {
        kept.insert(table[slot].m_nIndex);
        if (NeedsWrite(table[slot], image)) writes.push_back(WriteOf(table[slot]));
    }
    auto erase = [&](int index) {
        if (!image.contains(index) || !kept.insert(index).second) return;
        PhoneWrite write;
        write.m_nIndex = index;
        write.m_bErase = true;
        writes.push_back(write);
    };
    for (int slot = count; slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED; ++slot) erase(table[slot].m_nIndex);
    for (const auto& [index, held] : image) erase(index);
    return writes;
}
