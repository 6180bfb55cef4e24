// Random sequences of user operations on the telephone side, through the telephone layer, against the phone
// emulator on a real pseudo-terminal, with refused writes, hang-ups, answers lost after the phone stored a
// record, and records typed on the phone's keypad between the read and the save. The SIM and the mobile
// directory have lengths of their own; names come from many scripts, hold "!" inside and run longer than the
// list shows; numbers run to 32 digits; half of the phones have no UCS2. A simple model says what the phone
// must hold; after every save that reports success the phone holds exactly that, every save sends only
// records in which the phone differs (a failed one fewer), and no save sends a record twice.
//
//   test_phone_random [--seed N] [--sequences M]
//
// Every run prints its seed (without --seed, the one TD_SEED gives: fixed unless asked otherwise); a failure
// prints the seed and sequence, and the same seed replays it.
#include "PhoneLayerRig.h"
#include "PhoneModel.h"
#include "TestSeed.h"

#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "model/TelephoneName.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>
#include <map>
#include <random>
#include <set>

namespace {
constexpr int kCapacity = 24;

using Model = PhoneModel;

// The limits of the SIM of the running sequence.
TelephoneNameLimits g_limits;
int g_numberLen = 20;

Intended ExpectedOf(const DirEntry& entry)
{
    return IntendedOf(entry, g_limits);
}

// How much of the ground the run covered, printed at its end.
struct Coverage {
    int saves = 0;
    int failedSaves = 0;
    int writes = 0;
    int lostAnswers = 0;
    int keypadRecords = 0;
} g_coverage;

class Failure : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(bool condition, const std::string& what)
{
    if (!condition) throw Failure(what);
}

class Sequence {
public:
    Sequence(uint64_t seed, PhoneLayerRig& rig) : m_rng(seed), m_rig(rig) {}

    void Run(int steps)
    {
        m_ucs2 = Chance(50);
        static const int kNameLengths[] = {10, 12, 16, 20};
        static const int kNumberLengths[] = {20, 24, 32};
        m_simNameLen = kNameLengths[Random(0, 3)];
        m_meNameLen = kNameLengths[Random(0, 3)];
        g_numberLen = kNumberLengths[Random(0, 2)];
        g_limits = {m_simNameLen, m_ucs2 ? (m_simNameLen - 1) / 2 : 0};
        Check(m_rig.Start(InitialPhone(), BaseOptions()), "the phone did not start");
        Check(m_rig.Show(DIR_SIM), "the SIM directory was not read");
        Check(m_rig.Store().m_nUcs2NameLen == g_limits.m_nUcs2Len, "the phone's UCS2 limit was read wrong");
        m_model = ModelOfPhone();
        CheckListEqualsModel("after the read");
        for (int step = 0; step < steps; ++step) {
            m_step = step;
            RunOperation();
            CheckListEqualsModel("after " + m_lastOp);
        }
        SaveWithoutFaults("the final save");
    }

    std::string Where() const { return "step " + std::to_string(m_step) + " (" + m_lastOp + ")"; }

private:
    int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool Chance(int percent) { return Random(1, 100) <= percent; }

    std::string RandomText(int minLen, int maxLen, const std::string& alphabet)
    {
        std::string text;
        const int length = Random(minLen, maxLen);
        for (int i = 0; i < length; ++i) text += alphabet[static_cast<size_t>(Random(0, int(alphabet.size()) - 1))];
        return text;
    }
    // "N" and characters of one or two scripts; the GSM letters most often, so that names of both encodings come.
    std::string RandomName(int maxLen)
    {
        const auto& scripts = NameScripts();
        const auto& first = scripts[Chance(50) ? 0 : size_t(Random(0, int(scripts.size()) - 1))];
        const auto& second = scripts[size_t(Random(0, int(scripts.size()) - 1))];
        std::string name = "N";
        for (int i = Random(0, maxLen - 2); i > 0; --i) {
            const auto& pool = Chance(80) ? first : second;
            name += pool[size_t(Random(0, int(pool.size()) - 1))];
        }
        return name + (Chance(70) ? "x" : "");
    }
    std::string RandomNumber()
    {
        std::string number = RandomText(1, g_numberLen - 1, "0123456789*#?");
        return Chance(30) ? "+" + number : number;
    }
    // A name as the phone holds one typed on it: what it can keep, VIP now and then.
    std::string PhoneHeldName(int maxLen)
    {
        return TelephoneName::AsSent(TelephoneName::ForTelephone(RandomName(maxLen), g_limits), Chance(20), g_limits);
    }

