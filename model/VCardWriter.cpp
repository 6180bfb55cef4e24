#include "model/VCardWriter.h"

#include "model/VCardLineFolder.h"
#include "model/VCardTelUri.h"
#include "model/VCardValueEncoder.h"

#include <algorithm>

namespace {

constexpr qsizetype kNameComponents = 5;  // family, given, additional, prefixes, suffixes

QString escapeText(const QString& value)
{
    return VCardValueEncoder::escapeText(value);
}

// Types come from other programs' files or from the caller; only letters, digits and '-' are safe in a parameter.
QStringList cleanTypes(const QStringList& types, bool withPref)
{
    QStringList clean;
    for (const QString& type : types) {
        QString kept;
        for (const QChar c : type) {
            if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-')
                kept += c.toLower();
        }
        if (!kept.isEmpty() && (withPref || kept != QLatin1String("pref")) && !clean.contains(kept))
            clean << kept;
    }
    return clean;
}

// FN is required in 3.0 and 4.0; a card without one is named as the program shows it.
QString formattedNameOf(const VCardCard& card)
{
    if (!card.displayName().isEmpty())
        return card.displayName();
    return card.phones.isEmpty() ? QString() : card.phones.front().number;
}

QString nameLine(const QStringList& parts)
{
    QStringList escaped;
    for (const QString& part : parts)
        escaped << escapeText(part);
    while (escaped.size() < kNameComponents)
        escaped << QString();
    return QLatin1String("N:") + escaped.join(u';');
}

void append(QByteArray& out, const QString& line)
{
    out += VCardLineFolder::fold(line.toUtf8());
}

}

QByteArray VCardWriter::write(const QList<VCardCard>& cards, VCardVersion version)
{
    QByteArray out;
    for (const VCardCard& card : cards)
        writeCard(out, card, version);
    return out;
}

void VCardWriter::writeCard(QByteArray& out, const VCardCard& card, VCardVersion version)
{
    append(out, QStringLiteral("BEGIN:VCARD"));
    append(out, version == VCardVersion::V4_0 ? QStringLiteral("VERSION:4.0") : QStringLiteral("VERSION:3.0"));
    append(out, QLatin1String("FN:") + escapeText(formattedNameOf(card)));
    append(out, nameLine(card.nameParts));
    int group = 0;
    for (const VCardPhone& phone : card.phones) {
        if (phone.label.isEmpty()) {
            append(out, phoneLine(phone, version));
            continue;
        }
        // A number's own label goes in a label line of the number's group, as Apple and Google write it.
        const QString item = QStringLiteral("item%1.").arg(++group);
        append(out, item + phoneLine(phone, version));
        append(out, item + QLatin1String("X-ABLabel:") + escapeText(phone.label));
    }
    if (!card.note.isEmpty())
        append(out, QLatin1String("NOTE:") + escapeText(card.note));
    if (!card.uid.isEmpty())
        append(out, QLatin1String("UID:") + escapeText(card.uid));
    if (card.index != 0)
        append(out, QStringLiteral("X-KORVANE-INDEX:%1").arg(card.index));
    if (card.vip)
        append(out, QStringLiteral("X-KORVANE-VIP:1"));
    append(out, QStringLiteral("END:VCARD"));
}

QString VCardWriter::phoneLine(const VCardPhone& phone, VCardVersion version)
{
    const bool preferred = phone.preference > 0 || phone.types.contains(QLatin1String("pref"), Qt::CaseInsensitive);
    return version == VCardVersion::V4_0 ? phoneLine40(phone, preferred) : phoneLine30(phone, preferred);
}

QString VCardWriter::phoneLine30(const VCardPhone& phone, bool preferred)
{
    QStringList types = cleanTypes(phone.types, true);
    if (preferred && !types.contains(QLatin1String("pref")))
        types << QStringLiteral("pref");
    const QString typeParameter = types.isEmpty() ? QString() : QLatin1String(";TYPE=") + types.join(u',').toUpper();
    return QLatin1String("TEL") + typeParameter + u':' + escapeText(phone.number);
}

// 4.0 marks preference with PREF=1..100 instead of a type, and prefers tel: URIs where the number fits one.
QString VCardWriter::phoneLine40(const VCardPhone& phone, bool preferred)
{
    const QStringList types = cleanTypes(phone.types, false);
    const bool uri = VCardTelUri::canCarry(phone.number);
    QString line = uri ? QStringLiteral("TEL;VALUE=uri") : QStringLiteral("TEL;VALUE=text");
    if (!types.isEmpty())
        line += QLatin1String(";TYPE=") + types.join(u',');
    if (preferred)
        line += QStringLiteral(";PREF=%1").arg(std::clamp(phone.preference, 1, 100));
    return line + u':' + (uri ? VCardTelUri::toUri(phone.number) : escapeText(phone.number));
}
