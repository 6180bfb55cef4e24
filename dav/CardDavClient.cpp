#include "dav/CardDavClient.h"

#include "dav/CardDavAnswers.h"
#include "dav/DavHref.h"
#include "dav/DavRequestBodies.h"

namespace {
const QByteArray kXmlType = "application/xml; charset=utf-8";

QString Quoted(const QString& etag)
{
    return etag.startsWith(u'"') || etag.startsWith(QLatin1String("W/")) ? etag : u'"' + etag + u'"';
}
}

CardDavClient::CardDavClient(const DavAccount& account) : m_account(account), m_transport(account) {}

DavError CardDavClient::ErrorForStatus(const DavReply& reply, const QString& what)
{
    using Kind = DavError::Kind;
    const int status = reply.status;
    const QString text = QStringLiteral("%1: the server answered %2").arg(what).arg(status);
    if (status == 401) return DavError::Make(Kind::Authentication, text, status);
    if (status == 404 || status == 410) return DavError::Make(Kind::NotFound, text, status);
    if (status == 412) return DavError::Make(Kind::PreconditionFailed, text, status);
    if (status == 507) return DavError::Make(Kind::InsufficientStorage, text, status);
    return DavError::Make(Kind::Refused, text, status);
}

DavResult<CardDavClient::Answer> CardDavClient::AskMultistatus(const QByteArray& method, const QUrl& url,
                                                               const QByteArray& depth, const QByteArray& body)
{
    DavResult<Answer> result;
    result.value.reply = m_transport.Send(method, url, {{"Depth", depth}, {"Content-Type", kXmlType}}, body);
    const DavReply& reply = result.value.reply;
    if (!reply.ok()) {
        result.error = reply.error;
        return result;
    }
    if (reply.status != 207) {
        result.error = ErrorForStatus(reply, QStringLiteral("%1 %2").arg(QString::fromLatin1(method), url.path()));
        return result;
    }
    result.value.multistatus = DavMultistatus::Parse(reply.body, reply.url);
    if (!result.value.multistatus.valid)
        result.error = DavError::Make(DavError::Kind::Protocol,
                                      QStringLiteral("%1 %2: unreadable answer (%3)")
                                          .arg(QString::fromLatin1(method), url.path(), result.value.multistatus.problem),
                                      reply.status);
    return result;
}

DavResult<QList<DavAddressBook>> CardDavClient::Discover()
{
    DavResult<QList<DavAddressBook>> result;
    DavResult<Answer> first;
    // A bare server address: the well-known location leads to the server's CardDAV root (RFC 6764); a server
    // without it is asked at the address itself.
    const QString startPath = m_account.url.path();
    if (startPath.isEmpty() || startPath == QLatin1String("/")) {
        QUrl wellKnown = m_account.url;
        wellKnown.setPath(QStringLiteral("/.well-known/carddav"));
        first = AskMultistatus("PROPFIND", wellKnown, "0", DavRequestBodies::DiscoveryProps());
        const DavError::Kind kind = first.error.kind;
        if (!first.ok() && kind != DavError::Kind::NotFound && kind != DavError::Kind::Refused) {
            result.error = first.error;
            return result;
        }
    }
    if (!first.ok() || first.value.multistatus.responses.isEmpty())
        first = AskMultistatus("PROPFIND", m_account.url, "0", DavRequestBodies::DiscoveryProps());
    if (!first.ok()) {
        result.error = first.error;
        return result;
    }
    const DavReply& reply = first.value.reply;
    const DavResponse* self = first.value.multistatus.Find(reply.url.path(QUrl::FullyDecoded));
    if (!self && !first.value.multistatus.responses.isEmpty()) self = &first.value.multistatus.responses.first();
    if (self && self->isAddressBook) {
        result.value.append({self->path, self->displayName});
        return result;
    }
    QString home = self ? self->addressbookHome : QString();
    if (home.isEmpty() && self && !self->principalPath.isEmpty()) {
        const QUrl principal = DavHref::ToUrl(reply.url, self->principalPath);
        const DavResult<Answer> asked = AskMultistatus("PROPFIND", principal, "0", DavRequestBodies::HomeSetProps());
        if (!asked.ok()) {
            result.error = asked.error;
            return result;
        }
        const DavResponse* found = asked.value.multistatus.Find(self->principalPath);
        if (!found && !asked.value.multistatus.responses.isEmpty()) found = &asked.value.multistatus.responses.first();
        if (found) home = found->addressbookHome;
    }
    if (home.isEmpty()) {
        result.error = DavError::Make(DavError::Kind::NotFound,
                                      QStringLiteral("%1 names no address book and no CardDAV home of the user")
                                          .arg(m_account.url.toDisplayString()));
        return result;
    }
    return BooksInHome(DavHref::ToUrl(reply.url, home));
}

DavResult<QList<DavAddressBook>> CardDavClient::BooksInHome(const QUrl& home)
{
    DavResult<QList<DavAddressBook>> result;
    const DavResult<Answer> asked = AskMultistatus("PROPFIND", home, "1", DavRequestBodies::AddressBookProps());
    if (!asked.ok()) {
        result.error = asked.error;
        return result;
    }
    result.value = CardDavAnswers::AddressBooks(asked.value.multistatus);
    return result;
}

