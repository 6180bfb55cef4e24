#include "model/EntryCompare.h"

#include <cstdio>

namespace {
unsigned char Fold(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = int(Fold(static_cast<unsigned char>(a[i]))) - int(Fold(static_cast<unsigned char>(b[i])));
        if (d != 0) return d;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string IndexText(int index)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%03d", index);
    return buffer;
}
}

int CompareEntries(const DirEntry& entry1, const DirEntry& entry2, int column)
{
    switch (column) {
    case 1: return CompareNoCase(entry1.m_strNumber, entry2.m_strNumber);
    case 2: return CompareNoCase(IndexText(entry1.m_nIndex), IndexText(entry2.m_nIndex));
    case 3: return CompareNoCase(entry2.m_strStatus, entry1.m_strStatus);
    default: return CompareNoCase(entry1.m_strName, entry2.m_strName);
    }
}
