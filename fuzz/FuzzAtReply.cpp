// The AT reply readers (link/AtReply.h) on the input as one line (and as the lines of an identification
// answer): no crash, no undefined behaviour, and every value they hand back inside the range the rest of the
// link relies on.
#include "FuzzCheck.h"
#include "link/AtReply.h"

#include <algorithm>

using namespace AtReply;

namespace {
void checkFinal(const QByteArray& line)
{
    const FinalResult result = classifyFinal(line);
    FUZZ_CHECK(result.cmeCode >= -1 && result.cmeCode < 100000);
    FUZZ_CHECK(result.kind == Final::CmeError || result.cmeCode == -1);
    (void)isUnsolicited(line);
}

void checkFields(const QByteArray& line)
{
    const QList<QByteArray> fields = splitFields(line);
    FUZZ_CHECK(!fields.isEmpty() && fields.size() <= line.count(',') + 1);
    for (const QByteArray& field : fields) FUZZ_CHECK(unquote(field).size() <= field.size());
}

void checkLists(const QByteArray& line)
{
    for (const char* prefix : {"+CPBS", "+CSCS", "+CPBR"}) {
        const auto payload = payloadOf(line, prefix);
        if (!payload) continue;
        FUZZ_CHECK(payload->size() < line.size());
        for (const QString& word : parseList(*payload)) FUZZ_CHECK(!word.isEmpty() && word.size() <= payload->size());
    }
}

void checkStorageStatus(const QByteArray& line)
{
    const auto status = parseStorageStatus(line);
    if (!status) return;
    FUZZ_CHECK(status->storage.size() < line.size());
    FUZZ_CHECK(status->used >= -1 && status->used <= 100000);
    FUZZ_CHECK(status->total >= -1 && status->total <= 100000);
}

void checkRecordFormat(const QByteArray& line)
{
    const auto format = parseRecordFormat(line);
    if (!format) return;
    FUZZ_CHECK(format->first >= 0 && format->first <= format->last && format->last <= 1000000);
    FUZZ_CHECK(format->numberLength >= 0 && format->numberLength <= 100000);
    FUZZ_CHECK(format->nameLength >= 0 && format->nameLength <= 100000);
}

// The maker's or model's name is one of the lines, trimmed and without its prefix and quotes.
void checkIdentity(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    for (const char* prefix : {"+CGMI", "+CGMM"}) {
        const QByteArray identity = parseIdentity(lines, prefix);
        FUZZ_CHECK(identity == identity.trimmed());
        FUZZ_CHECK(identity.isEmpty() || std::any_of(lines.begin(), lines.end(), [&](const QByteArray& line) {
                       return line.contains(identity);
                   }));
    }
}

void checkRecord(const QByteArray& line)
{
    const auto record = parseRecord(line);
    if (!record) return;
    FUZZ_CHECK(record->type == -1 || (record->type >= 0 && record->type < 256));
    // Number and name are separate parts of the line after its prefix.
    FUZZ_CHECK(record->number.size() + record->name.size() < line.size());
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray line = fuzzInput(data, size);
    checkFinal(line);
    checkFields(line);
    checkLists(line);
    checkStorageStatus(line);
    checkRecordFormat(line);
    checkRecord(line);
    checkIdentity(line);
    return 0;
}
