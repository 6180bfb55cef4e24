// Backup files of a telephone directory and the folder that keeps them: what survives a round trip, what
// is refused, how backups are named and which are kept.
#include "link/BackupFolder.h"
#include "link/DirectoryBackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {
const QDateTime kTaken(QDate(2026, 12, 8), QTime(13, 25, 1), Qt::UTC);

DirectoryBackup sample(const QByteArray& code = "SM", const QDateTime& taken = kTaken)
{
    DirectoryBackup b;
    b.directoryCode = code;
    b.taken = taken;
    b.nameLength = 16;
    b.numberLength = 20;
    // Out of index order on purpose; every kind of name a phone can hold.
    b.records = {{7, QStringLiteral("Мама"), "*100#"},
                 {1, QStringLiteral("Anna Müller"), "+4930123456"},
                 {2, QStringLiteral("Jörg Bäcker!"), "+49891234567"},
                 {3, QStringLiteral("@Home €[x] %2"), "12?4"},
                 {9, QString(), "0800123"},
                 {32767, QStringLiteral("Last"), "1p2w3,4"},
                 {5, QStringLiteral("004E0G6100"), "555", true}}; // a name damaged on the line, as it arrived
    return b;
}

QString describe(const QList<PhoneRecord>& records)
{
    QStringList lines;
    for (const PhoneRecord& r : records)
        lines.append(QStringLiteral("%1|%2|%3|%4").arg(QString::number(r.index), r.name, QString::fromLatin1(r.number),
                                                       r.nameUnreadable ? QStringLiteral("unreadable") : QString()));
    return lines.join('\n');
}

DirectoryBackup withRecord(const PhoneRecord& record, const QByteArray& code = "SM")
{
    DirectoryBackup b = sample(code);
    b.records.append(record);
    return b;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray replaced(QByteArray text, const QByteArray& from, const QByteArray& to)
{
    return text.replace(from, to);
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& p : paths) names.append(QFileInfo(p).fileName());
    return names;
}

QString stamp(const QDateTime& t)
{
    return t.toLocalTime().toString("yyyyMMdd-HHmmss");
}
}

class TestDirectoryBackup : public QObject {
    Q_OBJECT
private slots:
    void backupKeepsEveryRecordExactly();
    void damagedForeignOrNewerFilesAreRefused_data();
    void damagedForeignOrNewerFilesAreRefused();
    void unsoundBackupsAreNeitherSavedNorStored();
    void differencesNameEachRecordByIndex();
    void backupsMadeInTheSameSecondAllGetNamesOfTheirOwn();
    void folderKeepsTheNewestTwentyAndNothingElseIsTouched();
    void defaultFolderIsInTheUsersDataFolder();
    void folderThatCannotBeMadeIsReported();
};

void TestDirectoryBackup::backupKeepsEveryRecordExactly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sm.json");
    const DirectoryBackup original = sample();
    QString error;
    QVERIFY2(original.save(path, &error), qPrintable(error));
    const std::optional<DirectoryBackup> loaded = DirectoryBackup::load(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(loaded->directoryCode, QByteArray("SM"));
    QCOMPARE(loaded->taken, kTaken);
    QCOMPARE(loaded->nameLength, 16);
    QCOMPARE(loaded->numberLength, 20);
    QList<PhoneRecord> sorted = original.records;
    std::sort(sorted.begin(), sorted.end(), [](const PhoneRecord& a, const PhoneRecord& b) { return a.index < b.index; });
    QCOMPARE(describe(loaded->records), describe(sorted));
    // Readable: names as UTF-8 text, one field to a line.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("\"name\": \"Anna Müller\""));
    QVERIFY(text.contains("\"name\": \"Мама\""));
    QVERIFY(text.contains("\"taken\": \"2026-12-08T13:25:01Z\""));
}

