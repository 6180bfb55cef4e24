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
    enum class Access { Read, Write };
    // Uses the address-book file (empty: the program's own) until destroyed. Readers open it read-only and
    // leave it as it was; a writer holds it against other writers until destroyed. A named file that does not
    // exist is created only when `create` is set; the program's own is created on first use.
    OpenedAddressBook(const QString& pabFile, Access access, bool create);
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
    QString m_pabFile;
    bool m_bCreate = false;
};
