#include "link/PhoneCharset.h"

#include "res/GsmAlphabet.h"

#include <algorithm>
#include <cctype>

namespace {
bool isHexText(const QByteArray& field, int digitsPerUnit)
{
    if (field.isEmpty() || field.size() % digitsPerUnit != 0) return false;
    for (char c : field)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

QString decodeUcs2(const QByteArray& field)
{
    const QByteArray bytes = QByteArray::fromHex(field);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t((static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]))));
    return text;
}

bool encodeUcs2(const QString& text, QByteArray* field)
{
    for (QChar ch : text) {
        // UCS2 has no surrogate pairs: half a character outside the basic plane would be stored as garbage.
        if (ch.isSurrogate()) return false;
        field->append(QByteArray::number(ch.unicode(), 16).rightJustified(4, '0').toUpper());
    }
    return true;
}

// Whether a byte can stand between the quotes of a command line. A phone's command line (V.250) may drop
// control characters, takes CR and LF for its end and a backspace for editing, reads "\" inside a string as
// the start of an escape and a quote as the string's end; DEL is a control character as well.
bool travelsInCommand(unsigned char byte)
{
    return byte >= 0x20 && byte != 0x7F && byte != '"' && byte != '\\' && !(byte >= 0x80 && byte < 0xA0);
}

bool encodeSingleByte(const QString& text, char16_t highest, QByteArray* field)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u > highest || !travelsInCommand(static_cast<unsigned char>(u))) return false;
        field->append(char(u));
    }
    return true;
}

QString decodeSingleByte(const QByteArray& field)
{
    return QString::fromLatin1(field);
}
}

namespace PhoneCharsets {
QString name(PhoneCharset charset)
{
    switch (charset) {
    case PhoneCharset::Ucs2: return QStringLiteral("UCS2");
    case PhoneCharset::Hex: return QStringLiteral("HEX");
    case PhoneCharset::Gsm: return QStringLiteral("GSM");
    case PhoneCharset::Ira: return QStringLiteral("IRA");
    case PhoneCharset::Latin1: return QStringLiteral("8859-1");
    }
    return QStringLiteral("IRA");
}

bool fromName(const QString& text, PhoneCharset* charset)
{
    const QString upper = text.trimmed().toUpper();
    if (upper == u"UCS2") *charset = PhoneCharset::Ucs2;
    else if (upper == u"HEX") *charset = PhoneCharset::Hex;
    else if (upper == u"GSM") *charset = PhoneCharset::Gsm;
    else if (upper == u"IRA" || upper == u"ASCII") *charset = PhoneCharset::Ira;
    else if (upper == u"8859-1" || upper == u"ISO8859-1") *charset = PhoneCharset::Latin1;
    else return false;
    return true;
}

PhoneCharset choose(const QStringList& offered)
{
    const PhoneCharset preference[] = {PhoneCharset::Ucs2, PhoneCharset::Hex, PhoneCharset::Gsm, PhoneCharset::Latin1,
                                       PhoneCharset::Ira};
    for (PhoneCharset wanted : preference) {
        for (const QString& candidate : offered) {
            PhoneCharset known;
            if (fromName(candidate, &known) && known == wanted) return wanted;
        }
    }
    return PhoneCharset::Ira;
}

QString decodeName(const QByteArray& field, PhoneCharset charset)
{
    switch (charset) {
    case PhoneCharset::Ucs2:
        return isHexText(field, 4) ? decodeUcs2(field) : decodeSingleByte(field);
    case PhoneCharset::Hex:
        return isHexText(field, 2) ? GsmAlphabet::decodeCodes(QByteArray::fromHex(field)) : decodeSingleByte(field);
    case PhoneCharset::Gsm:
        return GsmAlphabet::decodeCodes(field);
    case PhoneCharset::Ira:
    case PhoneCharset::Latin1:
        return decodeSingleByte(field);
    }
    return decodeSingleByte(field);
}

bool encodeName(const QString& text, PhoneCharset charset, QByteArray* field)
{
    field->clear();
    switch (charset) {
    case PhoneCharset::Ucs2: return encodeUcs2(text, field);
    case PhoneCharset::Hex: {
        QByteArray codes;
        const bool exact = GsmAlphabet::encodeCodes(text, &codes);
        *field = codes.toHex().toUpper();
        return exact;
    }
    case PhoneCharset::Gsm: {
        if (!GsmAlphabet::encodeCodes(text, field)) return false;
        // Codes below 0x20 ("@" is 0x00, "é" 0x05, the extension escape 0x1B), the quote (0x22) and "Ö" (0x5C,
        // the escape byte "\\" of a string) cannot travel raw; such a name goes in HEX or UCS2.
        return std::all_of(field->begin(), field->end(), [](char c) { return travelsInCommand(static_cast<unsigned char>(c)); });
    }
    case PhoneCharset::Ira: return encodeSingleByte(text, 0x7E, field);
    case PhoneCharset::Latin1: return encodeSingleByte(text, 0xFF, field);
    }
    return false;
}
}