void TestDirectoryBackup::damagedForeignOrNewerFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray json = sample().toJson();
    QTest::newRow("empty file") << QByteArray() << "not readable JSON";
    QTest::newRow("cut short") << json.left(json.size() / 2) << "not readable JSON";
    QTest::newRow("a JSON list") << QByteArray("[1, 2]") << "not a backup of a telephone directory";
    QTest::newRow("the phone emulator's state")
        << QByteArray("{\"storages\": {\"SM\": {\"capacity\": 250, \"entries\": []}}}") << "not a backup of a telephone directory";
    QTest::newRow("newer format") << replaced(json, "\"version\": 1", "\"version\": 2") << "format 2";
    QTest::newRow("name changed") << replaced(json, "Anna Müller", "Anna Muller") << "checksum";
    QTest::newRow("unreadable mark dropped") << replaced(json, "\"nameUnreadable\": true", "\"nameUnreadable\": false") << "checksum";
    QTest::newRow("directory changed") << replaced(json, "\"SM\"", "\"ME\"") << "checksum";
    QTest::newRow("field length changed") << replaced(json, "\"nameLength\": 16", "\"nameLength\": 14") << "checksum";
    QTest::newRow("checksum missing") << replaced(json, "\"checksum\"", "\"check\"") << "missing";
    QTest::newRow("index not a number") << replaced(json, "\"index\": 9,", "\"index\": \"9\",") << "lacks its index";
    QTest::newRow("number beyond ASCII") << replaced(json, "\"0800123\"", "\"08\u00B9\"") << "not dial characters";
    // Sound checksums over unsound contents: written by a faulty program rather than damaged on the way.
    QTest::newRow("record twice") << withRecord({2, "Again", "1"}).toJson() << "record 2 appears twice";
    QTest::newRow("letter in a number") << withRecord({20, "Letter", "12A"}).toJson() << "not dial characters";
    QTest::newRow("name too long") << withRecord({20, QString(17, 'x'), "1"}).toJson() << "longer than 16 characters";
    QTest::newRow("number too long") << withRecord({20, "Long", QByteArray(21, '1')}).toJson() << "longer than 20 digits";
    QTest::newRow("index zero") << withRecord({0, "Zero", "1"}).toJson() << "outside 1 to 32767";
    QTest::newRow("empty record") << withRecord({20, QString(), QByteArray()}).toJson() << "neither name nor number";
    QTest::newRow("unknown directory") << sample("XX").toJson() << "not a directory code";
}

void TestDirectoryBackup::damagedForeignOrNewerFilesAreRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("backup.json");
    QVERIFY(writeFile(path, content));
    QString error;
    QVERIFY(!DirectoryBackup::load(path, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY2(error.startsWith(path), qPrintable(error));
}

void TestDirectoryBackup::unsoundBackupsAreNeitherSavedNorStored()
{
    QTemporaryDir dir;
    const DirectoryBackup twice = withRecord({2, "Again", "1"});
    QString error;
    QVERIFY(!twice.save(dir.filePath("twice.json"), &error));
    QVERIFY(error.contains("appears twice"));
    QString stored;
    QVERIFY(!BackupFolder(dir.filePath("backups")).store(twice, &stored, &error));
    DirectoryBackup untimed = sample();
    untimed.taken = QDateTime();
    QVERIFY(!untimed.save(dir.filePath("untimed.json"), &error));
    QVERIFY(error.contains("time"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});
}

void TestDirectoryBackup::differencesNameEachRecordByIndex()
{
    const DirectoryBackup backup = sample();
    QCOMPARE(backup.differencesFrom(backup.records), QStringList{});
    QList<PhoneRecord> onPhone = backup.records;
    onPhone[1].name = QStringLiteral("Anna Muller"); // index 1
    onPhone[3].number = "1234";                      // index 3
    onPhone.removeAt(4);                             // index 9
    onPhone.append({12, QStringLiteral("Extra"), "5"});
    // Index 5, read whole this time while the backup could not read it: no name to compare.
    std::find_if(onPhone.begin(), onPhone.end(), [](const PhoneRecord& r) { return r.index == 5; })->name = QStringLiteral("Name");
    QCOMPARE(backup.differencesFrom(onPhone),
             (QStringList{"Record 1 is \"Anna Muller\" +4930123456 on the telephone but \"Anna Müller\" +4930123456 in the backup.",
                          "Record 3 is \"@Home €[x] %2\" 1234 on the telephone but \"@Home €[x] %2\" 12?4 in the backup.",
                          "Record 9 \"\" 0800123 is missing on the telephone.",
                          "Record 12 \"Extra\" 5 is on the telephone but not in the backup."}));
}

void TestDirectoryBackup::backupsMadeInTheSameSecondAllGetNamesOfTheirOwn()
{
    QTemporaryDir dir;
    const BackupFolder folder(dir.filePath("phone-backups"));
    QStringList stored;
    for (int i = 0; i < 3; ++i) {
        QString path, error;
        QVERIFY2(folder.store(sample(), &path, &error), qPrintable(error));
        stored.append(QFileInfo(path).fileName());
    }
    const QString base = "SM-" + stamp(kTaken);
    QCOMPARE(stored, (QStringList{base + ".json", base + "-2.json", base + "-3.json"}));
    QCOMPARE(fileNames(folder.files()), (QStringList{base + "-3.json", base + "-2.json", base + ".json"}));
    // Two programs at once: every backup still lands in a file of its own.
    constexpr int kEach = 15;
    QStringList a, b;
    auto storeMany = [&](QStringList* paths) {
        for (int i = 0; i < kEach; ++i) {
            QString path, error;
            if (folder.store(sample("ME"), &path, &error)) paths->append(path);
        }
    };
    std::thread first(storeMany, &a);
    std::thread second(storeMany, &b);
    first.join();
    second.join();
    QCOMPARE(a.size() + b.size(), 2 * kEach);
    const QStringList all = a + b;
    QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 2 * kEach);
}

