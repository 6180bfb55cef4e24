// Two address books and another program share one CardDAV address book on a real Radicale. Seeded random steps
// add, edit, delete and move contacts in either book and change the server directly, while the books synchronize
// through a proxy that cuts connections at random points. Then a clean round (each book synchronized twice
// without faults) must leave the three agreeing, with no contact twice and every version still standing.
//
// The oracle is a log of versions: every write gives the contact a number never used before, and a version
// stands until someone replaces or deletes it while holding it (an edit made on a stale copy replaces nothing it
// did not see). Every standing version must be found in the end, as a contact's number or a conflict copy's.
//
//   test_address_book_sync_random            (TD_SEED=N replays seed N; TD_SEED=time draws a new one)
//   TD_SYNC_STEPS=2000 test_address_book_sync_random    runs longer
#include "CuttingProxy.h"
#include "RadicaleServer.h"
#include "SyncServerClient.h"
#include "SyncTestBook.h"
#include "TestSeed.h"

#include "model/VCardOwnedFields.h"

#include <QTemporaryDir>
#include <QtTest>

#include <random>
#include <set>

namespace {
const QString kUser = QStringLiteral("bo");
const QString kPassword = QStringLiteral("pw");
const QStringList kLists{QStringLiteral("Family"), QStringLiteral("Work")};

class Versions {
public:
    std::string Fresh() { return std::to_string(7000000 + ++m_count); }
    void Write(const std::string& held, const std::string& written)
    {
        m_standing.erase(held);
        if (!written.empty()) m_standing.insert(written);
    }
    const std::set<std::string>& Standing() const { return m_standing; }

private:
    int m_count = 0;
    std::set<std::string> m_standing;
};
}

class TestAddressBookSyncRandom : public QObject {
    Q_OBJECT
private slots:
    void booksAndServerConvergeWithEveryVersionKept();
};

