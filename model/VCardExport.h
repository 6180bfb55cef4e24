#pragma once
// Entries as vCards: name (FN as shown; N split at the comma of "Family, Given", else at the last blank), the
// number with the kind it came with (plain TEL when none is known), the entry's own comment as NOTE, its UID,
// and its index and VIP mark in properties of their own, so that an import into the address book restores them.
#include "model/DirTable.h"
#include "model/VCardCard.h"

#include <QList>
#include <vector>

class VCardExport {
public:
    // Every live entry of the table, in table order.
    static QList<VCardCard> Cards(const DirTable& table);
    // The live entries in the chosen slots, in that order (slots without a live entry are passed over).
    static QList<VCardCard> Cards(const DirTable& table, const std::vector<int>& chosen);
    static VCardCard Card(const DirEntry& entry);
};
