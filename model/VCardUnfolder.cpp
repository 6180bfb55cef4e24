#include "model/VCardUnfolder.h"

namespace {

// How the logical line being built may continue besides ordinary folding.
struct OpenLine {
    bool open = false;
    bool quotedPrintable = false;
    bool base64Block = false;
    // vCard 2.1 folds where there is white space already and keeps it when unfolding; 3.0 and 4.0 insert one blank
    // that unfolding removes. Known per card from its VERSION line.
    bool keepFoldingBlank = false;
};

// Whether a parameter of the line's head names the encoding: bare ("QUOTED-PRINTABLE", as 2.1 phones write
// it) or as ENCODING=. A type or other value that merely contains the word does not count.
bool namesEncoding(const QByteArray& head, const QByteArray& encoding)
{
    const QList<QByteArray> parts = head.split(';');
    for (qsizetype k = 1; k < parts.size(); ++k) {
        const QByteArray parameter = parts[k].trimmed();
        if (parameter == encoding || parameter == "ENCODING=" + encoding) return true;
    }
    return false;
}

OpenLine describe(const QByteArray& firstPhysicalLine, bool keepFoldingBlank)
{
    // Only the part before the value names the encoding; the value itself may contain anything.
    const qsizetype colon = firstPhysicalLine.indexOf(':');
    const QByteArray head = firstPhysicalLine.left(colon < 0 ? firstPhysicalLine.size() : colon).toUpper();
    if (head.trimmed() == "BEGIN")
        keepFoldingBlank = false;
    else if (head.trimmed() == "VERSION")
        keepFoldingBlank = firstPhysicalLine.sliced(colon + 1).trimmed() == "2.1";
    return {true, namesEncoding(head, "QUOTED-PRINTABLE"), namesEncoding(head, "BASE64"), keepFoldingBlank};
}

bool startsWithEndOfCard(const QByteArray& line)
{
    return line.trimmed().toUpper().startsWith("END:VCARD");
}

// Joins `physical` to the last logical line when it continues it; false when it starts something new.
bool continueLine(QList<VCardUnfolder::Line>& lines, OpenLine& state, const QByteArray& physical)
{
    if (!state.open)
        return false;
    QByteArray& text = lines.last().text;
    // A quoted-printable soft break continues with the next line as it is; a writer that ended the value with a
    // stray "=" right before END:VCARD must not swallow the end of the card.
    if (state.quotedPrintable && text.endsWith('=') && !startsWithEndOfCard(physical)) {
        text.chop(1);
        text += physical;
        return true;
    }
    if (!physical.isEmpty() && (physical.front() == ' ' || physical.front() == '\t')) {
        if (state.base64Block)
            text += physical.trimmed();
        else
            text += state.keepFoldingBlank ? physical : physical.mid(1);
        return true;
    }
    // Phones write 2.1 base64 on unindented lines and end the block with an empty line; a line with a colon is a
    // property again, so a block without its empty line cannot swallow the rest of the card.
    if (state.base64Block && !physical.isEmpty() && !physical.contains(':')) {
        text += physical.trimmed();
        return true;
    }
    return false;
}

}

QList<VCardUnfolder::Line> VCardUnfolder::unfold(const QByteArray& bytes)
{
    // Files from old Macs end lines with CR alone.
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    QList<Line> lines;
    OpenLine state;
    int number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf(lineEnd, start);
        if (end < 0)
            end = bytes.size();
        QByteArray physical = bytes.mid(start, end - start);
        start = end + 1;
        ++number;
        if (physical.endsWith('\r'))
            physical.chop(1);
        if (continueLine(lines, state, physical))
            continue;
        if (physical.trimmed().isEmpty()) {
            state = {false, false, false, state.keepFoldingBlank};
            continue;
        }
        state = describe(physical, state.keepFoldingBlank);
        lines.append({number, std::move(physical)});
    }
    return lines;
}
