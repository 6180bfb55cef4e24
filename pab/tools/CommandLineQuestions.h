#pragma once
// The question seam of a program without a window: it answers what it can without asking (the proposed index
// for every entry, no other name for a name already taken) and keeps the reports' texts for the tool to print.
#include "model/Questions.h"

#include <QStringList>

class CommandLineQuestions : public IQuestions {
public:
    bool AskYesNo(int messageId, const std::string& text) override;
    void ReportError(int errorClass, int messageId) override;
    bool RunIndexDialog(IndexDialogData& data) override;
    bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) override;
    bool RunEntryDialog(EntryDialogData& data) override;
    bool RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected) override;
    void RunAboutBox() override {}
    bool RunConnectionDialog(std::string& device) override;
    bool RunVCardImportDialog(VCardImportData&) override { return false; }
    bool RunVCardExportDialog(VCardExportData&) override { return false; }
    void ShowMessage(int, const std::string& text) override;

    // Every report made so far, as a terminal shows it (caption, message, remedy).
    const QStringList& Reports() const { return m_reports; }

private:
    QStringList m_reports;
};
