#include "ui/DialogQuestions.h"

#include "app/CAboutDlg.h"
#include "res/Cp1252.h"
#include "res/StringTable.h"
#include "ui/CIndexDlg.h"
#include "ui/CNameInputDlg.h"

#include <QMessageBox>

bool DialogQuestions::AskYesNo(int, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, StringTable::LoadQString(Ids::IDS_APP_TITLE), Cp1252::toQString(text),
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString DialogQuestions::ReportCaption(int errorClass)
{
    const QString app = StringTable::LoadQString(Ids::IDS_APP_TITLE);
    switch (errorClass) {
    case 2: return app + QStringLiteral(" - Address book error");
    case 3: return app + QStringLiteral(" - Error writing to the telephone");
    case 4: return app + QStringLiteral(" - Input error");
    case 5: return app + QStringLiteral(" - Error reading from the telephone");
    default: return app + QStringLiteral(" - Error");
    }
}

void DialogQuestions::ReportError(int errorClass, int messageId)
{
    QMessageBox box(errorClass == 4 ? QMessageBox::Information : QMessageBox::Warning, ReportCaption(errorClass),
                    StringTable::LoadQString(messageId), QMessageBox::Ok, m_pParent);
    const int remedy = messageId + Ids::REMEDY_OFFSET;
    if (StringTable::Has(remedy)) box.setInformativeText(StringTable::LoadQString(remedy));
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

bool DialogQuestions::RunEntryDialog(EntryDialogData&)
{
    return false; // the entry dialog arrives with the editing commands
}

bool DialogQuestions::RunFolderDialog(const FolderRecord*, int, int&)
{
    return false; // the folder-selection dialog arrives with the folder commands
}

void DialogQuestions::RunAboutBox()
{
    CAboutDlg dialog(m_pParent);
    dialog.exec();
}
