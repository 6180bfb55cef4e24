#include "link/SimAlphaId.h"

#include "res/GsmAlphabet.h"

namespace {
unsigned char byteAt(const QByteArray& bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes[i]);
}

bool onlyPadding(const QByteArray& bytes, qsizetype from)
{
    for (qsizetype i = from; i < bytes.size(); ++i)
        if (byteAt(bytes, i) != 0xFF) return false;
    return true;
}

std::optional<QString> decodePairs(const QByteArray& bytes)
{
    if (bytes.size() < 3 || (bytes.size() - 1) % 2 != 0) return std::nullopt;
    QString text;
    for (qsizetype i = 1; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t((byteAt(bytes, i) << 8) | byteAt(bytes, i + 1));
        if (unit == 0xFFFF) return onlyPadding(bytes, i) ? std::optional<QString>(text) : std::nullopt;
        text.append(QChar(unit));
    }
    return text;
}

// Coding 81 and 82: a count, a base, then one byte per character.
std::optional<QString> decodeWithBase(const QByteArray& bytes, qsizetype headerSize, char16_t base)
{
    const qsizetype count = byteAt(bytes, 1);
    if (count == 0 || headerSize + count > bytes.size() || !onlyPadding(bytes, headerSize + count))
        return std::nullopt;
    QString text;
    for (qsizetype i = headerSize; i < headerSize + count; ++i) {
        const unsigned char b = byteAt(bytes, i);
        if (b < 0x80) text.append(QChar(GsmAlphabet::basicCharacter(b)));
        else text.append(QChar(char16_t(base + (b & 0x7F))));
    }
    return text;
}
}

namespace SimAlphaId {
std::optional<QString> decode(const QByteArray& bytes)
{
    if (bytes.isEmpty()) return std::nullopt;
    switch (byteAt(bytes, 0)) {
    case 0x80: return decodePairs(bytes);
    case 0x81:
        if (bytes.size() < 3) return std::nullopt;
        return decodeWithBase(bytes, 3, char16_t(byteAt(bytes, 2) << 7));
    case 0x82:
        if (bytes.size() < 4) return std::nullopt;
        return decodeWithBase(bytes, 4, char16_t((byteAt(bytes, 2) << 8) | byteAt(bytes, 3)));
    default: return std::nullopt;
    }
}
}
