#include "model/VCardTelUri.h"

#include "model/VCardStrayCharacters.h"

#include <QByteArray>

bool VCardTelUri::canCarry(QStringView number)
{
    if (!number.startsWith(u'+'))
        return false;
    bool hasDigit = false;
    for (const QChar c : number.sliced(1)) {
        if (c >= u'0' && c <= u'9')
            hasDigit = true;
        else if (c != u'-' && c != u'.' && c != u'(' && c != u')')
            return false;
    }
    return hasDigit;
}

QString VCardTelUri::toUri(QStringView number)
{
    return QLatin1String("tel:") + number.toString();
}

QString VCardTelUri::toNumber(QStringView uri)
{
    const QStringView trimmed = uri.trimmed();
    if (!trimmed.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        return trimmed.toString();
    // Percent escapes can spell what the value itself may not hold.
    return VCardStrayCharacters::cleaned(QString::fromUtf8(QByteArray::fromPercentEncoding(trimmed.sliced(4).toUtf8())));
}
