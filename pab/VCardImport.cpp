#include "pab/VCardImport.h"

#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "pab/IAddressBookHost.h"
#include "pab/AbComment.h"
#include "pab/AbNameCheck.h"
#include "pab/WholeTableHost.h"

#include <memory>

namespace {
// Words of a number's kind that say nothing about which number it is.
bool IsPlainKind(const QString& type)
{
    return type == QLatin1String("pref") || type == QLatin1String("voice") || type == QLatin1String("internet")
        || type.startsWith(QLatin1String("x-"));
}

// The name as the card gives it, on one line and without blanks around it; any other character, a no-break
// space too, is the name's own.
QString NameOf(const VCardCard& card)
{
    QString name = card.displayName();
    name.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    qsizetype begin = 0;
    qsizetype end = name.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(name[begin])) ++begin;
    while (end > begin && blank(name[end - 1])) --end;
    return name.mid(begin, end - begin);
}

const VCardPhone* PreferredPhone(const VCardCard& card)
{
    const VCardPhone* best = nullptr;
    for (const VCardPhone& phone : card.phones)
        if (phone.preference > 0 && (!best || phone.preference < best->preference)) best = &phone;
    return best ? best : &card.phones.front();
}
}

QString VCardImport::KindOf(const VCardPhone& phone, int ordinal)
{
    for (const QString& type : phone.types)
        if (!IsPlainKind(type)) return type;
    return QString::number(ordinal);
}

DirEntry VCardImport::EntryFor(const VCardCard& card, const VCardPhone& phone)
{
    DirEntry entry;
    entry.m_strName = NameOf(card).toStdString();
    FilterNumber(phone.number.trimmed().toStdString(), true, entry.m_strNumber);
    // The note keeps the index and the VIP mark in the book's comment form; the reader takes them out of it.
    static const auto noEntries = std::make_unique<DirTable>();
    const AbCommentFields fields = card.note.isEmpty()
                                       ? AbCommentFields{}
                                       : AbComment::Parse(card.note.toStdString(), *noEntries, 0);
    entry.m_strStatus = fields.m_strStatus == "!" ? "!" : " ";
    entry.m_nIndex = fields.m_nIndex;
    entry.m_strComment = fields.m_strComment;
    return entry;
}

std::vector<DirEntry> VCardImport::Entries(const VCardReadResult& read, VCardNumberChoice choice, QStringList* leftOut)
{
    if (leftOut)
        for (const VCardProblem& problem : read.problems) leftOut->append(problem.text);
    std::vector<DirEntry> entries;
    for (const VCardCard& card : read.cards) {
        const QString name = NameOf(card);
        if (name.isEmpty() || card.phones.isEmpty()) {
            if (leftOut)
                leftOut->append(QStringLiteral("Line %1: the card %2 has no %3; it was left out.")
                                    .arg(card.line)
                                    .arg(name.isEmpty() ? QString() : QStringLiteral("of \"%1\"").arg(name))
                                    .arg(name.isEmpty() ? QStringLiteral("name") : QStringLiteral("telephone number"))
                                    .simplified());
            continue;
        }
        if (choice == VCardNumberChoice::First) {
            entries.push_back(EntryFor(card, card.phones.front()));
        } else if (choice == VCardNumberChoice::Preferred) {
            entries.push_back(EntryFor(card, *PreferredPhone(card)));
        } else {
            for (qsizetype k = 0; k < card.phones.size(); ++k) {
                DirEntry entry = EntryFor(card, card.phones[k]);
                if (k > 0) {
                    // The later numbers' entries need names of their own, and indices of their own.
                    entry.m_strName += QStringLiteral(" (%1)").arg(KindOf(card.phones[k], int(k) + 1)).toStdString();
                    entry.m_nIndex = 0;
                }
                entries.push_back(std::move(entry));
            }
        }
    }
    return entries;
}

int VCardImport::AddToAddressBook(std::vector<DirEntry>& entries, EntryStore& store, IQuestions& questions,
                                  IAddressBookHost& host, QStringList* namesLeftOut)
{
    WholeTableHost wholeTable(host, store);
    EntryTableEditor editor(store, questions, wholeTable);
    // As a transfer of several entries: a taken index is asked for once, with "Accept All" for the rest.
    store.SetFlag(VF_BATCH);
    if (entries.size() != 1) store.SetFlag(VF_BATCH_MULTI); else store.ClearFlag(VF_BATCH_MULTI);
    int added = 0;
    for (DirEntry& entry : entries) {
        std::string name = entry.m_strName;
        if (!MakeAbNameUnique(store, questions, wholeTable, name)) { // only this entry is skipped
            if (namesLeftOut) namesLeftOut->append(QString::fromStdString(entry.m_strName));
            continue;
        }
        entry.m_strName = name;
        // An entry without an index of its own takes the lowest free one without asking.
        if (entry.m_nIndex <= 0) entry.m_nIndex = EntryTableEditor::LowestFreeIndex(store.m_abTable);
        if (!editor.InsertAbEntry(store.m_abTable.m_nCount, entry)) break;
        ++added;
    }
    store.ClearFlag(VF_BATCH);
    return added;
}
