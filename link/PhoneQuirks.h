#pragma once
// What particular phones do differently from 3GPP TS 27.007 in their phonebook, known by the maker and model
// they give for AT+CGMI and AT+CGMM. One table holds them all; the session applies the entry of the phone it
// talks to, and decodes by what a reply is wherever no entry says more.
#include "link/NameDecoding.h"

#include <QByteArray>
#include <QList>

struct PhoneQuirks {
    bool ignoresCharset = false;        // answers names in UCS2 hex whatever AT+CSCS selected
    bool hexWithoutSetting = false;     // answers names as hex bytes (two digits a character) in any set
    bool selectBeforeEachRead = false;  // forgets the storage between commands: AT+CPBS before every AT+CPBR
    bool namesUnquoted = false;         // sends the name without quotes; recorded only: the record parser
                                        // takes quoted and unquoted names alike
    int readBatch = 0;                  // locations per AT+CPBR; 0 for the link's own size
    int pauseBeforeReadMs = 0;          // a phone that drops a read sent right after the previous answer

    NameDecoding::Hints nameHints() const { return {ignoresCharset, hexWithoutSetting}; }
    bool operator==(const PhoneQuirks&) const = default;
};

namespace PhoneQuirkTable {
struct Entry {
    const char* maker; // start of the AT+CGMI answer, case-insensitive
    const char* model; // start of the AT+CGMM answer, case-insensitive; "" for every model of the maker
    PhoneQuirks quirks;
};
// Every known entry, most specific first.
const QList<Entry>& entries();
// The quirks of a phone: the first entry whose maker and model start its answers; none when nothing matches.
PhoneQuirks lookup(const QByteArray& maker, const QByteArray& model);
}
