// Reading the telephone's directories into their tables: once per directory, shown from memory afterwards.
#include "app/CVRD2EditApp.h"
#include "link/Cellbus.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "res/StringTable.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"

#include <QTreeWidget>

#include <algorithm>
#include <cstring>

namespace {
// Longest name and number a record yields, whatever field lengths the telephone announces.
constexpr int kMaxNameChars = 16;
constexpr int kMaxNumberChars = 20;

// A field's text up to its zero byte, at most maxChars characters, and at least one blank.
std::string FieldText(const uint8_t* field, int fieldLen, int maxChars)
{
    const int limit = std::min(fieldLen, maxChars);
    int length = 0;
    while (length < limit && field[length] != 0) ++length;
    std::string text(reinterpret_cast<const char*>(field), static_cast<size_t>(length));
    return text.empty() ? std::string(" ") : text;
}
}

bool CDlgView::event(QEvent* e)
{
    if (e->type() == PhonebookMessage::EventType()) {
        const auto* message = static_cast<PhonebookMessage*>(e);
        if (message->message == UM_PHONEBOOK_READ) OnPhonebookRead(message->wParam, message->lParam);
        if (message->message == UM_PHONEBOOK_WRITTEN) OnPhonebookWritten(message->wParam, message->lParam);
        return true;
    }
    if (e->type() == PhonebookProgress::EventType()) {
        const auto* progress = static_cast<PhonebookProgress*>(e);
        ShowProgress(progress->recordsRead, progress->recordsExpected);
        return true;
    }
    return QWidget::event(e);
}

void CDlgView::StartFirstPhoneRead()
{
    ReadDirectory(DIR_OWN);
}

void CDlgView::SetBusy()
{
    SetFlag(VF_BUSY);
    // While the telephone works the form shows the wait cursor and modal loops take no clicks or keys.
    setCursor(Qt::WaitCursor);
    if (m_pApp) m_pApp->m_bInputBlocked = 1;
}

void CDlgView::EndBusyState()
{
    ClearFlag(VF_BUSY);
    if (m_pApp) m_pApp->m_bInputBlocked = 0;
    unsetCursor();
}

void CDlgView::SelectDirectoryInCombo(int directory)
{
    m_cbDirectory->setCurrentIndex(directory);
}

void CDlgView::ShowProgress(int recordsRead, int recordsExpected)
{
    if (!HasFlag(VF_BUSY)) return;
    std::string text = StringTable::LoadString(Ids::IDS_READING) + " " + std::to_string(recordsRead);
    if (recordsExpected > 0) text += " / " + std::to_string(recordsExpected);
    SetStatusText(text);
}

void CDlgView::ReadDirectory(int n)
{
    if (m_nAutoReadMask != 0) {
        for (int i = 0; i < kDirectoryCount; ++i) {
            if ((m_nAutoReadMask & (1u << i)) == 0) continue;
            m_nAutoReadMask &= ~(1u << i);
            if (m_nAutoReadMask & AUTOREAD_FIRST) {
                m_nAutoReadMask &= ~AUTOREAD_FIRST;
                m_nCurDir = i;
            }
            SelectDirectoryInCombo(m_nCurDir);
            n = i;
            break;
        }
    }
    if (n < 0 || n >= kDirectoryCount) return;
    m_nPrevDir = m_nCurDir;
    m_nCurDir = n;
    if (m_dirTables[static_cast<size_t>(n)].m_nCount != 0) {
        FillPhoneList(false);
        return;
    }
    SetStatusText(StringTable::LoadString(Ids::IDS_READING));
    SetBusy();
    ATPBRead(this, UM_PHONEBOOK_READ, g_apszReadCodes[n]);
}

void CDlgView::CopyPhonebookRecords(DirTable& table, const PhonebookData& data)
{
    const int count = std::clamp(data.nCount, 0, kTableSlots);
    const int nameLen = std::max(0, data.nNameLen);
    const int numberLen = std::max(0, data.nNumberLen);
    const size_t recordSize = 2 + static_cast<size_t>(nameLen) + static_cast<size_t>(numberLen);
    table.m_nCount = data.pRecords ? count : 0;
    for (int k = 0; k < table.m_nCount; ++k) {
        const uint8_t* record = data.pRecords + recordSize * static_cast<size_t>(k);
        DirEntry& entry = table[k];
        entry = DirEntry();
        entry.m_nIndex = (record[0] | (record[1] << 8)) & 0x7FFF;
        FromGsm(FieldText(record + 2, nameLen, kMaxNameChars), entry.m_strName);
        entry.m_strNumber = FieldText(record + 2 + nameLen, numberLen, kMaxNumberChars);
        // On the telephone a VIP entry carries "!" after its name.
        const size_t mark = entry.m_strName.find('!', 1);
        if (mark != std::string::npos) {
            entry.m_strStatus = "!";
            entry.m_strName.resize(entry.m_strName.find('!'));
        } else {
            entry.m_strStatus = " ";
        }
    }
}

void CDlgView::OnPhonebookRead(intptr_t, intptr_t lParam)
{
    if (lParam != PB_READ_NO_DATA) {
        const PhonebookData* data = ATPBGet();
        if (lParam != PB_READ_NOT_AVAILABLE && data) {
            SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL));
            ShowCorrectionRow(true);
            m_lcPhone->clear();
            m_bPhoneDataRead = 1;
            const int directory = m_nCurDir;
            DirTable& table = m_dirTables[static_cast<size_t>(directory)];
            CopyPhonebookRecords(table, *data);
            m_nNameLen = data->nNameLen;
            m_nNumberLen = data->nNumberLen;
            table.m_nCapacity = std::clamp(data->nMaxEntries, 0, kTableSlots);
            table.m_bReadOnly = g_apszWriteCodes[directory][0] == '\0' ? 1 : 0;
            FillPhoneList(true);
            EndBusyState();
            if (m_nAutoReadMask != 0) ReadDirectory(DIR_OWN);
            SelectDirectoryInCombo(directory);
            return;
        }
    }
    const bool notAvailable = lParam == PB_READ_NOT_AVAILABLE;
    // The busy state ends before the report: while it lasts, clicks and keys in modal windows are discarded,
    // and the report could not be dismissed.
    EndBusyState();
    Fehler_Melden(5, notAvailable ? 41024 : 41019);
    SetStatusText(StringTable::LoadString(Ids::IDS_ACTION_ABORTED));
    m_nCurDir = m_nPrevDir;
    SelectDirectoryInCombo(m_nCurDir);
    // Only a missing directory lets the automatic sequence go on.
    if (notAvailable && m_nAutoReadMask != 0) ReadDirectory(DIR_OWN);
    if (m_nNameLen == 0) ShowCorrectionRow(false);
}

void CDlgView::OnSelchangeDirectory()
{
    const int item = m_cbDirectory->currentIndex();
    if (item < 0) return;
    if (!HasFlag(VF_PHONE_MODIFIED)) {
        ReadDirectory(item);
        return;
    }
    if (m_pQuestions->AskYesNo(Ids::IDS_SAVE_DIR_BEFORE_CHANGE, StringTable::LoadString(Ids::IDS_SAVE_DIR_BEFORE_CHANGE))) {
        m_nActiveList = LIST_NONE;
        SetFlag(VF_RELOAD_AFTER_WRITE);
        WriteDirectory();
    } else {
        ReadDirectory(item);
        ClearFlag(VF_PHONE_MODIFIED);
    }
}
