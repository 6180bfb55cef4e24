#pragma once

#include <QString>
#include <QStringView>

// Characters that are no part of a vCard text value, taken out the same way when a file is read and when one is
// written, so that a name read, written and read again is the name read first, and the address book stores what
// was read.
class VCardStrayCharacters {
public:
    // The text without byte order marks (U+FEFF: programs that join texts leave them inside values, and a UTF-8
    // decoder drops the one at a value's start, so they would not survive a round trip) and without U+0000 (the
    // address book ends its texts there, which would cut a name short), with every half of a surrogate pair that
    // lacks its other half (broken UTF-16) replaced by U+FFFD, which UTF-8 can carry.
    static QString cleaned(QStringView text);
};
