// The answers of real CardDAV servers (tests/dav/replies, sources in SOURCES.md) read as the client reads them:
// hrefs absolute or relative, percent-encoded or not, under any namespace prefix, made into decoded paths; removed
// members, truncation, the collection listed among its own members, properties a server answers 404 for.
#include "dav/CardDavAnswers.h"
#include "dav/DavHref.h"
#include "dav/DavMultistatus.h"
#include "dav/DavRequestBodies.h"

#include <QFile>
#include <QtTest>

namespace {
QByteArray Reply(const QString& name)
{
    QFile file(QStringLiteral(TD_DAV_REPLIES "/") + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing reply %s", qPrintable(name));
    return file.readAll();
}

// What the client takes from an answer, one fact a line, so that a table row states it in full.
QStringList Summary(const QString& reading, const DavMultistatus& answer, const QString& collection)
{
    QStringList lines;
    if (reading == QLatin1String("sync")) {
        const DavSyncResult sync = CardDavAnswers::Sync(answer, collection);
        lines << QStringLiteral("token %1").arg(sync.token);
        if (sync.truncated) lines << QStringLiteral("truncated");
        for (const DavEtag& changed : sync.changed) lines << QStringLiteral("changed %1 %2").arg(changed.href, changed.etag);
        for (const QString& removed : sync.removed) lines << QStringLiteral("removed %1").arg(removed);
    } else if (reading == QLatin1String("books")) {
        for (const DavAddressBook& book : CardDavAnswers::AddressBooks(answer))
            lines << QStringLiteral("book %1 \"%2\"").arg(book.path, book.displayName);
    } else if (reading == QLatin1String("etags")) {
        for (const DavEtag& etag : CardDavAnswers::Etags(answer, collection))
            lines << QStringLiteral("card %1 %2").arg(etag.href, etag.etag);
    } else {
        for (const DavResponse& response : answer.responses) {
            QString line = QStringLiteral("at %1").arg(response.path);
            if (!response.principalPath.isEmpty()) line += QStringLiteral(" principal %1").arg(response.principalPath);
            if (!response.addressbookHome.isEmpty()) line += QStringLiteral(" home %1").arg(response.addressbookHome);
            if (!response.syncToken.isEmpty()) line += QStringLiteral(" token %1").arg(response.syncToken);
            if (!response.ctag.isEmpty()) line += QStringLiteral(" ctag %1").arg(response.ctag);
            if (response.supportsSyncCollection) line += QStringLiteral(" sync-collection");
            if (response.isAddressBook) line += QStringLiteral(" addressbook");
            lines << line;
        }
    }
    return lines;
}
}

class TestDavReplies : public QObject {
    Q_OBJECT
private slots:
    void serversRepliesReadAsTheClientReadsThem_data();
    void serversRepliesReadAsTheClientReadsThem();
    void multigetGivesTheCardsAndNamesTheMissing_data();
    void multigetGivesTheCardsAndNamesTheMissing();
    void unreadableAnswersAreNoAnswer_data();
    void unreadableAnswersAreNoAnswer();
    void invalidSyncTokenIsRecognised();
    void hrefsBecomeOnePathWhicheverWayTheyAreWritten_data();
    void hrefsBecomeOnePathWhicheverWayTheyAreWritten();
    void requestBodiesCarryPathsAndTokensSafely();
};

void TestDavReplies::serversRepliesReadAsTheClientReadsThem_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QStringList>("expected");
    const QString radicale = QStringLiteral("http://127.0.0.1:5232/alice/book/");
    const QString etag1 = QStringLiteral("\"d7bbfb6c005ea0ca1fd28f2be029391c58154e6dfe42503a463c66e53dabe925\"");
    const QString etag2 = QStringLiteral("\"77d6439c0670661171aea7df98825c6713cb2a0e927dcb2a2a3e5244a7aa156c\"");
    const QString token1 = QStringLiteral("http://radicale.org/ns/sync/5ae03051303faad2f3a6a885645d944ef1944d70bcd794446d4c3e876fbcde5e");
    QTest::newRow("radicale root names the principal")
        << "radicale-root.xml" << "http://127.0.0.1:5232/" << "props" << QStringList{"at / principal /alice/"};
    QTest::newRow("radicale principal names its home")
        << "radicale-principal.xml" << "http://127.0.0.1:5232/alice/" << "props" << QStringList{"at /alice/ home /alice/"};
    QTest::newRow("radicale home lists its address book")
        << "radicale-home.xml" << "http://127.0.0.1:5232/alice/" << "books" << QStringList{"book /alice/book/ \"Book\""};
    QTest::newRow("radicale collection state")
        << "radicale-state.xml" << radicale << "props"
        << QStringList{QStringLiteral("at /alice/book/ token %1 ctag \"f525f29c1b21fc4ea471aa20181d3998a8230c15cbfeee1ee7246dc1d1cc4d3f\" "
                                      "sync-collection").arg(token1)};
    QTest::newRow("radicale first sync, names with a space")
        << "radicale-sync1.xml" << radicale << "sync"
        << QStringList{"token " + token1, "changed /alice/book/card 2.vcf " + etag2, "changed /alice/book/card 1.vcf " + etag1};
    QTest::newRow("radicale next sync: one removed, one new")
        << "radicale-sync2.xml" << radicale << "sync"
        << QStringList{"token http://radicale.org/ns/sync/5fea65953414eb407e8fda8d01182f0858965b3345285115c46da696b7b55fd5",
                       "changed /alice/book/card3.vcf \"1e8bf9a8681a4c6e927be2c2af247499a64bc58c2704ac973e920aff2fe18ed5\"",
                       "removed /alice/book/card 2.vcf"};
    QTest::newRow("nextcloud state: getctag, sync-token answered 404")
        << "nextcloud-state.xml" << "https://cloud.example.org/remote.php/carddav/addressbooks/eqyiel/contacts/" << "props"
        << QStringList{"at /remote.php/carddav/addressbooks/eqyiel/contacts/ ctag 1451889349"};
    QTest::newRow("nextcloud sync: escaped quotes, UTF-8 names, token last")
        << "nextcloud-sync.xml" << "https://cloud.example.org/remote.php/dav/addressbooks/users/admin/contacts/" << "sync"
        << QStringList{"token http://sabre.io/ns/sync/31",
                       "changed /remote.php/dav/addressbooks/users/admin/contacts/0f1d2c3b-4a59-4e6f-8a7b-9c0d1e2f3a4b.vcf "
                       "\"8f7e6d5c4b3a29180716253443526170\"",
                       QStringLiteral("changed /remote.php/dav/addressbooks/users/admin/contacts/Zoë Müller.vcf "
                                      "\"1a2b3c4d5e6f70819203a4b5c6d7e8f9\""),
                       "removed /remote.php/dav/addressbooks/users/admin/contacts/deleted-card.vcf"};
    QTest::newRow("icloud sync lists the collection itself, which is no card")
        << "icloud-sync.xml" << "https://p42-contacts.icloud.com/1234567890/carddavhome/card/" << "sync"
        << QStringList{"token HwoQEgwAAAh7n2Fa5QAAAAAYAhgAIhYI/ZjI1Nqc0s+4ARDMppPclJDfweAB",
                       "changed /1234567890/carddavhome/card/MGVmYzgxOWEtNTM2YS00ZDc3LTgwNzAtNzMzZWJmMTJiNDlj.vcf \"lt1gqtev\"",
                       "removed /1234567890/carddavhome/card/NTM2YS00ZDc3LTgwNzAtNzMzZWJmMTJiNDljMGVmYzgx.vcf"};
    QTest::newRow("google sync truncated by 507 on the collection, absolute and encoded hrefs")
        << "google-sync-truncated.xml" << "https://www.googleapis.com/carddav/v1/principals/jane.doe@gmail.com/lists/default/"
        << "sync"
        << QStringList{"token https://www.googleapis.com/carddav/v1/synctoken/0JGnkJ3akL4CEhYI37b2qL6B7gIQ4Kffv4yK7gIYAQ",
                       "truncated",
                       "changed /carddav/v1/principals/jane.doe@gmail.com/lists/default/6a1b2c3d4e5f \"2021-01-15T10:11:12.131-08:00\"",
                       "changed /carddav/v1/principals/jane.doe@gmail.com/lists/default/7b2c3d4e5f6a \"2021-01-16T09:08:07.060-08:00\""};
    QTest::newRow("home with absolute and relative hrefs, displayname answered 404")
        << "rfc6352-home.xml" << "http://addressbook.example.com/bernard/" << "books"
        << QStringList{"book /bernard/work/ \"Work Contacts\"", "book /bernard/private/ \"\""};
    QTest::newRow("a Depth 1 listing names the cards, never the collections")
        << "radicale-sync1.xml" << radicale << "etags"
        << QStringList{"card /alice/book/card 2.vcf " + etag2, "card /alice/book/card 1.vcf " + etag1};
}

