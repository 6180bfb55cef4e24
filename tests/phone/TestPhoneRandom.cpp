// Random sequences of user operations on the telephone side, through the telephone layer, against the phone
// emulator on a real pseudo-terminal, with refused writes and hang-ups. Names are drawn from many scripts, the
// GSM extension table and characters no telephone name holds; half of the phones have no UCS2. A simple model says what the list must
// hold; after every save that reports success the phone must hold exactly that, and the save must have sent
// exactly the records in which the phone differed from the model.
//
//   test_phone_random [--seed N] [--sequences M]
//
// Every run prints its seed; a failure prints the seed and sequence, and the same seed replays it.
#include "PhoneLayerRig.h"

#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "model/TelephoneName.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {
constexpr int kCapacity = 24;
constexpr int kNameLen = 16;
constexpr int kNumberLen = 20;

struct Intended {
    std::string name;
    std::string number;
    bool vip = false;
};
using Model = std::map<int, Intended>;

// The limits of the phone of the running sequence: the same for every record of its SIM.
TelephoneNameLimits g_limits;

// What the phone holds for an entry: a VIP name gives its last position to the mark when full.
QString PhoneName(const Intended& record)
{
    return QString::fromStdString(TelephoneName::AsSent(record.name, record.vip, g_limits));
}

// Characters a name is drawn from: letters of the GSM alphabet, its extension table and characters no name on the
// telephone holds, then other scripts.
const std::vector<std::vector<std::string>>& Scripts()
{
    static const std::vector<std::vector<std::string>> scripts = [] {
        const char* const pools[] = {"ABCDEFGHKLMNOPRSTabcdeghiklmnoprstu019 ÄÖÜäöüéßÅ¡",
                                     "€\\^~|{}[]$`@²µ",
                                     "ŁłŻżŚśĆćĘęĄąŃńÓó ",
                                     "АБВГДЕЖЗИЙКЛМНОПабвгдежзийклмноп ",
                                     "李王张刘陈杨黄赵小龍伟娜",
                                     "ΑΒΓΔΘΛΞΠΣΦΨΩαβγδεζηθ ",
                                     "محمدعلي ",
                                     "ŞşĞğİıÇçŢţȘșȚțĂăÂâÁÌ"};
        std::vector<std::vector<std::string>> out;
        for (const char* pool : pools) {
            std::vector<std::string> characters;
            for (uint ch : QString::fromUtf8(pool).toUcs4()) characters.push_back(QString::fromUcs4(reinterpret_cast<const char32_t*>(&ch), 1).toStdString());
            out.push_back(characters);
        }
        return out;
    }();
    return scripts;
}

std::string Describe(const Model& model)
{
    std::ostringstream out;
    for (const auto& [index, r] : model) out << index << ":" << r.name << (r.vip ? "!" : "") << "/" << r.number << " ";
    return out.str();
}