    // The phone of this sequence, without faults.
    PhoneEmulatorOptions BaseOptions() const
    {
        PhoneEmulatorOptions options;
        options.identity.ucs2 = m_ucs2;
        return options;
    }

    EmulatorState InitialPhone()
    {
        EmulatorState state = EmulatorState::blank();
        EmulatorStorage* sim = state.storage("SM");
        sim->capacity = kCapacity;
        sim->nameLength = m_simNameLen;
        sim->numberLength = g_numberLen;
        for (int i = Random(0, 12); i > 0; --i)
            sim->entries.insert(Random(1, kCapacity), {QString::fromStdString(PhoneHeldName(m_simNameLen + 4)),
                                                        QString::fromLatin1(RandomNumber().c_str())});
        EmulatorStorage* me = state.storage("ME");
        me->nameLength = m_meNameLen;
        me->numberLength = g_numberLen == 20 ? 32 : 20;
        me->entries.insert(1, {"Mobile", "123"});
        return state;
    }

    Model ModelOfPhone() const
    {
        Model model;
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        for (auto it = sim.entries.begin(); it != sim.entries.end(); ++it)
            model[it.key()] = {it.value().name.toStdString(), it.value().number.toStdString()};
        return model;
    }

    void CheckListEqualsModel(const std::string& when)
    {
        const DirTable& table = m_rig.Table();
        Model list;
        for (int slot = 0; slot < table.m_nCount; ++slot) {
            Check(!list.contains(table[slot].m_nIndex), "two live entries share index " + std::to_string(table[slot].m_nIndex));
            list[table[slot].m_nIndex] = ExpectedOf(table[slot]);
        }
        bool same = list.size() == m_model.size();
        for (const auto& [index, r] : m_model) {
            const auto it = list.find(index);
            same = same && it != list.end() && it->second.name == r.name && it->second.number == r.number;
        }
        Check(same, "list and model differ " + when + "\n  list:  " + Describe(list) + "\n  model: " + Describe(m_model));
    }

    void CheckPhoneEqualsModel(const std::string& when)
    {
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        bool same = sim.entries.size() == qsizetype(m_model.size());
        for (const auto& [index, r] : m_model) {
            same = same && sim.entries.contains(index) && sim.entries.value(index).name.toStdString() == r.name &&
                   sim.entries.value(index).number.toStdString() == r.number;
        }
        Check(same, "phone and model differ " + when + "\n  model: " + Describe(m_model) + "\n  phone: " + Describe(ModelOfPhone()));
    }

    // The records in which the phone differs from the model: what an exact save sends.
    int Differences() const
    {
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        int differences = 0;
        for (const auto& [index, r] : m_model)
            differences += !sim.entries.contains(index) || sim.entries.value(index).name.toStdString() != r.name ||
                           sim.entries.value(index).number.toStdString() != r.number;
        for (int index : sim.entries.keys()) differences += !m_model.contains(index);
        return differences;
    }

    // The indices written since the log held `before` writes; no save may send one record twice.
    std::vector<int> WritesSince(int before) const
    {
        const QString log = m_rig.PhoneLog();
        std::vector<int> indices;
        const QRegularExpression write(QStringLiteral("AT\\+CPBW=(\\d+)"));
        int seen = 0;
        for (auto it = write.globalMatch(log); it.hasNext(); ++seen) {
            const int index = it.next().captured(1).toInt();
            if (seen >= before) indices.push_back(index);
        }
        Check(std::set<int>(indices.begin(), indices.end()).size() == indices.size(), "a save sent one record twice");
        return indices;
    }
    int WritesLogged() const { return int(m_rig.PhoneLog().count(QRegularExpression(QStringLiteral("AT\\+CPBW=")))); }

