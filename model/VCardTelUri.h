#pragma once

#include <QString>
#include <QStringView>

// Telephone numbers as tel: URIs, the form vCard 4.0 prefers.
class VCardTelUri {
public:
    // True when the number is a global number ("+" and digits, with the visual separators - . ( ) a tel: URI
    // allows) and so fits a URI exactly as typed. Spaces, '*', '#', pauses and local numbers do not: a local
    // number would need a phone-context the directory does not know.
    static bool canCarry(QStringView number);
    // "tel:" followed by the number; only for numbers canCarry() accepts.
    static QString toUri(QStringView number);
    // The number of a tel: URI without its scheme and without its parameters (";ext=89", ";phone-context=..."),
    // which go to `parameters` when asked for; percent escapes decoded and stray characters taken out
    // (VCardStrayCharacters). Other URIs are returned unchanged.
    static QString toNumber(QStringView uri, QString* parameters = nullptr);
};
