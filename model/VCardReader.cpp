#include "model/VCardReader.h"

#include "model/VCardCardCollector.h"
#include "model/VCardUnfolder.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Windows programs export UTF-16 with a byte order mark; everything else is handled as 8-bit text.
QByteArray asEightBit(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (!littleEndian && !bytes.startsWith("\xFE\xFF"))
        return bytes;
    QStringDecoder utf16(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return QString(utf16(bytes.sliced(2))).toUtf8();
}

}

VCardReadResult VCardReader::read(const QByteArray& bytes)
{
    VCardReadResult result;
    result.isVCard = false;
    VCardCardCollector collector(result);
    for (const VCardUnfolder::Line& line : VCardUnfolder::unfold(asEightBit(bytes)))
        collector.take(line.number, line.text);
    collector.endOfFile();
    if (!result.isVCard)
        result.problems << VCardCardCollector::problem(1, QStringLiteral("this is not a vCard file: no line reads"
                                                                         " BEGIN:VCARD."));
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const VCardProblem& a, const VCardProblem& b) { return a.line < b.line; });
    return result;
}
