// The synchronization of the address book against Radicale on 127.0.0.1: the first run of a book of N contacts
// up to an empty address book, the first run of a second, empty book down, and a run with nothing to do. Time and
// HTTP requests of each; prints, asserts nothing.
// Usage: bench_address_book_sync [CONTACTS]   (default 1000)
#include "PabSeeder.h"
#include "RadicaleServer.h"
#include "SyncTestBook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
bool Step(const char* what, SyncTestBook& book, const SyncAccount& account, const QString& password)
{
    QElapsedTimer timer;
    timer.start();
    const AddressBookSyncResult result = book.Sync(account, password, 60000);
    std::printf("%-40s %8lld ms %6d requests  %s\n", what, static_cast<long long>(timer.elapsed()), result.requests,
                qPrintable(result.ok() ? result.Summary() : QStringLiteral("FAILED: ") + result.error));
    return result.ok();
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
    SyncAccount account;
    account.m_strUser = QStringLiteral("bench");
    account.m_strAddressBook = server.CreateAddressBook(QStringLiteral("bench"), QStringLiteral("bench"), QStringLiteral("book")).toString();
    account.m_strServer = account.m_strAddressBook;
    const QString password = QStringLiteral("bench");

    QTemporaryDir dir;
    SyncTestBook up(dir.filePath(QStringLiteral("up.pab")), {});
    {
        PabSeeder seeder(up.Path().toStdString());
        for (int i = 0; i < count; ++i)
            seeder.AddUser("Person " + std::to_string(i), "+49 170 " + std::to_string(1000000 + i), std::nullopt);
    }
    SyncTestBook down(dir.filePath(QStringLiteral("down.pab")), {});
    std::printf("Address-book synchronization against Radicale on 127.0.0.1, %d contacts\n", count);
    bool ok = Step("first run up (every card put)", up, account, password);
    ok = ok && Step("first run down (every card taken)", down, account, password);
    ok = ok && Step("nothing to do", up, account, password);
    ok = ok && Step("nothing to do, the other book", down, account, password);
    return ok ? 0 : 1;
}
