// Saving a telephone directory: reading again what a lost answer left unknown, checking the slots a save
// believes empty, and the chain of writes.
#include "phone/TelephoneDirectories.h"

#include "link/BackupFolder.h"
#include "link/Cellbus.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "phone/ITelephoneHost.h"
#include "phone/PhonebookRecordCopier.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"

#include <algorithm>

namespace {
// Indices this close together are read with one range read: a few more locations cost less than a command.
constexpr int kSpanGap = 4;

std::vector<std::pair<int, int>> SpansOf(const std::set<int>& indices)
{
    std::vector<std::pair<int, int>> spans;
    for (const int index : indices) {
        if (!spans.empty() && index - spans.back().second <= kSpanGap) spans.back().second = index;
        else spans.emplace_back(index, index);
    }
    return spans;
}

// The deletion records a table should keep: one per erasure still to do, in the order the writes take.
void KeepDeletionRecords(DirTable& table, const std::vector<PhoneWrite>& pending, const PhoneImage& image)
{
    std::vector<DirEntry> records;
    for (const PhoneWrite& write : pending) {
        if (!write.m_bErase) continue;
        DirEntry record = PhonebookRecordCopier::EntryOf(write.m_nIndex, image.at(write.m_nIndex));
        record.m_nState = ENTRY_REMOVED;
        records.push_back(record);
    }
    int slot = TelephoneDirectories::LiveCount(table);
    for (const DirEntry& record : records) {
        if (slot >= kTableSlots) break;
        table[slot++] = record;
    }
    for (; slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED; ++slot) table[slot].Clear();
}

// Puts a live entry behind the others; the deletion records move up one slot. False when no slot is left.
bool AppendLiveEntry(DirTable& table, const DirEntry& entry)
{
    int end = TelephoneDirectories::LiveCount(table);
    while (end < kTableSlots && table[end].m_nState == ENTRY_REMOVED) ++end;
    if (end >= kTableSlots) return false;
    for (int slot = end; slot > table.m_nCount; --slot) table[slot] = table[slot - 1];
    table[table.m_nCount++] = entry;
    return true;
}

QString Quoted(const std::string& text)
{
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(text));
}
}

WritePlanner TelephoneDirectories::PlannerFor(int directory) const
{
    return WritePlanner::For(m_store.m_dirTables[static_cast<size_t>(directory)]);
}

std::vector<PhoneWrite> TelephoneDirectories::PendingWrites(int directory) const
{
    return PlannerFor(directory).Plan(m_store.m_dirTables[static_cast<size_t>(directory)], m_images[static_cast<size_t>(directory)]);
}

bool TelephoneDirectories::WriteDirectory()
{
    if (RefuseWhileBusy()) return false;
    const int directory = m_store.m_nCurDir;
    if (!CanWrite(directory)) {
        Fehler_Melden(ErrorClass::kInput, Ids::IDS_ERR_READ_ONLY);
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        m_store.ClearFlag(VF_PHONE_MODIFIED);
        return false;
    }
    return StartSave(directory);
}

bool TelephoneDirectories::StartSave(int directory)
{
    m_nWriteDir = directory;
    m_readAfresh.clear();
    m_phoneChanges.clear();
    m_failedWrite.reset();
    const std::set<int>& unknown = m_unknown[static_cast<size_t>(directory)];
    if (!unknown.empty()) {
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_WRITING));
        SetBusy();
        ReadSpans(SaveStep::Rereading, unknown);
        return true;
    }
    if (PlanSave(directory)) return true;
    // A plan that did not start could not keep its backup, which says so; an empty plan has nothing to do.
    if (m_plan.empty()) NothingToWrite(directory);
    m_nWriteDir = -1;
    m_plan.clear();
    return false;
}

bool TelephoneDirectories::NothingToWrite(int directory)
{
    SettleTable(directory);
    if (ReportHeldBack(directory)) return false;
    m_host.SetStatusText(StringTable::LoadString(Ids::IDS_NO_DATA_FOR_WRITING));
    m_store.ClearFlag(VF_PHONE_MODIFIED);
    return true;
}

