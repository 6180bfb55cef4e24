#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One telephone number of a contact as vCard files carry it.
struct VCardPhone {
    QString number;      // as written, e.g. "+49 30 123456"; a 4.0 tel: URI without its "tel:" scheme
    QStringList types;   // lower case: "cell", "home", "work", "voice", "fax", "pref", ... as found in the file
    int preference = 0;  // 1..100 when the number is marked preferred (1 is the most preferred), else 0

    bool operator==(const VCardPhone&) const = default;
};

// The part of a contact this program keeps from a vCard: the names, the numbers and the note.
struct VCardCard {
    QString formattedName;     // FN
    QStringList nameParts;     // N: family, given, additional, prefixes, suffixes; empty when the card has no N
    QList<VCardPhone> phones;  // in file order
    QString note;              // NOTE; several NOTE lines joined with "\n"
    int line = 0;              // physical line (1-based) of the card's BEGIN:VCARD in the file it was read from

    // A name for display: FN, else N as "given family", else empty.
    QString displayName() const
    {
        if (!formattedName.trimmed().isEmpty())
            return formattedName;
        QStringList words;
        for (qsizetype part : {1, 0}) {
            if (part < nameParts.size() && !nameParts.at(part).trimmed().isEmpty())
                words << nameParts.at(part).trimmed();
        }
        return words.join(u' ');
    }
};
