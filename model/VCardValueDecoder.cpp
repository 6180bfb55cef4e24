#include "model/VCardValueDecoder.h"

#include "model/VCardLine.h"
#include "model/VCardStrayCharacters.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// windows-1252 differs from ISO-8859-1 only in 0x80..0x9F; the five unassigned places keep their C1 code points.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

QString decodeUtf8OrWindows1252(const QByteArray& bytes)
{
    // A value is a piece of the file, whose own byte order mark is gone already: a U+FEFF at its start is a
    // character of the value and stays, so that a name reads back the same after it is written.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    // Old phones and mail programs write Latin-1 without saying so; such bytes are never valid UTF-8.
    return utf8.hasError() ? decodeWindows1252(bytes) : text;
}

}

QString VCardValueDecoder::decodeValue(const VCardLine& line)
{
    const bool quotedPrintable = line.firstParameterValue("ENCODING") == "QUOTED-PRINTABLE";
    const QByteArray bytes = quotedPrintable ? decodeQuotedPrintable(line.value) : line.value;
    QString text = VCardStrayCharacters::cleaned(decodeCharset(bytes, line.firstParameterValue("CHARSET")));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QByteArray VCardValueDecoder::decodeQuotedPrintable(QByteArrayView encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int high = encoded[i] == '=' && i + 2 < encoded.size() ? hexDigit(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(encoded[i + 2]) : -1;
        if (low < 0) {
            decoded += encoded[i];
            continue;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

QString VCardValueDecoder::decodeCharset(const QByteArray& bytes, QByteArrayView charsetName)
{
    const QByteArray name = charsetName.toByteArray().toUpper();
    // Files marked ISO-8859-1 are windows-1252 in practice (quotes, euro sign); C1 controls never occur in names.
    if (name == "ISO-8859-1" || name == "ISO8859-1" || name == "LATIN1" || name == "WINDOWS-1252" || name == "CP1252")
        return decodeWindows1252(bytes);
    if (name.isEmpty() || name == "UTF-8" || name == "UTF8" || name == "US-ASCII" || name == "ASCII")
        return decodeUtf8OrWindows1252(bytes);
    QStringDecoder named(name.constData());
    return named.isValid() ? QString(named(bytes)) : decodeUtf8OrWindows1252(bytes);
}

QString VCardValueDecoder::unescape(QStringView escaped)
{
    QString text;
    text.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar next = i + 1 < escaped.size() ? escaped[i + 1] : QChar();
        if (escaped[i] != u'\\' || next.isNull()) {
            text += escaped[i];
        } else if (next == u'n' || next == u'N') {
            text += u'\n';
            ++i;
        } else if (next == u',' || next == u';' || next == u'\\') {
            text += next;
            ++i;
        } else {
            text += escaped[i];
        }
    }
    return text;
}

QStringList VCardValueDecoder::splitComponents(QStringView escaped, QChar separator)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == u'\\') {
            ++i;  // the escaped character never separates
        } else if (escaped[i] == separator) {
            parts << unescape(escaped.sliced(start, i - start));
            start = i + 1;
        }
    }
    parts << unescape(escaped.sliced(std::min(start, escaped.size())));
    return parts;
}
