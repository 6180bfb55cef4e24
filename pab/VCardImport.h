#pragma once
// vCards into the address-book folder shown, under the rules of a transfer: names made unique in the folder
// (the user may type another), the index from the card's note where it is free, else the lowest free one, or
// the one the user chooses in the index dialog. Nothing is saved: the table is only marked as edited.
#include "model/DirEntry.h"
#include "model/VCardCard.h"

#include <QList>
#include <QStringList>
#include <vector>

struct EntryStore;
class IFormHost;
class IQuestions;

// Which of a card's numbers become entries.
enum class VCardNumberChoice {
    First,     // the first number of the card
    Preferred, // the number marked preferred (the best preference), else the first
    EachNumber // one entry per number; the second and later carry their kind in the name: "Anna (work)"
};

class VCardImport {
public:
    // The entries the cards make, in file order. A card without a number or a name makes none: it is named in
    // leftOut ("Line 12: ..."), as the reader's problems are.
    static std::vector<DirEntry> Entries(const QList<VCardCard>& cards, VCardNumberChoice choice, QStringList* leftOut);
    // True when some card has more than one number: only then is there a choice to make.
    static bool OffersNumberChoice(const QList<VCardCard>& cards);
    // Adds the entries after the last row of the address-book table; the number added. Stops when the user
    // cancels the index dialog or the table is full (reported).
    static int AddToAddressBook(std::vector<DirEntry>& entries, EntryStore& store, IQuestions& questions,
                                IFormHost& host);

private:
    static DirEntry EntryFor(const VCardCard& card, const VCardPhone& phone);
    static QString KindOf(const VCardPhone& phone, int ordinal);
};
