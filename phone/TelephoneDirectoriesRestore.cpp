// Restoring a telephone directory from a backup: all or nothing.
#include "phone/TelephoneDirectories.h"

#include "link/BackupFolder.h"
#include "link/Cellbus.h"
#include "link/RestoreCheck.h"
#include "link/TelephoneLinkSetup.h"
#include "model/EntryStore.h"
#include "phone/ITelephoneHost.h"
#include "phone/PhonebookRecordCopier.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"

#include <QLocale>

namespace {
int DirectoryOfCode(const QByteArray& code)
{
    for (int directory = 0; directory < kDirectoryCount; ++directory)
        if (code == g_apszReadCodes[directory]) return directory;
    return -1;
}
}

bool TelephoneDirectories::RestoreBackup(const QString& backupPath)
{
    if (RefuseWhileBusy()) return false;
    QString error;
    std::optional<DirectoryBackup> backup = DirectoryBackup::load(backupPath, &error);
    const int directory = backup ? DirectoryOfCode(backup->directoryCode) : -1;
    if (directory < 0 || !CanWrite(directory)) {
        if (backup) Fehler_Melden(ErrorClass::kInput, Ids::IDS_ERR_READ_ONLY);
        else Fehler_Melden(ErrorClass::kTelephoneWrite, Ids::IDS_ERR_RESTORE_UNFIT, error);
        m_host.SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
        return false;
    }
    m_restoring = std::move(backup);
    m_restoreStep = RestoreStep::Reading;
    // The restore starts from what the telephone holds now: the directory is read afresh, its unsaved changes go.
    DirTable& table = Table(directory);
    for (DirEntry& entry : table.m_entries) entry.Clear();
    table.m_nCount = 0;
    m_images[static_cast<size_t>(directory)].clear();
    m_unknown[static_cast<size_t>(directory)].clear();
    if (m_store.m_nActiveList == LIST_PHONE) m_store.m_nActiveList = LIST_NONE;
    m_store.ClearFlag(VF_PHONE_MODIFIED);
    m_store.m_nPrevDir = m_store.m_nCurDir;
    m_store.m_nCurDir = directory;
    m_host.SelectDirectoryInCombo(directory);
    m_host.FillPhoneList(true);
    StartRead(directory);
    return true;
}

bool TelephoneDirectories::ContinueRestoreAfterRead(int directory)
{
    if (m_restoreStep != RestoreStep::Reading) return false;
    m_host.SelectDirectoryInCombo(directory);
    const DirTable& table = Table(directory);
    const RestoreCheck check({table.m_nNameLen, table.m_nUcs2NameLen, table.m_nNumberLen, table.m_nCapacity});
    const QStringList problems = check.problems(*m_restoring);
    if (!problems.isEmpty()) {
        EndRestore(StringTable::LoadString(Ids::IDS_ACTION_ABORTED), Ids::IDS_ERR_RESTORE_UNFIT, problems.join(QLatin1Char('\n')));
        return true;
    }
    // The directory as it is now is kept first, whatever was kept of it earlier in this run: it is what a
    // refused record puts back, and what the user can restore later.
    QString error;
    if (!BackupFolder().store(*m_asRead[static_cast<size_t>(directory)], &m_keptBeforeRestore, &error)) {
        EndRestore(StringTable::LoadString(Ids::IDS_BACKUP_FAILED) + " " + error.toStdString(), 0, {});
        return true;
    }
    m_backedUp.insert(directory);
    m_restoreStep = RestoreStep::Writing;
    FillFromRecords(directory, m_restoring->records);
    if (!WriteDirectory()) EndRestore(StringTable::LoadString(Ids::IDS_RESTORE_SAME), 0, {});
    return true;
}

