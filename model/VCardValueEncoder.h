#pragma once

#include <QString>

// Turns text into the raw value of a content line, the reverse of VCardValueDecoder for UTF-8 text.
class VCardValueEncoder {
public:
    // Stray characters taken out (VCardStrayCharacters); '\' ',' ';' escaped with a backslash and line breaks
    // (CRLF, CR or LF) written as "\n".
    static QString escapeText(const QString& value);
};
