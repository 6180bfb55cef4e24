#pragma once
// The address book's folders as a synchronization sees them: every entry of every folder (the book and each
// distribution list) by UID, and the changes a synchronization brings written folder by folder. A contact lives in
// the folders its lists name (the book itself when none); an entry with the same UID in several folders is one
// contact. Creations and updates are saved before deletions, so that a move cut off half way leaves the contact in
// two folders for a while, never in none.
#include "model/DirEntry.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class AddressBook;
struct EntryStore;
class IAddressBookHost;
class IQuestions;

struct SyncLocalEntry {
    int folder = 0; // the folder record
    DirEntry entry;
};

// What the book holds of one contact after the synchronization.
struct SyncLocalChange {
    std::string uid;
    std::optional<DirEntry> entry; // none: the contact goes from every folder
    std::set<int> folders;         // the folders that hold it afterwards
};

class SyncFolders {
public:
    SyncFolders(AddressBook& book, EntryStore& store, IQuestions& questions, IAddressBookHost& host);

    // Reads every folder; false with the cause when one cannot be read or a folder has unsaved changes.
    bool ReadAll(QString& error);
    // The names of the distribution lists (every folder but the book itself).
    const QStringList& ListNames() const { return m_listNames; }
    const std::map<std::string, std::vector<SyncLocalEntry>>& ByUid() const { return m_byUid; }
    // The names of the lists that hold the contact's entries.
    QStringList ListsOf(const std::string& uid) const;
    // The folders a contact with these lists belongs in: those the lists name, the book when none.
    std::set<int> FoldersFor(const QStringList& lists) const;
    // Whether an entry of the folder other than the contact's holds the index (as the folders were read).
    bool IndexHeldByOther(int folder, int index, const std::string& uid) const;
    // How many more entries the folder takes.
    int Room(int folder) const;

    // Writes the changes: updates and creations first, each folder saved, then deletions, each folder saved.
    bool Apply(const std::vector<SyncLocalChange>& changes, QString& error);
    // The entries as Apply wrote them, by UID: a name made unique or an index taken by another entry differ from
    // the card they came from.
    const std::map<std::string, DirEntry>& Written() const { return m_written; }
    // Contacts the book did not take although asked (it passed over an entry when saving): the state must not
    // claim them.
    const std::set<std::string>& NotTaken() const { return m_notTaken; }

private:
    bool Show(int folder, QString& error);
    bool Save(QString& error);
    void Update(DirEntry& held, const DirEntry& wanted);
    void Create(const DirEntry& wanted);
    // The name made unique among the folder's other entries (the book refuses a second entry of one name).
    std::string UniqueName(const std::string& name, const std::string& uid) const;
    int SlotOf(const std::string& uid) const;

    AddressBook& m_book;
    EntryStore& m_store;
    IQuestions& m_questions;
    IAddressBookHost& m_host;
    QStringList m_listNames;
    std::vector<int> m_liveCounts; // per folder record
    std::map<std::string, std::vector<SyncLocalEntry>> m_byUid;
    std::map<std::string, DirEntry> m_written;
    std::set<std::string> m_notTaken;
    std::map<std::pair<int, int>, std::set<std::string>> m_indexHolders; // (folder, index) -> UIDs
};
