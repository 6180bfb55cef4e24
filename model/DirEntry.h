#pragma once
#include <cstdint>
#include <string>

struct ENTRYID; // defined by the MAPI layer

// The pending change an entry carries until its list is saved.
enum EntryState : int32_t {
    ENTRY_UNCHANGED = 0, // agrees with the telephone or the address book
    ENTRY_NEW = 1,       // must be written (telephone) or created (address book)
    ENTRY_CHANGED = 2,   // an address-book entry that exists there and was edited
    ENTRY_REMOVED = 3,   // deleted here, still to be deleted on the other side
};

// One telephone or address-book entry. Texts are code page 1252 bytes.
struct DirEntry {
    int32_t m_nIndex = 0;
    std::string m_strName;
    std::string m_strNumber;
    std::string m_strStatus;
    uint32_t m_cbEntryId = 0;      // address-book entries only
    ENTRYID* m_pEntryId = nullptr; // owned by the folder's row set, never by the entry
    int32_t m_nState = ENTRY_UNCHANGED;
    std::string m_strComment;      // address-book entries only: free comment without status and index

    void Clear() { *this = DirEntry(); }
};