DavResult<DavCollectionState> CardDavClient::CollectionState()
{
    DavResult<DavCollectionState> result;
    const DavResult<Answer> asked = AskMultistatus("PROPFIND", m_account.url, "0", DavRequestBodies::CollectionStateProps());
    if (!asked.ok()) {
        result.error = asked.error;
        return result;
    }
    const DavMultistatus& answer = asked.value.multistatus;
    const DavResponse* self = answer.Find(CollectionPath());
    if (!self && answer.responses.size() == 1) self = &answer.responses.first();
    if (!self) {
        result.error = DavError::Make(DavError::Kind::Protocol, QStringLiteral("the answer does not describe %1").arg(CollectionPath()));
        return result;
    }
    result.value.syncToken = self->syncToken;
    result.value.ctag = self->ctag;
    result.value.supportsSyncCollection = self->supportsSyncCollection;
    return result;
}

DavResult<DavSyncResult> CardDavClient::SyncCollection(const QString& token, int limit)
{
    DavResult<DavSyncResult> result;
    const QByteArray body = DavRequestBodies::SyncCollection(token, limit);
    const DavReply reply = m_transport.Send("REPORT", m_account.url, {{"Depth", "0"}, {"Content-Type", kXmlType}}, body);
    if (!reply.ok()) {
        result.error = reply.error;
        return result;
    }
    if ((reply.status == 403 || reply.status == 409) && DavMultistatus::HasPrecondition(reply.body, QStringLiteral("valid-sync-token"))) {
        result.error = DavError::Make(DavError::Kind::InvalidSyncToken,
                                      QStringLiteral("the server no longer knows the sync token; a full sync is needed"),
                                      reply.status);
        return result;
    }
    if (reply.status != 207) {
        result.error = ErrorForStatus(reply, QStringLiteral("sync-collection"));
        return result;
    }
    const DavMultistatus answer = DavMultistatus::Parse(reply.body, reply.url);
    if (!answer.valid || answer.syncToken.isEmpty()) {
        result.error = DavError::Make(DavError::Kind::Protocol,
                                      QStringLiteral("sync-collection: unreadable answer (%1)")
                                          .arg(answer.valid ? QStringLiteral("no sync-token") : answer.problem),
                                      reply.status);
        return result;
    }
    result.value = CardDavAnswers::Sync(answer, reply.url.path(QUrl::FullyDecoded));
    return result;
}

DavResult<QList<DavEtag>> CardDavClient::ListEtags()
{
    DavResult<QList<DavEtag>> result;
    const DavResult<Answer> asked = AskMultistatus("PROPFIND", m_account.url, "1", DavRequestBodies::EtagProps());
    if (!asked.ok()) {
        result.error = asked.error;
        return result;
    }
    result.value = CardDavAnswers::Etags(asked.value.multistatus, asked.value.reply.url.path(QUrl::FullyDecoded));
    return result;
}

DavResult<DavMultigetResult> CardDavClient::Multiget(const QStringList& hrefs)
{
    DavResult<DavMultigetResult> result;
    if (hrefs.isEmpty()) return result;
    const DavResult<Answer> asked = AskMultistatus("REPORT", m_account.url, "1", DavRequestBodies::Multiget(hrefs));
    if (!asked.ok()) {
        result.error = asked.error;
        return result;
    }
    result.value = CardDavAnswers::Multiget(asked.value.multistatus, hrefs);
    return result;
}

DavResult<QString> CardDavClient::Put(const QString& href, const QByteArray& vcard, const QString& ifMatch)
{
    DavResult<QString> result;
    DavTransport::Headers headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (ifMatch.isEmpty()) headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else headers.append(qMakePair(QByteArray("If-Match"), Quoted(ifMatch).toUtf8()));
    const DavReply reply = m_transport.Send("PUT", DavHref::ToUrl(m_account.url, href), headers, vcard);
    if (!reply.ok()) result.error = reply.error;
    else if (reply.status < 200 || reply.status >= 300) result.error = ErrorForStatus(reply, QStringLiteral("PUT %1").arg(href));
    else result.value = QString::fromUtf8(reply.etag);
    return result;
}

DavResult<bool> CardDavClient::Delete(const QString& href, const QString& ifMatch)
{
    DavResult<bool> result;
    DavTransport::Headers headers;
    if (!ifMatch.isEmpty()) headers.append(qMakePair(QByteArray("If-Match"), Quoted(ifMatch).toUtf8()));
    const DavReply reply = m_transport.Send("DELETE", DavHref::ToUrl(m_account.url, href), headers, QByteArray());
    if (!reply.ok()) result.error = reply.error;
    else if (reply.status < 200 || reply.status >= 300) result.error = ErrorForStatus(reply, QStringLiteral("DELETE %1").arg(href));
    else result.value = true;
    return result;
}
