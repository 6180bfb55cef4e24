#include "model/VCardCardBuilder.h"

#include "model/VCardLine.h"
#include "model/VCardTelUri.h"
#include "model/VCardValueDecoder.h"

#include <algorithm>

namespace {

bool isBase64(const VCardLine& line)
{
    const QByteArray encoding = line.firstParameterValue("ENCODING");
    return encoding == "B" || encoding == "BASE64";
}

// PREF=n of vCard 4.0 is 1..100; anything else that is there still marks the number as preferred.
int preferenceOf(const VCardLine& line)
{
    const QList<QByteArray> values = line.parameterValues("PREF");
    if (values.isEmpty())
        return 0;
    bool ok = false;
    const int value = values.front().toInt(&ok);
    return ok ? std::clamp(value, 1, 100) : 1;
}

QStringList typesOf(const VCardLine& line)
{
    QStringList types;
    for (const QByteArray& type : line.parameterValues("TYPE")) {
        const QString lower = QString::fromUtf8(type).toLower();
        if (!types.contains(lower))
            types << lower;
    }
    return types;
}

}

VCardCardBuilder::VCardCardBuilder(int beginLine)
{
    m_card.line = beginLine;
}

void VCardCardBuilder::add(const VCardLine& line)
{
    if (isBase64(line))
        return;  // photos, sounds and keys: nothing this program keeps
    if (line.name == "VERSION") {
        m_version = QString::fromUtf8(line.value).trimmed();
    } else if (line.name == "FN" && !m_hasFormattedName) {
        m_card.formattedName = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line));
        m_hasFormattedName = true;
    } else if (line.name == "N" && !m_hasName) {
        m_card.nameParts = VCardValueDecoder::splitComponents(VCardValueDecoder::decodeValue(line));
        m_hasName = true;
    } else if (line.name == "TEL") {
        addPhone(line);
    } else if (line.name == "X-ABLABEL") {
        addLabel(line);
    } else if (line.name == "UID" && m_card.uid.isEmpty()) {
        m_card.uid = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line)).trimmed();
    } else if (line.name == "ORG" && m_card.organization.isEmpty()) {
        m_card.organization = VCardValueDecoder::splitComponents(VCardValueDecoder::decodeValue(line)).value(0).trimmed();
    } else if (line.name == "X-EVOLUTION-FILE-AS" && m_card.fileAs.isEmpty()) {
        m_card.fileAs = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line)).trimmed();
    } else if (line.name == "X-ABSHOWAS") {
        m_card.showAsOrganization = line.value.trimmed().toUpper() == "COMPANY";
    } else if (line.name == "X-KORVANE-INDEX") {
        m_card.index = line.value.trimmed().toInt();
    } else if (line.name == "X-KORVANE-VIP") {
        const QByteArray value = line.value.trimmed().toUpper();
        m_card.vip = value == "1" || value == "TRUE" || value == "YES";
    } else if (line.name == "NOTE") {
        const QString note = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line));
        m_card.note = m_card.note.isEmpty() ? note : m_card.note + u'\n' + note;
    }
}

void VCardCardBuilder::addPhone(const VCardLine& line)
{
    const QString text = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line)).trimmed();
    const bool uri = line.firstParameterValue("VALUE") == "URI" || text.startsWith(QLatin1String("tel:"),
                                                                                      Qt::CaseInsensitive);
    VCardPhone phone{{}, typesOf(line), preferenceOf(line), {}, {}};
    phone.number = uri ? VCardTelUri::toNumber(text, &phone.uriParameters) : text;
    if (phone.number.isEmpty())
        return;
    if (phone.preference == 0 && phone.types.contains(QLatin1String("pref")))
        phone.preference = 1;
    if (!line.group.isEmpty())
        phone.label = m_labels.value(line.group.toUpper());
    m_card.phones << phone;
    m_phoneGroups << line.group.toUpper();
}

// Apple and Google name a number with a label line of the same group: "item1.X-ABLabel:Büro". It may come
// before or after its number.
void VCardCardBuilder::addLabel(const VCardLine& line)
{
    if (line.group.isEmpty())
        return;
    const QString label = VCardValueDecoder::unescape(VCardValueDecoder::decodeValue(line)).trimmed();
    const QByteArray group = line.group.toUpper();
    m_labels.insert(group, label);
    for (qsizetype k = 0; k < m_card.phones.size(); ++k) {
        if (m_phoneGroups.at(k) == group)
            m_card.phones[k].label = label;
    }
}

bool VCardCardBuilder::hasNameOrNumber() const
{
    return !m_card.phones.isEmpty() || !m_card.displayName().trimmed().isEmpty();
}
