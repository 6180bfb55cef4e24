#include "model/VCardOwnedFields.h"

#include "model/FieldRules.h"
#include "model/VCardCardBuilder.h"
#include "model/VCardNameParts.h"
#include "model/VCardPhoneChoice.h"
#include "model/VCardRawCard.h"
#include "model/VCardValueDecoder.h"

namespace {

// The number of one TEL line with the label its group gives it; an empty number when the line holds none.
VCardPhone phoneOfLine(const VCardRawCard& card, qsizetype at)
{
    VCardCardBuilder builder(0);
    const QByteArray group = card.lines()[at].parsed.group.toUpper();
    if (!group.isEmpty()) {
        for (qsizetype label : card.find("X-ABLABEL")) {
            if (card.lines()[label].parsed.group.toUpper() == group)
                builder.add(card.lines()[label].parsed);
        }
    }
    builder.add(card.lines()[at].parsed);
    return builder.card().phones.value(0);
}

// As an import keeps it: the number's own label, else its types without "pref".
QString kindOf(const VCardPhone& phone)
{
    if (!phone.label.isEmpty())
        return phone.label;
    QStringList types = phone.types;
    types.removeAll(QStringLiteral("pref"));
    return types.join(u',');
}

QStringList categoriesOf(const VCardRawCard& card)
{
    QStringList categories;
    for (qsizetype at : card.find("CATEGORIES")) {
        const QString value = VCardValueDecoder::decodeValue(card.lines()[at].parsed);
        for (const QString& category : VCardValueDecoder::splitComponents(value, u',')) {
            if (!category.trimmed().isEmpty() && !categories.contains(category.trimmed()))
                categories << category.trimmed();
        }
    }
    return categories;
}

}

qsizetype VCardOwnedFields::ownedPhoneLine(const VCardRawCard& card)
{
    QList<VCardPhone> phones;
    QList<qsizetype> positions;
    for (qsizetype at : card.find("TEL")) {
        VCardPhone phone = phoneOfLine(card, at);
        if (phone.number.isEmpty())
            continue;
        phones << phone;
        positions << at;
    }
    const qsizetype chosen = VCardPhoneChoice::preferred(phones);
    return chosen < 0 ? -1 : positions[chosen];
}

VCardOwnedFields VCardOwnedFields::of(const VCardRawCard& card)
{
    VCardCardBuilder builder(0);
    for (const VCardRawLine& line : card.lines()) {
        if (!line.parsed.name.isEmpty() && line.parsed.name != "TEL" && line.parsed.name != "X-ABLABEL")
            builder.add(line.parsed);
    }
    const VCardCard& read = builder.card();
    VCardOwnedFields fields;
    fields.name = VCardNameParts::shownName(read);
    const qsizetype phoneLine = ownedPhoneLine(card);
    if (phoneLine >= 0) {
        const VCardPhone phone = phoneOfLine(card, phoneLine);
        std::string number;
        FilterNumber(phone.number.trimmed().toStdString(), true, number);
        fields.number = QString::fromStdString(number);
        fields.numberKind = kindOf(phone);
    }
    fields.comment = read.note;
    fields.index = read.index;
    fields.vip = read.vip;
    fields.uid = read.uid;
    fields.categories = categoriesOf(card);
    return fields;
}
