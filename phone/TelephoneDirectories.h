#pragma once
// The telephone's seven directories: the automatic read sequence, reading, writing back exactly what changed,
// and the busy state of a telephone operation. It works on the directory tables of the entry store and talks
// to the telephone through the link library, whose end messages it receives itself; the window that shows the
// directories is reached only through ITelephoneHost and the question seam.
#include "link/DirectoryBackup.h"
#include "model/DirTable.h"
#include "model/Directories.h"
#include "model/IStatusLine.h"
#include "phone/PhoneImage.h"
#include "phone/PhoneWrite.h"
#include "phone/WritePlanner.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

struct EntryStore;
class IQuestions;
class ITelephoneHost;

class TelephoneDirectories : public QObject, private IStatusLine {
    Q_OBJECT
public:
    TelephoneDirectories(EntryStore& store, IQuestions& questions, ITelephoneHost& host);

    // Shows directory n, reading it first when its table is empty (the automatic sequence may read another).
    void ReadDirectory(int directory);
    void OnPhonebookRead(intptr_t wParam, intptr_t lParam);
    // The user chose another directory in the combo box: asks about unsaved changes first.
    void ChangeDirectory(int directory);

    // Talks to another telephone from now on (device, or the built-in phone emulator when empty): what was read
    // from the old one is forgotten and the shown directory is read from the new one. Asks first when any
    // directory holds changes not yet written; false when nothing changed (busy, declined, or the new
    // telephone could not be made ready, which is reported).
    bool ChangeTelephone(const std::string& device);
    // True when a save of some directory would still send something, or must first find out what the
    // telephone holds after a write whose answer never came.
    bool HasUnsavedChanges() const;

    // Starts saving what the current directory's table changed; false when nothing was sent. Records whose
    // state on the telephone is unknown are read again first, and slots believed empty are checked before
    // anything is written into them; both read the affected spans only.
    bool WriteDirectory();
    void OnPhonebookWritten(intptr_t wParam, intptr_t lParam);
    void OnSpanRead(intptr_t wParam, intptr_t lParam);

    // Makes the backup's directory on the telephone hold exactly the backup's records: reads the directory
    // afresh, checks every record against its limits before the first write, keeps the directory as it was in
    // the backup folder, writes, and when the telephone refuses a record puts back what was overwritten. Drops
    // the directory's unsaved changes (the caller asked). False when nothing started (reported).
    bool RestoreBackup(const QString& backupPath);

    // True (after saying so in the status bar) while the telephone works: its tables may not change then.
    bool RefuseWhileBusy();
    bool IsBusy() const;
    bool IsWriting() const { return m_nWriteDir >= 0; }

    // The table operations on the current directory (the index rules of the entry table editor).
    bool InsertEntry(int position, DirEntry& entry);
    bool RemoveEntry(int position);
    // Gives the live entry in the slot the edited texts and index; false when the slot holds no live entry.
    bool ApplyEdit(int slot, const DirEntry& edited);

