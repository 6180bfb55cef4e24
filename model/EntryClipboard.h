#pragma once
// The form's internal clipboard: copies of the selected entries of a list, pasted once into a side's table after
// the first selected row. The system clipboard takes no part in it.
class IEntryList;
class IEntrySide;
struct EntryStore;

class EntryClipboard {
public:
    explicit EntryClipboard(EntryStore& store) : m_store(store) {}

    // The selected rows' entries, in list order, replace what the clipboard held (without a list, the copies
    // stay as they were); paste is enabled from now on either way.
    void Copy(const IEntryList* list);
    // Inserts the copies after the first selected row (at the top when none is); a refused insertion ends the
    // paste, a name the side will not take skips that copy. The copies paste only once, also when there was no
    // list to paste into. Nothing happens while the side refuses changes.
    void Paste(IEntrySide* side, IEntryList* list);

private:
    EntryStore& m_store;
};
