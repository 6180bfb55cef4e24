#include "pab/SyncFolders.h"

#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "pab/AbNameCheck.h"
#include "pab/AddressBook.h"
#include "pab/AddressBookSession.h"
#include "pab/IAddressBookHost.h"

#include <QRegularExpression>

namespace {
QString FolderName(const EntryStore& store, int folder)
{
    return QString::fromStdString(store.m_folders[static_cast<size_t>(folder)].m_strName);
}
}

SyncFolders::SyncFolders(AddressBook& book, EntryStore& store, IQuestions& questions, IAddressBookHost& host)
    : m_book(book), m_store(store), m_questions(questions), m_host(host)
{
}

bool SyncFolders::Show(int folder, QString& error)
{
    // The folder shown holds what the book holds: it was read when shown, or read again after its last save.
    if (m_book.Internals().Container() && m_book.Internals().ShownFolderItem() == folder) return true;
    m_host.SelectFolderItem(folder);
    m_book.ChangeFolder();
    if (!m_book.Internals().Container() || m_book.Internals().ShownFolderItem() != folder) {
        error = QStringLiteral("The folder \"%1\" of the address book cannot be read.").arg(FolderName(m_store, folder));
        return false;
    }
    return true;
}

bool SyncFolders::Save(QString& error)
{
    if (!m_store.HasFlag(VF_AB_MODIFIED)) return true;
    m_book.SaveAddressBook();
    if (m_store.HasFlag(VF_AB_MODIFIED) || !m_book.Internals().Container()) {
        error = QStringLiteral("The address book could not be saved; it is as it was before this folder was written.");
        return false;
    }
    return true;
}

bool SyncFolders::ReadAll(QString& error)
{
    if (m_store.HasFlag(VF_AB_MODIFIED)) {
        error = QStringLiteral("The address book has unsaved changes: save them before synchronizing.");
        return false;
    }
    m_byUid.clear();
    m_listNames.clear();
    m_indexHolders.clear();
    m_liveCounts.assign(static_cast<size_t>(m_store.m_nFolderCount), 0);
    for (int folder = 0; folder < m_store.m_nFolderCount; ++folder) {
        if (folder > 0) m_listNames << FolderName(m_store, folder);
        if (!Show(folder, error)) return false;
        const DirTable& table = m_store.m_abTable;
        m_liveCounts[static_cast<size_t>(folder)] = table.m_nCount;
        for (int slot = 0; slot < table.m_nCount; ++slot) {
            m_byUid[table[slot].m_strUid].push_back({folder, table[slot]});
            m_indexHolders[{folder, table[slot].m_nIndex}].insert(table[slot].m_strUid);
        }
    }
    return true;
}

QStringList SyncFolders::ListsOf(const std::string& uid) const
{
    QStringList lists;
    const auto found = m_byUid.find(uid);
    if (found == m_byUid.end()) return lists;
    for (const SyncLocalEntry& held : found->second) {
        if (held.folder > 0 && !lists.contains(FolderName(m_store, held.folder))) lists << FolderName(m_store, held.folder);
    }
    return lists;
}

std::set<int> SyncFolders::FoldersFor(const QStringList& lists) const
{
    std::set<int> folders;
    for (const QString& list : lists) {
        const qsizetype at = m_listNames.indexOf(list); // a name two lists share means the first of them
        if (at >= 0) folders.insert(int(at) + 1);
    }
    if (folders.empty()) folders.insert(0);
    return folders;
}

bool SyncFolders::IndexHeldByOther(int folder, int index, const std::string& uid) const
{
    const auto held = m_indexHolders.find({folder, index});
    if (held == m_indexHolders.end()) return false;
    return held->second.size() > 1 || held->second.count(uid) == 0;
}

int SyncFolders::Room(int folder) const
{
    return kTableSlots - m_liveCounts.at(static_cast<size_t>(folder));
}

int SyncFolders::SlotOf(const std::string& uid) const
{
    for (int slot = 0; slot < m_store.m_abTable.m_nCount; ++slot)
        if (m_store.m_abTable[slot].m_strUid == uid) return slot;
    return -1;
}