// How much of the ground the run covered, printed at its end.
struct Coverage {
    int saves = 0;
    int failedSaves = 0;
    int writes = 0;
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
        g_limits = {kNameLen, m_ucs2 ? (kNameLen - 1) / 2 : 0};
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
        const auto& scripts = Scripts();
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
        std::string number = RandomText(1, kNumberLen - 1, "0123456789*#?");
        return Chance(30) ? "+" + number : number;
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
        sim->nameLength = kNameLen;
        sim->numberLength = kNumberLen;
        const int entries = Random(0, 12);
        for (int i = 0; i < entries; ++i) {
            const int index = Random(1, kCapacity);
            const std::string name = TelephoneName::AsSent(TelephoneName::ForTelephone(RandomName(12), g_limits), Chance(20), g_limits);
            sim->entries.insert(index, {QString::fromStdString(name), QString::fromLatin1(RandomNumber().c_str())});
        }
        state.storage("ME")->entries.insert(1, {"Mobile", "123"});
        return state;
    }

    Model ModelOfPhone() const
    {
        Model model;
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        for (auto it = sim.entries.begin(); it != sim.entries.end(); ++it) {
            std::string name = it.value().name.toStdString();
            Intended record;
            const size_t mark = name.find('!', 1);
            record.vip = mark != std::string::npos;
            record.name = record.vip ? name.substr(0, name.find('!')) : name;
            record.number = it.value().number.toStdString();
            model[it.key()] = record;
        }
        return model;
    }

    Model ModelOfList()
    {
        Model list;
        const DirTable& table = m_rig.Table();
        for (int slot = 0; slot < table.m_nCount; ++slot) {
            const DirEntry& e = table[slot];
            Check(!list.contains(e.m_nIndex), "two live entries share index " + std::to_string(e.m_nIndex));
            list[e.m_nIndex] = {e.m_strName, e.m_strNumber, e.m_strStatus == "!"};
        }
        return list;
    }

    void CheckListEqualsModel(const std::string& when)
    {
        const Model list = ModelOfList();
        bool same = list.size() == m_model.size();
        for (const auto& [index, r] : m_model) {
            const auto it = list.find(index);
            same = same && it != list.end() && PhoneName(it->second) == PhoneName(r) && it->second.number == r.number;
        }
        Check(same, "list and model differ " + when + "\n  list:  " + Describe(list) + "\n  model: " + Describe(m_model));
    }

    void CheckPhoneEqualsModel(const std::string& when)
    {
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        bool same = sim.entries.size() == qsizetype(m_model.size());
        for (const auto& [index, r] : m_model) {
            same = same && sim.entries.contains(index) && sim.entries.value(index).name == PhoneName(r) &&
                   sim.entries.value(index).number == QString::fromLatin1(r.number.c_str());
        }
        Check(same, "phone and list differ " + when + "\n  model: " + Describe(m_model));
    }

    // The records in which the phone differs from the model: what an exact save sends.
    int Differences() const
    {
        const EmulatorStorage sim = m_rig.PhoneStorage("SM");
        int differences = 0;
        for (const auto& [index, r] : m_model)
            differences += !sim.entries.contains(index) || sim.entries.value(index).name != PhoneName(r) ||
                           sim.entries.value(index).number != QString::fromLatin1(r.number.c_str());
        for (int index : sim.entries.keys()) differences += !m_model.contains(index);
        return differences;
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

    // What inserting into a telephone table makes of an entry: what the phone cannot hold removed, the name cut
    // to the limit of its encoding, the number to its length.
    static Intended Inserted(const DirEntry& entry)
    {
        return {TelephoneName::ForTelephone(entry.m_strName, g_limits), CutText(entry.m_strNumber, kNumberLen),
                entry.m_strStatus == "!"};
    }

    bool InsertChecked(int position, DirEntry entry)
    {
        const DirTable& table = m_rig.Table();
        const bool full = table.m_nCount >= kCapacity;
        const Intended expected = Inserted(entry);
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
        Check(placed.m_strName == expected.name && placed.m_strNumber == expected.number, "inserted texts differ");
        Check(!m_model.contains(placed.m_nIndex), "an insertion took a used index");
        m_model[placed.m_nIndex] = expected;
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
        InsertChecked(Random(0, m_rig.Table().m_nCount), RandomEntry(kNameLen));
    }

    int RandomSlot() { return Random(0, m_rig.Table().m_nCount - 1); }

    void Edit()
    {
        m_lastOp = "edit";
        if (m_rig.Table().m_nCount == 0) return;
        const int slot = RandomSlot();
        DirEntry edited = m_rig.Table()[slot];
        const int oldIndex = edited.m_nIndex;
        Intended record = m_model.at(oldIndex);
        const auto before = m_rig.Phone().Image(DIR_SIM).find(oldIndex);
        if (Chance(15) && before != m_rig.Phone().Image(DIR_SIM).end()) {
            m_lastOp = "edit back";
            // Back to what the phone holds: such an entry must not be sent again.
            edited.m_strName = before->second.m_strName;
            edited.m_strNumber = before->second.m_strNumber;
            edited.m_strStatus = before->second.m_strStatus;
        } else {
            // The entry dialog holds a name to what the telephone keeps of it, as it is typed.
            if (Chance(50)) edited.m_strName = TelephoneName::ForTelephone(RandomName(kNameLen), g_limits);
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
        record = {edited.m_strName, edited.m_strNumber, edited.m_strStatus == "!"};
        m_model[edited.m_nIndex] = record;
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
        const bool pending = !m_rig.Phone().PendingWrites(DIR_SIM).empty();
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
        Check(m_rig.Questions().Unanswered().empty(), "a question went unanswered");
        Check(m_rig.Host().m_nComboSelection == store.m_nCurDir, "the combo box shows " + std::to_string(m_rig.Host().m_nComboSelection) + ", the list " + std::to_string(store.m_nCurDir) + (modified ? " (modified" : " (") + (yes ? ", yes)" : ", no)"));
        if (store.m_nCurDir == DIR_SIM) {
            // The save asked for failed: the edits stay, and a save without faults writes them.
            Check(modified && yes, "the directory did not change");
            SaveWithoutFaults("the save after a failed directory change");
            return;
        }
        if (modified && yes) {
            Check(WritesLogged() - writesBefore == m_expectedWrites || m_faulted, "the save sent other records than changed");
            CheckPhoneEqualsModel("after the save before a directory change");
        }
        m_rig.Host().m_nComboSelection = DIR_SIM;
        m_rig.Phone().ChangeDirectory(DIR_SIM);
        Check(m_rig.WaitUntilIdle() && store.m_nCurDir == DIR_SIM, "the way back to the SIM directory failed");
        // An emptied directory is read again: its old deletions are gone, the list shows the phone.
        if (emptied) m_model = ModelOfPhone();
        else if (modified && !yes && pending)
            Check(store.HasFlag(VF_PHONE_MODIFIED), "unsaved changes shown again do not count as edited");
    }

    void ArmFaults()
    {
        m_expectedWrites = Differences();
        m_faulted = false;
        if (!Chance(40) || m_expectedWrites == 0) return;
        PhoneEmulatorOptions options = BaseOptions();
        if (Chance(50)) options.failWrite = Random(1, m_expectedWrites);
        else options.hangupAfter = Random(0, m_expectedWrites + 4);
        m_faulted = true;
        m_hungUp = options.hangupAfter > 0;
        Check(m_rig.RestartPhone(options), "the phone did not restart");
    }

    void Save()
    {
        m_lastOp = "save";
        ArmFaults();
        m_rig.Questions().Clear();
        const int writesBefore = WritesLogged();
        ++g_coverage.saves;
        g_coverage.writes += m_expectedWrites;
        if (m_rig.Save()) {
            Check(!m_rig.Store().HasFlag(VF_PHONE_MODIFIED), "a successful save left the edited mark");
            Check(WritesLogged() - writesBefore == m_expectedWrites || m_faulted, "the save sent other records than changed: " +
                  std::to_string(WritesLogged() - writesBefore) + " for " + std::to_string(m_expectedWrites));
            CheckPhoneEqualsModel("after a save");
            return;
        }
        Check(m_faulted || m_expectedWrites == 0, "a save without faults failed");
        ++g_coverage.failedSaves;
        if (m_expectedWrites == 0) return;
        Check(m_rig.Store().HasFlag(VF_PHONE_MODIFIED), "a failed save cleared the edited mark");
        CheckListEqualsModel("after a failed save");
        SaveWithoutFaults("the save after a failed one");
    }

    void SaveWithoutFaults(const std::string& what)
    {
        // A hang-up may have cut off the answer to a record the phone did store: that one record is sent again.
        const int uncertain = m_hungUp ? 1 : 0;
        m_faulted = m_hungUp = false;
        Check(m_rig.RestartPhone(BaseOptions()), "the phone did not restart");
        m_expectedWrites = Differences();
        const int writesBefore = WritesLogged();
        const bool saved = m_rig.Save();
        Check(saved || m_expectedWrites == 0, what + " failed");
        const int sent = WritesLogged() - writesBefore;
        Check(sent >= m_expectedWrites && sent <= m_expectedWrites + uncertain,
              what + " sent " + std::to_string(sent) + " records for " + std::to_string(m_expectedWrites) + " changed");
        CheckPhoneEqualsModel(what);
        CheckListEqualsModel(what);
    }

    std::mt19937_64 m_rng;
    PhoneLayerRig& m_rig;
    Model m_model;
    std::vector<DirEntry> m_clip;
    int m_expectedWrites = 0;
    bool m_faulted = false;
    bool m_hungUp = false;
    bool m_ucs2 = true;
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
    const uint64_t seed = ArgumentValue(args, QStringLiteral("--seed"), uint64_t(QDateTime::currentMSecsSinceEpoch()));
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
    std::printf("PASS: %d sequences, %d saves of %d changed records, %d of them failed by faults\n", sequences,
                g_coverage.saves, g_coverage.writes, g_coverage.failedSaves);
    return 0;
}