void TestDirectoryBackup::folderKeepsTheNewestTwentyAndNothingElseIsTouched()
{
    QTemporaryDir dir;
    const BackupFolder folder(dir.filePath("phone-backups"));
    QString path, error;
    QVERIFY(folder.store(sample(), &path, &error));
    for (const char* foreign : {"notes.txt", "SM-today.json", "sm-20261208-142501.json"})
        QVERIFY(writeFile(folder.path() + '/' + foreign, "mine"));
    QStringList expected;
    for (int minute = 1; minute <= 25; ++minute) {
        const QDateTime taken = kTaken.addSecs(60 * minute);
        const QByteArray code = minute % 2 ? "SM" : "ME";
        QVERIFY2(folder.store(sample(code, taken), &path, &error), qPrintable(error));
        expected.prepend(QString::fromLatin1(code) + '-' + stamp(taken) + ".json");
    }
    QCOMPARE(fileNames(folder.files()), expected.mid(0, BackupFolder::kKept));
    // A backup of records read before all of those is kept when stored, and goes at the next pruning.
    QVERIFY(folder.store(sample("FD", kTaken.addSecs(-3600)), &path, &error));
    QCOMPARE(folder.files().size(), BackupFolder::kKept + 1);
    QVERIFY(QFile::exists(path));
    folder.prune();
    QCOMPARE(fileNames(folder.files()), expected.mid(0, BackupFolder::kKept));
    for (const char* foreign : {"notes.txt", "SM-today.json", "sm-20261208-142501.json"})
        QVERIFY(QFile::exists(folder.path() + '/' + foreign));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).filter(".tmp"), QStringList{});
}

void TestDirectoryBackup::defaultFolderIsInTheUsersDataFolder()
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    QCoreApplication::setOrganizationName("Korvane");
    QCoreApplication::setApplicationName("Telvora PRO");
    const QString path = BackupFolder::defaultPath();
    qputenv("XDG_DATA_HOME", saved);
    QCOMPARE(path, dir.path() + "/Korvane/Telvora PRO/phone-backups");
}

void TestDirectoryBackup::folderThatCannotBeMadeIsReported()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("file"), "x"));
    QString path, error;
    QVERIFY(!BackupFolder(dir.filePath("file/phone-backups")).store(sample(), &path, &error));
    QVERIFY2(error.contains("Cannot create the backup folder"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestDirectoryBackup)
#include "TestDirectoryBackup.moc"
