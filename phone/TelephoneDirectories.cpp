#include "phone/TelephoneDirectories.h"

#include "link/BackupFolder.h"
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/Questions.h"
#include "phone/ITelephoneHost.h"
#include "phone/PhonebookRecordCopier.h"
#include "phone/TelephoneConnection.h"
#include "phone/WritePlanner.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"

#include <algorithm>

namespace {
// An entry that takes the index of an entry deleted since the last read makes that deletion record pointless:
// the record is dropped, and the run behind it closes up.
void DropDeletionRecord(DirTable& table, int index)
{
    int slot = TelephoneDirectories::LiveCount(table);
    while (slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED && table[slot].m_nIndex != index) ++slot;
    if (slot >= kTableSlots || table[slot].m_nState != ENTRY_REMOVED) return;
    for (; slot + 1 < kTableSlots && table[slot + 1].m_nState == ENTRY_REMOVED; ++slot) table[slot] = table[slot + 1];
    table[slot].Clear();
}
}

bool TelephoneDirectories::CanWrite(int directory)
{
    return g_apszWriteCodes[directory][0] != '\0';
}

int TelephoneDirectories::LiveCount(const DirTable& table)
{
    return std::clamp(table.m_nCount, 0, kTableSlots);
}

TelephoneDirectories::TelephoneDirectories(EntryStore& store, IQuestions& questions, ITelephoneHost& host)
    : m_store(store), m_questions(questions), m_host(host)
{
}

bool TelephoneDirectories::event(QEvent* e)
{
    if (e->type() == PhonebookMessage::EventType()) {
        const auto* message = static_cast<PhonebookMessage*>(e);
        if (message->message == UM_PHONEBOOK_READ) OnPhonebookRead(message->wParam, message->lParam);
        if (message->message == UM_PHONEBOOK_WRITTEN) OnPhonebookWritten(message->wParam, message->lParam);
        if (message->message == UM_PHONEBOOK_SPAN_READ) OnSpanRead(message->wParam, message->lParam);
        return true;
    }
    if (e->type() == PhonebookProgress::EventType()) {
        const auto* progress = static_cast<PhonebookProgress*>(e);
        ShowProgress(progress->recordsRead, progress->recordsExpected);
        return true;
    }
    return QObject::event(e);
}

DirTable& TelephoneDirectories::Table(int directory)
{
    return m_store.m_dirTables[static_cast<size_t>(directory)];
}

bool TelephoneDirectories::IsBusy() const
{
    return m_store.HasFlag(VF_BUSY);
}

bool TelephoneDirectories::RefuseWhileBusy()
{
    if (!IsBusy()) return false;
    m_host.SetStatusText(StringTable::LoadString(Ids::IDS_PHONE_BUSY));
    return true;
}

void TelephoneDirectories::SetBusy()
{
    m_store.SetFlag(VF_BUSY);
    m_host.ShowBusy(true);
}

void TelephoneDirectories::EndBusyState()
{
    m_store.ClearFlag(VF_BUSY);
    m_host.ShowBusy(false);
}

QString TelephoneDirectories::ReadingText(int directory)
{
    if (directory < 0 || directory >= kDirectoryCount) return StringTable::LoadQString(Ids::IDS_READING);
    return StringTable::LoadQString(Ids::IDS_READING_NAMED)
        .arg(StringTable::LoadQString(g_anDirectoryNameIds[directory]));
}

void TelephoneDirectories::ShowProgress(int recordsRead, int recordsExpected)
{
    if (!IsBusy() || IsWriting()) return;
    const QString count = recordsExpected > 0
        ? StringTable::LoadQString(Ids::IDS_READING_PROGRESS).arg(recordsRead).arg(recordsExpected)
        : QString::number(recordsRead);
    m_host.SetStatusText((ReadingText(m_store.m_nCurDir) + u' ' + count).toStdString());
}

// ---- Reading -------------------------------------------------------------------------------------------------

void TelephoneDirectories::ReadDirectory(int n)
{
    if (m_store.m_nAutoReadMask != 0) {
        for (int i = 0; i < kDirectoryCount; ++i) {
            if ((m_store.m_nAutoReadMask & (1u << i)) == 0) continue;
            m_store.m_nAutoReadMask &= ~(1u << i);
            if (m_store.m_nAutoReadMask & AUTOREAD_FIRST) {
                m_store.m_nAutoReadMask &= ~AUTOREAD_FIRST;
                m_store.m_nCurDir = i;
            }
            m_host.SelectDirectoryInCombo(m_store.m_nCurDir);
            n = i;
            break;
        }
    }
    if (n < 0 || n >= kDirectoryCount) return;
    m_store.m_nPrevDir = m_store.m_nCurDir;
    m_store.m_nCurDir = n;
    if (Table(n).m_nCount != 0) {
        ShowLengthsOf(n);
        // Changes left unsaved in this directory are still there: leaving the program asks about them again.
        if (HasPending(n)) m_store.SetFlag(VF_PHONE_MODIFIED);
        m_host.FillPhoneList(false);
        return;
    }
    StartRead(n);
}

