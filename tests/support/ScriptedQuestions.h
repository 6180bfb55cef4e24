#pragma once
// Answers the program's question seam from a script, and records every question asked, so that tests can say
// "answer No to 61262" and check which reports were made.
#include "model/Questions.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedQuestions : public IQuestions {
public:
    struct Asked {
        std::string kind; // "yesno", "error", "index", "name", "entry", "folder", "about",
                          // "connection" (text: the device in use), "vcard-import", "vcard-export", "message"
        int id = 0;       // message id, or error class * 100000 + message id for reports
        std::string text;
        // A report the test allowed (AllowReport): still recorded where it came, but neither taken nor left open.
        bool allowed = false;
    };
    // A name dialog as it was when it opened.
    struct NameDialogShown {
        std::string title;
        std::string prompt;
        std::string text;
    };

    // Queue answers; each question takes the first queued answer of its kind.
    void AnswerYesNo(int messageId, bool yes) { m_yesNo.push_back({messageId, yes ? Answer::Yes : Answer::No}); }
    // Escape on a question that allows it (AskYesNoOrStay); asked by AskYesNo, it counts as No.
    void AnswerStay(int messageId) { m_yesNo.push_back({messageId, Answer::Stay}); }
    void AnswerIndex(std::function<bool(IndexDialogData&)> answer) { m_index.push_back(std::move(answer)); }
    // Ready answers for AnswerIndex: OK with an index typed over the proposal, OK on the proposal as it stands
    // (both with or without "Accept All"), and Cancel.
    static std::function<bool(IndexDialogData&)> TypeIndex(int index, bool acceptAll = false);
    static std::function<bool(IndexDialogData&)> KeepProposal(bool acceptAll = false);
    static std::function<bool(IndexDialogData&)> CancelIndex();
    void AnswerName(bool ok, const std::string& name = {}) { m_names.push_back({ok, name}); }
    void AnswerEntry(std::function<bool(EntryDialogData&)> answer) { m_entries.push_back(std::move(answer)); }
    void AnswerFolder(bool ok, int selected) { m_folders.push_back({ok, selected}); }
    // The connection dialog: OK with the device (empty: the built-in phone emulator), or Cancel.
    void AnswerConnection(bool ok, const std::string& device = {}) { m_connections.push_back({ok, device}); }
    // The vCard dialogs: a function that fills the data and says OK (true) or Cancel.
    void AnswerVCardImport(std::function<bool(VCardImportData&)> answer) { m_imports.push_back(std::move(answer)); }
    void AnswerVCardExport(std::function<bool(VCardExportData&)> answer) { m_exports.push_back(std::move(answer)); }
    // The message boxes shown (kind "message", id, text); they need no answer.
    std::vector<Asked> MessagesShown() const { return AskedOfKind("message"); }
    // A report (class * 100000 + message id) that may come at any time and that the test does not check: it
    // is kept out of TakeReports() and never counts as left open.
    void AllowReport(int report) { m_allowedReports.push_back(report); }
    // Called with every report as it is made, for a test that looks at the program at that moment.
    void OnReport(std::function<void(int report)> observer) { m_reportObserver = std::move(observer); }

    const std::vector<Asked>& AskedSoFar() const { return m_asked; }
    // The questions of one kind, in order.
    std::vector<Asked> AskedOfKind(const std::string& kind) const;
    // Every index dialog and name dialog as it was when it opened, in order.
    const std::vector<IndexDialogData>& IndexDialogsShown() const { return m_indexShown; }
    const std::vector<NameDialogShown>& NameDialogsShown() const { return m_namesShown; }
    // Error reports as class * 100000 + message id, in order. Taking them says the test has checked them.
    std::vector<int> TakeReports();
    // Questions that found no scripted answer (answered No / Cancel); a test expects this to stay empty.
    const std::vector<std::string>& Unanswered() const { return m_unanswered; }
    // Everything a test has left open: questions without an answer, answers no question took, and reports made
    // since the test last took them. Empty when the script and the program agreed.
    std::vector<std::string> LeftOpen() const;
    // Forgets the questions asked so far (and the reports with them); scripted answers stay queued.
    void Clear();

    bool AskYesNo(int messageId, const std::string& text) override;
    Answer AskYesNoOrStay(int messageId, const std::string& text) override;
    void ReportError(int errorClass, int messageId) override;
    bool RunIndexDialog(IndexDialogData& data) override;
    bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) override;
    bool RunEntryDialog(EntryDialogData& data) override;
    bool RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected) override;
    void RunAboutBox() override;
    bool RunConnectionDialog(std::string& device) override;
    bool RunVCardImportDialog(VCardImportData& data) override;
    bool RunVCardExportDialog(VCardExportData& data) override;
    void ShowMessage(int messageId, const std::string& text) override;

private:
    // The first queued answer of a kind; none when the script has run out (the question counts as unanswered).
    template <typename Queued>
    std::optional<Queued> TakeAnswer(std::deque<Queued>& queue, const char* kind);

    std::deque<std::pair<int, Answer>> m_yesNo;
    std::deque<std::function<bool(IndexDialogData&)>> m_index;
    std::deque<std::pair<bool, std::string>> m_names;
    std::deque<std::function<bool(EntryDialogData&)>> m_entries;
    std::deque<std::pair<bool, int>> m_folders;
    std::deque<std::pair<bool, std::string>> m_connections;
    std::deque<std::function<bool(VCardImportData&)>> m_imports;
    std::deque<std::function<bool(VCardExportData&)>> m_exports;
    std::vector<Asked> m_asked;
    std::vector<IndexDialogData> m_indexShown;
    std::vector<NameDialogShown> m_namesShown;
    std::vector<std::string> m_unanswered;
    std::vector<int> m_allowedReports;
    std::function<void(int)> m_reportObserver;
    size_t m_reportsTaken = 0; // reports made before this many are checked
};
