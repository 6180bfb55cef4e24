// Random sequences of address-book work (adding, editing and deleting entries, vCard imports, saves, saves that
// fail, showing another folder with or without saving first, new distribution lists) run in a worker process
// on a real address-book file, through the address-book layer with the command-line host and questions. The
// test kills the worker with SIGKILL at random moments, mostly while a save runs. A simple model holds, per
// folder, the entries as last saved; after every restart the book holds exactly that, or, when the kill hit a
// save, exactly the state after that save: never a part of it, nothing lost, nothing twice.
//
//   test_book_random                      (TD_SEED=N replays seed N; TD_SEED=time draws a new one)
//   TD_BOOK_SEQUENCES=40 TD_BOOK_STEPS=80 test_book_random      runs longer
//
// The worker: test_book_random --worker FILE, one command per line on standard input (fields split by tabs).
#include "TestSeed.h"

#include "mapi/MapiCodes.h"
#include "mapi/MapiFaults.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "pab/AddressBook.h"
#include "pab/VCardFile.h"
#include "pab/VCardImport.h"
#include "pab/tools/CommandLineHost.h"
#include "pab/tools/CommandLineQuestions.h"
#include "res/StringTable.h"
#include "mapi/Mapi.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>

namespace {

// ---- The worker ----------------------------------------------------------------------------------------------

// Answers the question whether to save before another folder is shown as the command says, and gives the new
// folder's name; every other question as the address-book tool does.
class WorkerQuestions : public CommandLineQuestions {
public:
    bool AskYesNo(int messageId, const std::string& text) override
    {
        if (messageId == Ids::IDS_SAVE_AB_BEFORE_FOLDER) return m_bSaveFirst;
        return CommandLineQuestions::AskYesNo(messageId, text);
    }
    bool RunNameDialog(const std::string&, const std::string&, std::string& text) override
    {
        text = m_strFolderName;
        return !text.empty();
    }
    bool m_bSaveFirst = false;
    std::string m_strFolderName;
};

// Notes when a save, its writes ended, shows the folder read again.
class WorkerHost : public CommandLineHost {
public:
    void FillAbList(bool) override
    {
        if (m_saveClock && m_saveClock->isValid() && !m_nWritesEndedMicros)
            m_nWritesEndedMicros = m_saveClock->nsecsElapsed() / 1000;
    }
    const QElapsedTimer* m_saveClock = nullptr;
    qint64 m_nWritesEndedMicros = 0; // when the save's writes ended and the folder was read again
};

class Worker {
public:
    explicit Worker(const std::string& file) : m_book(m_store, m_questions, m_host)
    {
        MAPISetAddressBookFile(file);
        m_host.m_saveClock = &m_saveClock;
    }

