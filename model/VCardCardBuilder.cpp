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
    VCardPhone phone{uri ? VCardTelUri::toNumber(text) : text, typesOf(line), preferenceOf(line)};
    if (phone.number.isEmpty())
        return;
    if (phone.preference == 0 && phone.types.contains(QLatin1String("pref")))
        phone.preference = 1;
    m_card.phones << phone;
}

void VCardCardBuilder::markUnreadable(int lineNumber)
{
    if (m_unreadableLine == 0)
        m_unreadableLine = lineNumber;
}

bool VCardCardBuilder::hasNameOrNumber() const
{
    return !m_card.phones.isEmpty() || !m_card.displayName().trimmed().isEmpty();
}