bool TelephoneDirectories::PlanSave(int directory)
{
    m_plan = PendingWrites(directory);
    if (m_plan.empty()) return false;
    // A slot the picture shows empty may have been filled on the telephone's own keypad since the read.
    const PhoneImage& image = m_images[static_cast<size_t>(directory)];
    m_checkTargets.clear();
    for (const PhoneWrite& write : m_plan)
        if (!write.m_bErase && !image.contains(write.m_nIndex) && !m_readAfresh.contains(write.m_nIndex))
            m_checkTargets.insert(write.m_nIndex);
    if (m_checkTargets.empty()) return StartWrites(directory);
    if (!IsBusy()) {
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_WRITING));
        SetBusy();
    }
    ReadSpans(SaveStep::Checking, m_checkTargets);
    return true;
}

bool TelephoneDirectories::StartWrites(int directory)
{
    if (!KeepBackupBeforeFirstWrite(directory)) return false;
    if (!IsBusy()) {
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_WRITING));
        SetBusy();
    }
    m_saveStep = SaveStep::Writing;
    m_store.m_nWritePos = 0;
    SendWrite();
    return true;
}

bool TelephoneDirectories::KeepBackupBeforeFirstWrite(int directory)
{
    const std::optional<DirectoryBackup>& asRead = m_asRead[static_cast<size_t>(directory)];
    if (m_backedUp.contains(directory) || !asRead) return true;
    QString path;
    QString error;
    if (!BackupFolder().store(*asRead, &path, &error)) {
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_BACKUP_FAILED) + " " + error.toStdString());
        return false;
    }
    m_backedUp.insert(directory);
    return true;
}

// ---- Reading spans afresh ----------------------------------------------------------------------------------

void TelephoneDirectories::ReadSpans(SaveStep step, const std::set<int>& indices)
{
    m_saveStep = step;
    m_spans = SpansOf(indices);
    m_nSpan = 0;
    ReadNextSpan();
}

void TelephoneDirectories::ReadNextSpan()
{
    const auto [first, last] = m_spans[m_nSpan];
    ATPBReadSpan(this, UM_PHONEBOOK_SPAN_READ, g_apszReadCodes[m_nWriteDir], first, last);
}

void TelephoneDirectories::OnSpanRead(intptr_t, intptr_t lParam)
{
    if (!IsWriting() || m_saveStep == SaveStep::Writing) return;
    const PhonebookData* data = lParam >= 0 ? ATPBGet() : nullptr;
    if (!data) {
        SaveEnded(SaveEnd::Failed);
        return;
    }
    const auto found = PhonebookRecordCopier::Records(*data);
    if (m_saveStep == SaveStep::Rereading) TakeRereadRecords(found);
    else TakeCheckedRecords(found);
    if (++m_nSpan < m_spans.size()) {
        ReadNextSpan();
        return;
    }
    SpansEnded();
}

void TelephoneDirectories::TakeRereadRecords(const std::vector<std::pair<int, HeldRecord>>& found)
{
    const auto [first, last] = m_spans[m_nSpan];
    std::set<int>& unknown = m_unknown[static_cast<size_t>(m_nWriteDir)];
    PhoneImage& image = m_images[static_cast<size_t>(m_nWriteDir)];
    for (auto it = unknown.lower_bound(first); it != unknown.end() && *it <= last; it = unknown.erase(it)) {
        const int index = *it;
        const auto record = std::find_if(found.begin(), found.end(), [index](const auto& r) { return r.first == index; });
        if (record != found.end()) image[index] = record->second;
        else image.erase(index);
        m_readAfresh.insert(index);
    }
}

void TelephoneDirectories::TakeCheckedRecords(const std::vector<std::pair<int, HeldRecord>>& found)
{
    const auto [first, last] = m_spans[m_nSpan];
    const PhoneImage& image = m_images[static_cast<size_t>(m_nWriteDir)];
    for (const auto& [index, held] : found) {
        if (index < first || index > last || !m_checkTargets.contains(index) || image.contains(index)) continue;
        m_phoneChanges.append(TakeRecordAddedOnPhone(m_nWriteDir, index, held));
    }
    for (int index = first; index <= last; ++index) m_readAfresh.insert(index);
}

