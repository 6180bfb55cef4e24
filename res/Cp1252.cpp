#include "res/Cp1252.h"

namespace {
// 0x80..0x9F of code page 1252; undefined positions keep their own value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool toByte(char16_t ch, unsigned char& byte)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        byte = static_cast<unsigned char>(ch);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == ch) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}
}

namespace Cp1252 {
char16_t toUnicode(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : char16_t(byte);
}

QString toQString(const std::string& bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char b : bytes) out.append(QChar(toUnicode(b)));
    return out;
}

bool fromQStringExact(const QString& text, std::string& out)
{
    out.clear();
    out.reserve(static_cast<size_t>(text.size()));
    bool exact = true;
    for (QChar ch : text) {
        unsigned char b = 0;
        if (!toByte(ch.unicode(), b)) {
            b = '?';
            exact = false;
        }
        out.push_back(static_cast<char>(b));
    }
    return exact;
}

std::string fromQString(const QString& text)
{
    std::string out;
    fromQStringExact(text, out);
    return out;
}
}
