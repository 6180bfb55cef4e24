#pragma once
// The address book open on one folder, as the program opens it, answered without a window: for the
// address-book tool's commands.
#include "pab/AddressBook.h"
#include "pab/tools/CommandLineHost.h"
#include "pab/tools/CommandLineQuestions.h"

#include <QString>
#include <QStringList>

#include <memory>

struct EntryStore;

class OpenedAddressBook {
public:
    // Uses the address-book file (empty: the program's own) until destroyed.
    explicit OpenedAddressBook(const QString& pabFile);
    ~OpenedAddressBook();
    OpenedAddressBook(const OpenedAddressBook&) = delete;
    OpenedAddressBook& operator=(const OpenedAddressBook&) = delete;

    // Opens the book and shows the folder of that name (the book itself when empty); false with the reason.
    bool Open(const QString& folder, QString* error);
    // The names of all folders, quoted, for a message.
    QStringList FolderNames() const;

    EntryStore& Store() { return *m_store; }
    AddressBook& Book() { return *m_book; }
    CommandLineQuestions& Questions() { return m_questions; }
    CommandLineHost& Host() { return m_host; }

private:
    std::unique_ptr<EntryStore> m_store;
    CommandLineQuestions m_questions;
    CommandLineHost m_host;
    std::unique_ptr<AddressBook> m_book;
};
