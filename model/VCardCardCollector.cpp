#include "model/VCardCardCollector.h"

#include "model/VCardLine.h"

namespace {

bool isMarker(const VCardLine& line, QByteArrayView name)
{
    return line.name == name && line.value.trimmed().toUpper() == "VCARD";
}

}

VCardProblem VCardCardCollector::problem(int line, const QString& sentence)
{
    return {line, QStringLiteral("Line %1: %2").arg(line).arg(sentence)};
}

void VCardCardCollector::take(int lineNumber, const QByteArray& text)
{
    const std::optional<VCardLine> line = VCardLine::parse(text);
    if (!m_open) {
        if (line && isMarker(*line, "BEGIN"))
            begin(lineNumber);
        return;  // text between cards belongs to no card
    }
    if (!line)
        // One line that cannot be read costs that line, not the card (Evolution writes a bare "FN").
        m_result.problems << problem(lineNumber, QStringLiteral("the line has no ':' and cannot be read; the rest of"
                                                                " the card that begins on line %1 was read.")
                                                     .arg(m_open->beginLine()));
    else if (isMarker(*line, "BEGIN"))
        interrupt(lineNumber);
    else if (isMarker(*line, "END"))
        finish();
    else
        m_open->add(*line);
}

void VCardCardCollector::endOfFile()
{
    if (!m_open)
        return;
    m_result.problems << problem(m_open->beginLine(), QStringLiteral("the card has no END:VCARD; it was skipped."));
    m_open.reset();
}

void VCardCardCollector::begin(int lineNumber)
{
    m_open.emplace(lineNumber);
    m_result.isVCard = true;
}

void VCardCardCollector::interrupt(int lineNumber)
{
    m_result.problems << problem(m_open->beginLine(), QStringLiteral("the card has no END:VCARD before the next"
                                                                     " BEGIN:VCARD on line %1; it was skipped.")
                                                          .arg(lineNumber));
    begin(lineNumber);
}

void VCardCardCollector::finish()
{
    m_result.versionSeen = m_open->version();
    if (!m_open->hasNameOrNumber())
        m_result.problems << problem(m_open->beginLine(),
                                     QStringLiteral("the card has no name and no number; it was skipped."));
    else
        m_result.cards << m_open->card();
    m_open.reset();
}
