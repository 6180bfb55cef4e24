#include "pab/tools/CommandLineQuestions.h"

#include "res/ErrorReport.h"


bool CommandLineQuestions::AskYesNo(int, const std::string&)
{
    // Nobody is there to type another name or to choose: the answer that changes nothing.
    return false;
}

void CommandLineQuestions::ReportError(int errorClass, int messageId)
{
    m_reports.append(ErrorReport::plainText(errorClass, messageId));
}

bool CommandLineQuestions::RunIndexDialog(IndexDialogData& data)
{
    // The proposal (the lowest free index), for this entry and every later one.
    data.m_bAcceptAll = data.m_bShowAcceptAll;
    return true;
}

bool CommandLineQuestions::RunNameDialog(const std::string&, const std::string&, std::string&)
{
    return false;
}

bool CommandLineQuestions::RunEntryDialog(EntryDialogData&)
{
    return false;
}

bool CommandLineQuestions::RunFolderDialog(const FolderRecord*, int, int&)
{
    return false;
}

bool CommandLineQuestions::RunConnectionDialog(std::string&)
{
    return false;
}

void CommandLineQuestions::ShowMessage(int, const std::string& text)
{
    m_reports.append(QString::fromStdString(text));
}