    int Run()
    {
        if (!m_book.OpenAtStartUp() || m_host.EndedWith()) return Say("cannot open"), 2;
        DumpAllFolders();
        std::string line;
        while (std::getline(std::cin, line)) {
            const QStringList f = QString::fromStdString(line).split(QLatin1Char('\t'));
            if (!Execute(f)) return 0;
        }
        return 0;
    }

private:
    static void Say(const std::string& text)
    {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    int SlotNamed(const QString& name) const
    {
        for (int slot = 0; slot < m_store.m_abTable.m_nCount; ++slot)
            if (m_store.m_abTable[slot].m_strName == name.toStdString()) return slot;
        return -1;
    }

    void SayTable() const
    {
        for (int slot = 0; slot < m_store.m_abTable.m_nCount; ++slot) {
            const DirEntry& e = m_store.m_abTable[slot];
            Say("entry\t" + e.m_strName + "\t" + e.m_strNumber + "\t" + e.m_strStatus + "\t" + std::to_string(e.m_nIndex));
        }
    }

    void DumpAllFolders()
    {
        for (int item = 0; item < m_store.m_nFolderCount; ++item) {
            m_host.SelectFolderItem(item);
            m_book.ChangeFolder();
            Say("folder\t" + m_store.m_folders[static_cast<size_t>(item)].m_strName);
            SayTable();
        }
        m_host.SelectFolderItem(0);
        m_book.ChangeFolder();
        Say(m_host.EndedWith() ? "cannot read" : "ready");
    }

    int PendingCount() const
    {
        int pending = 0;
        for (int slot = 0; slot < kTableSlots; ++slot) {
            const int state = m_store.m_abTable[slot].m_nState;
            if (state == ENTRY_NEW || state == ENTRY_CHANGED || state == ENTRY_REMOVED) ++pending;
        }
        return pending;
    }

    // Carries out one command; false when the worker is to end.
    bool Execute(const QStringList& f)
    {
        EntryTableEditor editor(m_store, m_questions, m_host);
        const QString& command = f.value(0);
        if (command == QLatin1String("add") || command == QLatin1String("edit")) {
            const int at = command == QLatin1String("edit") ? 1 : 0;
            DirEntry entry;
            entry.m_strName = f.value(at + 1).toStdString();
            entry.m_strNumber = f.value(at + 2).toStdString();
            entry.m_strStatus = f.value(at + 3).toStdString();
            entry.m_nIndex = f.value(at + 4).toInt();
            if (at == 0) {
                Say(editor.InsertAbEntry(m_store.m_abTable.m_nCount, entry) ? "ok" : "refused");
                return true;
            }
            const int slot = SlotNamed(f.value(1));
            if (slot < 0) return Say("no entry " + f.value(1).toStdString()), true;
            DirEntry& edited = m_store.m_abTable[slot];
            entry.m_nState = edited.m_nState == ENTRY_NEW ? ENTRY_NEW : ENTRY_CHANGED;
            entry.m_strComment = edited.m_strComment;
            entry.m_cbEntryId = edited.m_cbEntryId;
            entry.m_pEntryId = edited.m_pEntryId;
            edited.m_strName = entry.m_strName;
            edited.m_strNumber = entry.m_strNumber;
            edited.m_strStatus = entry.m_strStatus;
            edited.m_nIndex = entry.m_nIndex;
            edited.m_nState = entry.m_nState;
            m_store.SetFlag(VF_AB_MODIFIED);
            Say("ok");
        } else if (command == QLatin1String("delete")) {
            const int slot = SlotNamed(f.value(1));
            Say(slot >= 0 && editor.RemoveAbEntry(slot) ? "ok" : "no entry " + f.value(1).toStdString());
        } else if (command == QLatin1String("import")) {
            VCardReadResult read;
            QString error;
            if (!VCardFile::Read(f.value(1), &read, &error)) return Say("unreadable " + error.toStdString()), true;
            std::vector<VCardImportItem> items = VCardImport::Entries(read, VCardNumberChoice::First, nullptr);
            Say("ok\t" + std::to_string(VCardImport::AddToAddressBook(items, m_store, m_questions, m_host, true).added));
        } else if (command == QLatin1String("save")) {
            Say("saving");
            m_host.m_nWritesEndedMicros = 0;
            m_saveClock.start();
            m_book.SaveAddressBook();
            m_saveClock.invalidate();
            if (m_host.EndedWith()) return Say("failed"), false;
            SayTable();
            Say("saved\t" + std::to_string(m_host.m_nWritesEndedMicros));
        } else if (command == QLatin1String("savefail")) {
            return SaveThatFails(f.value(1).toInt());
        } else if (command == QLatin1String("folder") || command == QLatin1String("newfolder")) {
            m_questions.m_bSaveFirst = f.value(2) == QLatin1String("yes");
            Say("saving");
            if (command == QLatin1String("newfolder")) {
                m_questions.m_strFolderName = f.value(1).toStdString();
                m_book.NewFolder();
            } else {
                int item = 0;
                while (item < m_store.m_nFolderCount && m_store.m_folders[static_cast<size_t>(item)].m_strName != f.value(1).toStdString())
                    ++item;
                m_host.SelectFolderItem(item);
                m_book.ChangeFolder();
            }
            if (m_host.EndedWith()) return Say("failed"), false;
            SayTable();
            Say("shown");
        } else {
            Say("unknown command " + command.toStdString());
        }
        return true;
    }

    // The save fails at its n-th write (modulo the writes it has): the book must stay as it was and every
    // change stay pending. The session is closed then, so the worker ends.
    bool SaveThatFails(int draw)
    {
        int writes = 0, deletions = 0;
        for (int slot = 0; slot < kTableSlots; ++slot) {
            const int state = m_store.m_abTable[slot].m_nState;
            if (state == ENTRY_NEW || state == ENTRY_CHANGED) ++writes;
            if (state == ENTRY_REMOVED && slot >= m_store.m_abTable.m_nCount) ++deletions;
        }
        if (writes + deletions == 0 || !m_store.HasFlag(VF_AB_MODIFIED)) return Say("nothing"), true;
        if (writes > 0) MapiFaults::Inject(MapiCall::SaveChanges, MAPI_E_DISK_ERROR, draw % writes);
        else MapiFaults::Inject(MapiCall::DeleteEntries, MAPI_E_DISK_ERROR, draw % deletions);
        const int before = PendingCount();
        m_book.SaveAddressBook();
        MapiFaults::Clear();
        Say("failed\t" + std::to_string(before) + "\t" + std::to_string(PendingCount()) + "\t" +
            (m_store.HasFlag(VF_AB_MODIFIED) ? "1" : "0") + "\t" + (m_host.EndedWith() ? "1" : "0"));
        return false;
    }

    EntryStore m_store;
    WorkerQuestions m_questions;
    WorkerHost m_host;
    AddressBook m_book;
    QElapsedTimer m_saveClock; // runs while a save command runs
};

// ---- The model -------------------------------------------------------------------------------------------------

struct ModelEntry {
    std::string number;
    bool vip = false;
    int index = 0;
    bool operator==(const ModelEntry&) const = default;
};
using ModelFolder = std::map<std::string, ModelEntry>;
using ModelBook = std::map<std::string, ModelFolder>; // folder name -> entries

std::string Describe(const ModelBook& book)
{
    std::string text;
    for (const auto& [folder, entries] : book) {
        text += "\n  [" + folder + "]";
        for (const auto& [name, e] : entries)
            text += " " + name + "=" + e.number + (e.vip ? "!" : "") + "#" + std::to_string(e.index) + ";";
    }
    return text;
}

class Failure : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The worker process seen from the test.
class WorkerProcess {
public:
    void Start(const QString& file)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(), {"--worker", file});
        if (!m_process.waitForStarted(30000)) throw Failure("the worker did not start");
        m_pending.clear();
    }
    void Send(const std::string& line)
    {
        m_process.write(QByteArray::fromStdString(line + "\n"));
        m_process.waitForBytesWritten(30000);
    }
    // The next line; nullopt when the worker ended without one.
    std::optional<std::string> Line(int timeoutMs = 30000)
    {
        for (;;) {
            const qsizetype end = m_pending.indexOf('\n');
            if (end >= 0) {
                const std::string line = m_pending.left(end).toStdString();
                m_pending.remove(0, end + 1);
                return line;
            }
            if (m_process.state() != QProcess::Running && m_process.bytesAvailable() == 0) return std::nullopt;
            if (!m_process.waitForReadyRead(timeoutMs) && m_process.state() == QProcess::Running)
                throw Failure("the worker did not answer");
            m_pending += m_process.readAllStandardOutput();
        }
    }
    std::string Expect(const std::string& prefix)
    {
        std::optional<std::string> line = Line();
        if (!line || line->rfind(prefix, 0) != 0) throw Failure("expected '" + prefix + "', the worker said '" + line.value_or("<ended>") + "'");
        return *line;
    }
    void Kill()
    {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
        m_process.waitForFinished(30000);
        m_pending += m_process.readAllStandardOutput();
    }
    void Finish()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(30000)) Kill();
    }
    bool SawLineStarting(const std::string& prefix) const
    {
        return m_pending.startsWith(QByteArray::fromStdString(prefix)) || m_pending.contains(QByteArray::fromStdString("\n" + prefix));
    }

