#pragma once
// What the telephone holds in one directory, as far as this program knows: the records as last read or
// acknowledged, by index. Pending changes are whatever the directory's table says differently.
#include <map>
#include <string>

// One record as a read shows it: name without the VIP mark, number, status "!" or " " (code page 1252).
struct HeldRecord {
    std::string m_strName;
    std::string m_strNumber;
    std::string m_strStatus;

    bool operator==(const HeldRecord&) const = default;
};

using PhoneImage = std::map<int, HeldRecord>;
