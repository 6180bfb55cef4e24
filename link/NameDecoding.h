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

// How a field looks, to tell whether a phone answers its names in hex at all: hex digits in units of four,
// hex digits otherwise or with a stray character among them (a name in hex damaged on the line), or text.
enum class Shape { Empty, Hex, NearHex, Text };
Shape shapeOf(const QByteArray& field);
// For a phone that answers its names in hex: whether the field came damaged over the line. In UCS2 (the set
// the names came in, or a phone known to answer UCS2 whatever the set) it is when anything but hex digits
// stands in it, when no coding has its number of digits (not the UCS2 units, a SIM coding or 8-bit bytes), or
// when its units read as control or unassigned characters. In HEX, where some phones answer plain text as
// well, it is when a stray character stands among the digits or a digit is missing from a pair.
bool isDamagedHex(const QByteArray& field, PhoneCharset answeredIn, const Hints& hints);
}