private:
    QProcess m_process;
    QByteArray m_pending;
};

struct Totals {
    int sequences = 0, steps = 0, saves = 0, failedSaves = 0, kills = 0, killsInWrites = 0, foundBefore = 0,
        foundAfter = 0, imports = 0, newFolders = 0;
} g_totals;

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields;
    for (const QString& f : QString::fromStdString(line).split(QLatin1Char('\t'))) fields.push_back(f.toStdString());
    return fields;
}

class Sequence {
public:
    Sequence(quint64 seed, const QString& dir) : m_rng(seed), m_dir(dir), m_file(dir + "/pab.sqlite") {}

    void Run(int steps)
    {
        Restart({});
        for (m_step = 0; m_step < steps; ++m_step) {
            ++g_totals.steps;
            const int roll = Random(0, 99);
            static const char* const kOperations[] = {"add", "edit", "delete", "import", "save", "failing save",
                                                      "folder change", "new folder", "kill"};
            static const int kBounds[] = {28, 42, 52, 58, 74, 80, 88, 92, 100};
            m_operation = kOperations[std::upper_bound(std::begin(kBounds), std::end(kBounds), roll) - std::begin(kBounds)];
            if (roll < 28) Add();
            else if (roll < 42) Edit();
            else if (roll < 52) Delete();
            else if (roll < 58) Import();
            else if (roll < 74) Save();
            else if (roll < 80) FailingSave();
            else if (roll < 88) ShowFolder();
            else if (roll < 92) NewFolder();
            else KillIdle();
        }
        m_worker.Finish();
    }

