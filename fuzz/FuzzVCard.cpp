// vCard files of any bytes: the reader never crashes, reports a problem with a line inside the file for every
// card it leaves out, hands back no text holding a stray character (a byte order mark, U+0000, half a surrogate
// pair), and what it read survives being written (3.0 and 4.0) and read again card for card, with the same names
// and numbers.
#include "FuzzCheck.h"
#include "model/VCardReader.h"
#include "model/VCardStrayCharacters.h"
#include "model/VCardWriter.h"

namespace {
// What the address book keeps of a number: its digits and "+*#" (the rest, such as line breaks, a "tel:" a
// broken card carried as text or separators, may come back in another form).
QString NumberKept(const QString& number)
{
    QString kept;
    for (const QChar c : number)
        if (c.isDigit() || c == u'+' || c == u'*' || c == u'#') kept += c;
    return kept;
}

int LineCount(const QByteArray& bytes)
{
    return int(bytes.count('\n') + bytes.count('\r')) + 1;
}

bool IsClean(const QString& text)
{
    return VCardStrayCharacters::cleaned(text) == text;
}

void CheckClean(const VCardCard& card)
{
    FUZZ_CHECK(IsClean(card.formattedName));
    FUZZ_CHECK(IsClean(card.note));
    for (const QString& part : card.nameParts) FUZZ_CHECK(IsClean(part));
    for (const VCardPhone& phone : card.phones) FUZZ_CHECK(IsClean(phone.number));
}

void CheckRewritten(const VCardReadResult& first, VCardVersion version)
{
    const VCardReadResult again = VCardReader::read(VCardWriter::write(first.cards, version));
    FUZZ_CHECK(again.cards.size() == first.cards.size());
    for (qsizetype k = 0; k < first.cards.size(); ++k) {
        const VCardCard& before = first.cards[k];
        const VCardCard& after = again.cards[k];
        FUZZ_CHECK(after.phones.size() == before.phones.size());
        for (qsizetype p = 0; p < before.phones.size(); ++p) FUZZ_CHECK(NumberKept(after.phones[p].number) == NumberKept(before.phones[p].number));
        // A card without any name is written with its first number as FN, which every version requires; control
        // characters and runs of white space in a name may come back as one blank.
        if (!before.displayName().isEmpty())
            FUZZ_CHECK(after.displayName().simplified() == before.displayName().simplified());
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    const VCardReadResult result = VCardReader::read(input);
    for (const VCardProblem& problem : result.problems) {
        FUZZ_CHECK(problem.line >= 1);
        FUZZ_CHECK(problem.line <= LineCount(input));
        FUZZ_CHECK(!problem.text.isEmpty());
    }
    for (const VCardCard& card : result.cards) CheckClean(card);
    CheckRewritten(result, VCardVersion::V3_0);
    CheckRewritten(result, VCardVersion::V4_0);
    return 0;
}
