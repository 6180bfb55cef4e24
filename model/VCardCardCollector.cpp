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
        m_open->markUnreadable(lineNumber);
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
    reportUnreadable();
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
    reportUnreadable();
    m_result.problems << problem(m_open->beginLine(), QStringLiteral("the card has no END:VCARD before the next"
                                                                     " BEGIN:VCARD on line %1; it was skipped.")
                                                          .arg(lineNumber));
    begin(lineNumber);
}

void VCardCardCollector::finish()
{
    m_result.versionSeen = m_open->version();
    if (m_open->firstUnreadableLine() != 0)
        reportUnreadable();
    else if (!m_open->hasNameOrNumber())
        m_result.problems << problem(m_open->beginLine(),
                                     QStringLiteral("the card has no name and no number; it was skipped."));
    else
        m_result.cards << m_open->card();
    m_open.reset();
}

void VCardCardCollector::reportUnreadable()
{
    const int line = m_open->firstUnreadableLine();
    if (line == 0)
        return;
    m_result.problems << problem(line, QStringLiteral("the line has no ':' and cannot be read; the card that begins on"
                                                      " line %1 was skipped.")
                                           .arg(m_open->beginLine()));
}
