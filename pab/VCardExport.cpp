#include "pab/VCardExport.h"

#include "pab/AbComment.h"

#include <algorithm>

VCardCard VCardExport::Card(const DirEntry& entry)
{
    VCardCard card;
    card.formattedName = QString::fromStdString(entry.m_strName);
    // N wants family and given name apart; a single word is taken as the family name.
    const qsizetype blank = card.formattedName.lastIndexOf(QLatin1Char(' '));
    const QString family = blank < 0 ? card.formattedName : card.formattedName.mid(blank + 1);
    const QString given = blank < 0 ? QString() : card.formattedName.left(blank);
    card.nameParts = {family, given, QString(), QString(), QString()};
    if (!entry.m_strNumber.empty()) {
        VCardPhone phone;
        phone.number = QString::fromStdString(entry.m_strNumber).trimmed();
        phone.types = {QStringLiteral("cell")};
        card.phones.append(phone);
    }
    const std::string status = entry.m_strStatus == "!" ? "!" : " ";
    const std::string note = entry.m_strComment.empty()
                                 ? AbComment::FormatForNewEntry(status, entry.m_nIndex)
                                 : AbComment::FormatForUpdatedEntry(AbComment::WithoutJoiningBlank(entry.m_strComment), status, entry.m_nIndex);
    card.note = QString::fromStdString(note);
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
