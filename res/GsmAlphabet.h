#pragma once
// The GSM 03.38 default alphabet and its extension table: which characters a telephone stores in its 7-bit
// form, and their codes. The field rules use it to decide how a name travels to the telephone; the telephone
// link uses it for the GSM and HEX character sets on the line.
#include <QByteArray>
#include <QString>

namespace GsmAlphabet {
constexpr unsigned char kEscape = 0x1B;

// The character of a default-alphabet code (0..127), or of an extension code; 0 when the extension is unknown.
char16_t basicCharacter(unsigned char code);
char16_t extensionCharacter(unsigned char code);
// The code of a character: -1 when it is not in the alphabet; *extension tells whether it needs the escape.
int codeOf(char16_t ch, bool* extension);
// Whether the character is in the default alphabet or its extension table.
bool holds(char16_t ch);
// Whether every character of the text is.
bool holdsAll(const QString& text);

// Raw default-alphabet codes (0x00 = "@", escape pairs) to text and back; encode returns false when a
// character is outside the alphabet (it is then written as "?"). Bytes of 0x80 and above, which quirky phones
// send in their "GSM" set, are read as code page 1252.
QString decodeCodes(const QByteArray& codes);
bool encodeCodes(const QString& text, QByteArray* codes);

// Number of default-alphabet positions a text occupies (an extension character counts two).
int septetLength(const QString& text);
}
