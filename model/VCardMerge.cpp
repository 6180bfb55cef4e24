#include "model/VCardMerge.h"

#include "model/VCardEntryCard.h"
#include "model/VCardOwnedFieldEditor.h"
#include "model/VCardOwnedFields.h"

namespace {

using Result = VCardMergeResult;

bool localChanged(const VCardRawCard& base, const VCardRawCard& local)
{
    return !(VCardOwnedFields::of(base) == VCardOwnedFields::of(local));
}

// One owned field of the three versions: the local value is taken when only the local side changed it; both
// sides changing it to different values is a conflict, where the server's value stays.
template <typename Value>
void mergeField(const char* field, const Value& base, const Value& local, const Value& server, Value& merged,
                QStringList& conflicts)
{
    if (local == base || local == server)
        return;
    if (server == base)
        merged = local;
    else
        conflicts << QString::fromLatin1(field);
}

}

QString VCardMerge::conflictName(const QString& name, const QDate& syncDate)
{
    return QStringLiteral("%1 (conflict %2)").arg(name, syncDate.toString(Qt::ISODate));
}

VCardMergeResult VCardMerge::merge(const VCardRawCard* base, const VCardRawCard* local, const VCardRawCard* server,
                                   const QDate& syncDate)
{
    if (local && server)
        return mergeBoth(base, *local, *server, syncDate);
    return oneSideOnly(base, local, server);
}

VCardMergeResult VCardMerge::oneSideOnly(const VCardRawCard* base, const VCardRawCard* local,
                                         const VCardRawCard* server)
{
    VCardMergeResult result;
    if (local) {
        // New here, or changed here while the server deleted it: the card goes (back) to the server.
        if (!base || localChanged(*base, *local)) {
            result.server = Result::ServerAction::Put;
            result.merged = *local;
        } else {
            result.local = Result::LocalAction::Delete;
        }
    } else if (server) {
        // New on the server, or changed there while deleted here: the entry comes (back). A server that only
        // folded the card anew has not changed it.
        if (!base || !base->sameContent(*server)) {
            result.local = Result::LocalAction::Create;
            result.merged = *server;
        } else {
            result.server = Result::ServerAction::Delete;
        }
    }
    return result;
}

VCardMergeResult VCardMerge::mergeBoth(const VCardRawCard* base, const VCardRawCard& local,
                                       const VCardRawCard& server, const QDate& syncDate)
{
    // A contact added on both sides with one UID merges as if both changed it from an empty card.
    const VCardOwnedFields b = base ? VCardOwnedFields::of(*base) : VCardOwnedFields{};
    const VCardOwnedFields l = VCardOwnedFields::of(local);
    const VCardOwnedFields s = VCardOwnedFields::of(server);
    VCardOwnedFields m = s;
    QStringList conflicts;
    mergeField("name", b.name, l.name, s.name, m.name, conflicts);
    mergeField("number", b.number, l.number, s.number, m.number, conflicts);
    mergeField("comment", b.comment, l.comment, s.comment, m.comment, conflicts);
    mergeField("index", b.index, l.index, s.index, m.index, conflicts);
    mergeField("vip", b.vip, l.vip, s.vip, m.vip, conflicts);
    m.categories = mergedCategories(b.categories, l.categories, s.categories);
    if (m.number != s.number)
        m.numberKind = l.numberKind;  // a number the server lacked gets the local kind

    VCardMergeResult result;
    VCardRawCard merged = server;
    VCardOwnedFieldEditor::apply(merged, s, m);
    if (merged.toBytes() != server.toBytes())
        result.server = Result::ServerAction::Put;
    if (!(VCardOwnedFields::of(merged) == l))
        result.local = Result::LocalAction::Update;
    result.merged = merged;
    if (!conflicts.isEmpty()) {
        VCardRawCard copy = local;
        VCardOwnedFieldEditor::setUid(copy, VCardEntryCard::newUid());
        VCardOwnedFieldEditor::setName(copy, conflictName(l.name, syncDate));
        result.conflictCopy = copy;
        result.conflictingFields = conflicts;
    }
    return result;
}

// Each category is in or out; a side that changed that (added or removed it) decides. Both sides can only have
// changed it the same way, so there is nothing to conflict over. The server's order stays, local additions go
// after it.
QStringList VCardMerge::mergedCategories(const QStringList& base, const QStringList& local, const QStringList& server)
{
    QStringList merged;
    for (const QString& category : server) {
        const bool removedHere = base.contains(category) && !local.contains(category);
        if (!removedHere)
            merged << category;
    }
    for (const QString& category : local) {
        const bool addedHere = !base.contains(category);
        if (addedHere && !merged.contains(category))
            merged << category;
    }
    return merged;
}
