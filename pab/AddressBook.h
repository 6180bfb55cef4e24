#pragma once
// The personal address book as the form and the address-book tool use it: opening it at start-up, showing the
// folder chosen, creating and choosing folders, saving the folder shown and ending the session. The session with
// its MAPI objects lies behind it (pab/AddressBookSession.h), out of sight of the layers above.
#include <memory>

struct EntryStore;
class AddressBookSession;
class IAddressBookHost;
class IQuestions;

class AddressBook {
public:
    AddressBook(EntryStore& store, IQuestions& questions, IAddressBookHost& host);
    ~AddressBook();
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    // Start-up: session, folder table and the book's own entries; false (after the report) when the program
    // cannot go on without its address book.
    bool OpenAtStartUp();
    // Readers (listing, exporting) open the book read-only, before OpenAtStartUp: they take no lock, never
    // change the file, and indices missing in it are given in memory only. Writers hold the book's lock.
    void SetReadOnly(bool readOnly);
    // The folder chosen in the folder combo box: asks about unsaved changes, then reads and shows it.
    void ChangeFolder();
    // A new distribution list in the folder shown, named by the user; then shown.
    void NewFolder();
    // The folder chosen in the folder dialog is shown.
    void OpenFolder();
    // The distribution list shown: renamed, or deleted with its entries kept in the folder that held it. Not the
    // book itself: CanEditShownList says whether the commands apply.
    bool CanEditShownList() const;
    void RenameShownList();
    void DeleteShownList();
    // Saves the changes of the table into the folder shown, then reads it again.
    void SaveAddressBook();
    // As the save button: no list is active afterwards.
    void SaveBeforeLeaving();
    // Ends the session; does nothing when it has ended already.
    void CloseSession();

    // The session behind the book, for tests and benchmarks that look at its MAPI objects.
    AddressBookSession& Internals() { return *m_session; }

private:
    std::unique_ptr<AddressBookSession> m_session;
};