std::string SyncFolders::UniqueName(const std::string& name, const std::string& uid) const
{
    std::string candidate = CutText(name.empty() ? std::string("(no name)") : name, kMaxAbNameLength);
    const DirTable& table = m_store.m_abTable;
    const auto taken = [&table, &uid](const std::string& text) {
        for (int slot = 0; slot < table.m_nCount; ++slot)
            if (table[slot].m_strName == text && table[slot].m_strUid != uid) return true;
        return false;
    };
    if (!taken(candidate)) return candidate;
    // A name numbered before is numbered anew, never twice: "Anna (2)" taken gives "Anna (3)".
    static const QRegularExpression numbered(QStringLiteral("^(.*) \\(\\d+\\)$"));
    const QRegularExpressionMatch match = numbered.match(QString::fromStdString(candidate));
    const std::string stem = match.hasMatch() ? match.captured(1).toStdString() : candidate;
    for (int ordinal = 2;; ++ordinal) {
        const std::string suffix = " (" + std::to_string(ordinal) + ")";
        candidate = CutText(stem, kMaxAbNameLength - int(suffix.size())) + suffix;
        if (!taken(candidate)) return candidate;
    }
}

void SyncFolders::Update(DirEntry& held, const DirEntry& wanted)
{
    DirEntry updated = held;
    updated.m_strName = UniqueName(wanted.m_strName, held.m_strUid);
    updated.m_strNumber = wanted.m_strNumber;
    updated.m_strNumberKind = wanted.m_strNumberKind;
    updated.m_strComment = wanted.m_strComment;
    updated.m_strStatus = wanted.m_strStatus == "!" ? "!" : " ";
    if (wanted.m_nIndex > 0 && wanted.m_nIndex != held.m_nIndex
        && EntryTableEditor::IsIndexFree(wanted.m_nIndex, m_store.m_abTable))
        updated.m_nIndex = wanted.m_nIndex;
    const bool same = updated.m_strName == held.m_strName && updated.m_strNumber == held.m_strNumber
        && updated.m_strNumberKind == held.m_strNumberKind && updated.m_strComment == held.m_strComment
        && updated.m_nIndex == held.m_nIndex && updated.m_strStatus == held.m_strStatus;
    m_written.try_emplace(updated.m_strUid, updated);
    if (same) return;
    if (updated.m_nState != ENTRY_NEW) updated.m_nState = ENTRY_CHANGED;
    held = updated;
    m_store.SetFlag(VF_AB_MODIFIED);
}

void SyncFolders::Create(const DirEntry& wanted)
{
    DirEntry entry;
    entry.m_strName = UniqueName(wanted.m_strName, wanted.m_strUid);
    entry.m_strNumber = wanted.m_strNumber;
    entry.m_strNumberKind = wanted.m_strNumberKind;
    entry.m_strComment = wanted.m_strComment;
    entry.m_strStatus = wanted.m_strStatus == "!" ? "!" : " ";
    entry.m_strUid = wanted.m_strUid;
    entry.m_nIndex = wanted.m_nIndex > 0 && EntryTableEditor::IsIndexFree(wanted.m_nIndex, m_store.m_abTable)
                         ? wanted.m_nIndex
                         : EntryTableEditor::LowestFreeIndex(m_store.m_abTable);
    EntryTableEditor editor(m_store, m_questions, m_host);
    if (editor.InsertAbEntry(m_store.m_abTable.m_nCount, entry)) m_written.try_emplace(entry.m_strUid, entry);
}

bool SyncFolders::Apply(const std::vector<SyncLocalChange>& changes, QString& error)
{
    // A folder is read again only when a change concerns it.
    const auto touches = [this](const SyncLocalChange& change, int folder, bool deletions) {
        const bool wanted = change.entry && change.folders.count(folder) > 0;
        if (!deletions) return wanted;
        const auto held = m_byUid.find(change.uid);
        if (held == m_byUid.end() || wanted) return false;
        for (const SyncLocalEntry& entry : held->second)
            if (entry.folder == folder) return true;
        return false;
    };
    for (const bool deletions : {false, true}) {
        for (int folder = 0; folder < m_store.m_nFolderCount; ++folder) {
            bool any = false;
            for (const SyncLocalChange& change : changes) any = any || touches(change, folder, deletions);
            if (!any) continue;
            if (!Show(folder, error)) return false;
            EntryTableEditor editor(m_store, m_questions, m_host);
            for (const SyncLocalChange& change : changes) {
                if (!touches(change, folder, deletions)) continue;
                const int slot = SlotOf(change.uid);
                if (deletions) {
                    if (slot >= 0) editor.RemoveAbEntry(slot);
                } else if (slot >= 0) {
                    Update(m_store.m_abTable[slot], *change.entry);
                } else {
                    Create(*change.entry);
                }
            }
            if (!Save(error)) return false;
            if (deletions) continue;
            for (const SyncLocalChange& change : changes) {
                if (touches(change, folder, false) && SlotOf(change.uid) < 0) {
                    m_notTaken.insert(change.uid);
                    m_written.erase(change.uid);
                }
            }
        }
    }
    return true;
}
