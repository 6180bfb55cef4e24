#include "dav/CardDavAnswers.h"

#include "dav/DavHref.h"

#include <QHash>

DavSyncResult CardDavAnswers::Sync(const DavMultistatus& answer, const QString& collection)
{
    DavSyncResult result;
    for (const DavResponse& response : answer.responses) {
        // The collection itself: 507 marks a truncated answer; some servers (iCloud) list it among the changes.
        if (DavHref::SamePath(response.path, collection)) {
            if (response.status == 507) result.truncated = true;
            continue;
        }
        if (response.status == 404 || response.status == 410) result.removed.append(response.path);
        else if (!response.etag.isEmpty() && !response.isCollection) result.changed.append({response.path, response.etag});
    }
    result.token = answer.syncToken;
    return result;
}

QList<DavEtag> CardDavAnswers::Etags(const DavMultistatus& answer, const QString& collection)
{
    QList<DavEtag> etags;
    for (const DavResponse& response : answer.responses)
        if (!response.isCollection && !DavHref::SamePath(response.path, collection) && !response.etag.isEmpty())
            etags.append({response.path, response.etag});
    return etags;
}

DavMultigetResult CardDavAnswers::Multiget(const DavMultistatus& answer, const QStringList& asked)
{
    DavMultigetResult result;
    // By path, so that a large multiget is not quadratic.
    QHash<QString, const DavResponse*> byPath;
    for (const DavResponse& response : answer.responses) byPath.insert(DavHref::Trimmed(response.path), &response);
    for (const QString& href : asked) {
        const DavResponse* response = byPath.value(DavHref::Trimmed(href));
        if (response && response->hasAddressData && (response->status == 0 || response->status == 200))
            result.cards.append({response->path, response->etag, response->addressData});
        else
            result.missing.append(href);
    }
    return result;
}

QList<DavAddressBook> CardDavAnswers::AddressBooks(const DavMultistatus& answer)
{
    QList<DavAddressBook> books;
    for (const DavResponse& response : answer.responses)
        if (response.isAddressBook) books.append({response.path, response.displayName});
    return books;
}