void TestDavReplies::serversRepliesReadAsTheClientReadsThem()
{
    QFETCH(QString, file);
    QFETCH(QString, base);
    QFETCH(QString, reading);
    QFETCH(QStringList, expected);
    const QUrl url(base);
    const DavMultistatus answer = DavMultistatus::Parse(Reply(file), url);
    QVERIFY2(answer.valid, qPrintable(answer.problem));
    QCOMPARE(Summary(reading, answer, url.path(QUrl::FullyDecoded)), expected);
}

void TestDavReplies::multigetGivesTheCardsAndNamesTheMissing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("cards");   // "path etag first-line-after-BEGIN"
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QByteArray>("textInCard");
    QTest::newRow("radicale, one deleted, escaped text in the card")
        << "radicale-multiget.xml" << "http://127.0.0.1:5232/alice/book/"
        << QStringList{"/alice/book/card 1.vcf", "/alice/book/card 2.vcf", "/alice/book/never.vcf"}
        << QStringList{"/alice/book/card 1.vcf \"d7bbfb6c005ea0ca1fd28f2be029391c58154e6dfe42503a463c66e53dabe925\""}
        << QStringList{"/alice/book/card 2.vcf", "/alice/book/never.vcf"} << QByteArray("FN:Zo\xc3\xab 1 & <Co>");
    QTest::newRow("rfc 6352 example")
        << "rfc6352-multiget.xml" << "http://addressbook.example.com/home/bernard/addressbook/"
        << QStringList{"/home/bernard/addressbook/vcf102.vcf", "/home/bernard/addressbook/vcf1.vcf"}
        << QStringList{"/home/bernard/addressbook/vcf102.vcf \"23ba4d-ff11fb\""}
        << QStringList{"/home/bernard/addressbook/vcf1.vcf"} << QByteArray("FN:Cyrus Daboo");
}

