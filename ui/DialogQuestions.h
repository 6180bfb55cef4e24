#pragma once
// The program's answers to the question seam: real message boxes and real dialogs, modal to the main window.
#include "model/Questions.h"

#include <QString>

#include <functional>
#include <utility>

class QWidget;

class DialogQuestions : public IQuestions {
public:
    // The About box belongs to the shell, which hands in how to show it (modal to the given parent).
    using AboutBox = std::function<void(QWidget* parent)>;

    explicit DialogQuestions(QWidget* parent, AboutBox aboutBox = {})
        : m_pParent(parent), m_aboutBox(std::move(aboutBox))
    {
    }

    bool AskYesNo(int messageId, const std::string& text) override;
    Answer AskYesNoOrStay(int messageId, const std::string& text) override;
    void ReportError(int errorClass, int messageId) override;
    bool RunIndexDialog(IndexDialogData& data) override;
    bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) override;
    bool RunEntryDialog(EntryDialogData& data) override;
    bool RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected) override;
    // Shows the About box handed in; nothing without one.
    void RunAboutBox() override;
    bool RunConnectionDialog(std::string& device) override;
    bool RunVCardImportDialog(VCardImportData& data) override;
    bool RunVCardExportDialog(VCardExportData& data) override;
    void ShowMessage(int messageId, const std::string& text) override;

private:
    QWidget* m_pParent;
    AboutBox m_aboutBox;
};