    // What a save of the directory would send now, in order.
    std::vector<PhoneWrite> PendingWrites(int directory) const;
    // Live entries of a table (its count, clamped to the slots).
    static int LiveCount(const DirTable& table);
    // What the telephone holds in the directory, as last read or written.
    const PhoneImage& Image(int directory) const { return m_images[static_cast<size_t>(directory)]; }
    // Indices whose records the telephone may or may not hold: a write to them went out unanswered.
    const std::set<int>& Unknown(int directory) const { return m_unknown[static_cast<size_t>(directory)]; }

protected:
    bool event(QEvent* event) override;

private:
    // The entry table editor reports a full table in the status line.
    void SetStatusText(const std::string& text) override;
    DirTable& Table(int directory);
    static bool CanWrite(int directory);
    bool HasPending(int directory) const;
    void StartRead(int directory);
    // Marks the directory's entries against the telephone and says that nothing was left to write; false
    // (after saying why) when edits were held back.
    bool NothingToWrite(int directory);
    void SetBusy();
    void EndBusyState();
    void ShowProgress(int recordsRead, int recordsExpected);
    // "Reading SIM directory...": the directory by its name in the directory combo box.
    static QString ReadingText(int directory);
    void ReadFailed(intptr_t lParam);
    // The steps of a save: reading spans again or checking them, then the writes.
    enum class SaveStep { Rereading, Checking, Writing };
    enum class SaveEnd { Written, NothingToWrite, Failed, PhoneChanged, NotStarted };
    bool StartSave(int directory);
    bool PlanSave(int directory);
    bool StartWrites(int directory);
    void ReadSpans(SaveStep step, const std::set<int>& indices);
    void ReadNextSpan();
    void TakeRereadRecords(const std::vector<std::pair<int, HeldRecord>>& found);
    void TakeCheckedRecords(const std::vector<std::pair<int, HeldRecord>>& found);
    void SpansEnded();
    // A record found where the save believed a slot empty: shown in the list, and the entry that was to be
    // written there moved to a free index. The sentence that says so.
    QString TakeRecordAddedOnPhone(int directory, int index, const HeldRecord& found);
    void SendWrite();
    void SaveEnded(SaveEnd end);
    // The restore under way, when the save or read that ended belongs to it; true when it took the end over.
    bool ContinueRestoreAfterRead(int directory);
    bool ContinueRestoreAfterSave(SaveEnd end);
    // Makes the directory's table hold exactly the records, pending where the telephone differs.
    void FillFromRecords(int directory, const QList<PhoneRecord>& records);
    void EndRestoreRefused(bool putBack);
    void EndRestore(const std::string& status, int errorId, const QString& detail);
    // Where a directory's lengths come from: its own table; the shown one's are the store's too.
    void ShowLengthsOf(int directory);
    WritePlanner PlannerFor(int directory) const;
    // Marks each live entry by whether it still differs from the telephone, shows the telephone's own texts for
    // those that agree, and keeps exactly the erasures still to do as deletion records. True when a text the
    // list shows changed.
    bool SettleTable(int directory);
    // Tells how many edited entries were not written because their names could not be read; false for none.
    bool ReportHeldBack(int directory);
    void ShowDirectoryAfterWrite();
    // Empties every directory's table and what is known of the telephone, as before the first read.
    void ForgetTelephone();
    // Before the first write to a directory in a run, the directory as read goes to the backup folder; false
    // (after saying so) when it could not be kept, and then nothing is written.
    bool KeepBackupBeforeFirstWrite(int directory);

    EntryStore& m_store;
    IQuestions& m_questions;
    ITelephoneHost& m_host;
    std::array<PhoneImage, kDirectoryCount> m_images;
    // The save under way: its directory (-1 when none), its writes; m_nWritePos of the store is the one sent.
    int m_nWriteDir = -1;
    std::vector<PhoneWrite> m_plan;
    // The directory to show when the save asked for by a directory change has ended (-1 when none).
    int m_nReloadDir = -1;
    // Each directory as last read from the telephone, and the directories backed up in this run.
    std::array<std::optional<DirectoryBackup>, kDirectoryCount> m_asRead;
    std::set<int> m_backedUp;
    // Per directory, the indices a write went out to without an answer: read again before the next plan.
    std::array<std::set<int>, kDirectoryCount> m_unknown;
    // The span reads of the save under way, the one being read, and what the save has read afresh.
    SaveStep m_saveStep = SaveStep::Writing;
    std::vector<std::pair<int, int>> m_spans;
    size_t m_nSpan = 0;
    std::set<int> m_readAfresh;
    std::set<int> m_checkTargets;
    QStringList m_phoneChanges;
    // The write the telephone refused or left unanswered last.
    std::optional<PhoneWrite> m_failedWrite;
    // The restore under way: how far it has come, the backup, the record the telephone refused, and the file
    // that keeps the directory as it was before.
    enum class RestoreStep { None, Reading, Writing, PuttingBack };
    RestoreStep m_restoreStep = RestoreStep::None;
    std::optional<DirectoryBackup> m_restoring;
    std::optional<PhoneWrite> m_refusedRecord;
    QString m_keptBeforeRestore;
};
