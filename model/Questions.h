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
    int m_nUcs2NameLen = 0;
    int m_nNumberLen = 0;
    int m_nListKind = 0; // 1 telephone list, 2 address-book list
};

// What the vCard import dialog asks: the file, and which numbers of a card become entries.
struct VCardImportData {
    std::string m_strPath;  // UTF-8 path
    int m_nNumbers = 1;     // 0 the first number, 1 the preferred one, 2 one entry per number
};

// What the vCard export dialog asks: the file, the vCard version, and which entries of which list.
struct VCardExportData {
    std::string m_strPath;     // UTF-8 path
    int m_nVersion = 3;        // 3 or 4
    int m_nList = 2;           // 1 the telephone directory shown, 2 the address-book folder shown
    int m_bSelectedOnly = 0;   // 1: only the list's selected entries
    int m_nSelected[2] = {0, 0}; // in: how many entries each list has selected (telephone, address book)
    std::string m_strListNames[2]; // in: the directory and the folder shown (UTF-8), for the suggested file name
};

class IQuestions {
public:
    virtual ~IQuestions() = default;
    // A message box with Yes and No, captioned with the application name; true for Yes.
    // messageId is the string the text came from (tests answer by it).
    virtual bool AskYesNo(int messageId, const std::string& text) = 0;
    // The same question where leaving it without an answer (Escape, its close box) means "stay": nothing is
    // saved and nothing is dropped. Seams without such a way out answer Yes or No.
    enum class Answer { Yes, No, Stay };
    virtual Answer AskYesNoOrStay(int messageId, const std::string& text)
    {
        return AskYesNo(messageId, text) ? Answer::Yes : Answer::No;
    }
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
    virtual bool RunVCardImportDialog(VCardImportData& data) = 0;
    virtual bool RunVCardExportDialog(VCardExportData& data) = 0;
    // A message box with OK, captioned with the application name, for what a command has to say beyond the
    // error reports (cards left out of an import, a file that cannot be read). messageId names the text's kind.
    virtual void ShowMessage(int messageId, const std::string& text) = 0;
};
