#include "ScriptedQuestions.h"

#include <algorithm>
#include <string>

std::vector<int> ScriptedQuestions::TakeReports()
{
    std::vector<int> reports;
    for (const Asked& asked : m_asked)
        if (asked.kind == "error" && !asked.allowed) reports.push_back(asked.id);
    m_reportsTaken = reports.size();
    return reports;
}

std::vector<std::string> ScriptedQuestions::LeftOpen() const
{
    std::vector<std::string> open;
    for (const std::string& question : m_unanswered) open.push_back("asked without an answer: " + question);
    for (const auto& [id, yes] : m_yesNo) open.push_back("never asked: yesno " + std::to_string(id));
    for (size_t i = 0; i < m_index.size(); ++i) open.push_back("never asked: index");
    for (size_t i = 0; i < m_names.size(); ++i) open.push_back("never asked: name");
    for (size_t i = 0; i < m_entries.size(); ++i) open.push_back("never asked: entry");
    for (size_t i = 0; i < m_folders.size(); ++i) open.push_back("never asked: folder");
    for (size_t i = 0; i < m_connections.size(); ++i) open.push_back("never asked: connection");
    for (size_t i = 0; i < m_imports.size(); ++i) open.push_back("never asked: vcard-import");
    for (size_t i = 0; i < m_exports.size(); ++i) open.push_back("never asked: vcard-export");
    size_t reports = 0;
    for (const Asked& asked : m_asked)
        if (asked.kind == "error" && !asked.allowed && ++reports > m_reportsTaken)
            open.push_back("report not checked: " + std::to_string(asked.id));
    return open;
}

std::vector<ScriptedQuestions::Asked> ScriptedQuestions::AskedOfKind(const std::string& kind) const
{
    std::vector<Asked> ofKind;
    for (const Asked& asked : m_asked)
        if (asked.kind == kind) ofKind.push_back(asked);
    return ofKind;
}

std::function<bool(IndexDialogData&)> ScriptedQuestions::TypeIndex(int index, bool acceptAll)
{
    return [index, acceptAll](IndexDialogData& data) {
        data.m_nChosenIndex = index;
        data.m_bAcceptAll = acceptAll ? 1 : 0;
        return true;
    };
}

std::function<bool(IndexDialogData&)> ScriptedQuestions::KeepProposal(bool acceptAll)
{
    return [acceptAll](IndexDialogData& data) {
        data.m_bAcceptAll = acceptAll ? 1 : 0;
        return true;
    };
}

std::function<bool(IndexDialogData&)> ScriptedQuestions::CancelIndex()
{
    return [](IndexDialogData&) { return false; };
}

void ScriptedQuestions::Clear()
{
    m_asked.clear();
    m_indexShown.clear();
    m_namesShown.clear();
    m_unanswered.clear();
    m_reportsTaken = 0;
}

bool ScriptedQuestions::AskYesNo(int messageId, const std::string& text)
{
    return AskYesNoOrStay(messageId, text) == Answer::Yes;
}

IQuestions::Answer ScriptedQuestions::AskYesNoOrStay(int messageId, const std::string& text)
{
    m_asked.push_back({"yesno", messageId, text});
    if (m_yesNo.empty() || m_yesNo.front().first != messageId) {
        m_unanswered.push_back("yesno " + std::to_string(messageId));
        return Answer::No;
    }
    const Answer answer = m_yesNo.front().second;
    m_yesNo.pop_front();
    return answer;
}

template <typename Queued>
std::optional<Queued> ScriptedQuestions::TakeAnswer(std::deque<Queued>& queue, const char* kind)
{
    if (queue.empty()) {
        m_unanswered.push_back(kind);
        return std::nullopt;
    }
    Queued answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

void ScriptedQuestions::ReportError(int errorClass, int messageId)
{
    const int report = errorClass * 100000 + messageId;
    const bool allowed = std::find(m_allowedReports.begin(), m_allowedReports.end(), report) != m_allowedReports.end();
    m_asked.push_back({"error", report, {}, allowed});
    if (m_reportObserver) m_reportObserver(report);
}

bool ScriptedQuestions::RunIndexDialog(IndexDialogData& data)
{
    m_asked.push_back({"index", data.m_nChosenIndex, data.m_bShowAcceptAll ? "accept-all" : ""});
    m_indexShown.push_back(data);
    const auto answer = TakeAnswer(m_index, "index");
    return answer && (*answer)(data);
}

bool ScriptedQuestions::RunNameDialog(const std::string& title, const std::string& prompt, std::string& text)
{
    m_asked.push_back({"name", 0, title + "|" + text});
    m_namesShown.push_back({title, prompt, text});
    const auto answer = TakeAnswer(m_names, "name");
    if (!answer || !answer->first) return false;
    text = answer->second;
    return true;
}

bool ScriptedQuestions::RunEntryDialog(EntryDialogData& data)
{
    m_asked.push_back({"entry", data.m_nListKind, data.m_strTitle});
    const auto answer = TakeAnswer(m_entries, "entry");
    return answer && (*answer)(data);
}

bool ScriptedQuestions::RunFolderDialog(const FolderRecord*, int folderCount, int& selected)
{
    m_asked.push_back({"folder", folderCount, {}});
    const auto answer = TakeAnswer(m_folders, "folder");
    if (!answer) return false;
    selected = answer->second;
    return answer->first;
}

void ScriptedQuestions::RunAboutBox()
{
    m_asked.push_back({"about", 0, {}});
}

bool ScriptedQuestions::RunConnectionDialog(std::string& device)
{
    m_asked.push_back({"connection", 0, device});
    const auto answer = TakeAnswer(m_connections, "connection");
    if (!answer || !answer->first) return false;
    device = answer->second;
    return true;
}

bool ScriptedQuestions::RunVCardImportDialog(VCardImportData& data)
{
    m_asked.push_back({"vcard-import", 0, data.m_strPath});
    const auto answer = TakeAnswer(m_imports, "vcard-import");
    return answer && (*answer)(data);
}

bool ScriptedQuestions::RunVCardExportDialog(VCardExportData& data)
{
    m_asked.push_back({"vcard-export", data.m_nList, data.m_strPath});
    const auto answer = TakeAnswer(m_exports, "vcard-export");
    return answer && (*answer)(data);
}

void ScriptedQuestions::ShowMessage(int messageId, const std::string& text)
{
    m_asked.push_back({"message", messageId, text});
}
