#include "model/VCardRawCard.h"

#include "model/VCardLineFolder.h"
#include "model/VCardUnfolder.h"

#include <algorithm>

namespace {

bool isMarker(const VCardRawLine& line, QByteArrayView name)
{
    return line.parsed.name == name && line.parsed.value.trimmed().toUpper() == "VCARD";
}

// The physical lines of the text without their line ends, split the way VCardUnfolder splits them.
QList<QByteArray> physicalLines(const QByteArray& bytes)
{
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    QList<QByteArray> lines = bytes.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// The bytes of the physical lines [first, last) with CRLF; empty lines at the end belong to no property.
QByteArray joinPhysical(const QList<QByteArray>& physical, qsizetype first, qsizetype last)
{
    while (last > first + 1 && physical[last - 1].trimmed().isEmpty())
        --last;
    QByteArray text;
    for (qsizetype k = first; k < last; ++k)
        text += physical[k] + "\r\n";
    return text;
}

}

VCardRawLine VCardRawCard::makeLine(const QByteArray& logical)
{
    return {VCardLineFolder::fold(logical), logical, VCardLine::parse(logical).value_or(VCardLine())};
}

std::optional<VCardRawCard> VCardRawCard::parse(const QByteArray& bytes)
{
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    const QList<QByteArray> physical = physicalLines(text);
    const QList<VCardUnfolder::Line> logical = VCardUnfolder::unfold(text);
    VCardRawCard card;
    bool open = false;
    for (qsizetype k = 0; k < logical.size(); ++k) {
        const qsizetype first = logical[k].number - 1;
        const qsizetype last = k + 1 < logical.size() ? logical[k + 1].number - 1 : physical.size();
        VCardRawLine line{joinPhysical(physical, first, last), logical[k].text,
                          VCardLine::parse(logical[k].text).value_or(VCardLine())};
        if (!open && !isMarker(line, "BEGIN"))
            continue;  // text before the card belongs to no card
        open = true;
        card.m_lines << line;
        if (isMarker(line, "END"))
            return card;
    }
    return std::nullopt;
}

VCardRawCard VCardRawCard::emptyCard()
{
    VCardRawCard card;
    card.m_lines << makeLine("BEGIN:VCARD") << makeLine("VERSION:3.0") << makeLine("END:VCARD");
    return card;
}

QByteArray VCardRawCard::toBytes() const
{
    QByteArray bytes;
    for (const VCardRawLine& line : m_lines)
        bytes += line.text;
    return bytes;
}

bool VCardRawCard::sameContent(const VCardRawCard& other) const
{
    return std::equal(m_lines.begin(), m_lines.end(), other.m_lines.begin(), other.m_lines.end(),
                      [](const VCardRawLine& a, const VCardRawLine& b) { return a.logical == b.logical; });
}

QByteArray VCardRawCard::version() const
{
    const qsizetype at = findFirst("VERSION");
    return at < 0 ? QByteArray() : m_lines[at].parsed.value.trimmed();
}

QList<qsizetype> VCardRawCard::find(QByteArrayView upperName) const
{
    QList<qsizetype> found;
    for (qsizetype k = 0; k < m_lines.size(); ++k) {
        if (m_lines[k].parsed.name == upperName)
            found << k;
    }
    return found;
}

qsizetype VCardRawCard::findFirst(QByteArrayView upperName) const
{
    const QList<qsizetype> found = find(upperName);
    return found.isEmpty() ? -1 : found.front();
}

void VCardRawCard::replace(qsizetype at, const QByteArray& logical)
{
    m_lines[at] = makeLine(logical);
}

void VCardRawCard::append(const QByteArray& logical)
{
    m_lines.insert(endPosition(), makeLine(logical));
}

void VCardRawCard::remove(qsizetype at)
{
    m_lines.removeAt(at);
}

qsizetype VCardRawCard::endPosition() const
{
    for (qsizetype k = m_lines.size() - 1; k >= 0; --k) {
        if (isMarker(m_lines[k], "END"))
            return k;
    }
    return m_lines.size();
}
