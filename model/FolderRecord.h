#pragma once
#include <cstdint>
#include <string>

struct ENTRYID; // defined by the MAPI layer
struct SRowSet;

enum FolderKind : int32_t {
    FOLDER_MAIN = 1, // the Personal Address Book itself
    FOLDER_SUB = 2,  // a personal distribution list inside it
};

constexpr int kFolderSlots = 50;

struct FolderRecord {
    int32_t m_nKind = 0;
    int32_t m_nLevel = 0;
    std::string m_strName;
    uint32_t m_cbEntryId = 0;
    ENTRYID* m_pEntryId = nullptr;
    // Rows of the folder in the record before this one: they own the sub-folders' identifiers.
    SRowSet* m_pRows = nullptr;
};
