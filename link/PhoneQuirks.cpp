#include "link/PhoneQuirks.h"

namespace {
bool startsWith(const QByteArray& answer, const char* prefix)
{
    return answer.trimmed().toLower().startsWith(QByteArray(prefix).toLower());
}

PhoneQuirks ignoresCharset()
{
    PhoneQuirks q;
    q.ignoresCharset = true;
    return q;
}

PhoneQuirks hexBytesUnquoted()
{
    PhoneQuirks q;
    q.hexWithoutSetting = true;
    q.namesUnquoted = true;
    return q;
}

PhoneQuirks selectEachRead()
{
    PhoneQuirks q;
    q.selectBeforeEachRead = true;
    return q;
}

PhoneQuirks smallPausedBatches(int batch, int pauseMs)
{
    PhoneQuirks q;
    q.readBatch = batch;
    q.pauseBeforeReadMs = pauseMs;
    return q;
}
}

namespace PhoneQuirkTable {
const QList<Entry>& entries()
{
    // The replies behind the entries are played in tests/link/TestMakerReplies.cpp. Only the Motorola entry
    // rests on a captured reply; the others are cautious assumptions from descriptions of the behaviour, and
    // each of them costs little on a phone that does not need it.
    static const QList<Entry> table = {
        // Motorola handsets answer the name as unquoted 8-bit hex with a closing NUL even in UCS2.
        {"Motorola", "", hexBytesUnquoted()},
        // Huawei E-series sticks are described as handing SIM names on in UCS2 (SIM codings 80/81/82
        // included) whatever set was selected.
        {"huawei", "E1", ignoresCharset()},
        // ZTE MF sticks: the same description.
        {"ZTE", "MF", ignoresCharset()},
        // Siemens: selecting the storage again before each range read guards against a phone whose own menu
        // switched it between two commands; one command more per range.
        {"SIEMENS", "", selectEachRead()},
        // Old Sony Ericsson T-series handsets: small ranges with a short pause, so that a slow phone never
        // stays silent long enough for a range to count as unanswered.
        {"Sony Ericsson", "T", smallPausedBatches(20, 50)},
        // The emulator's test maker: every flag, so that tests can check that the session applies them.
        {"Quirkvane", "All", [] {
             PhoneQuirks q = smallPausedBatches(25, 10);
             q.ignoresCharset = true;
             q.selectBeforeEachRead = true;
             return q;
         }()},
    };
    return table;
}

PhoneQuirks lookup(const QByteArray& maker, const QByteArray& model)
{
    for (const Entry& entry : entries())
        if (startsWith(maker, entry.maker) && startsWith(model, entry.model)) return entry.quirks;
    return {};
}
}
