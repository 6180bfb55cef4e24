#pragma once
#include "model/DirEntry.h"

#include <array>

constexpr int kTableSlots = 1000;

// A fixed table of entries. Live entries fill slots 0..m_nCount-1 without gaps; the deletion records of
// entries removed since the last read or save follow them without gaps; the remaining slots are free.
// Tables never grow or move, so references from list rows to slots stay valid.
struct DirTable {
    int32_t m_nCount = 0;
    int32_t m_bReadOnly = 0;
    int32_t m_nCapacity = 0;
    // A telephone directory's own field lengths, from its last read (0 while unknown): names in GSM positions,
    // names outside the GSM alphabet in characters (0 without UCS2), numbers in digits.
    int32_t m_nNameLen = 0;
    int32_t m_nUcs2NameLen = 0;
    int32_t m_nNumberLen = 0;
    std::array<DirEntry, kTableSlots> m_entries;

    DirEntry& operator[](int slot) { return m_entries[static_cast<size_t>(slot)]; }
    const DirEntry& operator[](int slot) const { return m_entries[static_cast<size_t>(slot)]; }
};
