#include "SyncServerClient.h"

#include "model/VCardOwnedFields.h"

std::optional<std::map<QString, ServerCard>> SyncServerClient::Cards()
{
    const DavResult<QList<DavEtag>> listed = m_client.ListEtags();
    if (!listed.ok()) return std::nullopt;
    QStringList hrefs;
    for (const DavEtag& etag : listed.value) hrefs << etag.href;
    std::map<QString, ServerCard> cards;
    if (hrefs.isEmpty()) return cards;
    const DavResult<DavMultigetResult> fetched = m_client.Multiget(hrefs);
    if (!fetched.ok()) return std::nullopt;
    for (const DavCard& card : fetched.value.cards) {
        const std::optional<VCardRawCard> parsed = VCardRawCard::parse(card.vcard);
        if (parsed) cards[VCardOwnedFields::of(*parsed).uid] = {card.href, card.etag, *parsed};
    }
    return cards;
}

bool SyncServerClient::Add(const QString& uid, const QByteArray& vcard)
{
    QString path = m_client.CollectionPath();
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return m_client.Put(path + QStringLiteral("other-") + uid + QStringLiteral(".vcf"), vcard, QString()).ok();
}

bool SyncServerClient::Edit(const QString& uid, const QString& number, const QString& name)
{
    const auto cards = Cards();
    if (!cards || !cards->count(uid)) return false;
    ServerCard held = cards->at(uid);
    const qsizetype tel = held.card.findFirst("TEL");
    if (tel >= 0) held.card.replace(tel, "TEL;TYPE=CELL:" + number.toUtf8());
    else held.card.append("TEL;TYPE=CELL:" + number.toUtf8());
    if (!name.isEmpty()) {
        if (const qsizetype fn = held.card.findFirst("FN"); fn >= 0) held.card.replace(fn, "FN:" + name.toUtf8());
        if (const qsizetype n = held.card.findFirst("N"); n >= 0) held.card.replace(n, "N:" + name.toUtf8() + ";;;;");
    }
    return m_client.Put(held.href, held.card.toBytes(), held.etag).ok();
}

bool SyncServerClient::Remove(const QString& uid)
{
    const auto cards = Cards();
    if (!cards || !cards->count(uid)) return false;
    return m_client.Delete(cards->at(uid).href, cards->at(uid).etag).ok();
}
