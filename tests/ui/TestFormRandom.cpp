// Random sequences of what a user does with the SIM directory on the real form, against the phone emulator on a
// pseudo-terminal: new entries and edits through the entry dialog (with indices the index dialog has to settle),
// deletions with their question, copies from the address book through the preview row, saves by the save
// button (some with a refused write, a hang-up or an answer lost after the phone stored the record), and
// commands and the close box while a save runs. Lengths and UCS2 are drawn per sequence. A model says what the
// phone must hold: after every save that reports success the phone holds exactly that, every save sends only the
// records in which the phone differs (a failed one fewer) and none twice, and after a failed save a save without
// faults makes the phone equal to the model.
//
//   TD_SEED=N TD_FORM_SEQUENCES=M TD_FORM_STEPS=K test_form_random
//
// The seed is printed at the start; each sequence is a data row named after its own seed, and a failure names
// the step and the command that replays that sequence alone.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"
#include "PhoneModel.h"
#include "TestSeed.h"

#include "app/CMainFrame.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"

#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <random>
#include <set>
#include <stdexcept>
#include <tuple>

namespace {
constexpr int kCapacity = 12;
constexpr int kTableFull = 4 * 100000 + Ids::IDS_ERR_MAXIMUM_EXCEEDED;
constexpr int kWriteRefused = 3 * 100000 + Ids::IDS_ERR_PHONE_WRITE;
// Long enough that the checks made right after the save button see the telephone still writing.
constexpr int kSlowPhoneMs = 60;

int EnvNumber(const char* name, int fallback)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

class Failure : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(bool condition, const std::string& what)
{
    if (!condition) throw Failure(what);
}

std::string Text(const QString& text)
{
    return text.toStdString();
}

std::string Listed(const std::vector<int>& reports)
{
    std::string listed;
    for (int report : reports) listed += " " + std::to_string(report);
    return listed;
}

// Chooses the SIM directory in the combo box and waits for its read.
bool ShowSim(FormFixture& f)
{
    DirectoryCombo(f.View())->setCurrentIndex(DIR_SIM);
    emit DirectoryCombo(f.View())->activated(DIR_SIM);
    return f.WaitUntilIdle() && f.View()->Store().m_nCurDir == DIR_SIM;
}

class FormSequence {
public:
    FormSequence(uint64_t seed, FormFixture& form) : m_rng(seed), m_f(form) {}

    void Run(int steps)
    {
        Start();
        for (m_step = 0; m_step < steps; ++m_step) {
            m_f.Questions().Clear();
            RunOperation();
            CheckSettled("after " + m_lastOp);
        }
        m_lastOp = "the final save";
        SaveWithoutFaults("the final save");
    }

    std::string Where() const { return "step " + std::to_string(m_step) + " (" + m_lastOp + ")"; }
    std::string Coverage() const
    {
        return std::to_string(m_saves) + " saves, " + std::to_string(m_failedSaves) + " failed by faults, " +
               std::to_string(m_indexDialogs) + " index dialogs, " + std::to_string(m_busyRefusals) +
               " commands refused while writing";
    }

private:
    enum class Fault { None, Refused, HungUp, AnswerLost };

    int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool Chance(int percent) { return Random(1, 100) <= percent; }
    template <typename T>
    T Pick(const std::vector<T>& items) { return items[size_t(Random(0, int(items.size()) - 1))]; }

    std::string RandomName(int maxLen)
    {
        const auto& scripts = NameScripts();
        const auto& first = scripts[Chance(50) ? 0 : size_t(Random(0, int(scripts.size()) - 1))];
        const auto& second = Pick(scripts);
        std::string name = "N";
        for (int i = Random(0, maxLen - 2); i > 0; --i) name += Pick(Chance(80) ? first : second);
        return name + (Chance(70) ? "x" : "");
    }
    std::string RandomNumber()
    {
        std::string number;
        for (int i = Random(1, m_numberLen - 1); i > 0; --i) number += "0123456789*#?"[Random(0, 12)];
        return Chance(30) ? "+" + number : number;
    }

    CDlgView* View() const { return m_f.View(); }
    DirTable& Table() const { return View()->Store().CurrentPhoneTable(); }
    std::string Status() const { return Text(m_f.Frame()->MessageText()); }
    static std::string Said(int id) { return StringTable::LoadString(id); }