    void RunOperation()
    {
        const int pick = Random(1, 100);
        if (pick <= 20) Add();
        else if (pick <= 40) Edit();
        else if (pick <= 52) Delete();
        else if (pick <= 58) Cut();
        else if (pick <= 64) Paste();
        else if (pick <= 72) TransferIn();
        else if (pick <= 75) SelectAllAndDelete();
        else if (pick <= 84) ChangeDirectoryAndBack();
        else Save();
    }

    // An edit between a failed save and its retry.
    void RunEdit()
    {
        const int pick = Random(1, 100);
        if (pick <= 30) Add();
        else if (pick <= 60) Edit();
        else if (pick <= 80) Delete();
        else TransferIn();
        CheckListEqualsModel("after " + m_lastOp + " following a failed save");
    }

    bool InsertChecked(int position, DirEntry entry)
    {
        const DirTable& table = m_rig.Table();
        const bool full = table.m_nCount >= kCapacity;
        m_rig.Questions().Clear();
        const bool inserted = m_rig.Phone().InsertEntry(position, entry);
        Check(inserted != full, "an insertion into a table " + std::string(full ? "full" : "with room") +
                                    (inserted ? " succeeded" : " failed"));
        if (!inserted) {
            Check(m_rig.Questions().TakeReports() == std::vector<int>{4 * 100000 + 41025}, "no 41025 for a full table");
            return false;
        }
        const int slot = std::clamp(position, 0, table.m_nCount - 1);
        const DirEntry& placed = table[slot];
        // Inserting holds the name to what the telephone keeps and cuts the number to the SIM's length.
        Check(placed.m_strName == TelephoneName::ForTelephone(entry.m_strName, g_limits) &&
                  placed.m_strNumber == CutText(entry.m_strNumber, g_numberLen),
              "inserted texts differ");
        Check(!m_model.contains(placed.m_nIndex), "an insertion took a used index");
        m_model[placed.m_nIndex] = ExpectedOf(placed);
        return true;
    }

    DirEntry RandomEntry(int maxNameLen)
    {
        DirEntry entry;
        entry.m_strName = RandomName(maxNameLen);
        entry.m_strNumber = RandomNumber();
        entry.m_strStatus = Chance(25) ? "!" : (Chance(50) ? " " : "");
        entry.m_nIndex = Random(0, kCapacity + 2);
        return entry;
    }

    void Add()
    {
        m_lastOp = "add";
        InsertChecked(Random(0, m_rig.Table().m_nCount), RandomEntry(m_simNameLen));
    }

    int RandomSlot() { return Random(0, m_rig.Table().m_nCount - 1); }

    void Edit()
    {
        m_lastOp = "edit";
        if (m_rig.Table().m_nCount == 0) return;
        const int slot = RandomSlot();
        DirEntry edited = m_rig.Table()[slot];
        const int oldIndex = edited.m_nIndex;
        const auto before = m_rig.Phone().Image(DIR_SIM).find(oldIndex);
        if (Chance(15) && before != m_rig.Phone().Image(DIR_SIM).end()) {
            m_lastOp = "edit back";
            // Back to what the phone holds: such an entry must not be sent again.
            edited.m_strName = before->second.m_strName;
            edited.m_strNumber = before->second.m_strNumber;
            edited.m_strStatus = before->second.m_strStatus;
        } else {
            // The entry dialog holds a name to what the telephone keeps of it, as it is typed.
            if (Chance(50)) edited.m_strName = TelephoneName::ForTelephone(RandomName(m_simNameLen), g_limits);
            if (Chance(40)) edited.m_strNumber = RandomNumber();
            if (Chance(25)) edited.m_strStatus = edited.m_strStatus == "!" ? " " : "!";
            if (Chance(30)) {
                m_lastOp = "edit index";
                const int index = Random(1, kCapacity);
                if (EntryTableEditor::IsIndexFree(index, m_rig.Table())) edited.m_nIndex = index;
            }
        }
        Check(m_rig.Phone().ApplyEdit(slot, edited), "an edit was refused");
        m_model.erase(oldIndex);
        m_model[edited.m_nIndex] = ExpectedOf(m_rig.Table()[slot]);
    }

    void RemoveSlot(int slot)
    {
        const int index = m_rig.Table()[slot].m_nIndex;
        Check(m_rig.Phone().RemoveEntry(slot), "a removal was refused");
        m_model.erase(index);
    }

