#pragma once
#include "model/DirTable.h"
#include "model/Directories.h"
#include "model/FolderRecord.h"
#include "model/TelephoneName.h"
#include "model/ViewFlags.h"

#include <array>
#include <cstdint>
#include <string>

// Every entry the editor shows or changes, and the form's state words. The form holds one store from its
// creation to its destruction; nothing in it is ever reallocated.
struct EntryStore {
    std::array<DirTable, kDirectoryTables> m_dirTables;
    int32_t m_nCurDir = 0;
    int32_t m_bPhoneDataRead = 0;
    DirTable m_abTable;
    int32_t m_nFolderCount = 0;
    std::array<FolderRecord, kFolderSlots> m_folders;
    DirTable m_clipTable;
    std::array<DirEntry, kTableSlots> m_previewEntries;

    int32_t m_nActiveList = LIST_NONE;
    int32_t m_nSuspendedList = LIST_NONE;
    uint32_t m_nFlags = VF_SHOW_CORRECTION;
    uint32_t m_nAutoReadMask = 0;
    int32_t m_nPrevDir = 0;
    int32_t m_nWritePos = 0;
    // The field lengths of the telephone directory shown (each table keeps its own): the entry dialog, the
    // preview row and insertions into the shown directory use these.
    int32_t m_nNameLen = 0;
    int32_t m_nNumberLen = 0;
    int32_t m_nUcs2NameLen = 0; // characters of a name outside the GSM alphabet; 0 when the telephone has no UCS2
    int32_t m_nPhoneSort = 0;
    int32_t m_nAbSort = 0;
    std::string m_strScratch;

    DirTable& CurrentPhoneTable() { return m_dirTables[static_cast<size_t>(m_nCurDir)]; }
    const DirTable& CurrentPhoneTable() const { return m_dirTables[static_cast<size_t>(m_nCurDir)]; }
    TelephoneNameLimits PhoneNameLimits() const { return {m_nNameLen, m_nUcs2NameLen}; }
    bool HasFlag(uint32_t flag) const { return (m_nFlags & flag) != 0; }
    void SetFlag(uint32_t flag) { m_nFlags |= flag; }
    void ClearFlag(uint32_t flag) { m_nFlags &= ~flag; }
};
