#pragma once
// What the address book needs from the window that shows it. The form implements it with its widgets, the
// address-book tool with a host of its own, tests with a recorder. The address book decides which folder is
// shown; the host only shows it.
#include "model/IStatusLine.h"

#include <string>

class IAddressBookHost : public IStatusLine {
public:
    // Number of rows the address-book list (control 1007) shows.
    virtual int AbListItemCount() const = 0;
    // Deletes every row of the address-book list.
    virtual void ClearAbList() = 0;
    // Destroys the form and ends the process with the exit code (-1 after a failure of the address book).
    virtual void EndProgram(int exitCode) = 0;
    // Shows the address-book table in the address-book list (control 1007); resetStates marks every entry as
    // agreeing with the book.
    virtual void FillAbList(bool resetStates) = 0;
    // The folder combo box 1004 lists the folder records in order; it points into them, so it is emptied before
    // they are rebuilt.
    virtual void FillFolderCombo() = 0;
    virtual void ClearFolderCombo() = 0;
    // The folder item chosen (-1 when none), and choosing one without running the selection handling.
    virtual int SelectedFolderItem() const = 0;
    virtual void SelectFolderItem(int item) = 0;
};