void TestDavReplies::multigetGivesTheCardsAndNamesTheMissing()
{
    QFETCH(QString, file);
    QFETCH(QString, base);
    QFETCH(QStringList, asked);
    QFETCH(QStringList, cards);
    QFETCH(QStringList, missing);
    QFETCH(QByteArray, textInCard);
    const DavMultistatus answer = DavMultistatus::Parse(Reply(file), QUrl(base));
    QVERIFY2(answer.valid, qPrintable(answer.problem));
    const DavMultigetResult result = CardDavAnswers::Multiget(answer, asked);
    QStringList got;
    for (const DavCard& card : result.cards) {
        got << card.href + u' ' + card.etag;
        QVERIFY2(card.vcard.startsWith("BEGIN:VCARD"), card.vcard.constData());
        QVERIFY2(card.vcard.contains(textInCard), card.vcard.constData());
    }
    QCOMPARE(got, cards);
    QCOMPARE(result.missing, missing);
}

void TestDavReplies::unreadableAnswersAreNoAnswer_data()
{
    QTest::addColumn<QByteArray>("body");
    const QByteArray whole = Reply(QStringLiteral("radicale-sync2.xml"));
    QTest::newRow("cut in the middle") << whole.left(whole.size() / 2);
    QTest::newRow("cut before the last end tag") << whole.left(whole.lastIndexOf("</multistatus>"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("an HTML error page") << QByteArray("<html><body>502 Bad Gateway</body></html>");
    QTest::newRow("multistatus outside DAV:") << QByteArray("<multistatus xmlns=\"urn:x\"><response/></multistatus>");
}

// A cut or foreign answer must never pass for a short one: that would read as "the server has fewer cards".
void TestDavReplies::unreadableAnswersAreNoAnswer()
{
    QFETCH(QByteArray, body);
    const DavMultistatus answer = DavMultistatus::Parse(body, QUrl(QStringLiteral("http://127.0.0.1/alice/book/")));
    QVERIFY(!answer.valid);
    QVERIFY(answer.responses.isEmpty());
    QVERIFY(!answer.problem.isEmpty());
}

void TestDavReplies::invalidSyncTokenIsRecognised()
{
    QVERIFY(DavMultistatus::HasPrecondition(Reply(QStringLiteral("radicale-invalid-token.xml")), QStringLiteral("valid-sync-token")));
    QVERIFY(DavMultistatus::HasPrecondition("<D:error xmlns:D=\"DAV:\"><D:valid-sync-token/></D:error>", QStringLiteral("valid-sync-token")));
    QVERIFY(!DavMultistatus::HasPrecondition("<error xmlns=\"DAV:\"><number-of-matches-within-limits/></error>",
                                             QStringLiteral("valid-sync-token")));
    QVERIFY(!DavMultistatus::HasPrecondition("<error xmlns=\"urn:x\"><valid-sync-token/></error>", QStringLiteral("valid-sync-token")));
    QVERIFY(!DavMultistatus::HasPrecondition("Forbidden", QStringLiteral("valid-sync-token")));
}

void TestDavReplies::hrefsBecomeOnePathWhicheverWayTheyAreWritten_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("path");
    QTest::newRow("absolute path") << "/dav/book/a.vcf" << "/dav/book/a.vcf";
    QTest::newRow("full URL") << "https://dav.example.org/dav/book/a.vcf" << "/dav/book/a.vcf";
    QTest::newRow("relative to the book") << "a.vcf" << "/dav/book/a.vcf";
    QTest::newRow("percent-encoded space and UTF-8") << "/dav/book/Zo%C3%AB%20M.vcf" << QStringLiteral("/dav/book/Zoë M.vcf");
    QTest::newRow("unencoded UTF-8") << QStringLiteral("/dav/book/Zoë M.vcf") << QStringLiteral("/dav/book/Zoë M.vcf");
    QTest::newRow("encoded at sign") << "/p/jane%40gmail.com/x" << "/p/jane@gmail.com/x";
    QTest::newRow("surrounding white space") << "\n  /dav/book/a.vcf \n" << "/dav/book/a.vcf";
}

void TestDavReplies::hrefsBecomeOnePathWhicheverWayTheyAreWritten()
{
    QFETCH(QString, href);
    QFETCH(QString, path);
    const QUrl base(QStringLiteral("https://dav.example.org/dav/book/"));
    QCOMPARE(DavHref::ToPath(base, href), path);
    // And back: the URL the client sends to reads as the same path, encoded on the wire.
    const QUrl url = DavHref::ToUrl(base, path);
    QCOMPARE(url.host(), base.host());
    QCOMPARE(DavHref::ToPath(base, QString::fromLatin1(url.toEncoded())), path);
    QVERIFY(!QString::fromLatin1(url.toEncoded()).contains(u' '));
}

void TestDavReplies::requestBodiesCarryPathsAndTokensSafely()
{
    const QByteArray sync = DavRequestBodies::SyncCollection(QStringLiteral("http://x/sync?a=1&b=<2>"), 100);
    QVERIFY2(sync.contains("http://x/sync?a=1&amp;b=&lt;2&gt;"), sync.constData());
    QVERIFY(sync.contains("<d:nresults>100</d:nresults>"));
    QVERIFY(!DavRequestBodies::SyncCollection(QString(), 0).contains("limit"));
    const QByteArray multiget = DavRequestBodies::Multiget({QStringLiteral("/book/Zoë & M.vcf")});
    QVERIFY2(multiget.contains("<d:href>/book/Zo%C3%AB%20&amp;%20M.vcf</d:href>"), multiget.constData());
}

QTEST_GUILESS_MAIN(TestDavReplies)
#include "TestDavReplies.moc"
