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

QString VCardTelUri::toNumber(QStringView uri, QString* parameters)
{
    const QStringView trimmed = uri.trimmed();
    if (!trimmed.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        return trimmed.toString();
    QStringView number = trimmed.sliced(4);
    // An extension or a phone context is no digit of the number: it never joins it.
    const qsizetype semicolon = number.indexOf(u';');
    if (semicolon >= 0) {
        if (parameters)
            *parameters = number.sliced(semicolon + 1).toString();
        number = number.first(semicolon);
    }
    // Percent escapes can spell what the value itself may not hold.
    return VCardStrayCharacters::cleaned(QString::fromUtf8(QByteArray::fromPercentEncoding(number.toUtf8())));
}
