// One writer at a time, readers that never write, and errors that name the file and their cause: the window,
// the address-book tool (in this process and as a program of its own) and a real address-book file.
#include "FormTestCase.h"
#include "PabQuery.h"
#include "PabSeeder.h"

#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "pab/AddressBook.h"
#include "pab/tools/AddressBookCommand.h"
#include "res/ErrorReport.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <sqlite3.h>

namespace {
QByteArray Hash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

AddressBookCommandResult Tool(const QString& pab, const QStringList& arguments, bool create = false)
{
    AddressBookCommand::Options options;
    options.pabFile = pab;
    options.create = create;
    return AddressBookCommand(options).Run(arguments);
}

const QByteArray kCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carl\r\nTEL:333\r\nEND:VCARD\r\n";
}

class TestBookWriters : public FormTestCase {
    Q_OBJECT
    void AfterEachTest() override { MapiFaults::Clear(); }

private slots:
    void writersTakeTurns();
    void aWriterRefusesTheWindow();
    void readersLeaveTheFileAsItWas();
    void missingBooksAreNotCreatedUnasked();
    void causesAreNamed_data();
    void causesAreNamed();
};

// The window holds the book: imports, in this process and by the real tool, are refused with the holder's
// name and change nothing, readers still read; once the window lets go, and after a holder was killed, an
// import goes through.
void TestBookWriters::writersTakeTurns()
{
    FormFixture& f = NewForm();
    f.WithoutPhone();
    {
        PabSeeder pab(f.PabPath().toStdString());
        pab.AddUser("Anna", "111", std::string("Standard-Status - Index: 1 "));
    }
    f.Start();
    QVERIFY(f.EndedWith().empty());
    const QString vcf = QFileInfo(f.PabPath()).absolutePath() + "/in.vcf";
    QVERIFY(WriteFile(vcf, kCard));
    const QByteArray before = Hash(f.PabPath());
    const QString refusal = QStringLiteral("%1 is open in Telephone Directory (PID %2).")
                                .arg(f.PabPath())
                                .arg(QCoreApplication::applicationPid());

    // The same file under another name (a link) is the same book, held by the same lock.
    const QString linked = QFileInfo(f.PabPath()).absolutePath() + "/linked.sqlite";
    QVERIFY(QFile::link(f.PabPath(), linked));
    const AddressBookCommandResult inProcess = Tool(linked, {"import", vcf});
    QCOMPARE(inProcess.exitCode, 1);
    QVERIFY2(inProcess.err.contains("Error during MAPI-Logon")
                 && inProcess.err.contains(QString(refusal).replace(f.PabPath(), linked)),
             qPrintable(inProcess.err));

    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + "/address-book", {"--pab", f.PabPath(), "import", vcf});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY2(QString::fromUtf8(tool.readAllStandardError()).contains(refusal), "the real tool names the window too");

    const AddressBookCommandResult reader = Tool(f.PabPath(), {"list"});
    QCOMPARE(reader.exitCode, 0);
    QCOMPARE(reader.out, QStringLiteral("1\tAnna\t111\t\n"));
    QCOMPARE(Hash(f.PabPath()), before);

    f.View()->Book().CloseSession(); // the window's session ends, and its lock with it
    QCOMPARE(Tool(f.PabPath(), {"import", vcf}).exitCode, 0);
    QCOMPARE(PabDisplayNames(f.PabPath()), QStringList({"Anna", "Carl", "Personal Address Book"}));

    // A tool killed while it held the book leaves its lock file behind: the next writer takes it over.
    QProcess killed;
    killed.start(QStringLiteral("sleep"), {"60"});
    QVERIFY(killed.waitForStarted());
    const qint64 deadPid = killed.processId();
    killed.kill();
    QVERIFY(killed.waitForFinished());
    QVERIFY(WriteFile(f.PabPath() + ".lock", QByteArray::number(deadPid) + "\naddress-book\n" +
                                                 QSysInfo::machineHostName().toUtf8() + "\n"));
    QVERIFY(WriteFile(vcf, QByteArray(kCard).replace("Carl", "Dora")));
    const AddressBookCommandResult afterKill = Tool(f.PabPath(), {"import", vcf});
    QVERIFY2(afterKill.exitCode == 0, qPrintable(afterKill.err));
    QVERIFY(!QFile::exists(f.PabPath() + ".lock"));
}

