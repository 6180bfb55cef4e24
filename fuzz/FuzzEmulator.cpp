// The emulated phone's command interpreter (link/EmulatorEngine.h) on arbitrary command lines, one per CR as
// the emulator feeds them, over empty storages. No crash; every answer is framed and ends in a final result
// the link recognises; the storages keep their limits; and what the phone then lists of the selected storage
// reads back through the link's own parsers as exactly what it holds.
#include "FuzzCheck.h"
#include "link/AtReply.h"
#include "link/EmulatorEngine.h"
#include "res/GsmAlphabet.h"

namespace {
// Lines longer than a phone's command buffer only slow the search down.
constexpr int kMaxCommands = 64;

QList<QByteArray> answerLines(const QByteArray& answer)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : answer.split('\n'))
        if (!line.trimmed().isEmpty()) lines.append(line.trimmed());
    return lines;
}

void checkAnswer(const QByteArray& answer)
{
    FUZZ_CHECK(answer.startsWith("\r\n") && answer.endsWith("\r\n"));
    const QList<QByteArray> lines = answerLines(answer);
    FUZZ_CHECK(!lines.isEmpty());
    FUZZ_CHECK(AtReply::classifyFinal(lines.last()).kind != AtReply::Final::None);
}

void checkLimits(const EmulatorState& state)
{
    for (const QString& name : state.storageNames()) {
        const EmulatorStorage* s = state.storage(name);
        for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
            FUZZ_CHECK(it.key() >= 1 && it.key() <= s->capacity);
            FUZZ_CHECK(GsmAlphabet::septetLength(it->name) <= s->nameLength);
            FUZZ_CHECK(it->number.size() - (it->number.startsWith(u'+') ? 1 : 0) <= s->numberLength);
            FUZZ_CHECK(!it->name.contains(u'\r') && !it->name.contains(u'\n'));
        }
    }
}

// The set and storage the commands left selected, as the link learns them.
bool selection(EmulatorEngine& engine, PhoneCharset* charset, AtReply::StorageStatus* status)
{
    std::optional<AtReply::StorageStatus> parsed;
    for (const QByteArray& line : answerLines(engine.answer("AT+CPBS?")))
        if (!parsed) parsed = AtReply::parseStorageStatus(line);
    QString name;
    for (const QByteArray& line : answerLines(engine.answer("AT+CSCS?")))
        if (const auto payload = AtReply::payloadOf(line, "+CSCS")) name = QString::fromLatin1(AtReply::unquote(*payload));
    if (!parsed || !PhoneCharsets::fromName(name, charset)) return false;
    *status = *parsed;
    return true;
}

void checkRecordReadsBack(const AtReply::RawRecord& record, const EmulatorEntry& entry, PhoneCharset charset)
{
    FUZZ_CHECK(record.number == entry.number.toLatin1());
    FUZZ_CHECK(record.type == (entry.number.startsWith(u'+') ? 145 : 129));
    QByteArray field;
    if (PhoneCharsets::encodeName(entry.name, charset, &field))
        FUZZ_CHECK(PhoneCharsets::decodeName(record.name, charset) == entry.name);
}

void checkListing(EmulatorEngine& engine, const EmulatorState& state)
{
    PhoneCharset charset;
    AtReply::StorageStatus status;
    if (!selection(engine, &charset, &status)) return;
    const EmulatorStorage* s = state.storage(QString::fromLatin1(status.storage));
    FUZZ_CHECK(s && status.total == s->capacity && status.used == s->entries.size());
    QList<AtReply::RawRecord> records;
    for (const QByteArray& line : answerLines(engine.answer("AT+CPBR=1," + QByteArray::number(s->capacity))))
        if (const auto record = AtReply::parseRecord(line)) records.append(*record);
    FUZZ_CHECK(records.size() == s->entries.size());
    qsizetype i = 0;
    for (auto it = s->entries.begin(); it != s->entries.end(); ++it, ++i) {
        FUZZ_CHECK(records[i].index == it.key());
        checkRecordReadsBack(records[i], it.value(), charset);
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorEngine engine(state, {}, [] {});
    const QList<QByteArray> commands = fuzzInput(data, size).split('\r');
    for (qsizetype i = 0; i < commands.size() && i < kMaxCommands; ++i) checkAnswer(engine.answer(commands[i]));
    checkLimits(state);
    checkListing(engine, state);
    return 0;
}