    // The phone of the sequence: a SIM of its own lengths, the address book a few users with indices.
    void Start()
    {
        static const std::vector<int> kNameLengths = {10, 12, 16, 20};
        static const std::vector<int> kNumberLengths = {20, 24, 32};
        m_nameLen = Pick(kNameLengths);
        m_numberLen = Pick(kNumberLengths);
        const bool ucs2 = Chance(50);
        m_limits = {m_nameLen, ucs2 ? (m_nameLen - 1) / 2 : 0};
        EmulatorState state = EmulatorState::blank();
        EmulatorStorage* sim = state.storage(QStringLiteral("SM"));
        sim->capacity = kCapacity;
        sim->nameLength = m_nameLen;
        sim->numberLength = m_numberLen;
        for (int i = Random(0, 8); i > 0; --i) {
            const std::string name = TelephoneName::ForTelephone(RandomName(m_nameLen + 4), m_limits);
            sim->entries.insert(Random(1, kCapacity), {QString::fromStdString(TelephoneName::AsSent(name, Chance(20), m_limits)),
                                                       QString::fromStdString(RandomNumber())});
        }
        state.storage(QStringLiteral("ME"))->entries.insert(1, {"Mobile", "1"});
        m_f.SetPhoneState(state);
        m_f.PhoneOptions().identity.ucs2 = ucs2;
        m_base = m_f.PhoneOptions();
        SeedBook();
        m_f.Start();
        Check(!QTest::currentTestFailed() && m_f.WaitUntilIdle(), "the form did not start");
        Check(ShowSim(m_f), "the SIM directory was not read");
        Check(View()->Store().m_nNameLen == m_nameLen && View()->Store().m_nNumberLen == m_numberLen &&
                  View()->Store().m_nUcs2NameLen == m_limits.m_nUcs2Len,
              "the SIM's lengths were read wrong");
        m_model = ModelOfPhone();
        CheckSettled("after the read");
    }

    void SeedBook()
    {
        PabSeeder pab(m_f.PabPath().toStdString());
        Check(pab.Ok(), "the address book could not be prepared");
        for (int i = Random(1, 4); i > 0; --i) {
            std::string number = RandomNumber();
            if (Chance(30)) number.insert(size_t(Random(1, int(number.size()))), " ");
            pab.AddUser(RandomName(24), number, std::string(Chance(25) ? "VIP-Status" : "Standard-Status") +
                                                    " - Index: " + std::to_string(Random(1, kCapacity + 3)) + " ");
        }
    }

    void RunOperation()
    {
        const int pick = Random(1, 100);
        if (pick <= 22) Add();
        else if (pick <= 44) Edit();
        else if (pick <= 58) Delete();
        else if (pick <= 68) CopyFromBook();
        else if (pick <= 90) Save();
        else WorkWhileWriting();
    }

    // ---- the model and the phone

    PhoneModel ModelOfPhone() const
    {
        PhoneModel model;
        const auto entries = m_f.Phone().state().storage(QStringLiteral("SM"))->entries;
        for (auto it = entries.begin(); it != entries.end(); ++it)
            model[it.key()] = {Text(it.value().name), Text(it.value().number)};
        return model;
    }

    // The records in which the phone differs from the model: what an exact save sends.
    int Differences() const
    {
        const PhoneModel phone = ModelOfPhone();
        int differences = 0;
        for (const auto& [index, r] : m_model) differences += !phone.contains(index) || !(phone.at(index) == r);
        for (const auto& [index, r] : phone) differences += !m_model.contains(index);
        return differences;
    }

    bool IsFree(int index) const { return index >= 1 && index <= kCapacity && !m_model.contains(index); }
    std::vector<int> FreeIndices() const
    {
        std::vector<int> free;
        for (int index = 1; index <= kCapacity; ++index)
            if (IsFree(index)) free.push_back(index);
        return free;
    }
    int LowestFree() const { return FreeIndices().empty() ? kCapacity + 1 : FreeIndices().front(); }
    bool Full() const { return int(m_model.size()) >= kCapacity; }