void TelephoneDirectories::StartRead(int directory)
{
    // Nothing of another directory stays selectable while this one comes in, and the combo box names it.
    m_host.ClearPhoneList();
    m_host.SelectDirectoryInCombo(directory);
    m_host.SetStatusText(ReadingText(directory).toStdString());
    SetBusy();
    ATPBRead(this, UM_PHONEBOOK_READ, g_apszReadCodes[directory]);
}

void TelephoneDirectories::ShowLengthsOf(int directory)
{
    const DirTable& table = Table(directory);
    m_store.m_nNameLen = table.m_nNameLen;
    m_store.m_nUcs2NameLen = table.m_nUcs2NameLen;
    m_store.m_nNumberLen = table.m_nNumberLen;
}

void TelephoneDirectories::OnPhonebookRead(intptr_t, intptr_t lParam)
{
    const PhonebookData* data = lParam != PB_READ_NO_DATA ? ATPBGet() : nullptr;
    if (lParam == PB_READ_NO_DATA || lParam == PB_READ_NOT_AVAILABLE || !data) {
        ReadFailed(lParam);
        return;
    }
    m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL));
    m_host.ShowCorrectionRow(true);
    m_store.m_bPhoneDataRead = 1;
    const int directory = m_store.m_nCurDir;
    DirTable& table = Table(directory);
    PhonebookRecordCopier::Copy(*data, table, m_images[static_cast<size_t>(directory)]);
    m_unknown[static_cast<size_t>(directory)].clear();
    DirectoryBackup asRead;
    asRead.directoryCode = g_apszReadCodes[directory];
    asRead.taken = QDateTime::currentDateTimeUtc();
    asRead.nameLength = data->nNameLen;
    asRead.numberLength = data->nNumberLen;
    asRead.records = TelephoneLinkReadRecords();
    m_asRead[static_cast<size_t>(directory)] = asRead;
    table.m_nNameLen = data->nNameLen;
    table.m_nUcs2NameLen = data->nUcs2NameLen;
    table.m_nNumberLen = data->nNumberLen;
    ShowLengthsOf(directory);
    table.m_nCapacity = std::clamp(data->nMaxEntries, 0, kTableSlots);
    table.m_bReadOnly = CanWrite(directory) ? 0 : 1;
    m_host.FillPhoneList(true);
    const int unreadable = static_cast<int>(std::count_if(&table[0], &table[0] + LiveCount(table),
                                                          [](const DirEntry& e) { return e.m_bNameUnreadable; }));
    if (unreadable > 0)
        m_host.SetStatusText(StringTable::LoadQString(Ids::IDS_NAMES_UNREADABLE).arg(unreadable).toStdString());
    EndBusyState();
    if (ContinueRestoreAfterRead(directory)) return;
    m_host.SelectDirectoryInCombo(directory);
    // The next directory of the automatic sequence names itself in the combo box while it is read.
    if (m_store.m_nAutoReadMask != 0) ReadDirectory(DIR_OWN);
}

void TelephoneDirectories::ReadFailed(intptr_t lParam)
{
    const bool notAvailable = lParam == PB_READ_NOT_AVAILABLE;
    // The busy state ends before the report: while it lasts, clicks and keys in modal windows are discarded,
    // and the report could not be dismissed.
    EndBusyState();
    Fehler_Melden(ErrorClass::kTelephoneRead, notAvailable ? Ids::IDS_ERR_DIRECTORY_NOT_AVAILABLE : Ids::IDS_ERR_READ_NO_DATA);
    m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
    m_store.m_nCurDir = m_store.m_nPrevDir;
    m_host.SelectDirectoryInCombo(m_store.m_nCurDir);
    // The list was emptied for the read: the previous directory comes back from memory.
    m_host.FillPhoneList(false);
    // Only a missing directory lets the automatic sequence go on.
    if (notAvailable && m_store.m_nAutoReadMask != 0) ReadDirectory(DIR_OWN);
    if (m_store.m_nNameLen == 0) m_host.ShowCorrectionRow(false);
    EndRestore(StringTable::LoadString(Ids::IDS_ACTION_ABORTED), 0, {});
}

