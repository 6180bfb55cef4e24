#pragma once
// Deleting the selected rows of a list from its side's table: each row's own entry goes, whatever index it
// carries, and the row now at the first selected position is selected afterwards.
#include <string>
#include <vector>

class IEntryList;
class IEntrySide;
class IQuestions;
class IStatusLine;
struct EntryStore;

class EntryDeletion {
public:
    EntryDeletion(EntryStore& store, IQuestions& questions, IStatusLine& status)
        : m_store(store), m_questions(questions), m_status(status)
    {
    }

    // Asks first (the row's texts for one row, the count for several); "Action aborted." when not confirmed.
    void DeleteSelected(IEntrySide& side, IEntryList& list);
    // Without asking (the cut of the clipboard): removes, refills and selects the row at the first position.
    static void RemoveSelected(IEntrySide& side, IEntryList& list);
    // The confirmation question for the rows.
    static std::string Question(const IEntryList& list, const std::vector<int>& rows);

private:
    EntryStore& m_store;
    IQuestions& m_questions;
    IStatusLine& m_status;
};
