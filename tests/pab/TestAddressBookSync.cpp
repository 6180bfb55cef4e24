// The synchronization against a real Radicale on 127.0.0.1: a book goes up, a second book comes down, edits travel
// both ways, a field changed on both sides keeps the local version as a conflict copy on both sides, the lines of
// other programs (EMAIL, ADR, PHOTO) survive an edit made here, a contact deleted on one side and changed on the
// other survives with the change, a run with nothing to do sends one request; vdirsyncer, a client of its own,
// reads what the book sent and sends what it changes; then the address-book tool itself with --password-command,
// its counts and its exit codes.
#include "RadicaleServer.h"
#include "SyncServerClient.h"
#include "SyncTestBook.h"

#include "model/DirTable.h"
#include "model/VCardMerge.h"
#include "model/VCardOwnedFields.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kUser = QStringLiteral("anna");
const QString kPassword = QStringLiteral("pass word");

QByteArray OtherProgramsCard(const QString& uid, const QString& name, const QString& number)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\nTEL;TYPE=CELL:%3\r\n"
                          "EMAIL;TYPE=INTERNET:%1@example.org\r\nADR;TYPE=HOME:;;Hauptstr. 1;Berlin;;10115;Germany\r\n"
                          "PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==\r\n"
                          "END:VCARD\r\n")
        .arg(uid, name, number)
        .toUtf8();
}

// vdirsyncer, mirroring the collection into a folder of .vcf files; the folder's files by name.
class Vdirsyncer {
public:
    Vdirsyncer(const QString& dir, const QUrl& collection) : m_dir(dir)
    {
        QDir().mkpath(dir + QStringLiteral("/local"));
        QDir().mkpath(dir + QStringLiteral("/status"));
        QFile config(dir + QStringLiteral("/config"));
        if (!config.open(QIODevice::WriteOnly)) return;
        config.write(QStringLiteral("[general]\nstatus_path = \"%1/status/\"\n\n"
                                    "[pair book]\na = \"book_local\"\nb = \"book_remote\"\ncollections = null\n"
                                    "conflict_resolution = \"b wins\"\n\n"
                                    "[storage book_local]\ntype = \"filesystem\"\npath = \"%1/local/\"\nfileext = \".vcf\"\n\n"
                                    "[storage book_remote]\ntype = \"carddav\"\nurl = \"%2\"\nusername = \"%3\"\npassword = \"%4\"\n")
                         .arg(dir, collection.toString(), kUser, kPassword)
                         .toUtf8());
    }
    // discover once, then sync: true when vdirsyncer ended without error.
    bool Sync()
    {
        if (!m_discovered && !Run({QStringLiteral("discover"), QStringLiteral("book")})) return false;
        m_discovered = true;
        return Run({QStringLiteral("sync"), QStringLiteral("book")});
    }
    QString File(const QString& name) const { return m_dir + QStringLiteral("/local/") + name; }
    // The text of the card whose FN is `name`, with LF line ends (vdirsyncer keeps its files so); empty when none.
    QByteArray CardNamed(const QString& name) const
    {
        for (const QFileInfo& file : QDir(m_dir + QStringLiteral("/local")).entryInfoList({QStringLiteral("*.vcf")})) {
            QFile card(file.filePath());
            if (!card.open(QIODevice::ReadOnly)) continue;
            const QByteArray text = card.readAll().replace("\r\n", "\n");
            if (text.contains("\nFN:" + name.toUtf8() + "\n")) return text;
        }
        return {};
    }

private:
    bool Run(const QStringList& command)
    {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("vdirsyncer"), QStringList{QStringLiteral("-c"), m_dir + QStringLiteral("/config")} + command);
        const bool ended = process.waitForFinished(60000);
        if (!ended || process.exitCode() != 0) qWarning("vdirsyncer %s: %s", qPrintable(command.join(u' ')), process.readAll().constData());
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString m_dir;
    bool m_discovered = false;
};

QStringList LinesNamed(const VCardRawCard& card, QByteArrayView name)
{
    QStringList lines;
    for (const qsizetype at : card.find(name)) lines << QString::fromUtf8(card.lines().at(at).logical);
    return lines;
}
}

