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

// One telephone or address-book entry. Texts are UTF-8.
struct DirEntry {
    int32_t m_nIndex = 0;
    std::string m_strName;
    std::string m_strNumber;
    std::string m_strStatus;
    uint32_t m_cbEntryId = 0;      // address-book entries only
    ENTRYID* m_pEntryId = nullptr; // owned by the folder's row set, never by the entry
    int32_t m_nState = ENTRY_UNCHANGED;
    std::string m_strComment;      // address-book entries only: free comment without status and index
    // Address-book entries only: the identity the entry keeps in other address books (a vCard's UID), so that
    // the same contact exported and imported again updates the entry instead of adding a second one.
    std::string m_strUid;
    // Address-book entries only: the UID was made up when the folder was read (an entry of an older book);
    // the next save stores it.
    bool m_bUidToStore = false;
    // Address-book entries only: what kind of number it is, as another address book named it: vCard types in
    // lower case ("cell", "work,voice") or a label of its own ("Büro", "_$!<Mobile>!$_"); empty when unknown.
    std::string m_strNumberKind;
    // Telephone entries only: the telephone's name for it came damaged over the line twice. The name shows what
    // arrived; it is never written back until the user types a new one.
    bool m_bNameUnreadable = false;
    // Telephone entries only: the name (its VIP mark included) and the number exactly as the telephone answered
    // them when the entry was read. The list shows them cut; a save sends a field the user did not change as
    // the telephone holds it, never cut. Empty for an entry that did not come from the telephone.
    std::string m_strPhoneName;
    std::string m_strPhoneNumber;

    void Clear() { *this = DirEntry(); }
};
