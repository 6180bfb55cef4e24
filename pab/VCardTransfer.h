#pragma once
// The form's vCard commands below the form: a file's cards into the address-book folder shown (not saved), and
// a list's entries out to a file. Problems are said through the question seam, the outcome in the status line.
#include "model/DirTable.h"
#include "model/Questions.h"

#include <vector>

struct EntryStore;
class IAddressBookHost;

class VCardTransfer {
public:
    VCardTransfer(EntryStore& store, IQuestions& questions, IAddressBookHost& host)
        : m_store(store), m_questions(questions), m_host(host)
    {
    }

    // Adds the cards of the file after the last row of the address-book table; the number of entries added.
    // Cards that cannot be read, or that have no name or number, are named (by line) in one message; the rest
    // is still added.
    int Import(const VCardImportData& request);
    // Writes the entries of the table in the chosen slots, in that order; false after a message
    // when the file could not be written.
    bool Export(const VCardExportData& request, const DirTable& table, const std::vector<int>& chosen);

private:
    EntryStore& m_store;
    IQuestions& m_questions;
    IAddressBookHost& m_host;
};
