#include "pab/VCardImport.h"

#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "model/VCardNameParts.h"
#include "model/VCardPhoneChoice.h"
#include "pab/IAddressBookHost.h"
#include "pab/AbComment.h"
#include "pab/AbNameCheck.h"
#include "pab/WholeTableHost.h"

#include <algorithm>

namespace {
// Words of a number's kind that say nothing about which number it is.
bool IsPlainKind(const QString& type)
{
    return type == QLatin1String("pref") || type == QLatin1String("voice") || type == QLatin1String("internet")
        || type.startsWith(QLatin1String("x-"));
}

// The kind kept with the entry: the number's own label, else its types without "pref".
std::string KindToKeep(const VCardPhone& phone)
{
    if (!phone.label.isEmpty()) return phone.label.toStdString();
    QStringList types = phone.types;
    types.removeAll(QStringLiteral("pref"));
    return types.join(QLatin1Char(',')).toStdString();
}

// The note holds the user's comment; an export of an earlier version put the index and the VIP mark at its end
// in the address book's comment form. Other programs may have dropped that form's closing blank.
AbCommentFields NoteFields(const QString& note)
{
    const std::string text = note.toStdString();
    AbCommentFields fields = AbComment::Parse(text);
    if (!fields.m_bHasStatusTail && !text.empty() && text.back() != ' ') {
        const AbCommentFields withBlank = AbComment::Parse(text + " ");
        if (withBlank.m_bHasStatusTail) fields = withBlank;
    }
    return fields;
}

DirEntry EntryFor(const VCardCard& card, const VCardPhone& phone)
{
    DirEntry entry;
    entry.m_strName = VCardNameParts::shownName(card).toStdString();
    FilterNumber(phone.number.trimmed().toStdString(), true, entry.m_strNumber);
    const AbCommentFields fields = NoteFields(card.note);
    entry.m_strStatus = card.vip || fields.m_strStatus == "!" ? "!" : " ";
    entry.m_nIndex = card.index != 0 ? card.index : fields.m_nIndex;
    entry.m_strComment = fields.m_strComment;
    entry.m_strUid = card.uid.toStdString();
    entry.m_strNumberKind = KindToKeep(phone);
    return entry;
}

QString CardOf(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("the card") : QStringLiteral("the card of \"%1\"").arg(name);
}

// The numbers that can be stored; the others are named in the notes.
QList<VCardPhone> UsablePhones(const VCardCard& card, const QString& name, QStringList* notes)
{
    QList<VCardPhone> usable;
    for (const VCardPhone& phone : card.phones) {
        const QString why = VCardPhoneChoice::unusableReason(phone);
        if (why.isEmpty()) usable << phone;
        else if (notes)
            notes->append(QStringLiteral("Line %1: the number \"%2\" of %3 %4; it was not taken.")
                              .arg(card.line).arg(phone.number, CardOf(name), why));
    }
    return usable;
}

void NoteUriParameters(const VCardCard& card, const VCardPhone& phone, const QString& name, QStringList* notes)
{
    if (notes && !phone.uriParameters.isEmpty())
        notes->append(QStringLiteral("Line %1: \"%2\" after the number %3 of %4 is no part of the number; it was left out.")
                          .arg(card.line).arg(phone.uriParameters, phone.number, CardOf(name)));
}

int SlotWithUid(const DirTable& table, const std::string& uid)
{
    if (uid.empty()) return -1;
    for (int slot = 0; slot < std::clamp(table.m_nCount, 0, kTableSlots); ++slot)
        if (table[slot].m_strUid == uid) return slot;
    return -1;
}

QString LeftOutLine(const VCardImportItem& item, const QString& why)
{
    return QStringLiteral("Line %1: \"%2\" %3; that card was left out.")
        .arg(item.line).arg(QString::fromStdString(item.entry.m_strName), why);
}
}

QString VCardImport::KindOf(const VCardPhone& phone, int ordinal)
{
    if (!phone.label.isEmpty()) {
        QString label = phone.label;
        // Apple's own labels are written as "_$!<Mobile>!$_".
        if (label.startsWith(QLatin1String("_$!<")) && label.endsWith(QLatin1String(">!$_"))) label = label.mid(4, label.size() - 8);
        if (!label.trimmed().isEmpty()) return label.trimmed();
    }
    for (const QString& type : phone.types)
        if (!IsPlainKind(type)) return type;
    return QString::number(ordinal);
}