    // The table and the list show the model, and the script and the form agree on every question.
    void CheckSettled(const std::string& when)
    {
        const DirTable& table = Table();
        PhoneModel list;
        for (int slot = 0; slot < table.m_nCount; ++slot) {
            Check(!list.contains(table[slot].m_nIndex), "two live entries share index " + std::to_string(table[slot].m_nIndex));
            list[table[slot].m_nIndex] = IntendedOf(table[slot], m_limits);
        }
        Check(list == m_model, "table and model differ " + when + "\n  table: " + Describe(list) + "\n  model: " + Describe(m_model));
        std::set<int> shown;
        for (int row = 0; row < PhoneList(View())->topLevelItemCount(); ++row)
            shown.insert(PhoneList(View())->topLevelItem(row)->text(2).toInt());
        std::set<int> modelled;
        for (const auto& [index, r] : m_model) modelled.insert(index);
        Check(shown == modelled && PhoneList(View())->topLevelItemCount() == table.m_nCount, "the list does not show the table " + when);
        std::string open;
        for (const std::string& item : m_f.Questions().LeftOpen()) open += item + "; ";
        Check(open.empty(), "questions left open " + when + ": " + open);
    }

    void CheckPhoneEqualsModel(const std::string& when)
    {
        Check(ModelOfPhone() == m_model, "phone and model differ " + when + "\n  model: " + Describe(m_model) +
                                             "\n  phone: " + Describe(ModelOfPhone()));
    }

    // The indices written since the log held `before` writes; no save may send one record twice.
    std::vector<int> WritesSince(int before) const
    {
        const QRegularExpression write(QStringLiteral("AT\\+CPBW=(\\d+)"));
        std::vector<int> indices;
        int seen = 0;
        for (auto it = write.globalMatch(m_f.PhoneLog()); it.hasNext(); ++seen) {
            const int index = it.next().captured(1).toInt();
            if (seen >= before) indices.push_back(index);
        }
        Check(std::set<int>(indices.begin(), indices.end()).size() == indices.size(), "a save sent one record twice");
        return indices;
    }
    int WritesLogged() const { return int(m_f.PhoneLog().count(QRegularExpression(QStringLiteral("AT\\+CPBW=")))); }

    // Stops the phone and starts it again over its state with other options, and points the link at it.
    void RestartPhone(const PhoneEmulatorOptions& options)
    {
        m_f.PhoneOptions() = options;
        m_f.RestartPhone();
        Check(!QTest::currentTestFailed(), "the phone did not restart");
    }

    // ---- the user's operations

    void ClickRow(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTreeWidgetItem* item = list->topLevelItem(row);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
    }
    int RandomRow(QTreeWidget* list) { return Random(0, list->topLevelItemCount() - 1); }

    // Makes the telephone list the active one: a click on a row, or on the empty list.
    void ActivatePhoneList()
    {
        QTreeWidget* list = PhoneList(View());
        if (list->topLevelItemCount() > 0) ClickRow(list, RandomRow(list));
        else QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        Check(View()->Store().m_nActiveList == LIST_PHONE, "a click did not make the telephone list active");
    }

    int SlotOfIndex(int index) const
    {
        for (int slot = 0; slot < Table().m_nCount; ++slot)
            if (Table()[slot].m_nIndex == index) return slot;
        return -1;
    }
    // The one live entry at an index the model does not know: what an insertion added.
    const DirEntry& AddedEntry() const
    {
        const DirEntry* added = nullptr;
        for (int slot = 0; slot < Table().m_nCount; ++slot) {
            if (m_model.contains(Table()[slot].m_nIndex)) continue;
            Check(!added, "an insertion added two entries");
            added = &Table()[slot];
        }
        Check(added != nullptr, "nothing was inserted into a table with room");
        return *added;
    }

    // The proposal of the index dialog that was shown (the lowest free index), counted.
    int IndexDialogProposal(bool shown)
    {
        const auto& dialogs = m_f.Questions().IndexDialogsShown();
        Check(dialogs.size() == (shown ? 1u : 0u), shown ? "the index dialog was not shown" : "an index dialog was shown");
        if (!shown) return 0;
        ++m_indexDialogs;
        Check(dialogs.back().m_nChosenIndex == LowestFree(), "the index dialog proposed " +
                                                                 std::to_string(dialogs.back().m_nChosenIndex) + ", not the lowest free index");
        return dialogs.back().m_nChosenIndex;
    }

    // Reports the table-full refusal when the table was full; true when it was.
    bool RefusedAsFull(int countBefore)
    {
        if (!Full()) return false;
        Check(m_f.Questions().TakeReports() == std::vector<int>{kTableFull}, "no report of the full table");
        Check(Table().m_nCount == countBefore, "an entry went into a full table");
        return true;
    }

