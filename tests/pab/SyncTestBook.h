#pragma once
// An address-book file for the synchronization's tests: made with its distribution lists, edited the way the
// program edits it (the folder's table changed, then saved), read back whole, and synchronized by the engine,
// each time opened afresh like the address-book tool opens it.
#include "pab/AddressBookSync.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <string>

struct BookContact {
    std::string name;
    std::string number;
    std::string comment;
    QStringList folders; // folder names ("" for the book itself), sorted

    bool operator==(const BookContact&) const = default;
};

class SyncTestBook {
public:
    // A new book at path with these distribution lists in the book itself.
    SyncTestBook(QString path, const QStringList& lists);

    const QString& Path() const { return m_path; }
    // Contacts by UID, from every folder.
    std::map<std::string, BookContact> Contacts() const;
    // A new entry in the folder ("" for the book); its UID.
    std::string Add(const QString& folder, const std::string& name, const std::string& number);
    // Changes the entries of the UID in every folder that holds it.
    bool Edit(const std::string& uid, const std::string& name, const std::string& number);
    bool Delete(const std::string& uid);
    // The contact leaves its folders for this one.
    bool Move(const std::string& uid, const QString& folder);

    // progress, when given, sees every step of the run (and may cancel it).
    AddressBookSyncResult Sync(const SyncAccount& account, const QString& password, int timeoutMs = 10000,
                               const std::function<void(AddressBookSync&, int done, int total)>& progress = {});

private:
    QString m_path;
};
