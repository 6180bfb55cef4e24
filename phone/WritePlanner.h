#pragma once
// Works out exactly which records a save must send, by comparing a directory's table with what the telephone
// holds. Because the comparison is with the telephone and not with the edit history, an entry edited back to
// its old values sends nothing, an entry moved to another index frees its old one, and a write that failed
// half-way leaves exactly the rest to do.
#include "model/DirTable.h"
#include "model/TelephoneName.h"
#include "phone/PhoneImage.h"
#include "phone/PhoneWrite.h"

#include <vector>

class WritePlanner {
public:
    // Longest name and number a read yields, whatever field lengths the telephone announces.
    static constexpr int kMaxNameChars = 16;
    static constexpr int kMaxNumberChars = 20;

    // The directory's name limits and number length, from its last read (0 while unknown: nothing is cut).
    WritePlanner(const TelephoneNameLimits& nameLimits, int numberLen);
    // The planner for a directory's table, with the table's own lengths.
    static WritePlanner For(const DirTable& table);

    // The record as the telephone will hold and show it once the entry is written: a VIP name loses its last
    // character to the "!" when full, characters the telephone cannot hold are left out, the fields are cut.
    HeldRecord HeldForm(const DirEntry& entry) const;
    // The write that stores the entry at its index. A field the user did not change since the entry was read
    // goes exactly as the telephone holds it (whole, "!" inside a name and all), as long as this directory
    // can hold it; a changed one goes as typed, with what the telephone cannot hold left out.
    PhoneWrite WriteOf(const DirEntry& entry) const;
    // False for an entry whose name could not be read: it is never written until the user types a new name.
    static bool IsWritable(const DirEntry& entry);
    // True when the telephone's record at the entry's index differs from the entry.
    bool NeedsWrite(const DirEntry& entry, const PhoneImage& image) const;

    // Every write the table asks for, in this order: live entries that differ from the telephone, in slot
    // order; then erasures of indices no live entry uses any more, first those with a deletion record (in
    // the order of deletion), then the others (entries moved away from them) by index. Entries that are not
    // writable are left out, and so is the erasure of a record with an unreadable name that was not deleted.
    std::vector<PhoneWrite> Plan(const DirTable& table, const PhoneImage& image) const;

    // A record from the name and number fields exactly as the telephone holds them: shown cut to what the list
    // shows, with "!" after the name taken for the VIP mark, and kept whole.
    static HeldRecord FromPhone(const std::string& name, const std::string& number);
    // The record an entry was read as (from the fields it keeps of the telephone); nothing for a typed entry.
    static bool CameFromPhone(const DirEntry& entry);

private:
    // True when the list shows the record's texts whole, nothing of them cut off or hidden behind the VIP mark.
    static bool ShownWhole(const HeldRecord& held);
    bool HoldsWhole(const std::string& name) const;
    bool HoldsWholeNumber(const std::string& number) const;

    TelephoneNameLimits m_nameLimits;
    int m_nNumberLen;
};
