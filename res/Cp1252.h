#pragma once
// Entry texts are 8-bit strings in Windows code page 1252 throughout the program; these convert them to and
// from Qt's strings at the widgets. Every byte value survives a round trip: the five bytes that code page 1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value.
#include <QString>
#include <string>

namespace Cp1252 {
QString toQString(const std::string& bytes);
// Characters outside code page 1252 become "?"; use fromQStringExact when that must be detected.
std::string fromQString(const QString& text);
// false when the text holds a character that code page 1252 cannot represent.
bool fromQStringExact(const QString& text, std::string& out);
char16_t toUnicode(unsigned char byte);
}
