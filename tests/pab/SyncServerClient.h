#pragma once
// Another program on the server: it reads, adds, changes and deletes cards of the address book with plain
// CardDAV requests, as a telephone or another address book would between two synchronizations.
#include "dav/CardDavClient.h"
#include "model/VCardRawCard.h"

#include <QString>

#include <map>
#include <optional>

struct ServerCard {
    QString href;
    QString etag;
    VCardRawCard card;
};

class SyncServerClient {
public:
    explicit SyncServerClient(const DavAccount& account) : m_client(account) {}

    // Every card by UID; nothing when the server does not answer.
    std::optional<std::map<QString, ServerCard>> Cards();
    bool Add(const QString& uid, const QByteArray& vcard);
    // The card's first TEL (and FN and N when a name is given) changed, every other line as it was.
    bool Edit(const QString& uid, const QString& number, const QString& name = {});
    bool Remove(const QString& uid);

    CardDavClient& Client() { return m_client; }

private:
    CardDavClient m_client;
};
