#pragma once
// Entries as vCards: name (FN, and N split at the last blank), number (TEL of type cell), and the index and
// VIP mark in the address book's comment form as NOTE ("VIP-Status - Index: 3 "), after the entry's own
// comment, so that an import into the address book restores them.
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
