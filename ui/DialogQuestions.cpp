#include "ui/DialogQuestions.h"

#include "model/FieldRules.h"
#include "res/ErrorReport.h"
#include "res/StringTable.h"
#include "ui/CConnectionDlg.h"
#include "ui/CEntryDlg.h"
#include "ui/CFolderSelectDlg.h"
#include "ui/CIndexDlg.h"
#include "ui/CNameInputDlg.h"
#include "ui/CVCardExportDlg.h"
#include "ui/CVCardImportDlg.h"

#include <QMessageBox>
#include <QPushButton>

bool DialogQuestions::AskYesNo(int, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, StringTable::LoadQString(Ids::IDS_APP_TITLE), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

IQuestions::Answer DialogQuestions::AskYesNoOrStay(int, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, StringTable::LoadQString(Ids::IDS_APP_TITLE), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape and the box's close button press a button nobody sees: neither Yes nor No was chosen.
    QPushButton* stay = box.addButton(QMessageBox::Cancel);
    stay->hide();
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes)) return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No)) return Answer::No;
    return Answer::Stay;
}

void DialogQuestions::ReportError(int errorClass, int messageId)
{
    QMessageBox box(errorClass == 4 ? QMessageBox::Information : QMessageBox::Warning, ErrorReport::caption(errorClass),
                    ErrorReport::message(messageId), QMessageBox::Ok, m_pParent);
    // The link's word on the serial device, when it has one, stands under the remedy where the user reads it.
    const QString detail = ErrorReport::detail();
    const QString remedy = ErrorReport::remedy(messageId);
    box.setInformativeText(detail.isEmpty() ? remedy : remedy + QStringLiteral("\n\n") + detail);
    box.exec();
}

bool DialogQuestions::RunIndexDialog(IndexDialogData& data)
{
    CIndexDlg dialog(m_pParent);
    dialog.m_nChosenIndex = data.m_nChosenIndex;
    dialog.m_bShowAcceptAll = data.m_bShowAcceptAll;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    data.m_nChosenIndex = dialog.m_nChosenIndex;
    data.m_bAcceptAll = dialog.m_bAcceptAll;
    return accepted;
}

bool DialogQuestions::RunNameDialog(const std::string& title, const std::string& prompt, std::string& text)
{
    CNameInputDlg dialog(m_pParent);
    dialog.m_strTitle = title;
    dialog.m_strPrompt = prompt;
    dialog.m_strText = text;
    if (dialog.exec() != QDialog::Accepted) return false;
    text = dialog.m_szName;
    return true;
}

bool DialogQuestions::RunEntryDialog(EntryDialogData& data)
{
    CEntryDlg dialog(m_pParent);
    dialog.m_strTitle = data.m_strTitle;
    // The dialog's texts hold 127 characters; a longer name or number of an address-book entry is shown cut.
    dialog.m_szName = CutText(data.m_szName, CEntryDlg::kMaxText);
    dialog.m_szNumber = CutText(data.m_szNumber, CEntryDlg::kMaxText);
    dialog.m_szIndex = CutText(data.m_szIndex, CEntryDlg::kMaxText);
    dialog.m_szStatus = CutText(data.m_szStatus, CEntryDlg::kMaxText);
    dialog.m_nNameLen = data.m_nNameLen;
    dialog.m_nUcs2NameLen = data.m_nUcs2NameLen;
    dialog.m_nNumberLen = data.m_nNumberLen;
    dialog.m_nListKind = data.m_nListKind;
    if (dialog.exec() != QDialog::Accepted) return false;
    data.m_szName = dialog.m_szName;
    data.m_szNumber = dialog.m_szNumber;
    data.m_szIndex = dialog.m_szIndex;
    data.m_szStatus = dialog.m_szStatus;
    return true;
}

bool DialogQuestions::RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected)
{
    CFolderSelectDlg dialog(m_pParent);
    dialog.m_pFolderTable = folders;
    dialog.m_nFolderCount = folderCount;
    if (dialog.exec() != QDialog::Accepted) return false;
    selected = dialog.m_nSelected;
    return true;
}

void DialogQuestions::RunAboutBox()
{
    if (m_aboutBox) m_aboutBox(m_pParent);
}

bool DialogQuestions::RunConnectionDialog(std::string& device)
{
    CConnectionDlg dialog(m_pParent, QString::fromStdString(device));
    if (dialog.exec() != QDialog::Accepted) return false;
    device = dialog.ChosenDevice().toStdString();
    return true;
}

bool DialogQuestions::RunVCardImportDialog(VCardImportData& data)
{
    CVCardImportDlg dialog(m_pParent, data);
    if (dialog.exec() != QDialog::Accepted) return false;
    data = dialog.Data();
    return true;
}

bool DialogQuestions::RunVCardExportDialog(VCardExportData& data)
{
    CVCardExportDlg dialog(m_pParent, data);
    if (dialog.exec() != QDialog::Accepted) return false;
    data = dialog.Data();
    return true;
}

void DialogQuestions::ShowMessage(int, const std::string& text)
{
    QMessageBox box(QMessageBox::Information, StringTable::LoadQString(Ids::IDS_APP_TITLE), QString::fromStdString(text),
                    QMessageBox::Ok, m_pParent);
    box.exec();
}
