#pragma once

#include "model/VCardMergeResult.h"

#include <QDate>

struct VCardOwnedFields;

// The three-way merge of one contact. The server's card is the starting point: the properties other programs
// own always follow it. A field of this program's that only the local side changed is written into it; one that
// both sides changed to different values stays as the server has it, and the local version is kept as a copy
// "Name (conflict YYYY-MM-DD)". A contact deleted on one side and changed on the other survives with the
// change. Categories merge value by value and never conflict.
class VCardMerge {
public:
    // `base` is the card as last synchronised (none for a contact not synchronised before), `local` the entry's
    // card now (VCardEntryCard::cardOf) and `server` the server's card now; none for a side that deleted it.
    static VCardMergeResult merge(const VCardRawCard* base, const VCardRawCard* local, const VCardRawCard* server,
                                  const QDate& syncDate);

    static QString conflictName(const QString& name, const QDate& syncDate);

private:
    static VCardMergeResult mergeBoth(const VCardRawCard* base, const VCardRawCard& local, const VCardRawCard& server,
                                      const QDate& syncDate);
    static VCardMergeResult oneSideOnly(const VCardRawCard* base, const VCardRawCard* local,
                                        const VCardRawCard* server);
    static QStringList mergedCategories(const QStringList& base, const QStringList& local, const QStringList& server);
};
