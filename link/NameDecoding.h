#pragma once
// A name field of a phonebook reply to text, decided by what the field is and not only by the character set
// the link selected: phones ignore AT+CSCS, answer in another set they offer, or hand on the SIM's own
// UCS2 codings. A name must come out as the phone shows it, never as raw hex digits.
#include "link/PhoneCharset.h"

#include <QByteArray>
#include <QString>

namespace NameDecoding {
// What is known of the phone beforehand (see PhoneQuirks.h).
struct Hints {
    bool alwaysUcs2 = false; // hex fields are UCS2 whatever set was selected
    bool hexBytes = false;   // hex fields may be 8-bit bytes (two digits a character) whatever set was selected
};

// The field as the phone sent it, without its quotes.
QString decode(const QByteArray& field, PhoneCharset selected, const Hints& hints = {});

// The pieces, each a pure function of the field (exposed for the table-driven tests).
bool isHex(const QByteArray& field);
// Whether hex digits read as UCS2 give text a phone would show: printable characters, in the Latin range or
// in one alphabetic script (Greek, Cyrillic, Hebrew, Arabic, ...), so that a plain name such as "CAFE" or
// "1234" is not taken for a Hangul or Ethiopic character.
bool looksLikeUcs2(const QByteArray& field);
// Whether hex digits read as bytes give printable 8-bit text (a NUL at the end allowed).
bool looksLikeHexBytes(const QByteArray& field);
// Text sent as it is: UTF-8 when the bytes are valid UTF-8 with a character beyond ASCII, else by the set.
QString plainText(const QByteArray& field, PhoneCharset selected);
}
