// Saving 50 changed records of a full 250-entry SIM through the emulated phone at 115200 baud and 20 ms per
// command, as the program saves: the telephone layer reads the directory, 50 of its entries are edited in the
// store's table, and the layer writes back what changed. Prints the commands sent, the wall time and the wire
// limit of the save. Then a save whose fourth write the phone stores but never answers, and every command the
// save after it sends: the record left unknown is read again, and only what still differs goes.
#include "BenchSupport.h"
#include "PhoneLayerRig.h"

#include "link/TelephoneLinkSetup.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {
using namespace BenchSupport;
constexpr int kChanged = 50;

// The changed records: every fifth location, with names as users write them (accents, VIP marks) and
// numbers with the wild value "?".
struct ChangedRecord {
    int index;
    std::string name; // UTF-8, as the store keeps it
    std::string number;
    bool vip;
};

QList<ChangedRecord> changedRecords()
{
    static const char* const kNames[] = {"Jörg Bäcker", "Søren Ærø", "Chloé Dupré", "Peña Iñigo", "Weiß & Söhne"};
    QList<ChangedRecord> records;
    for (int k = 0; k < kChanged; ++k) {
        const QString name = QString::fromUtf8(kNames[k % 5]) + QStringLiteral(" %1").arg(k);
        const std::string number = k % 3 ? "+4930" + std::to_string(5550000 + k) : "030?" + std::to_string(k);
        records.append({1 + 5 * k, name.toStdString(), number, k % 7 == 0});
    }
    return records;
}

// Edits the entries in the current table as the entry dialog does; false when one is missing or refused.
bool changeEntries(PhoneLayerRig& rig, const QList<ChangedRecord>& records)
{
    const DirTable& table = rig.Table();
    for (const ChangedRecord& r : records) {
        int slot = 0;
        while (slot < table.m_nCount && table[slot].m_nIndex != r.index) ++slot;
        if (slot == table.m_nCount) return false;
        DirEntry edited = table[slot];
        edited.m_strName = r.name;
        edited.m_strNumber = r.number;
        if (r.vip) edited.m_strStatus = "!";
        if (!rig.Phone().ApplyEdit(slot, edited)) return false;
    }
    return true;
}

// The changed records that the phone now holds with their new numbers.
int recordsOnThePhone(const PhoneLayerRig& rig, const QList<ChangedRecord>& records)
{
    const EmulatorStorage sim = rig.PhoneStorage("SM");
    int held = 0;
    for (const ChangedRecord& r : records)
        held += sim.entries.value(r.index).number == QString::fromLatin1(r.number.c_str()) ? 1 : 0;
    return held;
}

void printSave(double seconds, const LinkCounters& spent, int written)
{
    const qint64 bytes = spent.bytesSent + spent.bytesReceived;
    const double wireLimit = WireLimit(spent);
    std::printf("Saving %d changed records of a %d-entry SIM at %d baud, %d ms per command (after reading it)\n", kChanged,
                kSimEntries, kBaud, kLatencyMs);
    std::printf("  records written:     %d of %d\n", written, kChanged);
    std::printf("  commands sent:       %lld (target at most K + 4 = %d)\n", static_cast<long long>(spent.commands),
                kChanged + 4);
    std::printf("  bytes on the wire:   %lld (%lld sent, %lld received)\n", static_cast<long long>(bytes),
                static_cast<long long>(spent.bytesSent), static_cast<long long>(spent.bytesReceived));
    std::printf("  elapsed:             %.3f s\n", seconds);
    std::printf("  wire limit:          %.3f s (bytes / %d per second + %d ms per command)\n", wireLimit, kBaud / 10,
                kLatencyMs);
    std::printf("  elapsed / wire limit: %.2f (target at most 1.3)\n", seconds / wireLimit);
}

// Reads the directory, changes the records, saves them and prints the measurements; false when the save did
// not put every change on the phone.
bool runSave()
{
    PhoneLayerRig rig;
    if (!rig.Start(FullSim([](int i) { return QStringLiteral("Name %1").arg(i); }), PhoneSpeed()) ||
        !rig.Show(DIR_SIM)) {
        std::fprintf(stderr, "the SIM directory of the emulated phone could not be read\n");
        return false;
    }
    const QList<ChangedRecord> records = changedRecords();
    if (!changeEntries(rig, records)) {
        std::fprintf(stderr, "the entries to change are not all in the table read\n");
        return false;
    }
    const LinkCounters before = TelephoneLinkCounters();
    QElapsedTimer timer;
    timer.start();
    const bool saved = rig.Save();
    const double seconds = timer.elapsed() / 1000.0;
    const LinkCounters spent = Spent(before, TelephoneLinkCounters());
    const int written = recordsOnThePhone(rig, records);
    printSave(seconds, spent, written);
    if (!saved) std::printf("  the save did not report success: %s\n", rig.Host().LastStatus().c_str());
    return saved && written == kChanged;
}
}

// The commands in the phone's log from line `from` on, without their time stamps.
QStringList commandsSince(const QString& log, qsizetype from)
{
    QStringList commands;
    const QStringList lines = log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = from; i < lines.size(); ++i) commands << lines[i].section(QLatin1Char(' '), 1);
    return commands;
}

bool runSaveAfterLostAnswer()
{
    constexpr int kEdited = 10;
    PhoneLayerRig rig;
    if (!rig.Start(FullSim([](int i) { return QStringLiteral("Name %1").arg(i); }), PhoneSpeed()) || !rig.Show(DIR_SIM))
        return false;
    QList<ChangedRecord> records = changedRecords();
    records.resize(kEdited);
    if (!changeEntries(rig, records)) return false;
    PhoneEmulatorOptions dropping = PhoneSpeed();
    dropping.dropWriteAnswer = 4;
    if (!rig.RestartPhone(dropping) || rig.Save()) return false;
    if (!rig.RestartPhone(PhoneSpeed())) return false;
    const qsizetype logged = rig.PhoneLog().count(QLatin1Char('\n'));
    const bool saved = rig.Save();
    const QStringList commands = commandsSince(rig.PhoneLog(), logged);
    std::printf("Saving %d changed records whose 4th write was stored but never answered, then saving again:\n", kEdited);
    std::printf("  the save after the lost answer sent %lld commands (%d records were left to write):\n",
                static_cast<long long>(commands.size()), kEdited - 4);
    for (const QString& command : commands) std::printf("    %s\n", qPrintable(command));
    return saved && recordsOnThePhone(rig, records) == kEdited;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool saved = runSave() && runSaveAfterLostAnswer();
    StopTelephoneLink();
    return saved ? 0 : 1;
}
