#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One telephone number of a contact as vCard files carry it.
struct VCardPhone {
    QString number;      // as written, e.g. "+49 30 123456"; a 4.0 tel: URI without its "tel:" scheme
    QStringList types;   // lower case: "cell", "home", "work", "voice", "fax", "pref", ... as found in the file
    int preference = 0;  // 1..100 when the number is marked preferred (1 is the most preferred), else 0
    QString label = {};  // a name of its own for the number (X-ABLabel of its group): "Büro", "_$!<Mobile>!$_"
    QString uriParameters = {}; // what a tel: URI gives after the number ("ext=89", "phone-context=..."), undecoded

    bool operator==(const VCardPhone&) const = default;
};

// The part of a contact this program keeps from a vCard: the names, the numbers and the note.
struct VCardCard {
    QString formattedName;     // FN
    QStringList nameParts;     // N: family, given, additional, prefixes, suffixes; empty when the card has no N
    QList<VCardPhone> phones;  // in file order
    QString note;              // NOTE; several NOTE lines joined with "\n"
    QString uid;               // UID as written, empty when the card has none
    QString organization;      // the first component of ORG
    QString fileAs;            // the name to file the card under (X-EVOLUTION-FILE-AS)
    bool showAsOrganization = false; // X-ABShowAs:COMPANY: the card stands for its organization
    int index = 0;             // X-KORVANE-INDEX, the entry's record number; 0 when the card has none
    bool vip = false;          // X-KORVANE-VIP
    int line = 0;              // physical line (1-based) of the card's BEGIN:VCARD in the file it was read from

    // A name for display, as address books show a card: FN, else the organization of a card that stands for
    // it, else N as "given family", else the file-as name, else the organization; else empty.
    QString displayName() const
    {
        if (!formattedName.trimmed().isEmpty())
            return formattedName;
        if (showAsOrganization && !organization.trimmed().isEmpty())
            return organization;
        QStringList words;
        for (qsizetype part : {1, 0}) {
            if (part < nameParts.size() && !nameParts.at(part).trimmed().isEmpty())
                words << nameParts.at(part).trimmed();
        }
        if (!words.isEmpty())
            return words.join(u' ');
        return !fileAs.trimmed().isEmpty() ? fileAs : organization.trimmed().isEmpty() ? QString() : organization;
    }
};