    int Step() const { return m_step; }
    const char* Operation() const { return m_operation; }

private:
    int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool Chance(int percent) { return Random(0, 99) < percent; }

    std::string NewName()
    {
        static const char* const kNames[] = {"Anna", "Jörg Bäcker", "Łukasz Żak", "Иван Петров", "李小龍", "Åsa",
                                             "Ñandú", "Ωmega", "O'Brien", "Zoë-Lynn"};
        for (;;) {
            std::string name = std::string(kNames[Random(0, 9)]) + " " + std::to_string(Random(1, 99));
            if (!m_pending.count(name)) return name;
        }
    }
    std::string NewNumber() { return "+49" + std::to_string(Random(100000, 999999)) + std::to_string(Random(10, 99)); }
    int FreeIndex(const ModelFolder& folder, const std::set<int>& alsoTaken = {})
    {
        for (;;) {
            const int index = Random(1, 60);
            bool taken = alsoTaken.count(index) > 0;
            for (const auto& [name, e] : folder) taken = taken || e.index == index;
            if (!taken) return index;
        }
    }
    std::string AnyName()
    {
        auto it = m_pending.begin();
        std::advance(it, Random(0, int(m_pending.size()) - 1));
        return it->first;
    }

    void Add()
    {
        const std::string name = NewName();
        ModelEntry e{NewNumber(), Chance(30), FreeIndex(m_pending)};
        m_worker.Send("add\t" + name + "\t" + e.number + "\t" + (e.vip ? "!" : " ") + "\t" + std::to_string(e.index));
        m_worker.Expect("ok");
        m_pending[name] = e;
    }

    void Edit()
    {
        if (m_pending.empty()) return Add();
        const std::string old = AnyName();
        ModelEntry e = m_pending[old];
        ModelFolder others = m_pending;
        others.erase(old);
        const std::string name = Chance(40) ? NewName() : old;
        if (Chance(60)) e.number = NewNumber();
        if (Chance(30)) e.vip = !e.vip;
        if (Chance(30)) e.index = FreeIndex(others);
        m_worker.Send("edit\t" + old + "\t" + name + "\t" + e.number + "\t" + (e.vip ? "!" : " ") + "\t" + std::to_string(e.index));
        m_worker.Expect("ok");
        m_pending.erase(old);
        m_pending[name] = e;
    }

    void Delete()
    {
        if (m_pending.empty()) return Add();
        const std::string name = AnyName();
        m_worker.Send("delete\t" + name);
        m_worker.Expect("ok");
        m_pending.erase(name);
    }