    void Delete()
    {
        m_lastOp = "delete";
        if (m_rig.Table().m_nCount > 0) RemoveSlot(RandomSlot());
    }

    void Cut()
    {
        m_lastOp = "cut";
        m_clip.clear();
        for (int n = Random(1, 3); n > 0 && m_rig.Table().m_nCount > 0; --n) {
            const int slot = RandomSlot();
            m_clip.push_back(m_rig.Table()[slot]);
            RemoveSlot(slot);
        }
    }

    void Paste()
    {
        m_lastOp = "paste";
        const int first = Random(0, m_rig.Table().m_nCount);
        for (size_t i = 0; i < m_clip.size(); ++i)
            if (!InsertChecked(first + int(i), m_clip[i])) break;
        m_clip.clear();
    }

    void TransferIn()
    {
        m_lastOp = "transfer";
        for (int n = Random(1, 4); n > 0; --n)
            if (!InsertChecked(m_rig.Table().m_nCount, RandomEntry(30))) break;
    }

    void SelectAllAndDelete()
    {
        m_lastOp = "select all and delete";
        while (m_rig.Table().m_nCount > 0) RemoveSlot(m_rig.Table().m_nCount - 1);
    }

    void ChangeDirectoryAndBack()
    {
        m_lastOp = "directory change";
        EntryStore& store = m_rig.Store();
        const bool modified = store.HasFlag(VF_PHONE_MODIFIED);
        const bool pending = m_rig.Phone().HasUnsavedChanges();
        const bool yes = Chance(50);
        m_rig.Questions().Clear();
        if (modified) m_rig.Questions().AnswerYesNo(Ids::IDS_SAVE_DIR_BEFORE_CHANGE, yes);
        if (modified && yes) ArmFaults();
        const int writesBefore = WritesLogged();
        // A directory left empty is read again when it is shown next.
        const bool emptied = store.m_dirTables[DIR_SIM].m_nCount == 0;
        m_rig.Host().m_nComboSelection = DIR_MOBILE; // the user's choice in the combo box
        m_rig.Phone().ChangeDirectory(DIR_MOBILE);
        Check(m_rig.WaitUntilIdle(), "the directory change did not end");
        Check(m_rig.Host().m_nComboSelection == store.m_nCurDir, "the combo box shows " + std::to_string(m_rig.Host().m_nComboSelection) + ", the list " + std::to_string(store.m_nCurDir) + (modified ? " (modified" : " (") + (yes ? ", yes)" : ", no)"));
        if (store.m_nCurDir == DIR_SIM) {
            // The save asked for failed or stopped (the edits stay, and a save without faults writes them), or it
            // went well and the line dropped while the other directory was read.
            Check(modified && yes, "the directory did not change");
            SaveEnded(!store.HasFlag(VF_PHONE_MODIFIED), writesBefore);
            return;
        }
        Check(store.m_nNameLen == m_meNameLen, "the mobile directory shows the SIM's name length");
        if (modified && yes) SaveEnded(true, writesBefore);
        Check(m_rig.Questions().Unanswered().empty(), "a question went unanswered");
        m_rig.Host().m_nComboSelection = DIR_SIM;
        m_rig.Phone().ChangeDirectory(DIR_SIM);
        Check(m_rig.WaitUntilIdle() && store.m_nCurDir == DIR_SIM, "the way back to the SIM directory failed");
        Check(store.m_nNameLen == m_simNameLen && store.m_nNumberLen == g_numberLen, "the SIM shows the mobile directory's lengths");
        // An emptied directory is read again: its old deletions are gone, the list shows the phone.
        if (emptied) m_model = ModelOfPhone();
        else if (modified && !yes && pending)
            Check(store.HasFlag(VF_PHONE_MODIFIED), "unsaved changes shown again do not count as edited");
    }

