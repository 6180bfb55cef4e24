#pragma once
// The GSM 03.38 default alphabet, and the byte form in which names cross the record block and ATPBWrite.
//
// Block bytes: 0x01..0x7F are default-alphabet codes, an extension character is 0x1B followed by its code.
// "@" is code 0x00, which would end the name inside its zero-terminated field, so it travels as kGsmAtSign
// (0x81, see res/GsmAtSign.h) instead, the byte the field rules use for it as well. A character outside the
// default alphabet that code page 1252 holds (a phone in UCS2 may store "ê") travels as its code page 1252
// byte (always 0x80 or above, where no default-alphabet code lies); anything else becomes "?".
#include "res/GsmAtSign.h"

#include <QByteArray>
#include <QString>

namespace GsmAlphabet {
constexpr unsigned char kEscape = 0x1B;
// The block byte of "@" as an unsigned byte, to compare with the bytes read from a block.
constexpr unsigned char kAtSignInBlock = static_cast<unsigned char>(kGsmAtSign);

// The character of a default-alphabet code (0..127), or of an extension code; 0 when the extension is unknown.
char16_t basicCharacter(unsigned char code);
char16_t extensionCharacter(unsigned char code);
// The code of a character: -1 when it is not in the alphabet; *extension tells whether it needs the escape.
int codeOf(char16_t ch, bool* extension);

// Raw default-alphabet codes (0x00 = "@", escape pairs) to text and back; encode returns false when a
// character is outside the alphabet (it is then written as "?").
QString decodeCodes(const QByteArray& codes);
bool encodeCodes(const QString& text, QByteArray* codes);

// Block bytes to text and back (see above). encodeBlock never produces a zero byte.
QString decodeBlock(const QByteArray& block);
QByteArray encodeBlock(const QString& text);

// Number of default-alphabet positions a text occupies (an extension character counts two).
int septetLength(const QString& text);
}
