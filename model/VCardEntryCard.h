#pragma once

#include "model/DirEntry.h"

#include <QStringList>

class VCardRawCard;
struct VCardOwnedFields;

// An address-book entry and the vCard that stands for it on a server. The entry's distribution lists are the
// card's categories: a list by its own name only, however deep it lies, as the other programs know flat groups
// only. A category that names no list of the book is another program's and stays on the card.
class VCardEntryCard {
public:
    // The card as the entry makes it: `base` (the card as last synchronised) with the owned properties changed
    // whose values the entry changed, or a new vCard 3.0 card when there is no base; a fresh UID when neither
    // the entry nor the base has one. `lists` are the lists that hold the entry, `knownLists` every list of the
    // book.
    static VCardRawCard cardOf(const DirEntry& entry, const QStringList& lists, const QStringList& knownLists,
                               const VCardRawCard* base);
    // The entry a card makes; `lists` (when asked for) receives the card's categories that name known lists.
    static DirEntry entryOf(const VCardRawCard& card, const QStringList& knownLists, QStringList* lists = nullptr);

    // The owned fields of the entry, with the categories of `baseCategories` that name no known list kept.
    static VCardOwnedFields fieldsOf(const DirEntry& entry, const QStringList& lists, const QStringList& knownLists,
                                     const QStringList& baseCategories);
    static QString newUid();
};
