#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

class VCardLine;

// Turns the raw value of a content line into text: quoted-printable, the character set, and the backslash escapes.
class VCardValueDecoder {
public:
    // The value as text, decoded from ENCODING=QUOTED-PRINTABLE and CHARSET; the backslash escapes are still there
    // so that compound values can be split first. CRLF becomes LF; stray characters are taken out
    // (VCardStrayCharacters).
    static QString decodeValue(const VCardLine& line);

    // "=XX" becomes the byte XX; an "=" without two hex digits after it stays as it is.
    static QByteArray decodeQuotedPrintable(QByteArrayView encoded);
    // UTF-8, ISO-8859-1 and windows-1252 by name; UTF-8 when no name is given, with windows-1252 for bytes that
    // are not valid UTF-8.
    static QString decodeCharset(const QByteArray& bytes, QByteArrayView charsetName);
    // Undoes \n \N \, \; \\ ; any other backslash stays as it is.
    static QString unescape(QStringView escaped);
    // Splits at each `separator` not escaped by a backslash, then unescapes each part.
    static QStringList splitComponents(QStringView escaped, QChar separator = u';');
};
