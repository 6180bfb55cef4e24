#pragma once
// Entries as tests write them: every field a test cares about in one call.
#include "model/DirEntry.h"

#include <string>

inline DirEntry TestEntry(const std::string& name, const std::string& number, int index, const std::string& status = " ",
                          int state = ENTRY_UNCHANGED)
{
    DirEntry e;
    e.m_strName = name;
    e.m_strNumber = number;
    e.m_nIndex = index;
    e.m_strStatus = status;
    e.m_nState = state;
    return e;
}
