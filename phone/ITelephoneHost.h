#pragma once
// What the telephone directories need from the window that shows them. The form implements it with its
// widgets; tests implement it with a recorder.
#include <string>

class ITelephoneHost {
public:
    virtual ~ITelephoneHost() = default;
    // Pane 0 of the main frame's status bar, redrawn at once. Text in code page 1252.
    virtual void SetStatusText(const std::string& text) = 0;
    // Shows the current directory's table in the telephone list; resetStates marks every live entry as agreeing
    // with the telephone.
    virtual void FillPhoneList(bool resetStates) = 0;
    virtual void SelectDirectoryInCombo(int directory) = 0;
    // Empties the telephone list while a directory is read: no row of another directory stays selectable.
    virtual void ClearPhoneList() = 0;
    virtual void ShowCorrectionRow(bool show) = 0;
    // The wait cursor and the input block of modal loops while the telephone works.
    virtual void ShowBusy(bool busy) = 0;
    // Closes the main window once the current message is handled (a save chosen at exit has ended).
    virtual void CloseFrame() = 0;
};