// An import holds the book: the window reports who does, opens nothing and ends; nothing is written.
void TestBookWriters::aWriterRefusesTheWindow()
{
    FormFixture& f = NewForm();
    f.WithoutPhone();
    {
        PabSeeder pab(f.PabPath().toStdString());
        pab.AddUser("Anna", "111", std::nullopt); // reading it would write an index
    }
    const QByteArray before = Hash(f.PabPath());
    QLockFile holder(f.PabPath() + ".lock"); // as the tool holds it, from this process
    QVERIFY(holder.tryLock(0));
    QStringList details;
    f.Questions().OnReport([&](int id) { if (id / 100000 == 2) details << ErrorReport::detail(); });
    f.Start();
    QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{2 * 100000 + 41001}));
    QCOMPARE(details, QStringList(QStringLiteral("%1 is open in Telephone Directory (PID %2). Close it there, then try "
                                                 "again: only one program at a time may change an address book.")
                                      .arg(f.PabPath())
                                      .arg(QCoreApplication::applicationPid())));
    QCOMPARE(f.EndedWith(), (std::vector<int>{-1}));
    QCOMPARE(Hash(f.PabPath()), before);
    QVERIFY(!QFile::exists(f.PabPath() + "-wal"));
}

// Listing and exporting a book whose entries have no index show the indices they would get, and leave every
// byte of the file as it was (a writer would store them).
void TestBookWriters::readersLeaveTheFileAsItWas()
{
    QTemporaryDir dir;
    const QString pab = dir.filePath("book.sqlite");
    {
        PabSeeder seeder(pab.toStdString());
        seeder.AddUser("Anna", "111", std::nullopt);
        seeder.AddUser("Bert", "222", std::string("Met at fair"));
        seeder.AddUser("Cleo", "333", std::string("VIP-Status - Index: 1 "));
    }
    QVERIFY(QFile::exists(pab));
    QVERIFY(!QFile::exists(pab + "-wal"));
    const QByteArray before = Hash(pab);
    const AddressBookCommandResult listed = Tool(pab, {"list"});
    QCOMPARE(listed.out, QStringLiteral("2\tAnna\t111\t\n3\tBert\t222\t\n1\tCleo\t333\tVIP\n"));
    QCOMPARE(Tool(pab, {"export", dir.filePath("out.vcf")}).exitCode, 0);
    QCOMPARE(Hash(pab), before);
    QCOMPARE(QueryPab(pab, "SELECT value FROM props WHERE propid = 12292 ORDER BY object"),
             QStringList({"Met at fair", "VIP-Status - Index: 1 "}));
    // A writer stores them.
    QVERIFY(WriteFile(dir.filePath("in.vcf"), kCard));
    QCOMPARE(Tool(pab, {"import", dir.filePath("in.vcf")}).exitCode, 0);
    QCOMPARE(QueryPab(pab, "SELECT count(*) FROM props WHERE propid = 12292 AND value LIKE '%Index: _ '"),
             QStringList("4"));
}

void TestBookWriters::missingBooksAreNotCreatedUnasked()
{
    QTemporaryDir dir;
    const QString typo = dir.filePath("no/such/folder/pab.sqlite");
    const AddressBookCommandResult refused = Tool(typo, {"list"});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.err, QStringLiteral("The folder %1 of the address book %2 does not exist. Check the path, or give "
                                         "--create to start a new, empty address book there.\n")
                              .arg(dir.filePath("no/such/folder"), typo));
    QVERIFY(!QDir(dir.filePath("no")).exists());
    QCOMPARE(Tool(dir.filePath("pab.sqlite"), {"list"}).err,
             QStringLiteral("The address book %1 does not exist. Check the path, or give --create to start a new, "
                            "empty address book there.\n").arg(dir.filePath("pab.sqlite")));
    QVERIFY(!QFile::exists(dir.filePath("pab.sqlite")));
    QCOMPARE(Tool(typo, {"list"}, true).exitCode, 0);
    QVERIFY(QFile::exists(typo));
}

