// A phone's answers to the phonebook commands (+CSCS, +CPBS, +CPBR lines, one per line of the input) read the
// way PhonebookSession reads them, turned into records and the record block: no crash, and the records and the
// block keep to the limits the phone announced. The names are decoded by what they are (link/NameDecoding.h).
#include "FuzzCheck.h"
#include "link/AtReply.h"
#include "link/DialNumber.h"
#include "res/GsmAlphabet.h"
#include "link/PhonebookRecords.h"

#include <algorithm>
#include <optional>

namespace {
// The session's defaults when the phone announces no lengths.
constexpr int kDefaultNameLength = 16;
constexpr int kDefaultNumberLength = 20;

struct Answers {
    QStringList charsets;
    std::optional<AtReply::RecordFormat> format;
    QList<AtReply::RawRecord> records;
};

Answers readAnswers(const QByteArray& text)
{
    Answers answers;
    for (const QByteArray& line : text.split('\n')) {
        if (const auto payload = AtReply::payloadOf(line, "+CSCS")) answers.charsets = AtReply::parseList(*payload);
        if (const auto payload = AtReply::payloadOf(line, "+CPBS")) (void)AtReply::parseList(*payload);
        (void)AtReply::parseStorageStatus(line);
        if (!answers.format) answers.format = AtReply::parseRecordFormat(line);
        if (const auto record = AtReply::parseRecord(line)) answers.records.append(*record);
    }
    return answers;
}

void checkRecord(const PhoneRecord& record, int nameLength, int numberLength)
{
    FUZZ_CHECK(!record.name.isEmpty() || !record.number.isEmpty());
    FUZZ_CHECK(GsmAlphabet::septetLength(record.name) <= nameLength);
    FUZZ_CHECK(record.number.size() <= numberLength + 1);
    for (char c : record.number) FUZZ_CHECK(DialNumber::isDialCharacter(c));
}

void checkKept(const QList<PhoneRecord>& kept, int first, int last)
{
    FUZZ_CHECK(kept.size() <= PhonebookRecords::kMaxRecords);
    for (qsizetype i = 0; i < kept.size(); ++i) {
        FUZZ_CHECK(kept[i].index >= std::max(first, 1) && kept[i].index <= std::min(last, PhonebookRecords::kMaxIndex));
        FUZZ_CHECK(i == 0 || kept[i - 1].index < kept[i].index);
    }
}

// Each record's slot: its index with the mark of an unreadable name, the name as UTF-8 (cut at a character when
// it does not fit) and a number that starts the record's number.
void checkBlock(const QByteArray& block, const QList<PhoneRecord>& kept, int nameLength, int numberLength)
{
    const int nameSize = PhonebookRecords::nameFieldSize(nameLength);
    const qsizetype slot = 2 + nameSize + PhonebookRecords::numberFieldSize(numberLength);
    FUZZ_CHECK(block.size() == kept.size() * slot);
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QByteArray bytes = block.mid(i * slot, slot);
        const int word = uchar(bytes[0]) | (uchar(bytes[1]) << 8);
        FUZZ_CHECK((word & 0x7FFF) == kept[i].index);
        FUZZ_CHECK(((word & 0x8000) != 0) == kept[i].nameUnreadable);
        QByteArray name = bytes.mid(2, nameSize);
        if (name.indexOf('\0') >= 0) name.truncate(name.indexOf('\0'));
        FUZZ_CHECK(kept[i].name.toUtf8().startsWith(name));
        const QByteArray number = bytes.mid(2 + nameSize);
        const qsizetype end = number.indexOf('\0');
        FUZZ_CHECK(kept[i].number.startsWith(end < 0 ? number : number.left(end)));
        // A number cut to the phone's length keeps every digit and its "+" in the block.
        if (numberLength > 0) FUZZ_CHECK(kept[i].number == (end < 0 ? number : number.left(end)));
    }
}

// A first byte below 4 stands for what the quirk table knows of the phone (bit 0: hex fields are always UCS2,
// bit 1: hex fields may be 8-bit bytes); the answers follow it.
NameDecoding::Hints takeHints(QByteArray& input)
{
    if (input.isEmpty() || uchar(input[0]) >= 4) return {};
    const NameDecoding::Hints hints{(input[0] & 1) != 0, (input[0] & 2) != 0};
    input.remove(0, 1);
    return hints;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray input = fuzzInput(data, size);
    const NameDecoding::Hints hints = takeHints(input);
    const Answers answers = readAnswers(input);
    const PhoneCharset charset = PhoneCharsets::choose(answers.charsets);
    const AtReply::RecordFormat format = answers.format.value_or(AtReply::RecordFormat{1, PhonebookRecords::kMaxIndex, 0, 0});
    const int nameLength = format.nameLength > 0 ? format.nameLength : kDefaultNameLength;
    const int numberLength = format.numberLength > 0 ? format.numberLength : kDefaultNumberLength;
    QList<PhoneRecord> records;
    for (const AtReply::RawRecord& raw : answers.records) {
        if (const auto record = PhonebookRecords::fromRaw(raw, charset, hints, nameLength, numberLength)) {
            checkRecord(*record, nameLength, numberLength);
            records.append(*record);
        }
    }
    const QList<PhoneRecord> kept = PhonebookRecords::keepValid(records, format.first, format.last);
    checkKept(kept, format.first, format.last);
    checkBlock(PhonebookRecords::buildBlock(kept, nameLength, numberLength), kept, nameLength, numberLength);
    return 0;
}
