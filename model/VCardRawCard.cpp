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

// The bytes of the physical lines [first, last) with CRLF. Empty lines stay with the line before them, so that a
// card holding them is written as it was read; those after END:VCARD belong to no card.
QByteArray joinPhysical(const QList<QByteArray>& physical, qsizetype first, qsizetype last, bool endOfCard)
{
    while (endOfCard && last > first + 1 && physical[last - 1].trimmed().isEmpty())
        --last;
    QByteArray text;
    for (qsizetype k = first; k < last; ++k)
        text += physical[k] + "\r\n";
    return text;
}

// A line that begins with a blank continues nothing here (an empty line came before it): it is written without
// the blank, or it would join the line before it once that one is written anew.
void dropLeadingBlanks(VCardRawLine& line)
{
    qsizetype blanks = 0;
    while (blanks < line.logical.size() && (line.logical[blanks] == ' ' || line.logical[blanks] == '\t'))
        ++blanks;
    line.logical.remove(0, blanks);
    line.text.remove(0, blanks);
}

// The empty physical lines at the end of a line's text, with their line ends. They go with the line before a
// removed line, and stay after a line written anew, so that they keep apart what they kept apart when read (a
// vCard 2.1 base64 block ends at an empty line).
QByteArray trailingEmptyLines(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');  // the last element is the empty rest after the final CRLF
    qsizetype first = lines.size() - 1;
    // A line of blanks that starts with a space or a tab continues the line before it: it is no empty line.
    auto isEmpty = [](const QByteArray& line) {
        return line.trimmed().isEmpty() && !line.startsWith(' ') && !line.startsWith('\t');
    };
    while (first > 1 && isEmpty(lines[first - 1]))
        --first;
    QByteArray empty;
    for (qsizetype k = first; k < lines.size() - 1; ++k)
        empty += lines[k] + '\n';
    return empty;
}

}

VCardRawLine VCardRawCard::makeLine(const QByteArray& logical, bool folded)
{
    return {folded ? VCardLineFolder::fold(logical) : logical + "\r\n", logical,
            VCardLine::parse(logical).value_or(VCardLine())};
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
        const std::optional<VCardLine> parsed = VCardLine::parse(logical[k].text);
        const bool endOfCard = parsed && parsed->name == "END" && parsed->value.trimmed().toUpper() == "VCARD";
        VCardRawLine line{joinPhysical(physical, first, last, endOfCard), logical[k].text, parsed.value_or(VCardLine())};
        dropLeadingBlanks(line);
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
    const QByteArray empty = trailingEmptyLines(m_lines[at].text);
    m_lines[at] = lineFor(logical);
    m_lines[at].text += empty;
}

void VCardRawCard::append(const QByteArray& logical)
{
    m_lines.insert(endPosition(), lineFor(logical));
}

void VCardRawCard::remove(qsizetype at)
{
    if (at > 0)
        m_lines[at - 1].text += trailingEmptyLines(m_lines[at].text);
    m_lines.removeAt(at);
}

VCardRawLine VCardRawCard::lineFor(const QByteArray& logical) const
{
    const QList<qsizetype> versions = find("VERSION");
    const bool twoOne = std::any_of(versions.begin(), versions.end(),
                                    [this](qsizetype at) { return m_lines[at].parsed.value.trimmed() == "2.1"; });
    return makeLine(logical, !twoOne);
}

qsizetype VCardRawCard::endPosition() const
{
    for (qsizetype k = m_lines.size() - 1; k >= 0; --k) {
        if (isMarker(m_lines[k], "END"))
            return k;
    }
    return m_lines.size();
}
