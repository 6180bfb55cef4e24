// Two cards of any bytes, the last synchronised one and the server's, split at the first byte 0x01 (the same
// card for both without one): reading never crashes; an entry left as it was changes nothing of its card; an
// edited entry changes only its own properties; the merge keeps every property of other programs that the
// server's card holds; and the merged card, written and read again, shows the same owned fields.
#include "FuzzCheck.h"
#include "model/VCardEntryCard.h"
#include "model/VCardMerge.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"

#include <algorithm>

namespace {
const QStringList kKnownLists{"Family", "Friends"};

bool isOwnedName(const QByteArray& name)
{
    return name == "FN" || name == "N" || name == "NOTE" || name == "X-KORVANE-INDEX" || name == "X-KORVANE-VIP"
        || name == "UID" || name == "CATEGORIES";
}

bool holdsLine(const VCardRawCard& card, const QByteArray& logical)
{
    return std::any_of(card.lines().begin(), card.lines().end(),
                       [&](const VCardRawLine& line) { return line.logical == logical; });
}

// Every line of `from` that is no owned property (nor the owned number) is in `to`.
void checkForeignKept(const VCardRawCard& from, const VCardRawCard& to)
{
    const qsizetype ownedPhone = VCardOwnedFields::ownedPhoneLine(from);
    for (qsizetype at = 0; at < from.lines().size(); ++at) {
        if (!isOwnedName(from.lines()[at].parsed.name) && at != ownedPhone)
            FUZZ_CHECK(holdsLine(to, from.lines()[at].logical));
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    const qsizetype split = input.indexOf('\x01');
    const std::optional<VCardRawCard> base = VCardRawCard::parse(split < 0 ? input : input.left(split));
    const std::optional<VCardRawCard> server = split < 0 ? base : VCardRawCard::parse(input.mid(split + 1));
    if (!base || !server)
        return 0;
    const VCardOwnedFields before = VCardOwnedFields::of(*base);
    QStringList lists;
    DirEntry entry = VCardEntryCard::entryOf(*base, kKnownLists, &lists);
    if (!before.uid.isEmpty())
        FUZZ_CHECK(VCardEntryCard::cardOf(entry, lists, kKnownLists, &*base).toBytes() == base->toBytes());

    entry.m_strName = "Fuzz Name";
    entry.m_strComment = "edited, with\nbreak";
    entry.m_nIndex = before.index == 7 ? 8 : 7;
    entry.m_strStatus = before.vip ? " " : "!";
    const VCardRawCard local = VCardEntryCard::cardOf(entry, {"Friends"}, kKnownLists, &*base);
    const VCardOwnedFields edited = VCardOwnedFields::of(local);
    FUZZ_CHECK(edited.name == "Fuzz Name" && edited.comment == "edited, with\nbreak");
    FUZZ_CHECK(edited.index == entry.m_nIndex && edited.vip == !before.vip && edited.number == before.number);
    FUZZ_CHECK(edited.categories.contains("Friends") && !edited.categories.contains("Family"));
    checkForeignKept(*base, local);

    const VCardMergeResult result = VCardMerge::merge(&*base, &local, &*server, QDate(2026, 12, 9));
    FUZZ_CHECK(result.merged);
    checkForeignKept(*server, *result.merged);
    for (const std::optional<VCardRawCard>& card : {result.merged, result.conflictCopy}) {
        if (!card)
            continue;
        const std::optional<VCardRawCard> again = VCardRawCard::parse(card->toBytes());
        FUZZ_CHECK(again && VCardOwnedFields::of(*again) == VCardOwnedFields::of(*card));
    }
    return 0;
}
