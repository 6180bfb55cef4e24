#pragma once
// One record to send to the telephone: a live entry's texts at its index, or an erasure of the index.
#include "phone/PhoneImage.h"

struct PhoneWrite {
    int m_nIndex = 0;
    bool m_bErase = false;
    // What the telephone will hold afterwards (empty for an erasure).
    HeldRecord m_held;
    // What goes over the link: the name (VIP mark included) and the number.
    std::string m_strName;
    std::string m_strNumber;
};
