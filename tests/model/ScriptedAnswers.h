#pragma once
// Answers the program's questions from a script written by the test, and records what was asked.
#include "model/Questions.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

class ScriptedAnswers : public IQuestions {
public:
    struct IndexAnswer {
        bool ok = true;
        int index = 0;          // typed into the dialog; kProposal keeps what the dialog proposed
        bool acceptAll = false;
    };
    static constexpr int kProposal = -999999;
    struct NameAnswer {
        bool ok = true;
        std::string name;
    };

    std::deque<bool> m_yesNoAnswers;
    std::deque<IndexAnswer> m_indexAnswers;
    std::deque<NameAnswer> m_nameAnswers;

    std::vector<std::pair<int, std::string>> m_askedYesNo;
    std::vector<std::pair<int, int>> m_reportedErrors;
    std::vector<IndexDialogData> m_shownIndexDialogs; // as they were when opened
    std::vector<std::string> m_shownNameTexts;
    std::string m_lastNameTitle;
    std::string m_lastNamePrompt;

    bool AskYesNo(int messageId, const std::string& text) override
    {
        m_askedYesNo.emplace_back(messageId, text);
        return Pop(m_yesNoAnswers, false);
    }
    void ReportError(int errorClass, int messageId) override { m_reportedErrors.emplace_back(errorClass, messageId); }
    bool RunIndexDialog(IndexDialogData& data) override
    {
        m_shownIndexDialogs.push_back(data);
        const IndexAnswer answer = Pop(m_indexAnswers, IndexAnswer{false, 0, false});
        if (!answer.ok) return false;
        if (answer.index != kProposal) data.m_nChosenIndex = answer.index;
        data.m_bAcceptAll = answer.acceptAll ? 1 : 0;
        return true;
    }
    bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) override
    {
        m_lastNameTitle = title;
        m_lastNamePrompt = prompt;
        m_shownNameTexts.push_back(text);
        const NameAnswer answer = Pop(m_nameAnswers, NameAnswer{false, {}});
        if (answer.ok) text = answer.name;
        return answer.ok;
    }
    bool RunEntryDialog(EntryDialogData&) override { return false; }
    bool RunFolderDialog(const FolderRecord*, int, int&) override { return false; }
    void RunAboutBox() override {}

private:
    // An unscripted question is answered with No / Cancel, which the tests then see in the records.
    template <typename T> static T Pop(std::deque<T>& answers, T fallback)
    {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
