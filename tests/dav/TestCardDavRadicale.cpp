// The CardDAV client against a real Radicale on 127.0.0.1: discovery, conditional writes, incremental sync, the
// errors a sync depends on (stale ETag, unknown token, wrong password), the refusal of plain http, cancelling from
// another thread, and connections cut at random points, which must end in errors and never in a wrong answer.
#include "CuttingProxy.h"
#include "RadicaleServer.h"
#include "TestSeed.h"

#include "dav/CardDavClient.h"

#include <QCryptographicHash>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <random>

namespace {
const QString kUser = QStringLiteral("alice");
const QString kPassword = QStringLiteral("s3cret:with colon");

QByteArray Card(const QString& uid, const QString& name)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\nEND:VCARD\r\n").arg(uid, name).toUtf8();
}

// Line ends aside: XML reads CR LF as LF.
QByteArray Unfolded(QByteArray text)
{
    return text.replace("\r\n", "\n");
}

QMap<QString, QString> AsMap(const QList<DavEtag>& etags)
{
    QMap<QString, QString> map;
    for (const DavEtag& etag : etags) map.insert(etag.href, etag.etag);
    return map;
}

QString Describe(const DavError& error)
{
    return QStringLiteral("%1 (%2): %3").arg(DavError::KindName(error.kind)).arg(error.httpStatus).arg(error.message);
}

// A server that takes connections and reads requests but never answers.
class SilentServer : public QTcpServer {
public:
    SilentServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { bytesRead += socket->readAll().size(); });
            }
        });
    }
    std::atomic<int> connections{0};
    std::atomic<qint64> bytesRead{0};
};
}

class TestCardDavRadicale : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void discoveryFindsTheBookFromTheServerOrTakesItAsGiven();
    void conditionalWritesAndIncrementalSync();
    void unknownSyncTokenAsksForAFullSync();
    void wrongPasswordIsAnAuthenticationError();
    void plainHttpToAnotherHostIsRefusedBeforeSending();
    void untrustedCertificateOnlyByItsAcceptedFingerprint();
    void cancelFromAnotherThreadEndsTheCall();
    void cutConnectionsEndInErrorsNeverInWrongAnswers();

private:
    DavAccount Account(const QUrl& url) const;
    QUrl NewBook(const QString& name);

    std::unique_ptr<RadicaleServer> m_server;
    int m_books = 0;
};

void TestCardDavRadicale::initTestCase()
{
    m_server = std::make_unique<RadicaleServer>();
    m_server->AddUser(kUser, kPassword);
    QVERIFY2(m_server->Start(), qPrintable(m_server->Problem()));
}

DavAccount TestCardDavRadicale::Account(const QUrl& url) const
{
    DavAccount account;
    account.url = url;
    account.user = kUser;
    account.password = kPassword;
    return account;
}

QUrl TestCardDavRadicale::NewBook(const QString& name)
{
    const QUrl url = m_server->CreateAddressBook(kUser, kPassword, QStringLiteral("%1-%2").arg(name).arg(++m_books), name);
    if (url.isEmpty()) qWarning("%s", qPrintable(m_server->Problem()));
    return url;
}

void TestCardDavRadicale::discoveryFindsTheBookFromTheServerOrTakesItAsGiven()
{
    const QUrl private_ = NewBook(QStringLiteral("Privé"));
    const QUrl work = NewBook(QStringLiteral("Work"));
    QVERIFY(!private_.isEmpty() && !work.isEmpty());

    CardDavClient fromRoot(Account(m_server->RootUrl()));
    const auto found = fromRoot.Discover();
    QVERIFY2(found.ok(), qPrintable(Describe(found.error)));
    QStringList books;
    for (const DavAddressBook& book : found.value) books << book.path + u' ' + book.displayName;
    QVERIFY2(books.contains(private_.path() + QStringLiteral(" Privé")), qPrintable(books.join(u'|')));
    QVERIFY2(books.contains(work.path() + QStringLiteral(" Work")), qPrintable(books.join(u'|')));

    CardDavClient given(Account(work));
    const auto asIs = given.Discover();
    QVERIFY2(asIs.ok(), qPrintable(Describe(asIs.error)));
    QCOMPARE(asIs.value.size(), 1);
    QCOMPARE(asIs.value.first().path, work.path());
    QCOMPARE(asIs.value.first().displayName, QStringLiteral("Work"));
    QCOMPARE(given.RequestsSent(), 1);
}

