#include "pab/tools/CommandLineQuestions.h"

#include "res/Cp1252.h"
#include "res/ErrorReport.h"
#include "res/StringTable.h"


bool CommandLineQuestions::AskYesNo(int messageId, const std::string& text)
{
    // "The name ... already exists - Enter another name ?": no one is there to type one; the entry is left out
    // and named in the summary.
    if (messageId == Ids::IDS_NAME_EXISTS) {
        const size_t open = text.find('\'');
        const size_t close = open == std::string::npos ? open : text.find('\'', open + 1);
        if (close != std::string::npos) m_namesTaken.append(Cp1252::toQString(text.substr(open + 1, close - open - 1)).trimmed());
    }
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
    m_reports.append(Cp1252::toQString(text));
}
