#pragma once
// The address book's entry identifiers: four flag bytes, this provider's 16-byte identifier, the kind of
// thing named and its number. Object numbers come from the database and are never handed out twice, so an
// identifier stays valid across runs and never names another object after its own was deleted.
#include "mapi/MapiTypes.h"

#include <cstdint>
#include <string>

class EntryId {
public:
    enum Kind : uint32_t {
        Object = 1,   // a container, distribution list or mail user, by object number
        Template = 2, // a creation template, by template number
    };

    Kind kind = Object;
    int64_t number = 0;

    static constexpr ULONG kSize = 32;

    // false for anything that is not one of this address book's identifiers.
    static bool Decode(ULONG cb, const ENTRYID* id, EntryId& out);
    std::string Encode() const; // kSize bytes
    // A copy in a buffer of its own, freed by the caller with MAPIFreeBuffer.
    SCODE Allocate(ULONG* lpcb, LPENTRYID* lppEntryId) const;
};
