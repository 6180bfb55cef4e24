// The form's side of the telephone directories: its handlers hand the work to the telephone layer, which shows
// its results through the form's widgets.
#include "model/Questions.h"
#include "phone/TelephoneConnection.h"
#include "phone/TelephoneBackups.h"
#include "phone/TelephoneDirectories.h"
#include "ui/CRestoreBackupDlg.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"
#include "ui/IFormFrame.h"

void CDlgView::StartFirstPhoneRead()
{
    m_phone->ReadDirectory(FirstDirectoryToRead());
}

void CDlgView::ReadDirectory(int directory)
{
    m_phone->ReadDirectory(directory);
}

void CDlgView::OnPhonebookRead(intptr_t wParam, intptr_t lParam)
{
    m_phone->OnPhonebookRead(wParam, lParam);
}

void CDlgView::WriteDirectory()
{
    m_phone->WriteDirectory();
}

void CDlgView::OnPhonebookWritten(intptr_t wParam, intptr_t lParam)
{
    m_phone->OnPhonebookWritten(wParam, lParam);
}

void CDlgView::OnConnection()
{
    if (m_phone->RefuseWhileBusy()) return;
    const std::string current = TelephoneConnection::Current().toStdString();
    std::string chosen = current;
    if (!m_pQuestions->RunConnectionDialog(chosen) || chosen == current) return;
    m_phone->ChangeTelephone(chosen);
}

void CDlgView::OnRestoreBackup()
{
    if (m_phone->RefuseWhileBusy()) return;
    CRestoreBackupDlg dialog(this, *m_pQuestions, TelephoneBackups(),
                             [this](const QString& path) { return RestoreTelephoneBackup(path); });
    dialog.exec();
}

bool CDlgView::RestoreTelephoneBackup(const QString& backupPath)
{
    if (m_restoreBackup) return m_restoreBackup(backupPath);
    return m_phone->RestoreBackup(backupPath);
}

void CDlgView::OnSelchangeDirectory()
{
    ClearStaleStatus();
    m_phone->ChangeDirectory(m_cbDirectory->currentIndex());
}

bool CDlgView::RefusePhoneChange(int list)
{
    return list == LIST_PHONE && m_phone->RefuseWhileBusy();
}

void CDlgView::SelectDirectoryInCombo(int directory)
{
    m_cbDirectory->setCurrentIndex(directory);
}

void CDlgView::ShowBusy(bool busy)
{
    // While the telephone works the form shows the wait cursor and modal loops take no clicks or keys.
    if (busy) setCursor(Qt::WaitCursor);
    else unsetCursor();
    if (m_pFrame) m_pFrame->SetInputBlocked(busy);
}

void CDlgView::CloseFrame()
{
    QMetaObject::invokeMethod(this, &CDlgView::LeaveProgram, Qt::QueuedConnection);
}