void TestAddressBookSyncRandom::booksAndServerConvergeWithEveryVersionKept()
{
    const quint64 seed = TestSeed();
    qInfo("seed %llu (TD_SEED=%llu replays)", seed, seed);
    std::mt19937_64 random(seed);
    const auto chance = [&random](double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; };
    const auto pick = [&random](size_t size) { return size_t(std::uniform_int_distribution<size_t>(0, size - 1)(random)); };
    const int steps = qEnvironmentVariableIsSet("TD_SYNC_STEPS") ? qEnvironmentVariableIntValue("TD_SYNC_STEPS") : 400;

    RadicaleServer server;
    server.AddUser(kUser, kPassword);
    QVERIFY2(server.Start(), qPrintable(server.Problem()));
    const QUrl collection = server.CreateAddressBook(kUser, kPassword, QStringLiteral("shared"));
    QVERIFY2(collection.isValid(), qPrintable(server.Problem()));
    CuttingProxy proxy(server.Port(), seed, 0.3, 3000);

    DavAccount direct;
    direct.url = collection;
    direct.user = kUser;
    direct.password = kPassword;
    SyncServerClient other(direct);
    SyncAccount cut;
    cut.m_strUser = kUser;
    QUrl throughProxy = collection;
    throughProxy.setPort(proxy.Port());
    cut.m_strAddressBook = throughProxy.toString();
    cut.m_strServer = throughProxy.toString();

    QTemporaryDir dir;
    SyncTestBook a(dir.filePath(QStringLiteral("a.pab")), kLists);
    SyncTestBook b(dir.filePath(QStringLiteral("b.pab")), kLists);
    SyncTestBook* books[] = {&a, &b};
    Versions versions;
    int names = 0;
    int failedRuns = 0;
    const QStringList folders{QString(), kLists[0], kLists[1]};

    for (int step = 0; step < steps; ++step) {
        const int actor = int(pick(3)); // a, b, the other program
        const int what = int(pick(5));  // add, edit, delete, move, synchronize
        if (actor < 2) {
            SyncTestBook& book = *books[actor];
            const auto contacts = book.Contacts();
            std::vector<std::string> uids;
            for (const auto& [uid, contact] : contacts) uids.push_back(uid);
            if (what == 0 || (uids.empty() && what < 4)) {
                const std::string number = versions.Fresh();
                QVERIFY(!book.Add(folders[qsizetype(pick(3))], "P" + std::to_string(++names), number).empty());
                versions.Write({}, number);
            } else if (what == 1) {
                const std::string& uid = uids[pick(uids.size())];
                const std::string number = versions.Fresh();
                const std::string name = chance(0.3) ? "P" + std::to_string(++names) : contacts.at(uid).name;
                QVERIFY(book.Edit(uid, name, number));
                versions.Write(contacts.at(uid).number, number);
            } else if (what == 2) {
                const std::string& uid = uids[pick(uids.size())];
                QVERIFY(book.Delete(uid));
                versions.Write(contacts.at(uid).number, {});
            } else if (what == 3) {
                QVERIFY(book.Move(uids[pick(uids.size())], folders[qsizetype(pick(3))]));
            } else {
                const AddressBookSyncResult result = book.Sync(cut, kPassword, 5000);
                if (!result.ok()) {
                    ++failedRuns;
                    QVERIFY2(result.failure == AddressBookSyncResult::Failure::Network, qPrintable(result.error));
                }
            }
            continue;
        }
        const auto cards = other.Cards();
        QVERIFY(cards);
        if (what == 0 || what == 4 || cards->empty()) {
            const std::string number = versions.Fresh();
            const QString uid = QStringLiteral("other-%1").arg(step);
            const QString name = QStringLiteral("P%1").arg(++names);
            QVERIFY(other.Add(uid, QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\nTEL;TYPE=CELL:%3\r\n"
                                                 "EMAIL:%1@example.org\r\nCATEGORIES:%4\r\nEND:VCARD\r\n")
                                      .arg(uid, name, QString::fromStdString(number), kLists[qsizetype(pick(2))]).toUtf8()));
            versions.Write({}, number);
            continue;
        }
        auto it = cards->begin();
        std::advance(it, pick(cards->size()));
        const std::string held = VCardOwnedFields::of(it->second.card).number.toStdString();
        if (what == 2) {
            QVERIFY(other.Remove(it->first));
            versions.Write(held, {});
        } else {
            const std::string number = versions.Fresh();
            QVERIFY(other.Edit(it->first, QString::fromStdString(number), chance(0.3) ? QStringLiteral("P%1").arg(++names) : QString()));
            versions.Write(held, number);
        }
    }

    // The clean round, through the same address: the state belongs to it.
    proxy.SetCutChance(0);
    for (SyncTestBook* book : {&a, &b, &a, &b}) {
        const AddressBookSyncResult result = book->Sync(cut, kPassword);
        QVERIFY2(result.ok(), qPrintable(result.error));
    }
    const AddressBookSyncResult idle = a.Sync(cut, kPassword);
    QVERIFY2(idle.ok(), qPrintable(idle.error));
    qInfo("%d steps, %d runs cut off, %d of %d connections cut, %zu contacts; the last run: %s", steps, failedRuns,
          proxy.Cuts(), proxy.Connections(), a.Contacts().size(), qPrintable(idle.Summary()));

    const auto inA = a.Contacts();
    const auto inB = b.Contacts();
    for (const auto* side : {&inA, &inB}) {
        const auto* otherSide = side == &inA ? &inB : &inA;
        for (const auto& [uid, contact] : *side) {
            const auto there = otherSide->find(uid);
            if (there == otherSide->end() || !(there->second == contact))
                qWarning("%s %s: %s %s [%s]", side == &inA ? "a" : "b", uid.c_str(), contact.name.c_str(),
                         contact.number.c_str(), qPrintable(contact.folders.join(QLatin1Char(','))));
        }
    }
    QCOMPARE(inB, inA);
    const auto cards = other.Cards();
    QVERIFY(cards);
    QCOMPARE(cards->size(), inA.size());
    std::set<std::string> numbers;
    for (const auto& [uid, contact] : inA) {
        const QString key = QString::fromStdString(uid);
        QVERIFY2(cards->count(key), qPrintable(key));
        const VCardOwnedFields fields = VCardOwnedFields::of(cards->at(key).card);
        QCOMPARE(fields.number.toStdString(), contact.number);
        QCOMPARE(fields.name.toStdString(), contact.name);
        QVERIFY2(numbers.insert(contact.number).second, ("twice: " + contact.number).c_str());
    }
    for (const std::string& number : versions.Standing()) QVERIFY2(numbers.count(number), ("lost: " + number).c_str());
}

QTEST_GUILESS_MAIN(TestAddressBookSyncRandom)
#include "TestAddressBookSyncRandom.moc"
