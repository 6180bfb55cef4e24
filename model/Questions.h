#pragma once
// The one seam through which the program asks the user anything: message boxes, the error report and every
// modal dialog. The program answers it with real dialogs; tests answer it from a script.
#include "model/FolderRecord.h"

#include <string>

// What the index-assignment dialog works on (the dialog's own members).
struct IndexDialogData {
    int m_nChosenIndex = 0;   // in: proposal; out: the index accepted or typed
    int m_bShowAcceptAll = 0; // 1 shows "Accept All"
    int m_bAcceptAll = 0;     // out: 1 when closed with "Accept All"
};

// What the entry dialog shows when it opens and holds after OK (at most 127 characters each).
struct EntryDialogData {
    std::string m_strTitle;
    std::string m_szName;
    std::string m_szNumber;
    std::string m_szIndex;
    std::string m_szStatus;
    int m_nNameLen = 0;
    int m_nNumberLen = 0;
    int m_nListKind = 0; // 1 telephone list, 2 address-book list
};

class IQuestions {
public:
    virtual ~IQuestions() = default;
    // A message box with Yes and No, captioned with the application name; true for Yes.
    // messageId is the string the text came from (tests answer by it).
    virtual bool AskYesNo(int messageId, const std::string& text) = 0;
    // The link library's error report: message N, its remedy N+5000, a caption by error class.
    virtual void ReportError(int errorClass, int messageId) = 0;
    // Modal dialogs; true when closed with OK.
    virtual bool RunIndexDialog(IndexDialogData& data) = 0;
    virtual bool RunNameDialog(const std::string& title, const std::string& prompt, std::string& text) = 0;
    virtual bool RunEntryDialog(EntryDialogData& data) = 0;
    virtual bool RunFolderDialog(const FolderRecord* folders, int folderCount, int& selected) = 0;
    virtual void RunAboutBox() = 0;
    // The choice of the telephone's serial port. device: in, the one in use; out, the one chosen. Empty stands
    // for the built-in phone emulator. True when closed with OK.
    virtual bool RunConnectionDialog(std::string& device) = 0;
};