    // A new entry by the entry dialog: an index typed free, taken or impossible (the index dialog settles it by
    // its proposal or by an index typed over it), or the proposal left as it stands.
    void Add()
    {
        m_lastOp = "add";
        ActivatePhoneList();
        std::optional<int> typedIndex;
        const int kind = Random(1, 100);
        if (kind <= 40 && !FreeIndices().empty()) typedIndex = Pick(FreeIndices());
        else if (kind <= 70 && !m_model.empty()) typedIndex = std::next(m_model.begin(), Random(0, int(m_model.size()) - 1))->first;
        else if (kind <= 85) typedIndex = Chance(50) ? 0 : Random(kCapacity + 1, kCapacity + 5);
        const std::string name = RandomName(m_nameLen + 6);
        const std::string number = RandomNumber();
        const std::string status = Chance(25) ? "!" : (Chance(50) ? " " : "");
        auto proposal = std::make_shared<std::string>();
        m_f.Questions().AnswerEntry([=](EntryDialogData& d) {
            *proposal = d.m_szIndex;
            d.m_szName = name;
            d.m_szNumber = number;
            d.m_szStatus = status;
            if (typedIndex) d.m_szIndex = std::to_string(*typedIndex);
            return true;
        });
        const bool asked = !Full() && typedIndex && !IsFree(*typedIndex);
        const bool keep = Chance(50);
        const int typedInDialog = Random(0, kCapacity + 2);
        if (asked) m_f.Questions().AnswerIndex(keep ? ScriptedQuestions::KeepProposal() : ScriptedQuestions::TypeIndex(typedInDialog));
        const int countBefore = Table().m_nCount;
        Check(m_f.Frame()->ExecuteCommand(ID_ADD_ENTRY), "Add Entry was disabled");
        if (RefusedAsFull(countBefore)) return;
        Check(*proposal == std::to_string(LowestFree()), "the entry dialog proposed index " + *proposal);
        const int shownProposal = IndexDialogProposal(asked);
        const int expectedIndex = !asked ? (typedIndex ? *typedIndex : LowestFree())
                                         : (keep || !IsFree(typedInDialog) ? shownProposal : typedInDialog);
        const DirEntry& added = AddedEntry();
        Check(added.m_nIndex == expectedIndex, "the new entry took index " + std::to_string(added.m_nIndex) + " for " +
                                                   std::to_string(expectedIndex));
        Check(added.m_strName == TelephoneName::ForTelephone(name, m_limits) && added.m_strNumber == number &&
                  added.m_strStatus == (status == "!" ? "!" : " "),
              "the new entry holds other texts than typed");
        const QList<QTreeWidgetItem*> selected = PhoneList(View())->selectedItems();
        Check(selected.size() == 1 && selected[0]->text(2).toInt() == expectedIndex, "the new entry is not selected");
        m_model[added.m_nIndex] = IntendedOf(added, m_limits);
    }