std::vector<VCardImportItem> VCardImport::Entries(const VCardReadResult& read, VCardNumberChoice choice, QStringList* notes)
{
    if (notes)
        for (const VCardProblem& problem : read.problems) notes->append(problem.text);
    std::vector<VCardImportItem> items;
    for (const VCardCard& card : read.cards) {
        const QString name = VCardNameParts::shownName(card);
        const QList<VCardPhone> phones = UsablePhones(card, name, notes);
        if (name.isEmpty() || phones.isEmpty()) {
            if (notes)
                notes->append(QStringLiteral("Line %1: %2 has no %3; it was left out.")
                                  .arg(card.line)
                                  .arg(CardOf(name), name.isEmpty() ? QStringLiteral("name")
                                                     : card.phones.isEmpty() ? QStringLiteral("telephone number")
                                                                             : QStringLiteral("usable telephone number")));
            continue;
        }
        QList<VCardPhone> chosen;
        if (choice == VCardNumberChoice::First) chosen << phones.front();
        else if (choice == VCardNumberChoice::Preferred) chosen << phones.at(VCardPhoneChoice::preferred(phones));
        else chosen = phones;
        for (qsizetype k = 0; k < chosen.size(); ++k) {
            NoteUriParameters(card, chosen[k], name, notes);
            VCardImportItem item{EntryFor(card, chosen[k]), card.line};
            if (k > 0) {
                // The later numbers' entries need names, indices and identities of their own.
                item.entry.m_strName += QStringLiteral(" (%1)").arg(KindOf(chosen[k], int(k) + 1)).toStdString();
                item.entry.m_nIndex = 0;
                if (!item.entry.m_strUid.empty()) item.entry.m_strUid += "#" + std::to_string(k + 1);
            }
            items.push_back(std::move(item));
        }
    }
    return items;
}

int VCardImport::KnownCount(const std::vector<VCardImportItem>& items, const EntryStore& store)
{
    return int(std::count_if(items.begin(), items.end(), [&store](const VCardImportItem& item) {
        return SlotWithUid(store.m_abTable, item.entry.m_strUid) >= 0;
    }));
}

VCardImportOutcome VCardImport::AddToAddressBook(std::vector<VCardImportItem>& items, EntryStore& store,
                                                 IQuestions& questions, IAddressBookHost& host, bool updateKnown)
{
    WholeTableHost wholeTable(host, store);
    EntryTableEditor editor(store, questions, wholeTable);
    // As a transfer of several entries: a taken index is asked for once, with "Accept All" for the rest.
    store.SetFlag(VF_BATCH);
    if (items.size() != 1) store.SetFlag(VF_BATCH_MULTI); else store.ClearFlag(VF_BATCH_MULTI);
    VCardImportOutcome outcome;
    for (VCardImportItem& item : items) {
        DirEntry& entry = item.entry;
        if (outcome.stopped) {
            outcome.leftOut.append(LeftOutLine(item, QStringLiteral("could not be added after the import stopped")));
            continue;
        }
        const int known = SlotWithUid(store.m_abTable, entry.m_strUid);
        if (known >= 0) {
            if (!updateKnown) {
                outcome.leftOut.append(LeftOutLine(item, QStringLiteral("is already in the folder (same UID)")));
                continue;
            }
            if (!Update(store.m_abTable[known], entry, store, questions, wholeTable)) {
                outcome.leftOut.append(LeftOutLine(item, QStringLiteral("would take a name already in the folder")));
                continue;
            }
            ++outcome.updated;
            continue;
        }
        std::string name = entry.m_strName;
        if (!MakeAbNameUnique(store, questions, wholeTable, name)) { // only this entry is skipped
            outcome.leftOut.append(QStringLiteral("\"%1\" is already in the folder; that card was left out.")
                                       .arg(QString::fromStdString(entry.m_strName)));
            continue;
        }
        entry.m_strName = name;
        // An entry without an index of its own takes the lowest free one without asking.
        if (entry.m_nIndex <= 0) entry.m_nIndex = EntryTableEditor::LowestFreeIndex(store.m_abTable);
        if (!editor.InsertAbEntry(store.m_abTable.m_nCount, entry)) {
            outcome.stopped = true;
            outcome.leftOut.append(LeftOutLine(item, store.m_abTable.m_nCount >= store.m_abTable.m_nCapacity
                                                         ? QStringLiteral("did not fit: the folder is full")
                                                         : QStringLiteral("was not added: the import was cancelled")));
            continue;
        }
        ++outcome.added;
    }
    store.ClearFlag(VF_BATCH);
    return outcome;
}

bool VCardImport::Update(DirEntry& held, const DirEntry& card, EntryStore& store, IQuestions& questions,
                         const IAddressBookHost& host)
{
    DirEntry updated = held;
    if (card.m_strName != held.m_strName) {
        std::string name = card.m_strName;
        if (!MakeAbNameUnique(store, questions, host, name)) return false;
        updated.m_strName = name;
    }
    updated.m_strNumber = card.m_strNumber;
    updated.m_strNumberKind = card.m_strNumberKind;
    updated.m_strComment = card.m_strComment;
    updated.m_strStatus = card.m_strStatus == "!" ? "!" : " ";
    // The card's index where it is the entry's own or free; else the entry keeps its index.
    if (card.m_nIndex > 0 && card.m_nIndex != held.m_nIndex && EntryTableEditor::IsIndexFree(card.m_nIndex, store.m_abTable))
        updated.m_nIndex = card.m_nIndex;
    const bool same = updated.m_strName == held.m_strName && updated.m_strNumber == held.m_strNumber
        && updated.m_strNumberKind == held.m_strNumberKind && updated.m_strComment == held.m_strComment
        && updated.m_nIndex == held.m_nIndex && (updated.m_strStatus == "!") == (held.m_strStatus == "!");
    if (same) return true;
    if (updated.m_nState != ENTRY_NEW) updated.m_nState = ENTRY_CHANGED;
    held = updated;
    store.SetFlag(VF_AB_MODIFIED);
    return true;
}
