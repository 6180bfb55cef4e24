#pragma once
// Sends one HTTP request at a time and waits for its whole answer in a local event loop, so that the CardDAV
// client reads sequentially on its worker thread. It owns the rules that keep the account safe: plain http:// only
// to loopback unless the account allows it (refused before anything is sent), credentials sent up front only over
// HTTPS or to loopback (otherwise only when the server asks), certificates the system does not trust accepted only
// when the user accepted their fingerprint. Create it on the thread that uses it; Cancel() may come from any thread.
#include "dav/DavAccount.h"
#include "dav/DavReply.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>

#include <atomic>

class QNetworkAccessManager;
class QNetworkReply;

class DavTransport : public QObject {
    Q_OBJECT
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;
    static constexpr int kDefaultTimeoutMs = 60000;
    static constexpr int kMaxRedirects = 5;

    explicit DavTransport(const DavAccount& account, QObject* parent = nullptr);
    ~DavTransport() override;

    DavReply Send(const QByteArray& method, const QUrl& url, const Headers& headers, const QByteArray& body);

    void Cancel();      // thread-safe: aborts the running request; later requests end as cancelled too
    void ClearCancel(); // lets requests run again after a Cancel
    bool IsCancelled() const { return m_cancelled.load(); }
    int RequestsSent() const { return m_requestsSent.load(); }
    void SetTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

    // Whether a request to url may be sent at all; the refusal says why.
    DavError CheckAllowed(const QUrl& url) const;
    static bool IsLoopback(const QUrl& url);

private:
    DavReply SendOnce(const QByteArray& method, const QUrl& url, const Headers& headers, const QByteArray& body,
                      bool withCredentials);
    DavReply ReadFinished(QNetworkReply* reply, const QUrl& url, const QString& rejectedFingerprint) const;
    void WatchCertificates(QNetworkReply* reply, QString* rejectedFingerprint) const;
    bool MaySendCredentialsUpFront(const QUrl& url) const;
    void AbortRunning();

    DavAccount m_account;
    QNetworkAccessManager* m_manager = nullptr;
    QPointer<QNetworkReply> m_running;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_requestsSent{0};
    int m_timeoutMs = kDefaultTimeoutMs;
};
