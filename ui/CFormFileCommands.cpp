// The File menu's commands beyond saving: folders and distribution lists, the telephone's connection and its
// backups, the preferences, and vCard files. The dialogs ask; the layers do the work.
#include "model/EntryStore.h"
#include "model/FormSettings.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "pab/VCardTransfer.h"
#include "phone/TelephoneBackups.h"
#include "phone/TelephoneConnection.h"
#include "phone/TelephoneDirectories.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CEntryPanes.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormCommands.h"
#include "ui/CFormControls.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CPreferencesDlg.h"
#include "ui/CPreviewRow.h"
#include "ui/CRestoreBackupDlg.h"

#include <QSettings>
#include <QTreeWidget>

void CFormCommands::OnNewFolder()
{
    m_parts.book.NewFolder();
}

void CFormCommands::OnOpenFolder()
{
    m_parts.book.OpenFolder();
}

void CFormCommands::OnRenameList()
{
    m_parts.book.RenameShownList();
}

void CFormCommands::OnDeleteList()
{
    m_parts.book.DeleteShownList();
}

void CFormCommands::OnConnection()
{
    if (m_parts.phone.RefuseWhileBusy()) return;
    const std::string current = TelephoneConnection::Current().toStdString();
    std::string chosen = current;
    if (!m_parts.questions.RunConnectionDialog(chosen) || chosen == current) return;
    m_parts.phone.ChangeTelephone(chosen);
}

void CFormCommands::OnRestoreBackup()
{
    if (m_parts.phone.RefuseWhileBusy()) return;
    CRestoreBackupDlg dialog(m_parts.form, m_parts.questions, TelephoneBackups(),
                             [this](const QString& path) { return RestoreTelephoneBackup(path); });
    dialog.exec();
}

bool CFormCommands::RestoreTelephoneBackup(const QString& backupPath)
{
    if (m_restoreBackup) return m_restoreBackup(backupPath);
    return m_parts.phone.RestoreBackup(backupPath);
}

void CFormCommands::OnPreferences()
{
    QSettings settings;
    CPreferencesDlg dialog(m_parts.form, settings, [this](QString& device) {
        std::string chosen = device.toStdString();
        if (!m_parts.questions.RunConnectionDialog(chosen)) return false;
        device = QString::fromStdString(chosen);
        return true;
    });
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyPreferences(dialog.Values());
}

void CFormCommands::ApplyPreferences(const FormSettings& values)
{
    if (values.m_nShowCorrection != 0) m_parts.store.SetFlag(VF_SHOW_CORRECTION);
    else m_parts.store.ClearFlag(VF_SHOW_CORRECTION);
    m_parts.preview.ShowCorrectionRow(true);
    // The telephone changes at once, as through the connection dialog; a change refused or failed there leaves
    // the settings naming the telephone in use, not one the program does not talk to.
    const QString inUse = TelephoneConnection::Current();
    if (values.m_strDevice == inUse || m_parts.phone.ChangeTelephone(values.m_strDevice.toStdString())) return;
    QSettings settings;
    FormSettings kept = FormSettings::Read(settings);
    kept.m_strDevice = inUse;
    kept.Write(settings);
}

// An import lands in the folder shown like a transfer, and is kept only when the user saves.
void CFormCommands::OnImportVCard()
{
    VCardImportData request;
    if (!m_parts.questions.RunVCardImportDialog(request)) return;
    // As after a transfer: no list is active and the preview row is empty while the list is refilled.
    m_parts.store.m_nActiveList = LIST_NONE;
    m_parts.preview.EmptyPreview();
    VCardTransfer(m_parts.store, m_parts.questions, m_parts.host).Import(request);
}

void CFormCommands::OnExportVCard()
{
    const CFormControls& controls = m_parts.controls;
    VCardExportData request;
    request.m_nList = m_parts.store.m_nActiveList == LIST_PHONE || controls.m_lcAddressBook->topLevelItemCount() == 0 ? 1 : 2;
    request.m_nSelected[0] = int(m_parts.panes.List(LIST_PHONE)->SelectedRows().size());
    request.m_nSelected[1] = int(m_parts.panes.List(LIST_AB)->SelectedRows().size());
    request.m_strListNames[0] = controls.m_cbDirectory->currentText().toStdString();
    request.m_strListNames[1] = controls.m_cbFolder->currentText().toStdString();
    if (!m_parts.questions.RunVCardExportDialog(request)) return;
    const bool phone = request.m_nList == 1;
    const QTreeWidget* list = phone ? controls.m_lcPhone : controls.m_lcAddressBook;
    const DirTable& table = phone ? m_parts.store.CurrentPhoneTable() : m_parts.store.m_abTable;
    // In the order the list shows them.
    std::vector<int> chosen;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        const DirEntry* entry = CFormLists::EntryOfItem(item);
        if (!entry || (request.m_bSelectedOnly && !item->isSelected())) continue;
        chosen.push_back(int(entry - &table[0]));
    }
    VCardTransfer(m_parts.store, m_parts.questions, m_parts.host).Export(request, table, chosen);
}
