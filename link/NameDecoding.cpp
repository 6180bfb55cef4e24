#include "link/NameDecoding.h"

#include "res/GsmAlphabet.h"
#include "link/SimAlphaId.h"

#include <QStringDecoder>

#include <algorithm>
#include <cctype>

namespace {
bool isHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

QList<char16_t> ucs2Units(const QByteArray& field)
{
    const QByteArray bytes = QByteArray::fromHex(field);
    QList<char16_t> units;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        units.append(char16_t((static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1])));
    return units;
}

// Phones fill a fixed field with NUL or FFFF after the name; neither is part of it.
QString ucs2Text(const QByteArray& field)
{
    QString text;
    for (char16_t unit : ucs2Units(field)) {
        if (unit == 0x0000 || unit == 0xFFFF) break;
        text.append(QChar(unit));
    }
    return text;
}

bool printableUnit(char16_t unit)
{
    const QChar ch(unit);
    return !ch.isSurrogate() && ch.category() != QChar::Other_PrivateUse && ch.category() != QChar::Other_NotAssigned
        && (ch.isPrint() || unit == 0);
}

// The blocks of alphabetic scripts: Latin extensions up to Thai and Georgian (high bytes 01 to 10).
bool alphabeticBlock(unsigned highByte)
{
    return highByte >= 0x01 && highByte <= 0x10;
}

bool allLatinUcs2(const QByteArray& field)
{
    const QList<char16_t> units = ucs2Units(field);
    if (units.size() < 2) return false;
    for (char16_t unit : units)
        if (unit < 0x20 || unit > 0xFF || !printableUnit(unit)) return false;
    return true;
}

QString bytesText(const QByteArray& field)
{
    QByteArray bytes = QByteArray::fromHex(field);
    while (bytes.endsWith('\0')) bytes.chop(1);
    return NameDecoding::plainText(bytes, PhoneCharset::Latin1);
}

bool asSimCoding(const QByteArray& field, QString* text)
{
    if (!field.startsWith("80") && !field.startsWith("81") && !field.startsWith("82")) return false;
    const auto decoded = SimAlphaId::decode(QByteArray::fromHex(field));
    if (decoded) *text = *decoded;
    return decoded.has_value();
}

// Whether every character up to the padding is one a phone would show.
bool ucs2Printable(const QByteArray& field)
{
    for (char16_t unit : ucs2Units(field)) {
        if (unit == 0x0000 || unit == 0xFFFF) return true;
        if (unit < 0x20 || !printableUnit(unit)) return false;
    }
    return true;
}

QString decodeHex(const QByteArray& field, PhoneCharset selected, const NameDecoding::Hints& hints)
{
    QString text;
    // A field of 80 and UCS2 pairs is an odd number of bytes and never valid UCS2; 81 and 82 carry their
    // own length, so a true UCS2 name starting with U+81xx rarely passes as one.
    if (field.size() % 4 != 0 && asSimCoding(field, &text)) return text;
    if (hints.hexBytes && NameDecoding::looksLikeHexBytes(field)) return bytesText(field);
    const bool quadruple = field.size() % 4 == 0;
    if (quadruple && (selected == PhoneCharset::Ucs2 || hints.alwaysUcs2)) {
        if (asSimCoding(field, &text)) return text;
        // Bytes of 8-bit text in UCS2 mode read as UCS2 give unassigned or control characters somewhere.
        if (!ucs2Printable(field) && NameDecoding::looksLikeHexBytes(field)) return bytesText(field);
        return ucs2Text(field);
    }
    if (selected == PhoneCharset::Hex) {
        // Default-alphabet codes seldom put "@" (code 00) before every other character; UCS2 of Latin text does.
        if (quadruple && allLatinUcs2(field)) return ucs2Text(field);
        return GsmAlphabet::decodeCodes(QByteArray::fromHex(field));
    }
    if (quadruple && NameDecoding::looksLikeUcs2(field)) return ucs2Text(field);
    if (selected == PhoneCharset::Ucs2 && NameDecoding::looksLikeHexBytes(field)) return bytesText(field);
    return NameDecoding::plainText(field, selected);
}
}