void TelephoneDirectories::ChangeDirectory(int directory)
{
    if (directory < 0) return;
    if (RefuseWhileBusy()) {
        m_host.SelectDirectoryInCombo(m_store.m_nCurDir);
        return;
    }
    if (!m_store.HasFlag(VF_PHONE_MODIFIED)) {
        ReadDirectory(directory);
        return;
    }
    if (!m_questions.AskYesNo(Ids::IDS_SAVE_DIR_BEFORE_CHANGE, StringTable::LoadString(Ids::IDS_SAVE_DIR_BEFORE_CHANGE))) {
        m_store.ClearFlag(VF_PHONE_MODIFIED);
        ReadDirectory(directory);
        return;
    }
    m_store.m_nActiveList = LIST_NONE;
    m_store.SetFlag(VF_RELOAD_AFTER_WRITE);
    m_nReloadDir = directory;
    // Until the save has ended the list shows the directory being saved, and so does the combo box.
    m_host.SelectDirectoryInCombo(m_store.m_nCurDir);
    if (WriteDirectory()) return;
    // Nothing was sent. With nothing to write, or a directory that can only be read, nothing waits: go on at once.
    // A save that could not start (no backup) keeps its edits and the directory they belong to.
    if (!m_store.HasFlag(VF_PHONE_MODIFIED)) {
        ShowDirectoryAfterWrite();
        return;
    }
    m_store.ClearFlag(VF_RELOAD_AFTER_WRITE);
    m_nReloadDir = -1;
}

// ---- Another telephone ---------------------------------------------------------------------------------------

bool TelephoneDirectories::HasPending(int directory) const
{
    return !m_unknown[static_cast<size_t>(directory)].empty() || !PendingWrites(directory).empty();
}

bool TelephoneDirectories::HasUnsavedChanges() const
{
    for (int directory = 0; directory < kDirectoryCount; ++directory)
        if (HasPending(directory)) return true;
    return false;
}

bool TelephoneDirectories::ChangeTelephone(const std::string& device)
{
    if (RefuseWhileBusy()) return false;
    if (HasUnsavedChanges()
        && !m_questions.AskYesNo(Ids::IDS_CONNECT_DROPS_CHANGES, StringTable::LoadString(Ids::IDS_CONNECT_DROPS_CHANGES)))
        return false;
    QString error;
    if (!TelephoneConnection::Use(QString::fromStdString(device), &error)) {
        Fehler_Melden(ErrorClass::kTelephoneRead, Ids::IDS_ERR_CONNECT, error);
        return false;
    }
    ForgetTelephone();
    ReadDirectory(m_store.m_nCurDir);
    return true;
}

void TelephoneDirectories::ForgetTelephone()
{
    for (int directory = 0; directory < kDirectoryCount; ++directory) {
        DirTable& table = Table(directory);
        for (DirEntry& entry : table.m_entries) entry.Clear();
        table.m_nCount = 0;
        table.m_nCapacity = 0;
        table.m_nNameLen = table.m_nUcs2NameLen = table.m_nNumberLen = 0;
        m_images[static_cast<size_t>(directory)].clear();
        m_unknown[static_cast<size_t>(directory)].clear();
        m_asRead[static_cast<size_t>(directory)].reset();
    }
    // Another telephone gets its own backup before the first write to each of its directories.
    m_backedUp.clear();
    m_store.ClearFlag(VF_PHONE_MODIFIED);
    m_store.m_bPhoneDataRead = 0;
    m_store.m_nNameLen = 0;
    m_store.m_nUcs2NameLen = 0;
    m_store.m_nNumberLen = 0;
    if (m_store.m_nActiveList == LIST_PHONE) m_store.m_nActiveList = LIST_NONE;
    m_host.FillPhoneList(true);
    m_host.ShowCorrectionRow(false);
}

// ---- Changing the current directory's table ----------------------------------------------------------------

bool TelephoneDirectories::InsertEntry(int position, DirEntry& entry)
{
    if (IsBusy()) return false;
    return EntryTableEditor(m_store, m_questions, *this).InsertPhoneEntry(position, entry);
}

bool TelephoneDirectories::RemoveEntry(int position)
{
    if (IsBusy() || !EntryTableEditor(m_store, m_questions, *this).RemovePhoneEntry(position)) return false;
    // An entry edited since the read counts as new and leaves no deletion record, yet the telephone may hold its
    // index: removing it is then a change to save even when "not now" was the answer to the last save question.
    if (HasPending(m_store.m_nCurDir)) m_store.SetFlag(VF_PHONE_MODIFIED);
    return true;
}

bool TelephoneDirectories::ApplyEdit(int slot, const DirEntry& edited)
{
    DirTable& table = Table(m_store.m_nCurDir);
    if (IsBusy() || slot < 0 || slot >= LiveCount(table)) return false;
    DirEntry& entry = table[slot];
    const int oldIndex = entry.m_nIndex;
    // What the telephone held stays with the entry, so that a field the user left alone goes back whole.
    entry.m_strName = edited.m_strName;
    entry.m_strNumber = edited.m_strNumber;
    entry.m_strStatus = edited.m_strStatus;
    entry.m_bNameUnreadable = edited.m_bNameUnreadable;
    entry.m_nIndex = edited.m_nIndex;
    if (entry.m_nIndex != oldIndex) DropDeletionRecord(table, entry.m_nIndex);
    entry.m_nState = ENTRY_NEW;
    m_store.SetFlag(VF_PHONE_MODIFIED);
    return true;
}

void TelephoneDirectories::SetStatusText(const std::string& text)
{
    m_host.SetStatusText(text);
}