    // An edit by the entry dialog: new texts, a VIP mark switched, an index settled by the index dialog, the
    // texts the list shows of the phone's record typed back (nothing to send for the entry read from it), or
    // the dialog cancelled.
    void Edit()
    {
        m_lastOp = "edit";
        if (m_model.empty()) return Add();
        QTreeWidget* list = PhoneList(View());
        ClickRow(list, RandomRow(list));
        const int oldIndex = list->selectedItems().value(0)->text(2).toInt();
        const DirEntry before = Table()[SlotOfIndex(oldIndex)];
        const PhoneModel phone = ModelOfPhone();
        std::optional<std::string> name, number, status;
        std::optional<int> typedIndex;
        const bool cancel = Chance(8);
        if (Chance(15) && phone.contains(oldIndex)) {
            m_lastOp = "edit back";
            const Shown held = ShownOf(phone.at(oldIndex).name, phone.at(oldIndex).number);
            name = held.name;
            number = held.number;
            status = held.vip ? "!" : " ";
        } else {
            // The entry dialog holds a name to what the telephone keeps of it, as it is typed.
            if (Chance(50)) name = TelephoneName::ForTelephone(RandomName(m_nameLen), m_limits);
            if (Chance(40)) number = RandomNumber();
            if (Chance(25)) status = before.m_strStatus == "!" ? " " : "!";
            if (Chance(30)) typedIndex = Random(1, kCapacity + 2);
        }
        m_f.Questions().AnswerEntry([=](EntryDialogData& d) {
            if (name) d.m_szName = *name;
            if (number) d.m_szNumber = *number;
            if (status) d.m_szStatus = *status;
            if (typedIndex) d.m_szIndex = std::to_string(*typedIndex);
            return !cancel;
        });
        const bool asked = !cancel && typedIndex && *typedIndex != oldIndex && !IsFree(*typedIndex);
        const int answer = FreeIndices().empty() ? 3 : Random(1, 3);
        const int typedInDialog = FreeIndices().empty() ? 0 : Pick(FreeIndices());
        if (asked)
            m_f.Questions().AnswerIndex(answer == 1 ? ScriptedQuestions::KeepProposal()
                                        : answer == 2 ? ScriptedQuestions::TypeIndex(typedInDialog)
                                                      : ScriptedQuestions::CancelIndex());
        Check(m_f.Frame()->ExecuteCommand(ID_EDIT_ENTRY), "Edit Entry was disabled");
        if (cancel) return;
        const int shownProposal = IndexDialogProposal(asked);
        const int newIndex = !typedIndex ? oldIndex
                             : !asked    ? *typedIndex
                                         : (answer == 1 ? shownProposal : answer == 2 ? typedInDialog : oldIndex);
        const int slot = SlotOfIndex(newIndex);
        Check(slot >= 0, "the edited entry is not at index " + std::to_string(newIndex));
        const DirEntry& edited = Table()[slot];
        Check(edited.m_strName == name.value_or(before.m_strName) && edited.m_strNumber == number.value_or(before.m_strNumber) &&
                  edited.m_strStatus == status.value_or(before.m_strStatus),
              "the edited entry holds other texts than typed");
        m_model.erase(oldIndex);
        m_model[newIndex] = IntendedOf(edited, m_limits);
    }

    // Rows chosen by clicks (Ctrl for more than one), deleted by the Delete key after the question.
    void Delete()
    {
        m_lastOp = "delete";
        QTreeWidget* list = PhoneList(View());
        if (list->topLevelItemCount() == 0) return;
        ClickRow(list, RandomRow(list));
        for (int more = Random(0, 2); more > 0; --more) {
            const int row = RandomRow(list);
            if (!list->topLevelItem(row)->isSelected()) ClickRow(list, row, Qt::ControlModifier);
        }
        std::vector<int> indices;
        for (const QTreeWidgetItem* item : list->selectedItems()) indices.push_back(item->text(2).toInt());
        const bool yes = Chance(85);
        m_f.Questions().AnswerYesNo(indices.size() == 1 ? Ids::IDS_DELETE_ONE : Ids::IDS_DELETE_MANY, yes);
        QTest::keyClick(list, Qt::Key_Delete);
        if (!yes) {
            Check(Status() == Said(Ids::IDS_ACTION_ABORTED), "a deletion answered No did not say so");
            return;
        }
        for (int index : indices) m_model.erase(index);
    }

    // An address-book row clicked: its copy in the preview row goes to the telephone by the transfer button.
    void CopyFromBook()
    {
        m_lastOp = "copy from the address book";
        QTreeWidget* book = AbList(View());
        if (book->topLevelItemCount() == 0) return;
        ClickRow(book, RandomRow(book));
        Check(ToPhoneButton(View())->isEnabled(), "the transfer to the telephone is disabled");
        std::string name = Text(PreviewName(View())->text());
        TrimTrailingBlanks(name);
        const std::string number = Text(PreviewNumber(View())->text());
        const int index = PreviewIndex(View())->text().toInt();
        const bool vip = PreviewStatus(View())->text() == QStringLiteral("!");
        const bool asked = !Full() && !IsFree(index);
        if (asked) m_f.Questions().AnswerIndex(ScriptedQuestions::KeepProposal());
        const int countBefore = Table().m_nCount;
        QTest::mouseClick(ToPhoneButton(View()), Qt::LeftButton);
        if (RefusedAsFull(countBefore)) return;
        const int shownProposal = IndexDialogProposal(asked);
        const DirEntry& added = AddedEntry();
        Check(added.m_nIndex == (asked ? shownProposal : index), "the copy took index " + std::to_string(added.m_nIndex));
        Check(added.m_strName == TelephoneName::ForTelephone(name, m_limits) && added.m_strNumber == number &&
                  (added.m_strStatus == "!") == vip,
              "the copy holds other texts than the preview row showed");
        m_model[added.m_nIndex] = IntendedOf(added, m_limits);
    }

