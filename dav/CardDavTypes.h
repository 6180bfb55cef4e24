#pragma once
// The plain records the CardDAV client hands back. Hrefs are decoded server paths (see DavHref); ETags are kept as
// the server wrote them, quotes included, since they go back verbatim in If-Match.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct DavAddressBook {
    QString path;
    QString displayName;
};

struct DavCollectionState {
    QString syncToken;               // empty when the server keeps none
    QString ctag;                    // the collection's getctag; empty when the server keeps none
    bool supportsSyncCollection = false;
};

struct DavEtag {
    QString href;
    QString etag;
};

// One answer of sync-collection. When truncated, the server sent only part of the changes: the caller asks again
// with token and goes on until an answer is not truncated; the part alone is never the whole book.
struct DavSyncResult {
    QList<DavEtag> changed;
    QStringList removed;
    QString token;
    bool truncated = false;
};

struct DavCard {
    QString href;
    QString etag;
    QByteArray vcard;
};

struct DavMultigetResult {
    QList<DavCard> cards;
    QStringList missing; // asked for, but the server has no such card (404, or left out of the answer)
};
