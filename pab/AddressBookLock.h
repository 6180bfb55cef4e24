#pragma once
// One writer at a time: a program that opens an address book for writing holds "<book>.lock" beside it for as
// long as its session lasts. The lock file records the holder's process id, host and program, so that a second
// writer can say who holds the book, and a lock whose process has died (killed, crashed) is taken over at once:
// no program that ended can keep the user out of the book.
#include <QString>

#include <memory>
#include <string>

class QLockFile;

class AddressBookLock {
public:
    explicit AddressBookLock(const std::string& bookPath);
    ~AddressBookLock();
    AddressBookLock(const AddressBookLock&) = delete;
    AddressBookLock& operator=(const AddressBookLock&) = delete;

    // True when this program may write the book: it holds the lock now, or no lock file can be made there
    // (a read-only folder, where nothing can be written anyway and the save reports why). False while a
    // running program holds it; Refusal() then says which.
    bool TryLock();
    QString Refusal() const { return m_refusal; }

    // "Telephone Directory" or "the address-book tool", by the program name the lock file records.
    static QString HolderName(const QString& programName);

private:
    QString m_bookPath;
    std::unique_ptr<QLockFile> m_lock;
    QString m_refusal;
};
