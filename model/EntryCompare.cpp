#include "model/EntryCompare.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace {
// Case-insensitive, character by character: every letter is folded (so "Ö" sorts with "ö" and "Ж" with "ж"),
// then the characters are compared by their code.
int CompareNoCase(const std::string& a, const std::string& b)
{
    const QList<uint> left = QString::fromStdString(a).toUcs4();
    const QList<uint> right = QString::fromStdString(b).toUcs4();
    const qsizetype n = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto l = static_cast<int>(QChar::toCaseFolded(char32_t(left[i])));
        const auto r = static_cast<int>(QChar::toCaseFolded(char32_t(right[i])));
        if (l != r) return l - r;
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
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
