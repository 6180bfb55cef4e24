#pragma once
// The program's answers to the question seam: real message boxes and real dialogs, modal to the main window.
#include "model/Questions.h"

#include <QString>

class QWidget;

class DialogQuestions : public IQuestions {
public:
    explicit DialogQuestions(QWidget* parent) : m_pParent(parent) {}

    bool AskYesNo(int messageId, const std::string& text) override;
    void ReportError(int errorClass, int messageId) override;
    bool RunIndexDialog(IndexDialogData& data) override;
    bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) override;
    bool RunEntryDialog(EntryDialogData& data) override;
    bool RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected) override;
    void RunAboutBox() override;

private:
    QWidget* m_pParent;
};