class TestAddressBookSync : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void upDownAndEditsBothWays();
    void anIndependentClientSeesAndMakesChanges();
    void conflictCopyOnBothSidesAndOtherProgramsLinesKept();
    void deletedOnOneSideChangedOnTheOtherKeepsTheChange();
    void cancelledHalfWayThenFinishedWithoutDoubles();
    void fullFolderTakesWhatFitsAndTheRestLater();
    void commandLineCountsAndExitCodes();

private:
    SyncAccount Account() const;
    DavAccount Dav() const;

    RadicaleServer m_server;
    QTemporaryDir m_dir;
    QUrl m_collection;
    int m_case = 0;
};

void TestAddressBookSync::initTestCase()
{
    m_server.AddUser(kUser, kPassword);
    QVERIFY2(m_server.Start(), qPrintable(m_server.Problem()));
}

void TestAddressBookSync::init()
{
    m_collection = m_server.CreateAddressBook(kUser, kPassword, QStringLiteral("book%1").arg(++m_case));
    QVERIFY2(m_collection.isValid(), qPrintable(m_server.Problem()));
}

SyncAccount TestAddressBookSync::Account() const
{
    SyncAccount account;
    account.m_strServer = m_server.RootUrl().toString();
    account.m_strUser = kUser;
    account.m_strAddressBook = m_collection.toString();
    return account;
}

DavAccount TestAddressBookSync::Dav() const
{
    DavAccount account;
    account.url = m_collection;
    account.user = kUser;
    account.password = kPassword;
    return account;
}

void TestAddressBookSync::upDownAndEditsBothWays()
{
    const QStringList lists{QStringLiteral("Family"), QStringLiteral("Work")};
    SyncTestBook first(m_dir.filePath(QStringLiteral("up%1.pab").arg(m_case)), lists);
    const std::string ida = first.Add(QString(), "Ada Lovelace", "0301234");
    const std::string idb = first.Add(QStringLiteral("Family"), "Bert Brecht", "0405678");
    const std::string idc = first.Add(QStringLiteral("Work"), "Clara Schumann", "0899");
    QVERIFY(!ida.empty() && !idb.empty() && !idc.empty());

    // Up: the first run finds the address book from the server's address.
    SyncAccount discovering = Account();
    discovering.m_strAddressBook.clear();
    discovering.m_strServer = m_collection.toString();
    AddressBookSyncResult result = first.Sync(discovering, kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("3 sent, 0 received, 0 deleted, 0 conflicts kept"));

    SyncServerClient other(Dav());
    auto cards = other.Cards();
    QVERIFY(cards && cards->size() == 3);
    QCOMPARE(VCardOwnedFields::of(cards->at(QString::fromStdString(idb)).card).categories, QStringList{"Family"});

    // Down into a second book, each contact into the folder its list names.
    SyncTestBook second(m_dir.filePath(QStringLiteral("down%1.pab").arg(m_case)), lists);
    result = second.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 3 received, 0 deleted, 0 conflicts kept"));
    QCOMPARE(second.Contacts(), first.Contacts());

    // Nothing to do: one request.
    result = first.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 0 received, 0 deleted, 0 conflicts kept"));
    QCOMPARE(result.requests, 1);

    // An edit, a move into another list and a deletion here; an edit and a new card of another program there.
    QVERIFY(first.Edit(ida, "Ada King", "0301111"));
    QVERIFY(first.Move(idb, QStringLiteral("Work")));
    QVERIFY(first.Delete(idc));
    QVERIFY(other.Add(QStringLiteral("dora"), OtherProgramsCard(QStringLiteral("dora"), QStringLiteral("Dora Maar"), QStringLiteral("0711"))));
    result = first.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("2 sent, 1 received, 1 deleted, 0 conflicts kept"));
    result = second.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 3 received, 1 deleted, 0 conflicts kept"));
    const auto contacts = second.Contacts();
    QCOMPARE(contacts, first.Contacts());
    QCOMPARE(contacts.size(), size_t(3));
    QCOMPARE(contacts.at(ida).name, std::string("Ada King"));
    QCOMPARE(contacts.at(idb).folders, QStringList{"Work"});
    QCOMPARE(contacts.at("dora").number, std::string("0711"));
}

