#include "model/VCardEntryCard.h"

#include "model/VCardExport.h"
#include "model/VCardOwnedFieldEditor.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"
#include "model/VCardWriter.h"

#include <QUuid>

VCardOwnedFields VCardEntryCard::fieldsOf(const DirEntry& entry, const QStringList& lists,
                                          const QStringList& knownLists, const QStringList& baseCategories)
{
    VCardOwnedFields fields;
    fields.name = QString::fromStdString(entry.m_strName);
    fields.number = QString::fromStdString(entry.m_strNumber);
    fields.numberKind = QString::fromStdString(entry.m_strNumberKind);
    fields.comment = QString::fromStdString(entry.m_strComment);
    fields.index = entry.m_nIndex;
    fields.vip = entry.m_strStatus == "!";
    fields.uid = QString::fromStdString(entry.m_strUid);
    for (const QString& category : baseCategories) {
        if (!knownLists.contains(category) || lists.contains(category))
            fields.categories << category;
    }
    for (const QString& list : lists) {
        if (!list.trimmed().isEmpty() && !fields.categories.contains(list.trimmed()))
            fields.categories << list.trimmed();
    }
    return fields;
}

VCardRawCard VCardEntryCard::cardOf(const DirEntry& entry, const QStringList& lists, const QStringList& knownLists,
                                    const VCardRawCard* base)
{
    if (base) {
        VCardRawCard card = *base;
        const VCardOwnedFields before = VCardOwnedFields::of(card);
        VCardOwnedFields after = fieldsOf(entry, lists, knownLists, before.categories);
        if (after.uid.isEmpty())
            after.uid = before.uid.isEmpty() ? newUid() : before.uid;
        VCardOwnedFieldEditor::apply(card, before, after);
        return card;
    }
    DirEntry withUid = entry;
    if (withUid.m_strUid.empty())
        withUid.m_strUid = newUid().toStdString();
    // A new card is written as an export writes it; 3.0 is what every server and client reads.
    VCardRawCard card = *VCardRawCard::parse(VCardWriter::write({VCardExport::Card(withUid)}, VCardVersion::V3_0));
    const VCardOwnedFields fields = fieldsOf(withUid, lists, knownLists, {});
    if (!fields.categories.isEmpty())
        VCardOwnedFieldEditor::setCategories(card, fields.categories);
    return card;
}

DirEntry VCardEntryCard::entryOf(const VCardRawCard& card, const QStringList& knownLists, QStringList* lists)
{
    const VCardOwnedFields fields = VCardOwnedFields::of(card);
    DirEntry entry;
    entry.m_strName = fields.name.toStdString();
    entry.m_strNumber = fields.number.toStdString();
    entry.m_strNumberKind = fields.numberKind.toStdString();
    entry.m_strComment = fields.comment.toStdString();
    entry.m_nIndex = fields.index;
    entry.m_strStatus = fields.vip ? "!" : " ";
    entry.m_strUid = fields.uid.toStdString();
    if (lists) {
        lists->clear();
        for (const QString& category : fields.categories) {
            if (knownLists.contains(category))
                *lists << category;
        }
    }
    return entry;
}

QString VCardEntryCard::newUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}
