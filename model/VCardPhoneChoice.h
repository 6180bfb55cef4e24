#pragma once

#include "model/VCardCard.h"

#include <QList>
#include <QString>

// Which of a card's numbers an entry shows. An import and a synchronisation choose alike, so that a card read
// either way gives the entry the same number.
class VCardPhoneChoice {
public:
    // Why the number cannot be stored, or empty when it can: letters ("+1 800 FLOWERS") would be dropped and
    // leave another number, and a text without a digit ("n/a") is no number at all.
    static QString unusableReason(const VCardPhone& phone);
    // The position of the number marked preferred (the best preference) among the usable ones, else of the
    // first usable one; -1 when none is usable.
    static qsizetype preferred(const QList<VCardPhone>& phones);
};