void TestAddressBookSync::anIndependentClientSeesAndMakesChanges()
{
    SyncTestBook book(m_dir.filePath(QStringLiteral("independent%1.pab").arg(m_case)), {});
    const std::string ada = book.Add(QString(), "Ada Lovelace", "0301234");
    QVERIFY(book.Sync(Account(), kPassword).ok());

    Vdirsyncer other(m_dir.filePath(QStringLiteral("vdirsyncer%1").arg(m_case)), m_collection);
    QVERIFY(other.Sync());
    QByteArray adaCard = other.CardNamed(QStringLiteral("Ada Lovelace"));
    QVERIFY2(adaCard.contains("\nUID:" + QByteArray::fromStdString(ada) + "\n"), adaCard.constData());
    QVERIFY(adaCard.contains("\nTEL:0301234\n"));

    // The other client changes Ada's number and adds Zoe with an address of her own.
    const QByteArray zoeCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:zoe-1\r\nFN:Zoe\r\nN:;Zoe;;;\r\n"
                               "TEL;TYPE=CELL:+4915111\r\nEMAIL;TYPE=INTERNET:zoe@example.org\r\nEND:VCARD\r\n";
    QFile zoe(other.File(QStringLiteral("zoe-1.vcf")));
    QVERIFY(zoe.open(QIODevice::WriteOnly) && zoe.write(zoeCard) == zoeCard.size());
    zoe.close();
    for (const QFileInfo& file : QDir(other.File(QString())).entryInfoList({QStringLiteral("*.vcf")})) {
        QFile card(file.filePath());
        QVERIFY(card.open(QIODevice::ReadWrite));
        const QByteArray text = card.readAll();
        if (!text.contains("FN:Ada Lovelace")) continue;
        card.resize(0);
        card.write(QByteArray(text).replace(":0301234\n", ":0309999\n"));
    }
    QVERIFY(other.Sync());
    AddressBookSyncResult result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 2 received, 0 deleted, 0 conflicts kept"));
    auto contacts = book.Contacts();
    QCOMPARE(contacts.at(ada).number, std::string("0309999"));
    QCOMPARE(contacts.at("zoe-1").number, std::string("+4915111"));

    // Zoe's number changed here reaches the other client with her e-mail address as it was.
    QVERIFY(book.Edit("zoe-1", "Zoe", "+4915222"));
    result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.sent, 1);
    QVERIFY(other.Sync());
    const QByteArray zoeThere = other.CardNamed(QStringLiteral("Zoe"));
    QVERIFY2(zoeThere.contains("\nTEL;TYPE=CELL:+4915222\n"), zoeThere.constData());
    QVERIFY(zoeThere.contains("\nEMAIL;TYPE=INTERNET:zoe@example.org\n"));
    QVERIFY(!zoeThere.contains("+4915111"));
}

void TestAddressBookSync::conflictCopyOnBothSidesAndOtherProgramsLinesKept()
{
    SyncTestBook book(m_dir.filePath(QStringLiteral("conflict%1.pab").arg(m_case)), {});
    SyncServerClient other(Dav());
    QVERIFY(other.Add(QStringLiteral("eva"), OtherProgramsCard(QStringLiteral("eva"), QStringLiteral("Eva Braun"), QStringLiteral("0100"))));
    QVERIFY(book.Sync(Account(), kPassword).ok());

    // Only the number changed here: the lines of the other program stay as they were.
    QVERIFY(book.Edit("eva", "Eva Braun", "0200"));
    AddressBookSyncResult result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    auto cards = other.Cards();
    QVERIFY(cards);
    const VCardRawCard& kept = cards->at(QStringLiteral("eva")).card;
    QCOMPARE(VCardOwnedFields::of(kept).number, QStringLiteral("0200"));
    const VCardRawCard original = *VCardRawCard::parse(OtherProgramsCard(QStringLiteral("eva"), QStringLiteral("Eva Braun"), QStringLiteral("0100")));
    for (const char* name : {"EMAIL", "ADR", "PHOTO"}) QCOMPARE(LinesNamed(kept, name), LinesNamed(original, name));

    // The number changed on both sides: the server's stays, the local one becomes a copy on both sides.
    QVERIFY(book.Edit("eva", "Eva Braun", "0300"));
    QVERIFY(other.Edit(QStringLiteral("eva"), QStringLiteral("0400")));
    result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.conflicts, 1);
    const auto contacts = book.Contacts();
    QCOMPARE(contacts.size(), size_t(2));
    QCOMPARE(contacts.at("eva").number, std::string("0400"));
    std::string copyUid;
    for (const auto& [uid, contact] : contacts)
        if (uid != "eva") copyUid = uid;
    QCOMPARE(contacts.at(copyUid).number, std::string("0300"));
    QCOMPARE(QString::fromStdString(contacts.at(copyUid).name), VCardMerge::conflictName(QStringLiteral("Eva Braun"), QDate::currentDate()));
    cards = other.Cards();
    QVERIFY(cards && cards->size() == 2);
    QCOMPARE(VCardOwnedFields::of(cards->at(QString::fromStdString(copyUid)).card).number, QStringLiteral("0300"));

    // A second run finds nothing more to do.
    result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 0 received, 0 deleted, 0 conflicts kept"));
}