    // ---- saving

    // Restarts the phone with a fault on the next save, or none: a refused write, a line dropped in the middle
    // of any answer, or the answer to a stored write lost.
    void ArmFault()
    {
        m_expected = Differences();
        m_fault = Fault::None;
        if (!Chance(50) || m_expected == 0) return;
        PhoneEmulatorOptions options = m_base;
        switch (Random(1, 3)) {
        case 1:
            m_fault = Fault::Refused;
            m_faultAt = options.failWrite = Random(1, m_expected);
            break;
        case 2:
            m_fault = Fault::HungUp;
            options.hangupAfter = Random(0, m_expected + 6);
            break;
        default:
            m_fault = Fault::AnswerLost;
            m_faultAt = options.dropWriteAnswer = Random(1, m_expected);
        }
        RestartPhone(options);
    }

    void ClickSave()
    {
        QTest::mouseClick(SaveToPhoneButton(View()), Qt::LeftButton);
    }

    void Save()
    {
        m_lastOp = "save";
        ArmFault();
        const int writesBefore = WritesLogged();
        ClickSave();
        Check(m_f.WaitUntilIdle(), "the save did not end");
        SaveEnded(writesBefore);
    }

    // Checks a save that ended, with the fault placed on it; a failed one is retried without faults after a
    // few edits.
    void SaveEnded(int writesBefore)
    {
        ++m_saves;
        const std::string status = Status();
        const int sent = int(WritesSince(writesBefore).size());
        const Fault fault = m_fault;
        m_fault = Fault::None;
        const std::vector<int> reports = m_f.Questions().TakeReports();
        if (fault != Fault::None) RestartPhone(m_base);
        if (status == Said(Ids::IDS_ACTION_SUCCESSFUL) || status == Said(Ids::IDS_NO_DATA_FOR_WRITING)) {
            Check(fault == Fault::None || fault == Fault::HungUp, "a save with a fault on its records succeeded");
            Check(reports.empty(), "a successful save reported" + Listed(reports));
            Check(!View()->Store().HasFlag(VF_PHONE_MODIFIED), "a successful save left the edited mark");
            Check(sent == m_expected, "the save sent " + std::to_string(sent) + " records for " + std::to_string(m_expected) + " changed");
            Check((m_expected > 0) == (status == Said(Ids::IDS_ACTION_SUCCESSFUL)), "the save said \"" + status + "\" after " +
                                                                                     std::to_string(sent) + " records");
            CheckPhoneEqualsModel("after a save");
            return;
        }
        Check(fault != Fault::None, "a save without faults failed: " + status);
        ++m_failedSaves;
        Check(!reports.empty(), "a failed save reported nothing");
        Check(View()->Store().HasFlag(VF_PHONE_MODIFIED), "a failed save cleared the edited mark");
        if (fault == Fault::Refused) Check(reports == std::vector<int>{kWriteRefused}, "a refused write was reported as" + Listed(reports));
        if (fault == Fault::HungUp) Check(sent <= m_expected, "a hung-up save sent more records than changed");
        else Check(sent == m_faultAt, "a save failing at write " + std::to_string(m_faultAt) + " sent " + std::to_string(sent));
        CheckSettled("after a failed save");
        for (int n = Random(0, 2); n > 0; --n) {
            const int pick = Random(1, 3);
            m_f.Questions().Clear();
            pick == 1 ? Add() : pick == 2 ? Edit() : Delete();
            CheckSettled("after " + m_lastOp + " following a failed save");
        }
        SaveWithoutFaults("the save after a failed one");
    }

    void SaveWithoutFaults(const std::string& what)
    {
        m_expected = Differences();
        const int writesBefore = WritesLogged();
        ClickSave();
        Check(m_f.WaitUntilIdle(), what + " did not end");
        const std::string status = Status();
        Check(status == Said(m_expected > 0 ? Ids::IDS_ACTION_SUCCESSFUL : Ids::IDS_NO_DATA_FOR_WRITING), what + " said \"" + status + "\"");
        const int sent = int(WritesSince(writesBefore).size());
        Check(sent == m_expected, what + " sent " + std::to_string(sent) + " records for " + std::to_string(m_expected) + " changed");
        CheckPhoneEqualsModel(what);
        CheckSettled(what);
    }

