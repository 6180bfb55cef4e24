#pragma once
// What the CardDAV answers mean, read from their parsed multistatus: pure functions, so that the replies of real
// servers are checked without a server. collection is the decoded path of the address book asked.
#include "dav/CardDavTypes.h"
#include "dav/DavMultistatus.h"

class CardDavAnswers {
public:
    // A sync-collection answer: changed members with their ETags, removed members (404), and whether the server
    // cut the answer short (507 on the collection itself). The collection itself is never a member.
    static DavSyncResult Sync(const DavMultistatus& answer, const QString& collection);
    // The cards of a PROPFIND Depth 1 on the collection: members that are no collection and have an ETag.
    static QList<DavEtag> Etags(const DavMultistatus& answer, const QString& collection);
    // An addressbook-multiget answer for the hrefs asked: the cards that came, and those that did not.
    static DavMultigetResult Multiget(const DavMultistatus& answer, const QStringList& asked);
    // The address books among the members of a home collection.
    static QList<DavAddressBook> AddressBooks(const DavMultistatus& answer);
};
