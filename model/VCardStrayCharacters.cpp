#include "model/VCardStrayCharacters.h"

namespace {
constexpr char16_t kByteOrderMark = 0xFEFF;
}

QString VCardStrayCharacters::cleaned(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QChar(kByteOrderMark) || c.isNull())
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += c;
            kept += text[++i];
        } else if (c.isSurrogate()) {
            kept += QChar(QChar::ReplacementCharacter);
        } else {
            kept += c;
        }
    }
    return kept;
}
