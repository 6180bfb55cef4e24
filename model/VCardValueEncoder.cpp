#include "model/VCardValueEncoder.h"

#include "model/VCardStrayCharacters.h"

QString VCardValueEncoder::escapeText(const QString& value)
{
    const QString text = VCardStrayCharacters::cleaned(value);
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u',' || c == u';') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r' || c == u'\n') {
            escaped += QLatin1String("\\n");
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;  // CRLF is one line break
        } else {
            escaped += c;
        }
    }
    return escaped;
}