    // Places a fault on the next save, or none: a refused write, a line dropped in the middle of any answer,
    // the answer to a stored write lost, or a record typed on the keypad where the save means to write.
    void ArmFaults()
    {
        m_expectedWrites = Differences();
        m_fault = Fault::None;
        m_keypadIndex = 0;
        if (!Chance(50) || m_expectedWrites == 0) return;
        PhoneEmulatorOptions options = BaseOptions();
        switch (Random(1, 4)) {
        case 1:
            m_fault = Fault::Refused;
            m_faultAt = options.failWrite = Random(1, m_expectedWrites);
            break;
        case 2:
            m_fault = Fault::HungUp;
            options.hangupAfter = Random(0, m_expectedWrites + 6);
            break;
        case 3:
            m_fault = Fault::AnswerLost;
            m_faultAt = options.dropWriteAnswer = Random(1, m_expectedWrites);
            ++g_coverage.lostAnswers;
            break;
        default:
            if (!ArmKeypadRecord(options)) return;
        }
        Check(m_rig.RestartPhone(options), "the phone did not restart");
    }

    // A record typed on the keypad at an index a new entry is to be written to; false when there is none.
    bool ArmKeypadRecord(PhoneEmulatorOptions& options)
    {
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        std::vector<int> targets;
        for (const auto& [index, r] : m_model)
            if (!sim.entries.contains(index) && !m_rig.Phone().Image(DIR_SIM).contains(index)) targets.push_back(index);
        if (targets.empty()) return false;
        m_fault = Fault::Keypad;
        m_keypadIndex = targets[size_t(Random(0, int(targets.size()) - 1))];
        m_keypadRecord = {PhoneHeldName(m_simNameLen), RandomNumber()};
        options.keypadAfter = 0;
        options.keypadAdd.storage = QStringLiteral("SM");
        options.keypadAdd.index = m_keypadIndex;
        options.keypadAdd.name = QString::fromStdString(m_keypadRecord.name);
        options.keypadAdd.number = QString::fromStdString(m_keypadRecord.number);
        ++g_coverage.keypadRecords;
        return true;
    }

    void Save()
    {
        m_lastOp = "save";
        ArmFaults();
        m_rig.Questions().Clear();
        const int writesBefore = WritesLogged();
        const bool saved = m_rig.Save();
        SaveEnded(saved || m_rig.Host().LastStatus() == StringTable::LoadString(Ids::IDS_NO_DATA_FOR_WRITING), writesBefore);
    }

    // Checks a save that ended, with the fault placed on it; a failed one is retried after a few edits.
    void SaveEnded(bool succeeded, int writesBefore)
    {
        ++g_coverage.saves;
        g_coverage.writes += m_expectedWrites;
        const int sent = int(WritesSince(writesBefore).size());
        const Fault fault = m_fault;
        m_fault = Fault::None;
        if (succeeded) {
            Check(fault == Fault::None || fault == Fault::HungUp, "a save with a fault on its records succeeded");
            Check(!m_rig.Store().HasFlag(VF_PHONE_MODIFIED), "a successful save left the edited mark");
            Check(sent == m_expectedWrites, "the save sent " + std::to_string(sent) + " records for " +
                                                std::to_string(m_expectedWrites) + " changed");
            CheckPhoneEqualsModel("after a save");
            return;
        }
        Check(fault != Fault::None, "a save without faults failed: " + m_rig.Host().LastStatus());
        ++g_coverage.failedSaves;
        Check(m_rig.Store().HasFlag(VF_PHONE_MODIFIED), "a failed save cleared the edited mark");
        switch (fault) {
        case Fault::Refused:
        case Fault::AnswerLost:
            Check(sent == m_faultAt, "a save failing at write " + std::to_string(m_faultAt) + " sent " + std::to_string(sent));
            break;
        case Fault::HungUp: Check(sent <= m_expectedWrites, "a hung-up save sent more records than changed"); break;
        case Fault::Keypad: TakeKeypadRecord(sent); break;
        case Fault::None: break;
        }
        CheckListEqualsModel("after a failed save");
        for (int n = Random(0, 3); n > 0; --n) RunEdit();
        SaveWithoutFaults("the save after a failed one");
    }

