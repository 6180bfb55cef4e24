#pragma once
// Two-way synchronization of the personal address book with a CardDAV address book. One Run reads every folder
// of a book opened for writing (its writer lock held, no unsaved changes), asks the server what changed since the
// last run, merges each contact three ways (model/VCardMerge) against the card both sides agreed on last time,
// writes the server's side, then the book, then the new state beside the book. Plain C++ for a worker thread or
// the address-book tool: Cancel may come from any thread, progress goes to a callback.
//
// A run cut anywhere (a lost connection, a cancel, the program killed) leaves the server, the book and the state
// such that the next run converges: the state is saved last and only claims what both sides hold, the book is
// written before it, and a conflict copy has a UID drawn from the contact and its local card, so that a run
// repeated after a cut finds the copy it already put instead of making another.
#include "pab/SyncAccount.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>

class AddressBook;
class CardDavClient;
struct EntryStore;
class IAddressBookHost;
class IQuestions;

struct AddressBookSyncResult {
    enum class Failure { None, Authentication, Certificate, Network, Refused, Cancelled, Book, State };

    Failure failure = Failure::None;
    QString error;                  // the cause in words, for the user
    QString certificateFingerprint; // Certificate: the SHA-256 of the server's certificate, to confirm
    QString collection;             // the address book synchronized with (found by discovery when not set)
    int sent = 0;                   // cards put on the server (conflict copies included)
    int received = 0;               // cards taken into the book, new or changed
    int deleted = 0;                // contacts deleted on either side
    int conflicts = 0;              // conflict copies kept
    int notTaken = 0;               // server cards the book had no room for; a later run takes them
    int requests = 0;               // HTTP requests sent
    QStringList notes;              // what the user should know although the run succeeded

    bool ok() const { return failure == Failure::None; }
    QString Summary() const;
};

class AddressBookSync {
public:
    // done of total contacts merged so far; called on the thread that runs the synchronization.
    using Progress = std::function<void(int done, int total)>;

    AddressBookSync(AddressBook& book, EntryStore& store, IQuestions& questions, IAddressBookHost& host,
                    SyncAccount account, QString password, QString stateFile);
    ~AddressBookSync();
    AddressBookSync(const AddressBookSync&) = delete;
    AddressBookSync& operator=(const AddressBookSync&) = delete;

    void SetProgress(Progress progress) { m_progress = std::move(progress); }
    void SetTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }
    // The date conflict copies are named after (today unless set).
    void SetDate(const QDate& date) { m_date = date; }

    AddressBookSyncResult Run();
    // Thread-safe: the run going on, or the next one, ends soon with Failure::Cancelled.
    void Cancel();

private:
    class Runner;
    friend class Runner;

    AddressBook& m_book;
    EntryStore& m_store;
    IQuestions& m_questions;
    IAddressBookHost& m_host;
    SyncAccount m_account;
    QString m_password;
    QString m_stateFile;
    Progress m_progress;
    int m_timeoutMs = 30000;
    QDate m_date;
    std::atomic<bool> m_cancelled{false};
    std::mutex m_clientMutex;
    CardDavClient* m_client = nullptr; // the client of the run going on, for Cancel
};
