#include "phone/WritePlanner.h"

#include "model/FieldRules.h"
#include "model/TelephoneName.h"

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

WritePlanner::WritePlanner(const TelephoneNameLimits& nameLimits, int numberLen)
    : m_nameLimits(nameLimits), m_nNumberLen(numberLen)
{
}

HeldRecord WritePlanner::FromFields(const std::string& name, const std::string& number)
{
    HeldRecord held;
    held.m_strName = name.empty() ? std::string(" ") : name;
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
    PhoneWrite write;
    write.m_nIndex = entry.m_nIndex;
    // A VIP entry travels with "!" after its name, which therefore loses its last character when full.
    write.m_strName = TelephoneName::AsSent(TelephoneName::Holdable(entry.m_strName, m_nameLimits), entry.m_strStatus == "!",
                                            m_nameLimits);
    write.m_strNumber = WithoutBlanks(entry.m_strNumber);
    write.m_held = FromFields(CutText(write.m_strName, ReadLimit(m_nameLimits.m_nGsmLen, kMaxNameChars)),
                              CutText(write.m_strNumber, ReadLimit(m_nNumberLen, kMaxNumberChars)));
    return write;
}

HeldRecord WritePlanner::HeldForm(const DirEntry& entry) const
{
    return WriteOf(entry).m_held;
}

bool WritePlanner::IsWritable(const DirEntry& entry)
{
    return !entry.m_bNameUnreadable;
}

bool WritePlanner::NeedsWrite(const DirEntry& entry, const PhoneImage& image) const
{
    const auto held = image.find(entry.m_nIndex);
    if (held == image.end()) return true;
    // An entry as it was read agrees with the telephone even where writing it would change it (a capital
    // "Ö" another program stored stays as it is until the user edits the entry).
    const HeldRecord asShown{entry.m_strName, entry.m_strNumber, entry.m_strStatus, entry.m_bNameUnreadable};
    return !(asShown == held->second) && !(HeldForm(entry) == held->second);
}

std::vector<PhoneWrite> WritePlanner::Plan(const DirTable& table, const PhoneImage& image) const
{
    std::vector<PhoneWrite> writes;
    std::set<int> kept;
    const int count = LiveCount(table);
    for (int slot = 0; slot < count; ++slot) {
        kept.insert(table[slot].m_nIndex);
        if (IsWritable(table[slot]) && NeedsWrite(table[slot], image)) writes.push_back(WriteOf(table[slot]));
    }
    auto erase = [&](int index, bool deleted) {
        const auto held = image.find(index);
        if (held == image.end() || !kept.insert(index).second) return;
        // A record whose name could not be read goes only when the user deleted it: an entry moved away from
        // it cannot be written elsewhere, so the record stays where it is.
        if (held->second.m_bUnreadable && !deleted) return;
        PhoneWrite write;
        write.m_nIndex = index;
        write.m_bErase = true;
        writes.push_back(write);
    };
    for (int slot = count; slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED; ++slot) erase(table[slot].m_nIndex, true);
    for (const auto& [index, held] : image) erase(index, false);
    return writes;
}
