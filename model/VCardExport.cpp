#include "model/VCardExport.h"

#include "model/VCardNameParts.h"

#include <algorithm>

namespace {
// vCard's own words for a number's kind; any other kind is a label of its own.
bool IsVCardType(const QString& type)
{
    static const QStringList types = {"cell", "home", "work", "voice", "fax", "pager", "text", "video", "textphone",
                                      "msg", "bbs", "modem", "car", "isdn", "pcs", "main", "iphone", "other"};
    return types.contains(type);
}

VCardPhone PhoneOf(const DirEntry& entry)
{
    VCardPhone phone;
    phone.number = QString::fromStdString(entry.m_strNumber).trimmed();
    const QString kind = QString::fromStdString(entry.m_strNumberKind);
    if (kind.isEmpty()) return phone; // a plain TEL: nothing is known of the number's kind
    const QStringList types = kind.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (std::all_of(types.begin(), types.end(), IsVCardType)) phone.types = types;
    else phone.label = kind;
    return phone;
}
}

VCardCard VCardExport::Card(const DirEntry& entry)
{
    VCardCard card;
    card.formattedName = QString::fromStdString(entry.m_strName);
    card.nameParts = VCardNameParts::fromName(card.formattedName);
    if (!entry.m_strNumber.empty()) card.phones.append(PhoneOf(entry));
    card.note = QString::fromStdString(entry.m_strComment);
    card.uid = QString::fromStdString(entry.m_strUid);
    card.index = entry.m_nIndex;
    card.vip = entry.m_strStatus == "!";
    return card;
}

QList<VCardCard> VCardExport::Cards(const DirTable& table)
{
    QList<VCardCard> cards;
    const int live = std::clamp(table.m_nCount, 0, kTableSlots);
    for (int slot = 0; slot < live; ++slot) cards.append(Card(table[slot]));
    return cards;
}

QList<VCardCard> VCardExport::Cards(const DirTable& table, const std::vector<int>& chosen)
{
    QList<VCardCard> cards;
    const int live = std::clamp(table.m_nCount, 0, kTableSlots);
    for (int slot : chosen)
        if (slot >= 0 && slot < live) cards.append(Card(table[slot]));
    return cards;
}