void TestAddressBookSync::deletedOnOneSideChangedOnTheOtherKeepsTheChange()
{
    SyncTestBook book(m_dir.filePath(QStringLiteral("deleted%1.pab").arg(m_case)), {});
    const std::string here = book.Add(QString(), "Fritz Lang", "0500");
    SyncServerClient other(Dav());
    QVERIFY(other.Add(QStringLiteral("gret"), OtherProgramsCard(QStringLiteral("gret"), QStringLiteral("Greta Garbo"), QStringLiteral("0600"))));
    QVERIFY(book.Sync(Account(), kPassword).ok());

    // Deleted here, changed there; changed here, deleted there.
    QVERIFY(book.Delete("gret"));
    QVERIFY(other.Edit(QStringLiteral("gret"), QStringLiteral("0601")));
    QVERIFY(book.Edit(here, "Fritz Lang", "0501"));
    QVERIFY(other.Remove(QString::fromStdString(here)));
    const AddressBookSyncResult result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.deleted, 0);
    const auto contacts = book.Contacts();
    QCOMPARE(contacts.at("gret").number, std::string("0601"));
    QCOMPARE(contacts.at(here).number, std::string("0501"));
    const auto cards = other.Cards();
    QVERIFY(cards && cards->size() == 2);
    QCOMPARE(VCardOwnedFields::of(cards->at(QString::fromStdString(here)).card).number, QStringLiteral("0501"));
    QCOMPARE(LinesNamed(cards->at(QStringLiteral("gret")).card, "EMAIL").size(), 1);
}

void TestAddressBookSync::cancelledHalfWayThenFinishedWithoutDoubles()
{
    SyncTestBook book(m_dir.filePath(QStringLiteral("cancel%1.pab").arg(m_case)), {QStringLiteral("Family")});
    for (int i = 0; i < 12; ++i)
        QVERIFY(!book.Add(i % 2 ? QStringLiteral("Family") : QString(), "Person " + std::to_string(i), std::to_string(100 + i)).empty());
    SyncServerClient other(Dav());
    QVERIFY(other.Add(QStringLiteral("kurt"), OtherProgramsCard(QStringLiteral("kurt"), QStringLiteral("Kurt Weill"), QStringLiteral("0900"))));

    // Cancelled from the progress callback, as a window's button would, after 5 of 13 contacts.
    int seen = 0;
    AddressBookSyncResult result = book.Sync(Account(), kPassword, 10000, [&seen](AddressBookSync& sync, int done, int total) {
        seen = total;
        if (done == 5) sync.Cancel();
    });
    QCOMPARE(seen, 13);
    QCOMPARE(result.failure, AddressBookSyncResult::Failure::Cancelled);
    const int sentBefore = result.sent;
    const int receivedBefore = result.received;
    QVERIFY(sentBefore + receivedBefore <= 6);

    result = book.Sync(Account(), kPassword);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.sent + sentBefore, 12);
    QCOMPARE(result.received + receivedBefore, 1);
    QCOMPARE(result.conflicts, 0);
    const auto contacts = book.Contacts();
    QCOMPARE(contacts.size(), size_t(13));
    const auto cards = other.Cards();
    QVERIFY(cards && cards->size() == 13);
    for (const auto& [uid, contact] : contacts)
        QCOMPARE(VCardOwnedFields::of(cards->at(QString::fromStdString(uid)).card).number.toStdString(), contact.number);
}

