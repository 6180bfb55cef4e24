#include "model/VCardOwnedFieldEditor.h"

#include "model/DirEntry.h"
#include "model/VCardExport.h"
#include "model/VCardNameParts.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"
#include "model/VCardTelUri.h"
#include "model/VCardValueEncoder.h"
#include "model/VCardWriter.h"

#include <algorithm>

namespace {

bool hasParameter(const VCardLine& line, QByteArrayView upperName)
{
    for (const VCardLine::Parameter& parameter : line.parameters) {
        if (parameter.name == upperName)
            return true;
    }
    return false;
}

QByteArray headOf(const VCardLine& line, std::initializer_list<QByteArrayView> leaveOut)
{
    QByteArray head = line.group.isEmpty() ? line.name : line.group + '.' + line.name;
    for (const VCardLine::Parameter& parameter : line.parameters) {
        if (std::find(leaveOut.begin(), leaveOut.end(), parameter.name) != leaveOut.end())
            continue;
        QList<QByteArray> values;
        for (const QByteArray& value : parameter.values)
            values << (value.contains(':') || value.contains(';') ? '"' + value + '"' : value);
        head += ';' + parameter.name + '=' + values.join(',');
    }
    return head + ':';
}

// The line with another value. Its group and parameters stay as written unless they say how the old value was
// encoded (quoted-printable, another character set), which the new UTF-8 text is not.
QByteArray withValue(const VCardRawLine& line, const QString& value)
{
    const VCardLine& parsed = line.parsed;
    const bool encoded = hasParameter(parsed, "ENCODING") || hasParameter(parsed, "CHARSET");
    const QByteArray head = encoded ? headOf(parsed, {"ENCODING", "CHARSET"})
                                    : line.logical.left(line.logical.size() - parsed.value.size());
    return head + value.toUtf8();
}

QString nameValue(const QString& name)
{
    QStringList escaped;
    for (const QString& part : VCardNameParts::fromName(name))
        escaped << VCardValueEncoder::escapeText(part);
    return escaped.join(u';');
}

// A group no line of the card uses yet, for a new number with a label.
QByteArray freeGroup(const VCardRawCard& card)
{
    for (int k = 1;; ++k) {
        const QByteArray group = "item" + QByteArray::number(k);
        bool used = false;
        for (const VCardRawLine& line : card.lines())
            used = used || line.parsed.group.compare(group, Qt::CaseInsensitive) == 0;
        if (!used)
            return group;
    }
}

}

void VCardOwnedFieldEditor::apply(VCardRawCard& card, const VCardOwnedFields& from, const VCardOwnedFields& to)
{
    if (to.name != from.name)
        setName(card, to.name);
    if (to.number != from.number)
        setNumber(card, to.number, to.numberKind);
    if (to.comment != from.comment)
        setComment(card, to.comment);
    if (to.index != from.index)
        setIndex(card, to.index);
    if (to.vip != from.vip)
        setVip(card, to.vip);
    if (to.uid != from.uid)
        setUid(card, to.uid);
    if (to.categories != from.categories)
        setCategories(card, to.categories);
}

void VCardOwnedFieldEditor::setName(VCardRawCard& card, const QString& name)
{
    setSingle(card, "FN", VCardValueEncoder::escapeText(name));
    setSingle(card, "N", nameValue(name));
}

void VCardOwnedFieldEditor::setNumber(VCardRawCard& card, const QString& number, const QString& kind)
{
    const qsizetype at = VCardOwnedFields::ownedPhoneLine(card);
    if (at < 0) {
        if (!number.isEmpty())
            addNumber(card, number, kind);
        return;
    }
    if (number.isEmpty()) {
        card.remove(at);
        return;
    }
    const VCardRawLine& line = card.lines()[at];
    const bool uri = line.parsed.firstParameterValue("VALUE") == "URI"
        || line.parsed.value.trimmed().toLower().startsWith("tel:");
    if (!uri)
        card.replace(at, withValue(line, VCardValueEncoder::escapeText(number)));
    else if (VCardTelUri::canCarry(number))
        card.replace(at, withValue(line, VCardTelUri::toUri(number)));
    else  // the number no longer fits a URI: it becomes text
        card.replace(at, headOf(line.parsed, {"VALUE"}) + VCardValueEncoder::escapeText(number).toUtf8());
}

// The number's line (and its label's) as an export of the entry writes them, in a group of its own.
void VCardOwnedFieldEditor::addNumber(VCardRawCard& card, const QString& number, const QString& kind)
{
    DirEntry entry;
    entry.m_strNumber = number.toStdString();
    entry.m_strNumberKind = kind.toStdString();
    const VCardVersion version = card.version() == "4.0" ? VCardVersion::V4_0 : VCardVersion::V3_0;
    const std::optional<VCardRawCard> written = VCardRawCard::parse(VCardWriter::write({VCardExport::Card(entry)},
                                                                                      version));
    const QByteArray group = freeGroup(card);
    for (const VCardRawLine& line : written->lines()) {
        if (line.parsed.name != "TEL" && line.parsed.name != "X-ABLABEL")
            continue;
        card.append(line.parsed.group.isEmpty() ? line.logical : group + line.logical.mid(line.parsed.group.size()));
    }
}

void VCardOwnedFieldEditor::setComment(VCardRawCard& card, const QString& comment)
{
    setSingle(card, "NOTE", comment.isEmpty() ? QString() : VCardValueEncoder::escapeText(comment));
}

void VCardOwnedFieldEditor::setIndex(VCardRawCard& card, int index)
{
    setSingle(card, "X-KORVANE-INDEX", index == 0 ? QString() : QString::number(index));
}

void VCardOwnedFieldEditor::setVip(VCardRawCard& card, bool vip)
{
    setSingle(card, "X-KORVANE-VIP", vip ? QStringLiteral("1") : QString());
}

void VCardOwnedFieldEditor::setUid(VCardRawCard& card, const QString& uid)
{
    setSingle(card, "UID", VCardValueEncoder::escapeText(uid));
}

void VCardOwnedFieldEditor::setCategories(VCardRawCard& card, const QStringList& categories)
{
    QStringList escaped;
    for (const QString& category : categories)
        escaped << VCardValueEncoder::escapeText(category);
    setSingle(card, "CATEGORIES", escaped.join(u','));
}

// The first line of the property takes the value. Readers take the first FN, N and UID, so further ones (names
// in other languages) stay; the other properties' further lines go, as readers join them into one value (NOTE,
// CATEGORIES) or take the last. An empty value takes them all away.
void VCardOwnedFieldEditor::setSingle(VCardRawCard& card, const QByteArray& upperName, const QString& escapedValue)
{
    QList<qsizetype> found = card.find(upperName);
    const bool firstCounts = upperName == "FN" || upperName == "N" || upperName == "UID";
    const bool removeAll = escapedValue.isEmpty() && upperName != "N" && upperName != "FN";
    // From the last line back, so that the positions still to remove stay where they are.
    for (qsizetype k = found.size() - 1; k >= (removeAll ? 0 : 1); --k) {
        if (!firstCounts || removeAll)
            card.remove(found[k]);
    }
    if (removeAll)
        return;
    if (found.isEmpty())
        card.append(upperName + ':' + escapedValue.toUtf8());
    else
        card.replace(found.front(), withValue(card.lines()[found.front()], escapedValue));
}
