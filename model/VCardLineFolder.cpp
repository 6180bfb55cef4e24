#include "model/VCardLineFolder.h"

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of the next piece: at most `limit` octets, shortened so that it ends between two characters.
qsizetype pieceLength(QByteArrayView rest, qsizetype limit)
{
    if (rest.size() <= limit)
        return rest.size();
    qsizetype length = limit;
    while (length > 0 && isContinuationByte(rest[length]))
        --length;
    // Only bytes that are not UTF-8 at all get here with nothing left; they are cut where the limit is.
    return length > 0 ? length : limit;
}

}

QByteArray VCardLineFolder::fold(QByteArrayView line)
{
    QByteArray folded;
    folded.reserve(line.size() + line.size() / (kMaxOctets - 1) * 3 + 2);
    qsizetype length = pieceLength(line, kMaxOctets);
    folded += line.first(length);
    line = line.sliced(length);
    while (!line.isEmpty()) {
        // The leading space of a continuation counts towards its 75 octets.
        length = pieceLength(line, kMaxOctets - 1);
        folded += "\r\n ";
        folded += line.first(length);
        line = line.sliced(length);
    }
    folded += "\r\n";
    return folded;
}
