#pragma once
// Adding and editing one entry through the entry dialog, on either side: the dialog is filled from the side's
// rules, what was typed is checked and settled (name, status, index) and stored through the side, and the list
// shows the result with the entry selected. Runs without a window: the dialog is asked through the question seam.
class IEntryList;
class IEntrySide;
class IQuestions;
struct EntryStore;

class EntryDialogCommands {
public:
    EntryDialogCommands(EntryStore& store, IQuestions& questions) : m_store(store), m_questions(questions) {}

    // A new entry after the first selected one in the table; the list then selects it.
    void Add(IEntrySide& side, IEntryList& list);
    // The first selected entry, changed in place; the list then selects it again wherever it now stands.
    void Edit(IEntrySide& side, IEntryList& list);

private:
    EntryStore& m_store;
    IQuestions& m_questions;
};