QString TelephoneDirectories::TakeRecordAddedOnPhone(int directory, int index, const HeldRecord& found)
{
    m_images[static_cast<size_t>(directory)][index] = found;
    DirTable& table = Table(directory);
    int slot = 0;
    while (slot < LiveCount(table) && table[slot].m_nIndex != index) ++slot;
    int freeIndex = 0;
    for (int candidate = 1; candidate <= table.m_nCapacity && freeIndex == 0; ++candidate)
        if (EntryTableEditor::IsIndexFree(candidate, table) && !m_images[static_cast<size_t>(directory)].contains(candidate))
            freeIndex = candidate;
    const QString added = StringTable::LoadQString(Ids::IDS_ADDED_ON_PHONE)
                              .arg(index)
                              .arg(Quoted(found.m_strPhoneName), QString::fromStdString(found.m_strPhoneNumber));
    if (slot < LiveCount(table) && freeIndex == 0)
        return added + " " + StringTable::LoadQString(Ids::IDS_ADDED_ON_FULL_PHONE).arg(Quoted(table[slot].m_strName));
    QString moved;
    if (slot < LiveCount(table)) {
        table[slot].m_nIndex = freeIndex;
        moved = " " + StringTable::LoadQString(Ids::IDS_ENTRY_MOVED_ASIDE).arg(Quoted(table[slot].m_strName)).arg(freeIndex);
    }
    AppendLiveEntry(table, PhonebookRecordCopier::EntryOf(index, found));
    return added + moved;
}

void TelephoneDirectories::SpansEnded()
{
    const int directory = m_nWriteDir;
    if (m_saveStep == SaveStep::Checking) {
        if (!m_phoneChanges.isEmpty()) SaveEnded(SaveEnd::PhoneChanged);
        else if (!StartWrites(directory)) SaveEnded(SaveEnd::NotStarted);
        return;
    }
    // Entries the user left alone since the lost answer now show what the telephone holds.
    if (SettleTable(directory) && directory == m_store.m_nCurDir) m_host.FillPhoneList(false);
    if (PlanSave(directory)) return;
    SaveEnded(m_plan.empty() ? SaveEnd::NothingToWrite : SaveEnd::NotStarted);
}

// ---- Writing -------------------------------------------------------------------------------------------------

void TelephoneDirectories::SendWrite()
{
    const PhoneWrite& write = m_plan[static_cast<size_t>(m_store.m_nWritePos)];
    const char* code = g_apszWriteCodes[m_nWriteDir];
    if (write.m_bErase) ATPBWrite(this, UM_PHONEBOOK_WRITTEN, code, write.m_nIndex, "", "");
    else ATPBWrite(this, UM_PHONEBOOK_WRITTEN, code, write.m_nIndex, write.m_strName.c_str(), write.m_strNumber.c_str());
}

void TelephoneDirectories::OnPhonebookWritten(intptr_t, intptr_t lParam)
{
    if (!IsWriting() || m_saveStep != SaveStep::Writing) return; // the end of a write this program no longer waits for
    const PhoneWrite& write = m_plan[static_cast<size_t>(m_store.m_nWritePos)];
    if (lParam != 0) {
        // Unanswered, the record may or may not be on the telephone: the next save reads it first.
        if (lParam == PB_WRITE_UNANSWERED) m_unknown[static_cast<size_t>(m_nWriteDir)].insert(write.m_nIndex);
        m_failedWrite = write;
        SaveEnded(SaveEnd::Failed);
        return;
    }
    // Acknowledged: the telephone now holds the record as sent.
    PhoneImage& image = m_images[static_cast<size_t>(m_nWriteDir)];
    if (write.m_bErase) image.erase(write.m_nIndex);
    else image[write.m_nIndex] = write.m_held;
    if (++m_store.m_nWritePos < static_cast<int>(m_plan.size())) {
        SendWrite();
        return;
    }
    SaveEnded(SaveEnd::Written);
}

