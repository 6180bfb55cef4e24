#include "phone/WritePlanner.h"

#include "model/FieldRules.h"
#include "model/TelephoneName.h"

#include <algorithm>
#include <set>

namespace {
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

WritePlanner WritePlanner::For(const DirTable& table)
{
    return WritePlanner({table.m_nNameLen, table.m_nUcs2NameLen}, table.m_nNumberLen);
}

HeldRecord WritePlanner::FromPhone(const std::string& name, const std::string& number)
{
    HeldRecord held;
    const std::string shownName = CutText(name, kMaxNameChars);
    const std::string shownNumber = CutText(number, kMaxNumberChars);
    held.m_strName = shownName.empty() ? std::string(" ") : shownName;
    held.m_strNumber = shownNumber.empty() ? std::string(" ") : shownNumber;
    // On the telephone a VIP entry carries "!" after its name; a "!" in front is part of the name.
    if (const size_t mark = held.m_strName.find('!', 1); mark != std::string::npos) {
        held.m_strStatus = "!";
        held.m_strName.resize(mark);
    } else {
        held.m_strStatus = " ";
    }
    held.m_strPhoneName = name;
    held.m_strPhoneNumber = number;
    return held;
}

bool WritePlanner::CameFromPhone(const DirEntry& entry)
{
    return !entry.m_strPhoneName.empty() || !entry.m_strPhoneNumber.empty();
}

bool WritePlanner::HoldsWhole(const std::string& name) const
{
    // A name moved here from a directory with longer names is sent as the user sees it, never refused.
    return TelephoneName::Holdable(name, m_nameLimits) == name
        && TelephoneName::LengthOf(name) <= TelephoneName::LimitOf(name, m_nameLimits);
}

bool WritePlanner::HoldsWholeNumber(const std::string& number) const
{
    const size_t digits = number.size() - (number.starts_with('+') ? 1 : 0);
    return m_nNumberLen <= 0 || digits <= static_cast<size_t>(m_nNumberLen);
}

PhoneWrite WritePlanner::WriteOf(const DirEntry& entry) const
{
    PhoneWrite write;
    write.m_nIndex = entry.m_nIndex;
    const bool fromPhone = CameFromPhone(entry);
    const HeldRecord asRead = FromPhone(entry.m_strPhoneName, entry.m_strPhoneNumber);
    const bool vip = entry.m_strStatus == "!";
    const bool nameKept = fromPhone && entry.m_strName == asRead.m_strName && vip == (asRead.m_strStatus == "!")
        && HoldsWhole(entry.m_strPhoneName);
    const bool numberKept = fromPhone && entry.m_strNumber == asRead.m_strNumber && HoldsWholeNumber(entry.m_strPhoneNumber);
    // A VIP entry travels with "!" after its name, which therefore loses its last character when full.
    write.m_strName = nameKept ? entry.m_strPhoneName
                               : TelephoneName::AsSent(TelephoneName::Holdable(entry.m_strName, m_nameLimits), vip, m_nameLimits);
    write.m_strNumber = numberKept ? entry.m_strPhoneNumber : WithoutBlanks(entry.m_strNumber);
    write.m_held = FromPhone(write.m_strName, write.m_strNumber);
    return write;
}

HeldRecord WritePlanner::HeldForm(const DirEntry& entry) const
{
    return WriteOf(entry).m_held;
}

bool WritePlanner::ShownWhole(const HeldRecord& held)
{
    const std::string name = held.m_strName + (held.m_strStatus == "!" ? "!" : "");
    const std::string number = held.m_strPhoneNumber.empty() ? std::string(" ") : held.m_strPhoneNumber;
    return (name == held.m_strPhoneName || (name == " " && held.m_strPhoneName.empty())) && number == held.m_strNumber;
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
    const HeldRecord& phone = held->second;
    // An entry the user typed agrees only with a record that the list shows whole: the first 20 digits of a
    // longer number, or a name without what followed its "!", are other texts, and go.
    const bool asRead = entry.m_strName == phone.m_strName && entry.m_strNumber == phone.m_strNumber
        && entry.m_strStatus == phone.m_strStatus && entry.m_bNameUnreadable == phone.m_bUnreadable
        && (CameFromPhone(entry)
                ? entry.m_strPhoneName == phone.m_strPhoneName && entry.m_strPhoneNumber == phone.m_strPhoneNumber
                : ShownWhole(phone));
    return !asRead && !(HeldForm(entry) == phone);
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
