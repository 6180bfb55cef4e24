#pragma once
// vCards into the address-book folder shown, under the rules of a transfer: names made unique in the folder
// (the user may type another), the index from the card's note where it is free, else the lowest free one, or
// the one the user chooses in the index dialog. Nothing is saved: the table is only marked as edited.
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

class VCardImport {
public:
    // The entries the read cards make, in file order. leftOut receives the reader's problems, then a line for
    // each card without a number or a name, which makes none ("Line 12: ...").
    static std::vector<DirEntry> Entries(const VCardReadResult& read, VCardNumberChoice choice, QStringList* leftOut);
    // Adds the entries after the last row of the address-book table; the number added. An entry whose name the
    // folder already holds, and for which no other name was given, is left out and its name added to
    // namesLeftOut. Stops when the user cancels the index dialog or the table is full (reported).
    static int AddToAddressBook(std::vector<DirEntry>& entries, EntryStore& store, IQuestions& questions,
                                IAddressBookHost& host, QStringList* namesLeftOut = nullptr);

private:
    static DirEntry EntryFor(const VCardCard& card, const VCardPhone& phone);
    static QString KindOf(const VCardPhone& phone, int ordinal);
};
