#include "SyncTestBook.h"

#include "PabSeeder.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/VCardEntryCard.h"
#include "pab/SyncState.h"
#include "pab/tools/OpenedAddressBook.h"

#include <algorithm>

namespace {
template <typename Change>
bool ChangeEveryFolder(const QString& path, Change change)
{
    OpenedAddressBook book(path, OpenedAddressBook::Access::Write, false);
    QString error;
    if (!book.Open(QString(), &error)) return false;
    bool any = false;
    for (int folder = 0; folder < book.Store().m_nFolderCount; ++folder) {
        book.Host().SelectFolderItem(folder);
        book.Book().ChangeFolder();
        EntryTableEditor editor(book.Store(), book.Questions(), book.Host());
        DirTable& table = book.Store().m_abTable;
        bool changed = false;
        for (int slot = table.m_nCount - 1; slot >= 0; --slot) changed = change(table, slot, editor) || changed;
        if (changed) book.Store().SetFlag(VF_AB_MODIFIED);
        any = any || changed;
        book.Book().SaveAddressBook();
        if (book.Store().HasFlag(VF_AB_MODIFIED)) return false;
    }
    return any;
}
}

SyncTestBook::SyncTestBook(QString path, const QStringList& lists) : m_path(std::move(path))
{
    PabSeeder seeder(m_path.toStdString());
    for (const QString& list : lists) seeder.AddList(list.toStdString());
}

std::map<std::string, BookContact> SyncTestBook::Contacts() const
{
    std::map<std::string, BookContact> contacts;
    OpenedAddressBook book(m_path, OpenedAddressBook::Access::Read, false);
    QString error;
    if (!book.Open(QString(), &error)) return contacts;
    for (int folder = 0; folder < book.Store().m_nFolderCount; ++folder) {
        book.Host().SelectFolderItem(folder);
        book.Book().ChangeFolder();
        const QString name = folder == 0 ? QString() : QString::fromStdString(book.Store().m_folders[size_t(folder)].m_strName);
        const DirTable& table = book.Store().m_abTable;
        for (int slot = 0; slot < table.m_nCount; ++slot) {
            BookContact& contact = contacts[table[slot].m_strUid];
            contact.name = table[slot].m_strName;
            contact.number = table[slot].m_strNumber;
            contact.comment = table[slot].m_strComment;
            contact.folders << name;
            contact.folders.sort();
        }
    }
    return contacts;
}

std::string SyncTestBook::Add(const QString& folder, const std::string& name, const std::string& number)
{
    OpenedAddressBook book(m_path, OpenedAddressBook::Access::Write, false);
    QString error;
    if (!book.Open(folder, &error)) return {};
    DirEntry entry;
    entry.m_strName = name;
    entry.m_strNumber = number;
    entry.m_strStatus = " ";
    entry.m_strUid = VCardEntryCard::newUid().toStdString();
    entry.m_nIndex = EntryTableEditor::LowestFreeIndex(book.Store().m_abTable);
    EntryTableEditor editor(book.Store(), book.Questions(), book.Host());
    if (!editor.InsertAbEntry(book.Store().m_abTable.m_nCount, entry)) return {};
    book.Book().SaveAddressBook();
    return book.Store().HasFlag(VF_AB_MODIFIED) ? std::string() : entry.m_strUid;
}

bool SyncTestBook::Edit(const std::string& uid, const std::string& name, const std::string& number)
{
    return ChangeEveryFolder(m_path, [&](DirTable& table, int slot, EntryTableEditor&) {
        DirEntry& entry = table[slot];
        if (entry.m_strUid != uid) return false;
        entry.m_strName = name;
        entry.m_strNumber = number;
        entry.m_nState = ENTRY_CHANGED;
        return true;
    });
}

bool SyncTestBook::Delete(const std::string& uid)
{
    return ChangeEveryFolder(m_path, [&](DirTable& table, int slot, EntryTableEditor& editor) {
        return table[slot].m_strUid == uid && editor.RemoveAbEntry(slot);
    });
}

bool SyncTestBook::Move(const std::string& uid, const QString& folder)
{
    const std::map<std::string, BookContact> contacts = Contacts();
    const auto found = contacts.find(uid);
    if (found == contacts.end()) return false;
    // Into the new folder first, with the same UID, then out of the others: as a user's cut and paste.
    {
        OpenedAddressBook book(m_path, OpenedAddressBook::Access::Write, false);
        QString error;
        if (!book.Open(folder, &error)) return false;
        const DirTable& table = book.Store().m_abTable;
        const bool there = std::any_of(&table[0], &table[0] + table.m_nCount, [&](const DirEntry& e) { return e.m_strUid == uid; });
        if (!there) {
            DirEntry entry;
            entry.m_strName = found->second.name;
            entry.m_strNumber = found->second.number;
            entry.m_strComment = found->second.comment;
            entry.m_strStatus = " ";
            entry.m_strUid = uid;
            entry.m_nIndex = EntryTableEditor::LowestFreeIndex(table);
            EntryTableEditor editor(book.Store(), book.Questions(), book.Host());
            if (!editor.InsertAbEntry(table.m_nCount, entry)) return false;
            book.Book().SaveAddressBook();
        }
    }
    const std::string target = folder.toStdString();
    OpenedAddressBook book(m_path, OpenedAddressBook::Access::Write, false);
    QString error;
    if (!book.Open(QString(), &error)) return false;
    for (int item = 0; item < book.Store().m_nFolderCount; ++item) {
        const std::string name = item == 0 ? std::string() : book.Store().m_folders[size_t(item)].m_strName;
        if (name == target) continue;
        book.Host().SelectFolderItem(item);
        book.Book().ChangeFolder();
        EntryTableEditor editor(book.Store(), book.Questions(), book.Host());
        DirTable& table = book.Store().m_abTable;
        for (int slot = table.m_nCount - 1; slot >= 0; --slot)
            if (table[slot].m_strUid == uid) editor.RemoveAbEntry(slot);
        book.Book().SaveAddressBook();
    }
    return true;
}

AddressBookSyncResult SyncTestBook::Sync(const SyncAccount& account, const QString& password, int timeoutMs,
                                         const std::function<void(AddressBookSync&, int, int)>& progress)
{
    OpenedAddressBook book(m_path, OpenedAddressBook::Access::Write, false);
    QString error;
    AddressBookSyncResult result;
    if (!book.Open(QString(), &error)) {
        result.failure = AddressBookSyncResult::Failure::Book;
        result.error = error;
        return result;
    }
    AddressBookSync sync(book.Book(), book.Store(), book.Questions(), book.Host(), account, password, SyncState::PathFor(m_path));
    sync.SetTimeoutMs(timeoutMs);
    if (progress) sync.SetProgress([&sync, &progress](int done, int total) { progress(sync, done, total); });
    return sync.Run();
}