void TestAddressBookSync::fullFolderTakesWhatFitsAndTheRestLater()
{
    // 1003 cards on the server, put in one request as a whole address book.
    QByteArray cards;
    for (int i = 0; i < kTableSlots + 3; ++i)
        cards += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:many-%1\r\nFN:Many %1\r\nN:Many %1;;;;\r\nTEL:%2\r\nEND:VCARD\r\n")
                     .arg(i).arg(100000 + i).toUtf8();
    QNetworkAccessManager network;
    QNetworkRequest request(m_collection);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/vcard"));
    request.setRawHeader("Authorization", "Basic " + (kUser + QLatin1Char(':') + kPassword).toUtf8().toBase64());
    QNetworkReply* reply = network.put(request, cards);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    QVERIFY2(reply->error() == QNetworkReply::NoError, qPrintable(reply->errorString()));
    reply->deleteLater();

    SyncTestBook book(m_dir.filePath(QStringLiteral("full%1.pab").arg(m_case)), {});
    AddressBookSyncResult result = book.Sync(Account(), kPassword, 60000);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.received, kTableSlots);
    QCOMPARE(result.notes, QStringList{QStringLiteral("3 cards could not be taken: the address book is full.")});
    SyncServerClient other(Dav());
    QCOMPARE(other.Cards()->size(), size_t(kTableSlots + 3));

    // Room for them: four entries deleted here; the next run deletes those and takes the three.
    auto contacts = book.Contacts();
    QCOMPARE(contacts.size(), size_t(kTableSlots));
    int deleted = 0;
    for (auto it = contacts.begin(); deleted < 4; ++it, ++deleted) QVERIFY(book.Delete(it->first));
    result = book.Sync(Account(), kPassword, 60000);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.Summary(), QStringLiteral("0 sent, 3 received, 4 deleted, 0 conflicts kept"));
    QVERIFY(result.notes.isEmpty());
    contacts = book.Contacts();
    QCOMPARE(contacts.size(), size_t(kTableSlots - 1));
    const auto held = other.Cards();
    QCOMPARE(held->size(), size_t(kTableSlots - 1));
    for (const auto& [uid, contact] : contacts) QVERIFY(held->count(QString::fromStdString(uid)));
}

void TestAddressBookSync::commandLineCountsAndExitCodes()
{
    SyncTestBook book(m_dir.filePath(QStringLiteral("tool%1.pab").arg(m_case)), {});
    QVERIFY(!book.Add(QString(), "Hanna Arendt", "0700").empty());
    QVERIFY(!book.Add(QString(), "Ida Pfeiffer", "0800").empty());
    QTemporaryDir home;
    const auto run = [&](const QString& password) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("TD_PASSWORD"), password);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(TD_ADDRESS_BOOK_TOOL),
                   {QStringLiteral("--pab"), book.Path(), QStringLiteral("sync"), QStringLiteral("--url"), m_collection.toString(),
                    QStringLiteral("--user"), kUser, QStringLiteral("--password-command"), QStringLiteral("printf '%s\\n' \"$TD_PASSWORD\"")});
        tool.waitForFinished(60000);
        return std::tuple{tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()), QString::fromUtf8(tool.readAllStandardError())};
    };
    auto [code, out, err] = run(kPassword);
    QVERIFY2(code == 0, qPrintable(err));
    QCOMPARE(out, QStringLiteral("2 sent, 0 received, 0 deleted, 0 conflicts kept\n"));
    std::tie(code, out, err) = run(kPassword);
    QCOMPARE(out, QStringLiteral("0 sent, 0 received, 0 deleted, 0 conflicts kept\n"));
    QCOMPARE(code, 0);

    std::tie(code, out, err) = run(QStringLiteral("wrong"));
    QCOMPARE(code, 1);
    QVERIFY(out.isEmpty());
    QVERIFY2(err.contains(QStringLiteral("password"), Qt::CaseInsensitive), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestAddressBookSync)
#include "TestAddressBookSync.moc"