namespace NameDecoding {
bool isHex(const QByteArray& field)
{
    if (field.isEmpty() || field.size() % 2 != 0) return false;
    for (char c : field)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

bool looksLikeUcs2(const QByteArray& field)
{
    if (!isHex(field) || field.size() % 4 != 0) return false;
    unsigned script = 0;
    for (char16_t unit : ucs2Units(field)) {
        if (!printableUnit(unit) || (unit < 0x20 && unit != 0)) return false;
        const unsigned high = unit >> 8;
        if (high == 0) continue;
        if (!alphabeticBlock(high) || (script != 0 && high != script)) return false;
        script = high;
    }
    // One character of another script alone ("0410" for "А") is too weak: plain names of four digits exist.
    return script == 0 ? !ucs2Text(field).isEmpty() : field.size() >= 8;
}

bool looksLikeHexBytes(const QByteArray& field)
{
    if (!isHex(field)) return false;
    QByteArray bytes = QByteArray::fromHex(field);
    while (bytes.endsWith('\0')) bytes.chop(1);
    if (bytes.isEmpty()) return false;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || (b >= 0x7F && b < 0xA0)) return false;
    }
    return true;
}

QString plainText(const QByteArray& field, PhoneCharset selected)
{
    bool beyondAscii = false;
    for (char c : field) beyondAscii = beyondAscii || static_cast<unsigned char>(c) >= 0x80;
    if (beyondAscii) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(field);
        if (!utf8.hasError()) return text;
    }
    // Control bytes never stand in a name of 8-bit text, but "@", "$" and "è" are codes 00, 02 and 04 of the
    // default alphabet: a phone that sends raw codes whatever set was selected shows itself by them.
    const bool controlBytes = std::any_of(field.begin(), field.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (selected == PhoneCharset::Gsm || controlBytes) return GsmAlphabet::decodeCodes(field);
    return QString::fromLatin1(field);
}

Shape shapeOf(const QByteArray& field)
{
    if (field.isEmpty()) return Shape::Empty;
    const auto foreign = std::count_if(field.begin(), field.end(), [](char c) { return !isHexDigit(c); });
    if (foreign == 0) return field.size() % 4 == 0 ? Shape::Hex : Shape::NearHex;
    // A digit replaced on the line leaves one stranger in a run of at least eight digits (two characters in
    // UCS2, four in HEX); a name of words has blanks or many letters beyond "f".
    const bool fewStrangers = foreign <= field.size() / 8 && !field.contains(' ');
    return fewStrangers ? Shape::NearHex : Shape::Text;
}

bool isDamagedHex(const QByteArray& field, PhoneCharset answeredIn, const Hints& hints)
{
    if (field.isEmpty()) return false;
    const bool digitsOnly = std::all_of(field.begin(), field.end(), isHexDigit);
    if (answeredIn == PhoneCharset::Hex && !hints.alwaysUcs2)
        return digitsOnly ? field.size() % 2 != 0 : shapeOf(field) == Shape::NearHex;
    if (!digitsOnly) return true;
    QString simText;
    if (asSimCoding(field, &simText)) return false;
    if ((hints.hexBytes || field.size() % 4 != 0) && looksLikeHexBytes(field)) return false;
    if (field.size() % 4 != 0) return true;
    // Units that read as nothing a phone shows, unless the digits are the 8-bit bytes some phones send.
    return !ucs2Printable(field) && !looksLikeHexBytes(field);
}

QString decode(const QByteArray& field, PhoneCharset selected, const Hints& hints)
{
    if (isHex(field)) return decodeHex(field, selected, hints);
    return plainText(field, selected);
}
}