    // A few cards with new names and free indices; sometimes one more with a name the folder has, which the
    // import leaves out.
    void Import()
    {
        ++g_totals.imports;
        QByteArray cards;
        std::set<int> indices;
        ModelFolder added;
        const int count = Random(1, 3);
        for (int i = 0; i < count; ++i) {
            std::string name;
            do name = NewName(); while (added.count(name));
            ModelEntry e{NewNumber(), Chance(30), FreeIndex(m_pending, indices)};
            indices.insert(e.index);
            added[name] = e;
            cards += Card(name, e);
        }
        if (!m_pending.empty() && Chance(40)) cards += Card(AnyName(), ModelEntry{NewNumber(), false, FreeIndex(m_pending, indices)});
        const QString path = m_dir + QStringLiteral("/import-%1.vcf").arg(m_step);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(cards) != cards.size()) throw Failure("cannot write the cards");
        file.close();
        m_worker.Send("import\t" + path.toStdString());
        const std::vector<std::string> answer = Split(m_worker.Expect("ok"));
        if (answer.size() < 2 || answer[1] != std::to_string(count))
            throw Failure("the import added " + answer.back() + " entries of " + std::to_string(count));
        m_pending.insert(added.begin(), added.end());
    }

    static QByteArray Card(const std::string& name, const ModelEntry& e)
    {
        return QByteArray::fromStdString("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:" + name + ";;;;\r\nTEL:" + e.number +
                                         "\r\nNOTE:" + (e.vip ? "VIP-Status" : "Standard-Status") + " - Index: " +
                                         std::to_string(e.index) + " \r\nEND:VCARD\r\n");
    }

    // The book after the pending changes of the folder shown are saved.
    ModelBook AfterSave() const
    {
        ModelBook after = m_saved;
        after[m_shown] = m_pending;
        return after;
    }

    // A write command; with a kill drawn, the worker dies at a random moment after it began. Returns false
    // when it was killed (the book has been checked and the worker restarted).
    bool RunWrite(const std::string& command, const std::vector<ModelBook>& outcomes, const char* finished)
    {
        const bool kill = Chance(35);
        m_worker.Send(command);
        m_worker.Expect("saving");
        if (!kill) {
            m_lastShown.clear();
            for (;;) {
                const std::vector<std::string> line = Split(m_worker.Expect(""));
                if (line[0] == finished) {
                    if (line[0] == std::string("saved") && line.size() > 1)
                        m_maxWriteMicros = std::max(m_maxWriteMicros, std::stoi(line[1]));
                    break;
                }
                if (line[0] != "entry" || line.size() != 5) throw Failure("the worker said '" + line[0] + "' during " + command);
                if (!m_lastShown.emplace(line[1], ModelEntry{line[2], line[3] == "!", std::stoi(line[4])}).second)
                    throw Failure("entry " + line[1] + " shown twice");
            }
            return true;
        }
        // Mostly inside the writes of a save (the longest seen so far), sometimes after them.
        const auto delay = std::chrono::microseconds(Random(0, m_maxWriteMicros + m_maxWriteMicros / 4 + 50));
        const auto until = std::chrono::steady_clock::now() + delay;
        while (std::chrono::steady_clock::now() < until) {
        }
        m_worker.Kill();
        ++g_totals.kills;
        ++g_totals.killsInWrites;
        // A save that reported its end must be in the book; otherwise the book holds one of the outcomes whole.
        std::vector<ModelBook> possible = outcomes;
        if (m_worker.SawLineStarting(finished)) possible.erase(possible.begin());
        Restart(possible);
        return false;
    }

    void Save()
    {
        ++g_totals.saves;
        if (RunWrite("save", {m_saved, AfterSave()}, "saved")) {
            m_saved = AfterSave();
            CheckShown("after the save");
        }
    }

    // A save that fails at one of its writes: nothing of it reaches the book, and its changes stay pending.
    void FailingSave()
    {
        m_worker.Send("savefail\t" + std::to_string(Random(0, 1000)));
        const std::vector<std::string> answer = Split(m_worker.Expect(""));
        if (answer[0] == "nothing") return;
        if (answer[0] != "failed" || answer.size() < 5) throw Failure("the failing save answered '" + answer[0] + "'");
        ++g_totals.failedSaves;
        if (answer[1] != answer[2] || answer[1] == "0")
            throw Failure("the failed save left " + answer[2] + " of " + answer[1] + " changes pending");
        if (answer[3] != "1" || answer[4] != "1") throw Failure("the failed save cleared the edited mark or went on");
        m_worker.Finish();
        Restart({m_saved});
    }

    std::string AnotherFolder()
    {
        std::vector<std::string> names;
        for (const auto& [name, entries] : m_saved)
            if (name != m_shown) names.push_back(name);
        return names.empty() ? m_shown : names[static_cast<size_t>(Random(0, int(names.size()) - 1))];
    }

    void ShowFolder()
    {
        const std::string folder = AnotherFolder();
        const bool saveFirst = Chance(50);
        const ModelBook after = saveFirst ? AfterSave() : m_saved;
        if (RunWrite("folder\t" + folder + "\t" + (saveFirst ? "yes" : "no"), {m_saved, after}, "shown")) {
            m_saved = after;
            m_shown = folder;
            m_pending = m_saved[m_shown];
            CheckShown("after showing the folder");
        }
    }

    void NewFolder()
    {
        ++g_totals.newFolders;
        std::string name;
        do name = "Liste " + std::to_string(Random(1, 999)) + (Chance(50) ? " Ärzte" : " 家族"); while (m_saved.count(name));
        const bool saveFirst = Chance(50);
        ModelBook saved = saveFirst ? AfterSave() : m_saved;
        ModelBook created = saved;
        created[name] = {};
        std::vector<ModelBook> outcomes = {m_saved, created};
        if (saveFirst) outcomes.push_back(saved);
        if (RunWrite("newfolder\t" + name + "\t" + (saveFirst ? "yes" : "no"), outcomes, "shown")) {
            m_saved = created;
            m_shown = name;
            m_pending = {};
            CheckShown("after creating the folder");
        }
    }

    void KillIdle()
    {
        m_worker.Kill();
        ++g_totals.kills;
        Restart({m_saved});
    }

    // The worker's table after a save or a folder change, which the worker printed: the folder as saved.
    void CheckShown(const char* when)
    {
        if (m_lastShown != m_saved[m_shown])
            throw Failure(std::string("the folder shown ") + when + " holds:" + Describe({{m_shown, m_lastShown}}) +
                          "\n expected:" + Describe({{m_shown, m_saved[m_shown]}}));
    }

    // Starts the worker on the book and compares every folder it reads with the possible states of the book.
    void Restart(const std::vector<ModelBook>& possible)
    {
        m_worker.Start(m_file);
        ModelBook found;
        std::string folder;
        for (;;) {
            const std::vector<std::string> line = Split(m_worker.Expect(""));
            if (line[0] == "ready") break;
            if (line[0] == "folder" && line.size() == 2) {
                folder = line[1];
                if (found.count(folder)) throw Failure("folder " + folder + " listed twice");
                found[folder];
            } else if (line[0] == "entry" && line.size() == 5) {
                if (found[folder].count(line[1])) throw Failure("entry " + line[1] + " twice in " + folder);
                found[folder][line[1]] = ModelEntry{line[2], line[3] == "!", std::stoi(line[4])};
            } else {
                throw Failure("the worker said '" + line[0] + "' while starting");
            }
        }
        if (m_mainFolder.empty()) { // the first start: an empty book
            m_mainFolder = found.begin()->first;
            m_saved = found;
        } else {
            size_t match = 0;
            while (match < possible.size() && possible[match] != found) ++match;
            if (match == possible.size()) {
                std::string expected;
                for (const ModelBook& book : possible) expected += "\n expected" + std::string(possible.size() > 1 ? " one of:" : ":") + Describe(book);
                throw Failure("the book after the restart holds:" + Describe(found) + expected);
            }
            if (possible.size() > 1) ++(match == 0 ? g_totals.foundBefore : g_totals.foundAfter);
            m_saved = found;
        }
        m_shown = m_mainFolder;
        m_pending = m_saved[m_shown];
    }

    std::mt19937_64 m_rng;
    QString m_dir;
    QString m_file;
    WorkerProcess m_worker;
    ModelBook m_saved;
    ModelFolder m_pending;
    ModelFolder m_lastShown; // the table the worker printed after its last write
    std::string m_shown;
    std::string m_mainFolder;
    int m_step = 0;
    const char* m_operation = "start";
    int m_maxWriteMicros = 500;
};

int EnvironmentNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}
}

class TestBookRandom : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveTheBookWholeBeforeOrAfter()
    {
        const quint64 seed = TestSeed();
        const int sequences = EnvironmentNumber("TD_BOOK_SEQUENCES", 16);
        const int steps = EnvironmentNumber("TD_BOOK_STEPS", 60);
        std::printf("seed %llu; replay with TD_SEED=%llu TD_BOOK_SEQUENCES=%d TD_BOOK_STEPS=%d test_book_random\n",
                    static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), sequences, steps);
        std::fflush(stdout);
        QElapsedTimer took;
        took.start();
        for (int s = 0; s < sequences; ++s) {
            QTemporaryDir dir;
            QVERIFY(dir.isValid());
            Sequence sequence(seed * 1000003u + quint64(s), dir.path());
            try {
                sequence.Run(steps);
            } catch (const Failure& failure) {
                QFAIL(qPrintable(QStringLiteral("seed %1, sequence %2, step %3 (%4): %5\nreplay with TD_SEED=%1")
                                     .arg(seed).arg(s).arg(sequence.Step()).arg(QLatin1String(sequence.Operation()),
                                                                               QString::fromStdString(failure.what()))));
            }
            ++g_totals.sequences;
        }
        std::printf("%d sequences, %d steps, %d saves, %d failed saves, %d imports, %d new folders, %d kills (%d in a "
                    "write: book found as before %d, as after %d), %.1f s\n",
                    g_totals.sequences, g_totals.steps, g_totals.saves, g_totals.failedSaves, g_totals.imports,
                    g_totals.newFolders, g_totals.kills, g_totals.killsInWrites, g_totals.foundBefore,
                    g_totals.foundAfter, double(took.elapsed()) / 1000.0);
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--worker") {
        QCoreApplication app(argc, argv);
        // The worker holds a whole entry store: too big for the stack.
        return std::make_unique<Worker>(argv[2])->Run();
    }
    QCoreApplication app(argc, argv);
    TestBookRandom test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestBookRandom.moc"
