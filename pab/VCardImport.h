#pragma once
// vCards into the address-book folder shown, under the rules of a transfer: names made unique in the folder
// (the user may type another), the index from the card where it is free, else the lowest free one, or the one
// the user chooses in the index dialog. A card whose UID an entry of the folder holds updates that entry instead
// of adding a second one. Nothing is saved: the table is only marked as edited.
#include "model/DirEntry.h"
#include "model/VCardCard.h"
#include "model/VCardReader.h"

#include <QList>
#include <QStringList>
#include <vector>

struct EntryStore;
class IAddressBookHost;
class IQuestions;

// Which of a card's numbers become entries.
enum class VCardNumberChoice {
    First,     // the first number of the card
    Preferred, // the number marked preferred (the best preference), else the first
    EachNumber // one entry per number; the second and later carry their kind in the name: "Anna (work)"
};

// One entry a card makes, with the card's line for the report.
struct VCardImportItem {
    DirEntry entry;
    int line = 0;
};

struct VCardImportOutcome {
    int added = 0;
    int updated = 0;        // entries of the folder that a card with their UID updated
    QStringList leftOut;    // one line per entry that was not added, with its reason
    bool stopped = false;   // the folder was full or the user cancelled the index dialog: the rest was left out
};

class VCardImport {
public:
    // The entries the read cards make, in file order. notes receives the reader's problems, then a line for each
    // card without a usable number or a name, which makes none, and for each number not taken ("Line 12: ...").
    static std::vector<VCardImportItem> Entries(const VCardReadResult& read, VCardNumberChoice choice,
                                                QStringList* notes);
    // How many of the items carry a UID that a live entry of the address-book table holds.
    static int KnownCount(const std::vector<VCardImportItem>& items, const EntryStore& store);
    // Adds the entries after the last row of the address-book table; an item whose UID the folder holds updates
    // that entry when updateKnown is set and is left out otherwise. An entry whose name the folder already holds,
    // and for which no other name was given, is left out. Stops when the user cancels the index dialog or the
    // table is full (reported); what was not added is named in the outcome.
    static VCardImportOutcome AddToAddressBook(std::vector<VCardImportItem>& items, EntryStore& store,
                                               IQuestions& questions, IAddressBookHost& host, bool updateKnown);

private:
    static QString KindOf(const VCardPhone& phone, int ordinal);
    // The entry takes the card's name, number, kind, comment, status and (where free) index; false when the new
    // name is taken and no other was given. Marked as edited only when something changed.
    static bool Update(DirEntry& held, const DirEntry& card, EntryStore& store, IQuestions& questions,
                       const IAddressBookHost& host);
};