void TelephoneDirectories::SaveEnded(SaveEnd end)
{
    const int directory = m_nWriteDir;
    m_nWriteDir = -1;
    m_plan.clear();
    bool textsChanged = SettleTable(directory);
    EndBusyState();
    const bool restoring = m_restoreStep != RestoreStep::None;
    bool succeeded = end == SaveEnd::Written;
    switch (end) {
    case SaveEnd::Written:
        m_store.ClearFlag(VF_PHONE_MODIFIED);
        if (!ReportHeldBack(directory)) m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL));
        break;
    case SaveEnd::NothingToWrite: succeeded = NothingToWrite(directory); break;
    case SaveEnd::Failed:
        if (!restoring) Fehler_Melden(ErrorClass::kTelephoneWrite, Ids::IDS_ERR_PHONE_WRITE);
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        break;
    case SaveEnd::PhoneChanged:
        textsChanged = true;
        m_store.SetFlag(VF_PHONE_MODIFIED);
        if (directory == m_store.m_nCurDir) m_host.FillPhoneList(false);
        Fehler_Melden(ErrorClass::kTelephoneWrite, Ids::IDS_ERR_PHONE_CHANGED, m_phoneChanges.join(QLatin1Char('\n')));
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        break;
    case SaveEnd::NotStarted: break; // the status line says why
    }
    // The list shows what the telephone holds now, where that differs from what was typed.
    if (textsChanged && end != SaveEnd::PhoneChanged && directory == m_store.m_nCurDir) m_host.FillPhoneList(false);
    if (ContinueRestoreAfterSave(succeeded ? SaveEnd::Written : end)) return;
    if (!succeeded) {
        // The edits stay pending here, and the directory the user wanted next is not shown.
        m_store.ClearFlag(VF_RELOAD_AFTER_WRITE);
        m_nReloadDir = -1;
    }
    if (m_store.HasFlag(VF_EXIT_AFTER_WRITE)) m_host.CloseFrame();
    if (succeeded) ShowDirectoryAfterWrite();
}

void TelephoneDirectories::ShowDirectoryAfterWrite()
{
    const int directory = m_nReloadDir;
    m_nReloadDir = -1;
    if (!m_store.HasFlag(VF_RELOAD_AFTER_WRITE)) return;
    m_store.ClearFlag(VF_RELOAD_AFTER_WRITE);
    if (directory < 0) return;
    m_host.SelectDirectoryInCombo(directory);
    ReadDirectory(directory);
}

bool TelephoneDirectories::ReportHeldBack(int directory)
{
    const DirTable& table = Table(directory);
    const PhoneImage& image = m_images[static_cast<size_t>(directory)];
    const WritePlanner planner = PlannerFor(directory);
    int heldBack = 0;
    for (int slot = 0; slot < LiveCount(table); ++slot)
        heldBack += !WritePlanner::IsWritable(table[slot]) && planner.NeedsWrite(table[slot], image) ? 1 : 0;
    if (heldBack == 0) return false;
    // The changes stay pending, so that leaving the program asks about them.
    m_store.SetFlag(VF_PHONE_MODIFIED);
    m_host.SetStatusText(StringTable::LoadQString(Ids::IDS_UNREADABLE_NOT_WRITTEN).arg(heldBack).toStdString());
    return true;
}

bool TelephoneDirectories::SettleTable(int directory)
{
    DirTable& table = Table(directory);
    const PhoneImage& image = m_images[static_cast<size_t>(directory)];
    const WritePlanner planner = PlannerFor(directory);
    bool textsChanged = false;
    for (int slot = 0; slot < LiveCount(table); ++slot) {
        DirEntry& entry = table[slot];
        if (planner.NeedsWrite(entry, image)) {
            entry.m_nState = ENTRY_NEW;
            continue;
        }
        const HeldRecord& held = image.at(entry.m_nIndex);
        textsChanged |= entry.m_strName != held.m_strName || entry.m_strNumber != held.m_strNumber ||
                        entry.m_strStatus != held.m_strStatus;
        const int index = entry.m_nIndex;
        entry = PhonebookRecordCopier::EntryOf(index, held);
        entry.m_nState = ENTRY_UNCHANGED;
    }
    KeepDeletionRecords(table, planner.Plan(table, image), image);
    return textsChanged;
}