void TelephoneDirectories::FillFromRecords(int directory, const QList<PhoneRecord>& records)
{
    DirTable& table = Table(directory);
    const PhoneImage& image = m_images[static_cast<size_t>(directory)];
    for (DirEntry& entry : table.m_entries) entry.Clear();
    table.m_nCount = 0;
    for (const PhoneRecord& record : records) {
        if (table.m_nCount >= kTableSlots) break;
        const auto held = image.find(record.index);
        // What arrived of a name damaged on the line is no name to write: the telephone keeps what it holds.
        if (record.nameUnreadable && held == image.end()) continue;
        DirEntry entry = record.nameUnreadable
            ? PhonebookRecordCopier::EntryOf(record.index, held->second)
            : PhonebookRecordCopier::EntryOf(record.index,
                                             WritePlanner::FromPhone(record.name.toStdString(), record.number.toStdString()));
        entry.m_nState = ENTRY_NEW;
        table[table.m_nCount++] = entry;
    }
    SettleTable(directory);
    m_store.SetFlag(VF_PHONE_MODIFIED);
    if (directory == m_store.m_nCurDir) m_host.FillPhoneList(false);
}

bool TelephoneDirectories::ContinueRestoreAfterSave(SaveEnd end)
{
    const int directory = m_store.m_nCurDir;
    const bool succeeded = end == SaveEnd::Written;
    // A record found where the restore meant to write stopped it before the first write, and was reported.
    if (end == SaveEnd::PhoneChanged && m_restoreStep == RestoreStep::Writing) {
        EndRestore(StringTable::LoadString(Ids::IDS_ACTION_ABORTED), 0, {});
        return true;
    }
    switch (m_restoreStep) {
    case RestoreStep::None:
    case RestoreStep::Reading: return false;
    case RestoreStep::Writing:
        if (succeeded) {
            const QString taken = QLocale().toString(m_restoring->taken.toLocalTime(), QLocale::ShortFormat);
            EndRestore(StringTable::LoadQString(Ids::IDS_RESTORED).arg(m_restoring->records.size()).arg(taken).toStdString(), 0, {});
            return true;
        }
        // The telephone refused a record: everything written so far goes back as it was.
        m_restoreStep = RestoreStep::PuttingBack;
        m_refusedRecord = m_failedWrite;
        FillFromRecords(directory, m_asRead[static_cast<size_t>(directory)]->records);
        if (!WriteDirectory()) EndRestoreRefused(true);
        return true;
    case RestoreStep::PuttingBack: EndRestoreRefused(succeeded); return true;
    }
    return false;
}

void TelephoneDirectories::EndRestoreRefused(bool putBack)
{
    QString detail;
    if (m_refusedRecord)
        detail = StringTable::LoadQString(Ids::IDS_RESTORE_REFUSED)
                     .arg(m_refusedRecord->m_nIndex)
                     .arg(QStringLiteral("\"%1\"").arg(QString::fromStdString(m_refusedRecord->m_strName)));
    const QString outcome = putBack ? StringTable::LoadQString(Ids::IDS_RESTORE_PUT_BACK)
                                    : StringTable::LoadQString(Ids::IDS_RESTORE_PARTLY).arg(m_keptBeforeRestore);
    const QString diagnosis = TelephoneLinkDiagnosis();
    detail = (detail + QLatin1Char('\n') + outcome + (diagnosis.isEmpty() ? QString() : QLatin1Char('\n') + diagnosis)).trimmed();
    EndRestore(StringTable::LoadString(Ids::IDS_ACTION_ABORTED), Ids::IDS_ERR_RESTORE_REFUSED, detail);
}

void TelephoneDirectories::EndRestore(const std::string& status, int errorId, const QString& detail)
{
    if (m_restoreStep == RestoreStep::None) return;
    m_restoreStep = RestoreStep::None;
    m_restoring.reset();
    m_refusedRecord.reset();
    if (errorId != 0) Fehler_Melden(ErrorClass::kTelephoneWrite, errorId, detail);
    m_host.SetStatusText(status);
}
