#pragma once

#include "model/VCardCard.h"

#include <QStringList>

// Cards as short lines of text, so that a table row can say what it expects and a failure shows what was read.
namespace VCardTestText {

inline QString describe(const VCardPhone& phone)
{
    QString text = QStringLiteral("TEL:%1 [%2]").arg(phone.number, phone.types.join(u','));
    if (phone.preference > 0)
        text += QStringLiteral(" pref=%1").arg(phone.preference);
    return text;
}

inline QStringList describe(const VCardCard& card)
{
    QStringList lines{QStringLiteral("FN:") + card.formattedName, QStringLiteral("N:") + card.nameParts.join(u'|')};
    for (const VCardPhone& phone : card.phones)
        lines << describe(phone);
    if (!card.note.isEmpty())
        lines << QStringLiteral("NOTE:") + card.note;
    return lines;
}

inline QStringList describe(const QList<VCardCard>& cards)
{
    QStringList lines;
    for (const VCardCard& card : cards)
        lines << describe(card) << QStringLiteral("--");
    return lines;
}

}
