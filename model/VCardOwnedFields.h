#pragma once

#include <QString>
#include <QStringList>

class VCardRawCard;

// What this program shows of a card, as an address-book entry holds it: the name (FN, with N kept to it), the
// one number the entry shows (the TEL an import takes, VCardPhoneChoice), the comment (NOTE), the index and the
// VIP mark (X-KORVANE-INDEX, X-KORVANE-VIP), the UID and the card's categories (distribution lists are
// categories). Everything else on a card belongs to other programs.
struct VCardOwnedFields {
    QString name;
    QString number;      // as an entry stores it: digits, "#*+?" and blanks
    QString numberKind;  // the number's label, else its types without "pref" ("cell", "work,voice"); read only
    QString comment;
    int index = 0;
    bool vip = false;
    QString uid;
    QStringList categories;  // every value of every CATEGORIES line, in order, each once

    bool operator==(const VCardOwnedFields&) const = default;

    static VCardOwnedFields of(const VCardRawCard& card);
    // The position of the TEL line the entry shows, or -1 when the card has no usable number.
    static qsizetype ownedPhoneLine(const VCardRawCard& card);
};
