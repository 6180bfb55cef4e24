#pragma once
// The character sets a phone offers with AT+CSCS, and the conversion of names between text and the form
// in which they appear inside AT commands and replies.
#include <QByteArray>
#include <QString>
#include <QStringList>

enum class PhoneCharset { Ucs2, Hex, Gsm, Ira, Latin1 };

namespace PhoneCharsets {
// The name the phone knows the set by ("UCS2", "HEX", "GSM", "IRA", "8859-1").
QString name(PhoneCharset charset);
bool fromName(const QString& name, PhoneCharset* charset);
// The best set of those offered: UCS2 carries every character, HEX carries all of the default alphabet
// without quoting trouble, then GSM, then the 7- and 8-bit sets. IRA when nothing is offered.
PhoneCharset choose(const QStringList& offered);

// A name as the phone sent it (already without its quotes) to text. A hex set whose field is not valid hex
// is taken literally: some phones answer quoted plain text whatever set was chosen.
QString decodeName(const QByteArray& field, PhoneCharset charset);
// Text to the form that goes between the quotes of AT+CPBW. false when the set cannot carry the text safely:
// a character outside the set, or a byte a phone's command line may act upon (a control character, the quote
// that ends the string, "\" that starts an escape in it); UCS2 refuses characters beyond its plane.
bool encodeName(const QString& text, PhoneCharset charset, QByteArray* field);
}
