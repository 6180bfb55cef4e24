#pragma once
// Carries the preview row's working copies into the other side's table, after the rows its list shows. The
// source table never changes; the target is only marked as edited, and its save button writes it.
#include <vector>

class IEntryList;
class IEntrySide;
struct DirEntry;
struct EntryStore;

class EntryTransfer {
public:
    explicit EntryTransfer(EntryStore& store) : m_store(store) {}

    // The copies in preview order. A copy that cannot be read (nullptr) ends the transfer at once, without
    // refilling the target list; a refused insertion ends it after refilling; a name the target will not take
    // skips only that copy.
    void CopyInto(IEntrySide& target, IEntryList& targetList, const std::vector<DirEntry*>& copies);

private:
    EntryStore& m_store;
};
