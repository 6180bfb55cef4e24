// Time and requests of a CardDAV sync against Radicale on 127.0.0.1: putting a book of N cards, the first
// sync-collection, fetching every card by multiget, one incremental sync after a few changes, and the ETag listing
// that servers without sync-collection need. Prints; asserts nothing.
// Usage: bench_carddav_sync [CARDS]   (default 1000)
#include "RadicaleServer.h"

#include "dav/CardDavClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {
QByteArray Card(int i, const QString& name)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-%1\r\nFN:%2\r\nN:%2;;;;\r\nTEL;TYPE=CELL:+49 170 %1\r\n"
                          "EMAIL:person%1@example.org\r\nEND:VCARD\r\n")
        .arg(i)
        .arg(name)
        .toUtf8();
}

bool Step(CardDavClient& client, const char* what, const std::function<bool()>& run)
{
    const int before = client.RequestsSent();
    QElapsedTimer timer;
    timer.start();
    const bool ok = run();
    std::printf("%-44s %8lld ms %6d requests%s\n", what, static_cast<long long>(timer.elapsed()),
                client.RequestsSent() - before, ok ? "" : "  FAILED");
    return ok;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    RadicaleServer server;
    server.AddUser(QStringLiteral("bench"), QStringLiteral("bench"));
    if (!server.Start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.Problem()));
        return 1;
    }
    DavAccount account;
    account.url = server.CreateAddressBook(QStringLiteral("bench"), QStringLiteral("bench"), QStringLiteral("book"));
    account.user = QStringLiteral("bench");
    account.password = QStringLiteral("bench");
    CardDavClient client(account);
    const QString book = account.url.path();
    std::printf("CardDAV against Radicale on 127.0.0.1, %d cards\n", count);

    QStringList hrefs;
    QMap<QString, QString> etags;
    for (int i = 0; i < count; ++i) hrefs << book + QStringLiteral("card-%1.vcf").arg(i);
    bool ok = Step(client, "put every card (If-None-Match)", [&] {
        for (int i = 0; i < count; ++i) {
            const auto put = client.Put(hrefs.at(i), Card(i, QStringLiteral("Person %1").arg(i)), QString());
            if (!put.ok()) return false;
            etags.insert(hrefs.at(i), put.value);
        }
        return true;
    });
    QString token;
    ok = ok && Step(client, "first sync-collection", [&] {
        const auto sync = client.SyncCollection(QString());
        token = sync.value.token;
        return sync.ok() && sync.value.changed.size() == count;
    });
    ok = ok && Step(client, "multiget of every card, 100 a request", [&] {
        for (int from = 0; from < count; from += 100) {
            const auto cards = client.Multiget(hrefs.mid(from, 100));
            if (!cards.ok() || !cards.value.missing.isEmpty()) return false;
        }
        return true;
    });
    ok = ok && Step(client, "10 updates (If-Match)", [&] {
        for (int i = 0; i < 10 && i < count; ++i)
            if (!client.Put(hrefs.at(i), Card(i, QStringLiteral("Changed %1").arg(i)), etags.value(hrefs.at(i))).ok()) return false;
        return true;
    });
    ok = ok && Step(client, "incremental sync-collection", [&] {
        const auto sync = client.SyncCollection(token);
        return sync.ok() && sync.value.changed.size() == qMin(10, count);
    });
    ok = ok && Step(client, "ETag listing (PROPFIND Depth 1)", [&] {
        const auto listed = client.ListEtags();
        return listed.ok() && listed.value.size() == count;
    });
    return ok ? 0 : 1;
}