    // The save found the keypad's record before writing anything: the list shows it at its index, and the entry
    // meant for that index waits at a free one (unless the directory is full).
    void TakeKeypadRecord(int sent)
    {
        Check(sent == 0, "a save that found a record typed on the keypad wrote " + std::to_string(sent));
        Check(m_rig.Questions().TakeReports() == std::vector<int>{3 * 100000 + Ids::IDS_ERR_PHONE_CHANGED},
              "no report of the record typed on the keypad");
        const DirTable& table = m_rig.Table();
        std::map<int, const DirEntry*> live;
        for (int slot = 0; slot < table.m_nCount; ++slot) live[table[slot].m_nIndex] = &table[slot];
        const Intended mine = m_model.at(m_keypadIndex);
        const auto keypad = live.find(m_keypadIndex);
        Check(keypad != live.end(), "no entry at the keypad's index");
        if (ExpectedOf(*keypad->second).name == mine.name && ExpectedOf(*keypad->second).number == mine.number) {
            bool room = false;
            for (int index = 1; index <= kCapacity; ++index)
                room = room || (!live.contains(index) && !m_rig.Phone().Image(DIR_SIM).contains(index));
            Check(!room, "the entry stayed on the keypad's record in a directory with room");
            return;
        }
        Check(ExpectedOf(*keypad->second).name == m_keypadRecord.name, "the keypad's record is not shown at its index");
        int moved = 0;
        for (const auto& [index, entry] : live)
            if (!m_model.contains(index) && index != m_keypadIndex) moved = index;
        Check(moved > 0 && ExpectedOf(*live.at(moved)).name == mine.name, "the entry meant for the keypad's index is gone");
        m_model[moved] = mine;
        m_model[m_keypadIndex] = m_keypadRecord;
    }

    void SaveWithoutFaults(const std::string& what)
    {
        Check(m_rig.RestartPhone(BaseOptions()), "the phone did not restart");
        // What a lost answer left unknown is read first: exactly the records that differ go, none twice.
        m_expectedWrites = Differences();
        const int writesBefore = WritesLogged();
        const bool saved = m_rig.Save();
        const int sent = int(WritesSince(writesBefore).size());
        Check(saved || m_expectedWrites == 0, what + " failed: " + m_rig.Host().LastStatus());
        Check(sent == m_expectedWrites, what + " sent " + std::to_string(sent) + " records for " + std::to_string(m_expectedWrites) + " changed");
        CheckPhoneEqualsModel(what);
        CheckListEqualsModel(what);
    }

    enum class Fault { None, Refused, HungUp, AnswerLost, Keypad };

    std::mt19937_64 m_rng;
    PhoneLayerRig& m_rig;
    Model m_model;
    std::vector<DirEntry> m_clip;
    int m_expectedWrites = 0;
    Fault m_fault = Fault::None;
    int m_faultAt = 0;
    int m_keypadIndex = 0;
    Intended m_keypadRecord;
    bool m_ucs2 = true;
    int m_simNameLen = 16;
    int m_meNameLen = 16;
    int m_step = 0;
    std::string m_lastOp = "start";
};

uint64_t ArgumentValue(const QStringList& args, const QString& name, uint64_t fallback)
{
    const int at = int(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toULongLong() : fallback;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    const QStringList args = app.arguments();
    const uint64_t seed = ArgumentValue(args, QStringLiteral("--seed"), TestSeed());
    const int sequences = int(ArgumentValue(args, QStringLiteral("--sequences"), 150));
    const int steps = int(ArgumentValue(args, QStringLiteral("--steps"), 25));
    std::printf("test_phone_random --seed %llu --sequences %d --steps %d\n", static_cast<unsigned long long>(seed),
                sequences, steps);
    for (int s = 0; s < sequences; ++s) {
        PhoneLayerRig rig;
        Sequence sequence(seed + uint64_t(s), rig);
        try {
            sequence.Run(steps);
        } catch (const Failure& failure) {
            std::printf("FAIL: sequence %d at %s: %s\nReplay: test_phone_random --seed %llu --sequences %d\n", s,
                        sequence.Where().c_str(), failure.what(), static_cast<unsigned long long>(seed), s + 1);
            return 1;
        }
    }
    std::printf("PASS: %d sequences, %d saves of %d changed records, %d of them failed by faults (%d answers lost, "
                "%d records typed on the keypad)\n",
                sequences, g_coverage.saves, g_coverage.writes, g_coverage.failedSaves, g_coverage.lostAnswers,
                g_coverage.keypadRecords);
    return 0;
}