    // A save on a slow phone, and meanwhile a deletion, an edit or the close box: each refused with the busy
    // status, asking nothing and changing nothing; the save then writes the model.
    void WorkWhileWriting()
    {
        m_expected = Differences();
        if (m_expected == 0) return Save();
        PhoneEmulatorOptions slow = m_base;
        slow.latencyMs = kSlowPhoneMs;
        RestartPhone(slow);
        const int writesBefore = WritesLogged();
        const int countBefore = Table().m_nCount;
        ClickSave();
        Check(View()->Store().HasFlag(VF_BUSY), "the save ended before the check");
        QTreeWidget* list = PhoneList(View());
        const int what = Random(1, 3);
        if (what == 1) {
            m_lastOp = "delete while writing";
            ActivatePhoneList();
            QTest::keyClick(list, Qt::Key_Delete);
            View()->Commands().OnDeleteEntries();
        } else if (what == 2) {
            m_lastOp = "edit while writing";
            ActivatePhoneList();
            View()->Commands().OnEditEntry();
        } else {
            m_lastOp = "close box while writing";
            Check(!m_f.Frame()->close() && m_f.Frame()->isVisible(), "the close box ended the program while writing");
        }
        Check(View()->Store().HasFlag(VF_BUSY), "the save ended before the check");
        ++m_busyRefusals;
        Check(Status() == Said(Ids::IDS_PHONE_BUSY), "the command was not refused as busy: \"" + Status() + "\"");
        Check(m_f.Questions().AskedSoFar().empty(), "a command refused while writing asked a question");
        Check(Table().m_nCount == countBefore, "a command refused while writing changed the table");
        Check(m_f.WaitUntilIdle(), "the save did not end");
        Check(m_f.EndedWith().empty() && m_f.Frame()->isVisible(), "the program ended after a refused close");
        SaveEnded(writesBefore);
        RestartPhone(m_base);
    }

    std::mt19937_64 m_rng;
    FormFixture& m_f;
    PhoneEmulatorOptions m_base;
    PhoneModel m_model;
    TelephoneNameLimits m_limits;
    int m_nameLen = 16;
    int m_numberLen = 20;
    int m_expected = 0;
    Fault m_fault = Fault::None;
    int m_faultAt = 0;
    int m_step = -1;
    std::string m_lastOp = "start";
    int m_saves = 0;
    int m_failedSaves = 0;
    int m_indexDialogs = 0;
    int m_busyRefusals = 0;
};
}

class TestFormRandom : public FormTestCase {
    Q_OBJECT
private slots:
    void randomSequences_data()
    {
        const quint64 seed = TestSeed();
        const int sequences = EnvNumber("TD_FORM_SEQUENCES", 24);
        qInfo("seed %llu (replay: TD_SEED=%llu TD_FORM_SEQUENCES=%d TD_FORM_STEPS=%d test_form_random)",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), sequences,
              EnvNumber("TD_FORM_STEPS", kDefaultSteps));
        QTest::addColumn<quint64>("seed");
        for (int s = 0; s < sequences; ++s) QTest::addRow("seed %llu", static_cast<unsigned long long>(seed + quint64(s))) << seed + quint64(s);
    }

    void randomSequences()
    {
        QFETCH(quint64, seed);
        const int steps = EnvNumber("TD_FORM_STEPS", kDefaultSteps);
        FormSequence sequence(seed, NewForm());
        try {
            sequence.Run(steps);
        } catch (const Failure& failure) {
            QFAIL(qPrintable(QStringLiteral("%1: %2\nReplay: TD_SEED=%3 TD_FORM_SEQUENCES=1 TD_FORM_STEPS=%4 test_form_random")
                                 .arg(QString::fromStdString(sequence.Where()), QString::fromStdString(failure.what()))
                                 .arg(seed)
                                 .arg(steps)));
        }
        qInfo("%s", sequence.Coverage().c_str());
    }

private:
    static constexpr int kDefaultSteps = 15;
};

QTEST_MAIN(TestFormRandom)
#include "TestFormRandom.moc"