void TestCardDavRadicale::conditionalWritesAndIncrementalSync()
{
    const QUrl bookUrl = NewBook(QStringLiteral("Sync"));
    QVERIFY(!bookUrl.isEmpty());
    CardDavClient client(Account(bookUrl));
    const QString book = bookUrl.path();
    const QString first = book + QStringLiteral("Zoë & Co.vcf");
    const QString second = book + QStringLiteral("second.vcf");

    const auto state = client.CollectionState();
    QVERIFY2(state.ok(), qPrintable(Describe(state.error)));
    QVERIFY(state.value.supportsSyncCollection);
    QVERIFY(!state.value.syncToken.isEmpty());

    const auto put1 = client.Put(first, Card(QStringLiteral("u1"), QStringLiteral("Zoë")), QString());
    const auto put2 = client.Put(second, Card(QStringLiteral("u2"), QStringLiteral("Second")), QString());
    QVERIFY2(put1.ok() && put2.ok(), qPrintable(Describe(put1.error) + Describe(put2.error)));
    QVERIFY(!put1.value.isEmpty() && !put2.value.isEmpty());
    // A new card put again as new: someone else created it meanwhile.
    const auto again = client.Put(first, Card(QStringLiteral("u1"), QStringLiteral("Other")), QString());
    QCOMPARE(again.error.kind, DavError::Kind::PreconditionFailed);
    QCOMPARE(again.error.httpStatus, 412);

    const auto full = client.SyncCollection(QString());
    QVERIFY2(full.ok(), qPrintable(Describe(full.error)));
    QVERIFY(!full.value.truncated);
    QCOMPARE(AsMap(full.value.changed), (QMap<QString, QString>{{first, put1.value}, {second, put2.value}}));
    QVERIFY(full.value.removed.isEmpty());
    const auto listed = client.ListEtags();
    QVERIFY2(listed.ok(), qPrintable(Describe(listed.error)));
    QCOMPARE(AsMap(listed.value), AsMap(full.value.changed));

    // An update with the current ETag goes through; one with the old ETag is refused, and so is a delete.
    const auto update = client.Put(first, Card(QStringLiteral("u1"), QStringLiteral("Zoë B.")), put1.value);
    QVERIFY2(update.ok(), qPrintable(Describe(update.error)));
    QVERIFY(!update.value.isEmpty() && update.value != put1.value);
    QCOMPARE(client.Put(first, Card(QStringLiteral("u1"), QStringLiteral("Stale")), put1.value).error.kind,
             DavError::Kind::PreconditionFailed);
    QCOMPARE(client.Delete(second, QStringLiteral("\"stale\"")).error.kind, DavError::Kind::PreconditionFailed);
    const auto deleted = client.Delete(second, put2.value);
    QVERIFY2(deleted.ok(), qPrintable(Describe(deleted.error)));
    QCOMPARE(client.Delete(second, QString()).error.kind, DavError::Kind::NotFound);

    // Only what changed since the first sync.
    const auto next = client.SyncCollection(full.value.token);
    QVERIFY2(next.ok(), qPrintable(Describe(next.error)));
    QCOMPARE(AsMap(next.value.changed), (QMap<QString, QString>{{first, update.value}}));
    QCOMPARE(next.value.removed, QStringList{second});
    QVERIFY(next.value.token != full.value.token);
    const auto quiet = client.SyncCollection(next.value.token);
    QVERIFY2(quiet.ok(), qPrintable(Describe(quiet.error)));
    QVERIFY(quiet.value.changed.isEmpty() && quiet.value.removed.isEmpty());

    const auto fetched = client.Multiget({first, second});
    QVERIFY2(fetched.ok(), qPrintable(Describe(fetched.error)));
    QCOMPARE(fetched.value.cards.size(), 1);
    QCOMPARE(fetched.value.cards.first().href, first);
    QCOMPARE(fetched.value.cards.first().etag, update.value);
    QCOMPARE(Unfolded(fetched.value.cards.first().vcard), Unfolded(Card(QStringLiteral("u1"), QStringLiteral("Zoë B."))));
    QCOMPARE(fetched.value.missing, QStringList{second});
}