// Each cause on a real file: the report keeps its message and says under it what is wrong with which file.
// Failures at the write end the window, which first keeps the unsaved entries in a vCard file.
void TestBookWriters::causesAreNamed_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("report");
    QTest::addColumn<QString>("detail");
    QTest::newRow("folder") << "folder" << 41001 << "\"%1\" is a folder, not an address-book file.";
    QTest::newRow("not sqlite") << "text" << 41001 << "\"%1\" is not an address book: it is no SQLite database at all.";
    QTest::newRow("foreign") << "foreign" << 41001 << "\"%1\" is another program's SQLite database";
    QTest::newRow("damaged") << "damaged" << 41001 << "The address book \"%1\" is damaged: its database check failed.";
    QTest::newRow("read-only at the write") << "readonly" << 41015 << "The address book \"%1\" cannot be written: the file or its folder is read-only.";
    QTest::newRow("disk full") << "full" << 41015 << "The disk that holds the address book \"%1\" is full.";
}

void TestBookWriters::causesAreNamed()
{
    QFETCH(QString, cause);
    QFETCH(int, report);
    QFETCH(QString, detail);
    FormFixture& f = NewForm();
    f.WithoutPhone();
    const QString pab = f.PabPath();
    if (cause == "folder") {
        QVERIFY(QDir().mkpath(pab));
    } else if (cause == "text") {
        QVERIFY(WriteFile(pab, "Anna;111\nBert;222\n"));
    } else if (cause == "foreign") {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(pab.toUtf8().constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('x')", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    } else if (cause == "damaged") {
        {
            PabSeeder seeder(pab.toStdString());
            for (int i = 1; i <= 300; ++i) seeder.AddUser("P" + std::to_string(i), "1", std::string("Standard-Status - Index: 1 "));
        }
        QFile file(pab);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(2 * 4096));
        file.write(QByteArray(3 * 4096, '\x5a')); // pages of the tables overwritten
    } else {
        PabSeeder seeder(pab.toStdString());
        seeder.AddUser("Anna", "111", std::string("Standard-Status - Index: 1 "));
    }
    const QByteArray before = Hash(pab);
    QStringList details;
    // Only the address book's reports: the telephone's (there is no phone) may come at any time.
    f.Questions().OnReport([&](int id) { if (id / 100000 == 2) details << ErrorReport::detail(); });
    f.Start();
    if (report == 41015) {
        QVERIFY(f.EndedWith().empty());
        // What the book holds as the window's start left it (which gave an older book its identity).
        const char* everything = "SELECT object || ':' || propid || '=' || quote(value) FROM props ORDER BY object, propid";
        const QStringList stored = QueryPab(pab, everything);
        CDlgView* v = f.View();
        DirTable& table = v->Store().m_abTable;
        table[0].m_strNumber = "999"; // Anna changed
        table[0].m_nState = ENTRY_CHANGED;
        table.m_nCount = 2;
        table[1].m_strName = "Łukasz Żak";
        table[1].m_strNumber = "222";
        table[1].m_strStatus = "!";
        table[1].m_nIndex = 2;
        table[1].m_nState = ENTRY_NEW;
        v->Store().SetFlag(VF_AB_MODIFIED);
        MapiFaults::InjectStoreWrite(cause == "full" ? SQLITE_FULL : SQLITE_READONLY);
        v->Commands().OnSaveAddressBook();
        QCOMPARE(QueryPab(pab, everything), stored); // the failed save was rolled back as a whole
    }
    QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{2 * 100000 + report}));
    QCOMPARE(f.EndedWith(), (std::vector<int>{-1}));
    QCOMPARE(details.size(), 1);
    QVERIFY2(details[0].startsWith(detail.arg(pab)), qPrintable(details[0]));
    if (cause != "folder" && report != 41015) QCOMPARE(Hash(pab), before); // a refused book is left as it was
    if (report != 41015) return;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QStringList kept = QDir(dataFolder).entryList({"Unsaved address book *.vcf"});
    QCOMPARE(kept.size(), 1);
    QVERIFY2(details[0].endsWith(QStringLiteral("The 2 new or changed entries not saved are kept in \"%1\"; import it "
                                                "when the address book can be written again.")
                                     .arg(QDir(dataFolder).filePath(kept[0]))), qPrintable(details[0]));
    QFile file(QDir(dataFolder).filePath(kept[0]));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString cards = QString::fromUtf8(file.readAll());
    QVERIFY(cards.contains("FN:Anna\r\n") && cards.contains("999") && cards.contains("FN:Łukasz Żak\r\n") &&
            cards.contains("X-KORVANE-INDEX:2\r\nX-KORVANE-VIP:1\r\n"));
}

QTEST_MAIN(TestBookWriters)
#include "TestBookWriters.moc"
