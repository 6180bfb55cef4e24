#include "dav/DavTransport.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#ifndef QT_NO_SSL
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#endif

namespace {
bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Errors of the connection itself (as opposed to an HTTP status the server chose): the answer is incomplete.
// The Content-Length the server announced; -1 when it announced none.
qint64 AnnouncedLength(const QNetworkReply* reply)
{
    if (!reply->hasRawHeader("Content-Length")) return -1;
    bool ok = false;
    const qint64 length = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    return ok ? length : -1;
}

bool IsTransportError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 1 && code < 200) || (code >= 300 && code < 400) || error == QNetworkReply::UnknownNetworkError;
}
}

DavTransport::DavTransport(const DavAccount& account, QObject* parent)
    : QObject(parent), m_account(account), m_manager(new QNetworkAccessManager(this))
{
    // Cookies and a cache would only carry state between requests that CardDAV does not need.
    m_manager->setCookieJar(nullptr);
}

DavTransport::~DavTransport() = default;

void DavTransport::Cancel()
{
    m_cancelled = true;
    // Runs on this object's thread, inside the local event loop of the request under way.
    QMetaObject::invokeMethod(this, [this] { AbortRunning(); }, Qt::QueuedConnection);
}

void DavTransport::ClearCancel()
{
    m_cancelled = false;
}

void DavTransport::AbortRunning()
{
    if (m_running) m_running->abort();
}

bool DavTransport::IsLoopback(const QUrl& url)
{
    const QString host = url.host();
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

DavError DavTransport::CheckAllowed(const QUrl& url) const
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty())
        return DavError::Make(DavError::Kind::Refused, QStringLiteral("not a server address: %1").arg(url.toDisplayString()));
    if (scheme == QLatin1String("https")) return DavError();
    if (scheme != QLatin1String("http"))
        return DavError::Make(DavError::Kind::Refused, QStringLiteral("only http:// and https:// addresses are used"));
    if (IsLoopback(url) || m_account.allowPlainHttp) return DavError();
    return DavError::Make(DavError::Kind::Refused,
                          QStringLiteral("plain http:// to %1 would send the password and the cards unencrypted; use "
                                         "https:// or allow plain http for this account")
                              .arg(url.host()));
}

bool DavTransport::MaySendCredentialsUpFront(const QUrl& url) const
{
    return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 || IsLoopback(url);
}

DavReply DavTransport::Send(const QByteArray& method, const QUrl& url, const Headers& headers, const QByteArray& body)
{
    QUrl target = url;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        const bool upFront = MaySendCredentialsUpFront(target) && !m_account.user.isEmpty();
        DavReply reply = SendOnce(method, target, headers, body, upFront);
        // Over plain http to an allowed host the password goes only when the server asks for it.
        if (reply.ok() && reply.status == 401 && !upFront && !m_account.user.isEmpty())
            reply = SendOnce(method, target, headers, body, true);
        if (!reply.ok()) return reply;
        if (reply.status == 401) {
            reply.error = DavError::Make(DavError::Kind::Authentication,
                                         QStringLiteral("the server did not accept user \"%1\" with this password")
                                             .arg(m_account.user),
                                         401);
            return reply;
        }
        if (!IsRedirect(reply.status)) return reply;
        target = reply.url;
    }
    DavReply looped;
    looped.url = target;
    looped.error = DavError::Make(DavError::Kind::Protocol, QStringLiteral("too many redirects from %1").arg(url.toDisplayString()));
    return looped;
}

DavReply DavTransport::SendOnce(const QByteArray& method, const QUrl& url, const Headers& headers,
                                const QByteArray& body, bool withCredentials)
{
    DavReply refused;
    refused.url = url;
    refused.error = CheckAllowed(url);
    if (!refused.ok()) return refused;
    if (m_cancelled) {
        refused.error = DavError::Make(DavError::Kind::Cancelled, QStringLiteral("cancelled"));
        return refused;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_timeoutMs);
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    // Uncompressed, so that the announced length shows a cut answer: Qt ends a cut gzip stream without an error.
    request.setRawHeader("Accept-Encoding", "identity");
    if (withCredentials) {
        const QByteArray pair = (m_account.user + u':' + m_account.password).toUtf8();
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }

    QNetworkReply* reply = m_manager->sendCustomRequest(request, method, body);
    ++m_requestsSent;
    m_running = reply;
    QString rejectedFingerprint;
    WatchCertificates(reply, &rejectedFingerprint);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (m_cancelled) reply->abort(); // a Cancel between the check above and now
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_running = nullptr;
    DavReply result = ReadFinished(reply, url, rejectedFingerprint);
    reply->deleteLater();
    return result;
}

void DavTransport::WatchCertificates(QNetworkReply* reply, QString* rejectedFingerprint) const
{
#ifndef QT_NO_SSL
    connect(reply, &QNetworkReply::sslErrors, reply, [this, reply, rejectedFingerprint](const QList<QSslError>& errors) {
        const QSslCertificate leaf = reply->sslConfiguration().peerCertificate();
        const QString fingerprint = QString::fromLatin1(leaf.digest(QCryptographicHash::Sha256).toHex());
        if (!leaf.isNull() && m_account.acceptedCertificates.contains(fingerprint, Qt::CaseInsensitive))
            reply->ignoreSslErrors(errors);
        else
            *rejectedFingerprint = fingerprint;
    });
#else
    Q_UNUSED(reply);
    Q_UNUSED(rejectedFingerprint);
#endif
}

DavReply DavTransport::ReadFinished(QNetworkReply* reply, const QUrl& url, const QString& rejectedFingerprint) const
{
    DavReply result;
    result.url = url;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen()) result.body = reply->readAll();
    result.etag = reply->rawHeader("ETag");
    if (IsRedirect(result.status)) {
        const QByteArray location = reply->rawHeader("Location");
        if (location.isEmpty()) {
            result.error = DavError::Make(DavError::Kind::Protocol, QStringLiteral("a redirect without a Location"), result.status);
            return result;
        }
        result.url = url.resolved(QUrl::fromEncoded(location));
    }
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError && m_cancelled) {
        result.error = DavError::Make(DavError::Kind::Cancelled, QStringLiteral("cancelled"));
    } else if (!rejectedFingerprint.isEmpty() || error == QNetworkReply::SslHandshakeFailedError) {
        result.error = DavError::Make(DavError::Kind::Certificate,
                                      QStringLiteral("the certificate of %1 is not trusted (SHA-256 %2)")
                                          .arg(url.host(), rejectedFingerprint));
        result.error.certificateFingerprint = rejectedFingerprint;
    } else if (error == QNetworkReply::OperationCanceledError) {
        result.error = DavError::Make(DavError::Kind::Network,
                                      QStringLiteral("%1 did not answer in %2 s").arg(url.host()).arg(m_timeoutMs / 1000));
    } else if (IsTransportError(error) || result.status == 0) {
        result.error = DavError::Make(DavError::Kind::Network,
                                      QStringLiteral("%1: %2").arg(url.host(), reply->errorString()), result.status);
    } else if (const qint64 announced = AnnouncedLength(reply); announced > result.body.size()) {
        // A connection closed early under HTTP/1.0 ends the body without an error: only the length tells.
        result.error = DavError::Make(DavError::Kind::Network,
                                      QStringLiteral("%1: the connection was cut after %2 of %3 bytes")
                                          .arg(url.host())
                                          .arg(result.body.size())
                                          .arg(announced),
                                      result.status);
    }
    return result;
}