void TestCardDavRadicale::unknownSyncTokenAsksForAFullSync()
{
    const QUrl bookUrl = NewBook(QStringLiteral("Tokens"));
    CardDavClient client(Account(bookUrl));
    const auto sync = client.SyncCollection(QStringLiteral("http://radicale.org/ns/sync/0000000000000000"));
    QCOMPARE(sync.error.kind, DavError::Kind::InvalidSyncToken);
    QCOMPARE(sync.error.httpStatus, 403);
}

void TestCardDavRadicale::wrongPasswordIsAnAuthenticationError()
{
    const QUrl bookUrl = NewBook(QStringLiteral("Locked"));
    DavAccount account = Account(bookUrl);
    account.password = QStringLiteral("wrong");
    CardDavClient client(account);
    const auto state = client.CollectionState();
    QCOMPARE(state.error.kind, DavError::Kind::Authentication);
    QVERIFY(!state.error.message.contains(QStringLiteral("wrong")));
    QCOMPARE(client.Discover().error.kind, DavError::Kind::Authentication);
}

// 0.0.0.0 is not a loopback address, yet on this machine a connection to it lands here: were the refusal missing,
// the test would see the request arrive, and nothing leaves the machine either way.
void TestCardDavRadicale::plainHttpToAnotherHostIsRefusedBeforeSending()
{
    const QUrl bookUrl = NewBook(QStringLiteral("Plain"));
    QUrl elsewhere = bookUrl;
    elsewhere.setHost(QStringLiteral("0.0.0.0"));
    SilentServer silent;
    QUrl silentUrl = elsewhere;
    silentUrl.setPort(silent.serverPort());

    CardDavClient refused(Account(silentUrl));
    const auto state = refused.CollectionState();
    QCOMPARE(state.error.kind, DavError::Kind::Refused);
    QVERIFY2(state.error.message.contains(QStringLiteral("http://")), qPrintable(state.error.message));
    QCOMPARE(refused.Put(silentUrl.path() + QStringLiteral("a.vcf"), Card(QStringLiteral("a"), QStringLiteral("A")), QString())
                 .error.kind,
             DavError::Kind::Refused);
    QCOMPARE(refused.RequestsSent(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(silent.connections.load(), 0);

    // Allowed by the account, it goes out - and the password only once the server asks for it.
    DavAccount allowed = Account(elsewhere);
    allowed.allowPlainHttp = true;
    CardDavClient plain(allowed);
    const auto allowedState = plain.CollectionState();
    QVERIFY2(allowedState.ok(), qPrintable(Describe(allowedState.error)));
    QCOMPARE(plain.RequestsSent(), 2);
    // To loopback the password goes with the first request.
    CardDavClient loopback(Account(bookUrl));
    QVERIFY(loopback.CollectionState().ok());
    QCOMPARE(loopback.RequestsSent(), 1);
}

// A self-signed server: refused with its fingerprint for the user to judge, then accepted by that fingerprint alone.
void TestCardDavRadicale::untrustedCertificateOnlyByItsAcceptedFingerprint()
{
    RadicaleServer tls;
    tls.AddUser(kUser, kPassword);
    QVERIFY2(tls.EnableTls() && tls.Start(), qPrintable(tls.Problem()));
    const QUrl bookUrl = tls.CreateAddressBook(kUser, kPassword, QStringLiteral("tls"));
    QVERIFY2(!bookUrl.isEmpty(), qPrintable(tls.Problem()));
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(tls.CertificatePath());
    QCOMPARE(certificates.size(), 1);
    const QString fingerprint = QString::fromLatin1(certificates.first().digest(QCryptographicHash::Sha256).toHex());

    CardDavClient untrusted(Account(bookUrl));
    const auto refused = untrusted.CollectionState();
    QCOMPARE(refused.error.kind, DavError::Kind::Certificate);
    QCOMPARE(refused.error.certificateFingerprint, fingerprint);

    DavAccount other = Account(bookUrl);
    other.acceptedCertificates = {QString(fingerprint).replace(0, 4, QStringLiteral("0000"))};
    CardDavClient wrongPrint(other);
    QCOMPARE(wrongPrint.CollectionState().error.kind, DavError::Kind::Certificate);

    DavAccount accepted = Account(bookUrl);
    accepted.acceptedCertificates = {fingerprint.toUpper()};
    CardDavClient trusted(accepted);
    const auto state = trusted.CollectionState();
    QVERIFY2(state.ok(), qPrintable(Describe(state.error)));
    QVERIFY(!state.value.syncToken.isEmpty());
    // Over HTTPS the password goes with the first request.
    QCOMPARE(trusted.RequestsSent(), 1);
}

void TestCardDavRadicale::cancelFromAnotherThreadEndsTheCall()
{
    SilentServer silent;
    QUrl url = m_server->RootUrl();
    url.setPort(silent.serverPort());
    url.setPath(QStringLiteral("/alice/book/"));
    std::atomic<CardDavClient*> running{nullptr};
    DavError outcome;
    QElapsedTimer timer;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        CardDavClient client(Account(url)); // made on the thread that uses it
        running = &client;
        outcome = client.ListEtags().error;
        running = nullptr;
    }));
    worker->start();
    QTRY_VERIFY(silent.bytesRead.load() > 0 && running.load() != nullptr);
    timer.start();
    running.load()->Cancel();
    QVERIFY(worker->wait(10000));
    QCOMPARE(outcome.kind, DavError::Kind::Cancelled);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TestCardDavRadicale::cutConnectionsEndInErrorsNeverInWrongAnswers()
{
    const QUrl bookUrl = NewBook(QStringLiteral("Cut"));
    CardDavClient direct(Account(bookUrl));
    QStringList hrefs;
    for (int i = 0; i < 6; ++i) {
        const QString href = bookUrl.path() + QStringLiteral("card-%1.vcf").arg(i);
        QVERIFY(direct.Put(href, Card(QStringLiteral("cut-%1").arg(i), QStringLiteral("Person %1").arg(i)), QString()).ok());
        hrefs << href;
    }
    const auto truthSync = direct.SyncCollection(QString());
    const auto truthState = direct.CollectionState();
    const auto truthCards = direct.Multiget(hrefs);
    QVERIFY(truthSync.ok() && truthState.ok() && truthCards.ok());

    const quint64 seed = TestSeed();
    CuttingProxy proxy(m_server->Port(), seed, 0.6, 2500);
    QUrl viaProxy = bookUrl;
    viaProxy.setPort(proxy.Port());
    CardDavClient client(Account(viaProxy));
    client.SetTimeoutMs(10000);
    std::mt19937_64 random(seed);
    int failures = 0;
    int successes = 0;
    for (int round = 0; round < 60; ++round) {
        DavError error;
        switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0: {
            const auto sync = client.SyncCollection(QString());
            error = sync.error;
            if (sync.ok()) {
                QCOMPARE(AsMap(sync.value.changed), AsMap(truthSync.value.changed));
                QCOMPARE(sync.value.token, truthSync.value.token);
            }
            break;
        }
        case 1: {
            const auto etags = client.ListEtags();
            error = etags.error;
            if (etags.ok()) QCOMPARE(AsMap(etags.value), AsMap(truthSync.value.changed));
            break;
        }
        case 2: {
            const auto cards = client.Multiget(hrefs);
            error = cards.error;
            if (cards.ok()) {
                QCOMPARE(cards.value.cards.size(), truthCards.value.cards.size());
                QVERIFY(cards.value.missing.isEmpty());
                for (int i = 0; i < cards.value.cards.size(); ++i)
                    QCOMPARE(cards.value.cards.at(i).vcard, truthCards.value.cards.at(i).vcard);
            }
            break;
        }
        default: {
            const auto state = client.CollectionState();
            error = state.error;
            if (state.ok()) QCOMPARE(state.value.syncToken, truthState.value.syncToken);
            break;
        }
        }
        if (error.ok()) {
            ++successes;
            continue;
        }
        ++failures;
        QVERIFY2(error.kind == DavError::Kind::Network, qPrintable(QStringLiteral("seed %1 round %2: %3")
                                                                       .arg(seed).arg(round).arg(Describe(error))));
    }
    qInfo("seed %llu: %d calls answered, %d ended in network errors, %d of %d connections cut",
          static_cast<unsigned long long>(seed), successes, failures, proxy.Cuts(), proxy.Connections());
    QVERIFY(failures > 0);
    QVERIFY(successes > 0);
}

QTEST_GUILESS_MAIN(TestCardDavRadicale)
#include "TestCardDavRadicale.moc"
