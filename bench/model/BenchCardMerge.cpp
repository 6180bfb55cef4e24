// Times one synchronisation's card work for an address book of 1000 contacts as a phone leaves them (a photo, a
// few addresses, labelled numbers): reading the server's cards, making each entry's card from the last synced one
// with one field edited, merging base, local and server, and writing the results. Prints milliseconds in all.
#include "model/VCardEntryCard.h"
#include "model/VCardMerge.h"
#include "model/VCardRawCard.h"

#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {
constexpr int kCards = 1000;

QByteArray cardText(int k)
{
    QByteArray photo(3000, 'A');
    QByteArray folded;
    for (qsizetype at = 0; at < photo.size(); at += 74)
        folded += (at == 0 ? "" : "\r\n ") + photo.mid(at, 74);
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iOS 17.1//EN\r\nN:Nowak" + QByteArray::number(k)
        + ";Łukasz;;;\r\nFN:Łukasz Nowak" + QByteArray::number(k)
        + "\r\nitem1.EMAIL;type=INTERNET;type=pref:l@example.org\r\nitem1.X-ABLabel:_$!<Other>!$_\r\n"
          "TEL;type=HOME;type=VOICE:+48 22 111 11 11\r\nitem2.TEL;type=CELL;type=pref:+48 601 222 "
        + QByteArray::number(k) + "\r\nitem2.X-ABLabel:_$!<Mobile>!$_\r\nADR;type=HOME:;;ul. Długa 5;Warszawa;;00-238;"
          "Polska\r\nPHOTO;ENCODING=b;TYPE=JPEG:" + folded + "\r\nCATEGORIES:Work,Family\r\nX-KORVANE-INDEX:"
        + QByteArray::number(k + 1) + "\r\nUID:uid-" + QByteArray::number(k) + "\r\nEND:VCARD\r\n";
}

void report(const char* what, qint64 nanoseconds)
{
    std::printf("%-44s %8.1f ms for %d cards %8.2f us/card\n", what, nanoseconds / 1e6, kCards,
                nanoseconds / 1e3 / kCards);
}
}

int main()
{
    std::vector<QByteArray> texts;
    for (int k = 0; k < kCards; ++k)
        texts.push_back(cardText(k));
    QElapsedTimer timer;
    timer.start();
    std::vector<VCardRawCard> bases;
    for (const QByteArray& text : texts)
        bases.push_back(*VCardRawCard::parse(text));
    report("read the server's cards", timer.nsecsElapsed());

    timer.restart();
    std::vector<VCardRawCard> locals;
    for (const VCardRawCard& base : bases) {
        DirEntry entry = VCardEntryCard::entryOf(base, {"Family"});
        entry.m_strComment = "edited";
        locals.push_back(VCardEntryCard::cardOf(entry, {"Family"}, {"Family"}, &base));
    }
    report("entry to card (one field edited)", timer.nsecsElapsed());

    timer.restart();
    qsizetype bytes = 0;
    for (int k = 0; k < kCards; ++k) {
        const VCardMergeResult result = VCardMerge::merge(&bases[k], &locals[k], &bases[k], QDate(2026, 12, 9));
        bytes += result.merged->toBytes().size();
    }
    report("three-way merge and write", timer.nsecsElapsed());
    std::printf("%lld bytes written\n", static_cast<long long>(bytes));
    return 0;
}
