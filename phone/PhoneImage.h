#pragma once
// What the telephone holds in one directory, as far as this program knows: the records as last read or
// acknowledged, by index. Pending changes are whatever the directory's table says differently.
#include <map>
#include <string>

// One record as a read shows it: name without the VIP mark, number, status "!" or " " (UTF-8), cut to what the
// list shows; and the name (VIP mark included) and number whole, exactly as the telephone answered them. A
// name that could not be read holds what arrived.
struct HeldRecord {
    std::string m_strName;
    std::string m_strNumber;
    std::string m_strStatus;
    bool m_bUnreadable = false;
    std::string m_strPhoneName;
    std::string m_strPhoneNumber;

    bool operator==(const HeldRecord&) const = default;
};

using PhoneImage = std::map<int, HeldRecord>;
