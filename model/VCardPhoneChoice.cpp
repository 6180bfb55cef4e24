#include "model/VCardPhoneChoice.h"

#include <algorithm>

QString VCardPhoneChoice::unusableReason(const VCardPhone& phone)
{
    const QString number = phone.number.trimmed();
    if (std::none_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringLiteral("holds no digit");
    if (std::any_of(number.begin(), number.end(), [](QChar c) { return c.isLetter(); }))
        return QStringLiteral("holds letters");
    return {};
}

qsizetype VCardPhoneChoice::preferred(const QList<VCardPhone>& phones)
{
    qsizetype first = -1;
    qsizetype best = -1;
    for (qsizetype k = 0; k < phones.size(); ++k) {
        if (!unusableReason(phones[k]).isEmpty())
            continue;
        if (first < 0)
            first = k;
        if (phones[k].preference > 0 && (best < 0 || phones[k].preference < phones[best].preference))
            best = k;
    }
    return best >= 0 ? best : first;
}
