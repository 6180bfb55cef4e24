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
    // The replies behind the entries are played in tests/link/TestMakerReplies.cpp. The Motorola entry rests
    // on a captured reply; the others on public reports of the behaviour without a capture of the reply.
    static const QList<Entry> table = {
        // Motorola handsets answer the name as unquoted 8-bit hex with a trailing NUL even in UCS2.
        {"Motorola", "", hexBytesUnquoted()},
        // Huawei E-series sticks report SIM names in UCS2 (SIM codings 80/81/82 included) even after "IRA".
        {"huawei", "E1", ignoresCharset()},
        // ZTE MF sticks the same.
        {"ZTE", "MF", ignoresCharset()},
        // Siemens handsets of the 35 and 45 series lose the storage after AT+CPBR: select it again.
        {"SIEMENS", "", selectEachRead()},
        // Old Sony Ericsson handsets time out on long ranges while the phone's own menu is busy.
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
