#include "res/GsmAlphabet.h"

#include "res/Cp1252.h"

#include <string>

namespace {
// GSM 03.38 default alphabet, codes 0x00..0x7F; 0x1B is the escape to the extension table.
constexpr char16_t kBasic[128] = {
    u'@', 0x00A3, u'$', 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC, 0x00F2, 0x00C7, u'\n', 0x00D8, 0x00F8, u'\r', 0x00C5, 0x00E5,
    0x0394, u'_', 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03A8, 0x03A3, 0x0398, 0x039E, 0x001B, 0x00C6, 0x00E6, 0x00DF, 0x00C9,
    u' ', u'!', u'"', u'#', 0x00A4, u'%', u'&', u'\'', u'(', u')', u'*', u'+', u',', u'-', u'.', u'/',
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    0x00A1, u'A', u'B', u'C', u'D', u'E', u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O',
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W', u'X', u'Y', u'Z', 0x00C4, 0x00D6, 0x00D1, 0x00DC, 0x00A7,
    0x00BF, u'a', u'b', u'c', u'd', u'e', u'f', u'g', u'h', u'i', u'j', u'k', u'l', u'm', u'n', u'o',
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w', u'x', u'y', u'z', 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0};

struct Extension {
    unsigned char code;
    char16_t ch;
};
constexpr Extension kExtensions[] = {{0x0A, 0x000C}, {0x14, u'^'}, {0x28, u'{'}, {0x29, u'}'}, {0x2F, u'\\'},
                                     {0x3C, u'['},   {0x3D, u'~'}, {0x3E, u']'}, {0x40, u'|'}, {0x65, 0x20AC}};

void appendCode(QByteArray& out, int code, bool extension)
{
    if (extension) out.append(char(GsmAlphabet::kEscape));
    out.append(char(code));
}
}

namespace GsmAlphabet {
char16_t basicCharacter(unsigned char code)
{
    return code < 128 ? kBasic[code] : char16_t(0);
}

char16_t extensionCharacter(unsigned char code)
{
    for (const Extension& e : kExtensions)
        if (e.code == code) return e.ch;
    return 0;
}

bool holds(char16_t ch)
{
    bool extension = false;
    return codeOf(ch, &extension) >= 0;
}

bool holdsAll(const QString& text)
{
    for (QChar ch : text)
        if (!holds(ch.unicode())) return false;
    return true;
}

int codeOf(char16_t ch, bool* extension)
{
    *extension = false;
    for (int code = 0; code < 128; ++code)
        if (kBasic[code] == ch && code != kEscape) return code;
    for (const Extension& e : kExtensions) {
        if (e.ch == ch) {
            *extension = true;
            return e.code;
        }
    }
    return -1;
}

QString decodeCodes(const QByteArray& codes)
{
    QString text;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const auto code = static_cast<unsigned char>(codes[i]);
        if (code == kEscape && i + 1 < codes.size()) {
            const auto next = static_cast<unsigned char>(codes[++i]);
            const char16_t ext = extensionCharacter(next);
            // An unknown extension shows its basic character, as 03.38 asks of receivers.
            text.append(QChar(ext ? ext : basicCharacter(next & 0x7F)));
        } else if (code < 128 && code != kEscape) {
            text.append(QChar(kBasic[code]));
        } else if (code >= 128) {
            text.append(QChar(Cp1252::toUnicode(code)));
        }
    }
    return text;
}

bool encodeCodes(const QString& text, QByteArray* codes)
{
    bool exact = true;
    for (QChar ch : text) {
        bool extension = false;
        const int code = codeOf(ch.unicode(), &extension);
        if (code < 0) {
            exact = false;
            codes->append('?');
        } else {
            appendCode(*codes, code, extension);
        }
    }
    return exact;
}

int septetLength(const QString& text)
{
    int length = 0;
    for (QChar ch : text) {
        bool extension = false;
        codeOf(ch.unicode(), &extension);
        length += extension ? 2 : 1;
    }
    return length;
}
}
