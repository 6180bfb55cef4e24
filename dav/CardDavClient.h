#pragma once
// A synchronous CardDAV client for one account, meant for a worker thread: each call sends its requests one after
// the other and returns when the last answer is in, failed or was cancelled. Paths are decoded server paths
// (DavHref); every call other than Discover works on the collection the account's URL names.
#include "dav/CardDavTypes.h"
#include "dav/DavAccount.h"
#include "dav/DavMultistatus.h"
#include "dav/DavResult.h"
#include "dav/DavTransport.h"

class CardDavClient {
public:
    explicit CardDavClient(const DavAccount& account);

    // The address books reachable from the account's URL: the collection itself when it is one, otherwise found
    // from the server through /.well-known/carddav, the user's principal and its addressbook-home-set.
    DavResult<QList<DavAddressBook>> Discover();
    DavResult<DavCollectionState> CollectionState();
    // Changes since token (empty: every card). limit > 0 asks the server for at most that many per answer.
    DavResult<DavSyncResult> SyncCollection(const QString& token, int limit = 0);
    // Every card's ETag, for servers without sync-collection.
    DavResult<QList<DavEtag>> ListEtags();
    DavResult<DavMultigetResult> Multiget(const QStringList& hrefs);
    // ifMatch empty: the card must be new (If-None-Match: *). Returns the new ETag, or empty when the server gave
    // none - then the caller fetches it.
    DavResult<QString> Put(const QString& href, const QByteArray& vcard, const QString& ifMatch);
    DavResult<bool> Delete(const QString& href, const QString& ifMatch);

    void Cancel() { m_transport.Cancel(); } // thread-safe
    void ClearCancel() { m_transport.ClearCancel(); }
    int RequestsSent() const { return m_transport.RequestsSent(); }
    void SetTimeoutMs(int timeoutMs) { m_transport.SetTimeoutMs(timeoutMs); }
    QString CollectionPath() const { return m_account.url.path(QUrl::FullyDecoded); }

private:
    struct Answer {
        DavReply reply;
        DavMultistatus multistatus;
    };
    // A PROPFIND or REPORT whose answer must be a readable 207 multistatus.
    DavResult<Answer> AskMultistatus(const QByteArray& method, const QUrl& url, const QByteArray& depth,
                                     const QByteArray& body);
    DavResult<QList<DavAddressBook>> BooksInHome(const QUrl& home);
    static DavError ErrorForStatus(const DavReply& reply, const QString& what);

    DavAccount m_account;
    DavTransport m_transport;
};
