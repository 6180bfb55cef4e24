// The address book file: where it lives, its creation, identifiers across restarts, texts of every script kept
// exactly, another program holding the database, and damaged or newer files refused untouched.
#include "MapiTestSession.h"

#include "mapi/PabFileOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace {
QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A statement on the file through a connection of its own, as another program would run it.
std::string sqlText(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* statement = nullptr;
    std::string out = "<error>";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) out = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        else if (rc == SQLITE_DONE) out.clear();
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return out;
}
}

class TestMapiStorage : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void defaultFileIsInTheUsersDataFolder()
    {
        MAPISetAddressBookFile("");
        const QString path = QString::fromStdString(MAPIGetAddressBookFile());
        QVERIFY2(path.endsWith("/Korvane/Telvora PRO/pab.sqlite"), qPrintable(path));
        MAPISetAddressBookFile("/somewhere/else.sqlite");
        QCOMPARE(MAPIGetAddressBookFile(), std::string("/somewhere/else.sqlite"));
    }

    void logonWithoutInitializeFails()
    {
        MAPISetAddressBookFile((m_dir.path() + "/never.sqlite").toStdString());
        IMAPISession* session = nullptr;
        QCOMPARE(MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, &session), MAPI_E_NOT_INITIALIZED);
        QVERIFY(!session);
        QVERIFY(!QFile::exists(m_dir.path() + "/never.sqlite"));
    }

    void firstStartCreatesFolderAndBookAndIdentifiersSurviveRestart()
    {
        const std::string file = (m_dir.path() + "/new/folder/pab.sqlite").toStdString();
        MapiTestSession::Bytes kept;
        MapiTestSession::Bytes deleted;
        MapiTestSession::Bytes pabId;
        {
            MapiTestSession session(file);
            QVERIFY(session.Ok());
            pabId = session.PabId();
            QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Kept"}}, &kept), S_OK);
            QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Gone"}}, &deleted), S_OK);
            SBinary one{static_cast<ULONG>(deleted.size()), reinterpret_cast<LPBYTE>(deleted.data())};
            ENTRYLIST entries{1, &one};
            QCOMPARE(session.Pab()->DeleteEntries(&entries, 0), S_OK);
        }
        QVERIFY(QFile::exists(QString::fromStdString(file)));
        MapiTestSession session(file);
        QVERIFY(session.Ok());
        QCOMPARE(session.PabId(), pabId);
        QCOMPARE(session.Props(kept)[PR_DISPLAY_NAME], std::string("Kept"));
        MapiTestSession::Bytes fresh;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Gone"}}, &fresh), S_OK);
        QVERIFY2(fresh != deleted, "a deleted entry's identifier is never given to another entry");
        HRESULT hr = S_OK;
        session.Props(deleted, &hr);
        QCOMPARE(hr, MAPI_E_NOT_FOUND);
    }

    void unusablePlacesFailWithoutTouchingAnything()
    {
        const QString blocker = m_dir.path() + "/not-a-folder";
        writeAll(blocker, "keep me");
        QCOMPARE(MAPIInitialize(nullptr), S_OK);
        for (const QString& path : {blocker + "/pab.sqlite", m_dir.path()}) {
            MAPISetAddressBookFile(path.toStdString());
            IMAPISession* session = nullptr;
            QCOMPARE(MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, &session), MAPI_E_NO_ACCESS);
            QVERIFY(!session);
        }
        MAPIUninitialize();
        QCOMPARE(readAll(blocker), QByteArray("keep me"));
    }

    void textsOfEveryScriptAreKeptExactlyAndCompareCharacterByCharacter()
    {
        const std::string file = (m_dir.path() + "/scripts.sqlite").toStdString();
        MapiTestSession session(file);
        QVERIFY(session.Ok());
        // Two Cyrillic names that a narrower code page would both have turned into "???? ??????".
        const std::vector<std::string> names = {"Иван Петров", "Олег Иванов", "Łukasz Żak", "李小龍", "محمد علي",
                                                "ÖZIL", "özil", "Ozil", "Zoë 😀", "Müller €"};
        std::vector<MapiTestSession::Bytes> ids(names.size());
        for (size_t i = 0; i < names.size(); ++i)
            QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, names[i]}}, &ids[i]), S_OK);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Иван Петров"}}), MAPI_E_COLLISION);

        for (size_t i = 0; i < names.size(); ++i) {
            QCOMPARE(session.Props(ids[i])[PR_DISPLAY_NAME], names[i]);
            QCOMPARE(UnicodeName(session, ids[i]), QString::fromStdString(names[i]));
        }
        QStringList stored;
        for (const std::string& name : names) stored.append(QString::fromStdString(name));
        QCOMPARE(QString::fromStdString(sqlText(file, "SELECT group_concat(value, '|') FROM (SELECT value FROM props "
                                                      "WHERE propid = 12289 AND object > 1 ORDER BY object)")),
                 stored.join('|'));

        // Sorted by code point, one character after another; the oracle compares the characters' numbers.
        std::vector<std::string> byCodePoint = names;
        std::sort(byCodePoint.begin(), byCodePoint.end(), [](const std::string& a, const std::string& b) {
            return QString::fromStdString(a).toUcs4() < QString::fromStdString(b).toUcs4();
        });
        QCOMPARE(SortedNames(session), byCodePoint);

        QCOMPARE(NamesMatching(session, FL_FULLSTRING | FL_IGNORECASE, "özil"), (std::vector<std::string>{"ÖZIL", "özil"}));
        QCOMPARE(NamesMatching(session, FL_FULLSTRING, "özil"), (std::vector<std::string>{"özil"}));
        QCOMPARE(NamesMatching(session, FL_PREFIX | FL_IGNORECASE, "łUKASZ"), (std::vector<std::string>{"Łukasz Żak"}));
        QCOMPARE(NamesMatching(session, FL_SUBSTRING | FL_IGNORECASE, "ИВАН"),
                 (std::vector<std::string>{"Иван Петров", "Олег Иванов"}));
    }

    void anotherProgramHoldingTheBookMakesSavesFailCleanly()
    {
        const std::string file = (m_dir.path() + "/busy.sqlite").toStdString();
        MapiTestSession session(file);
        QVERIFY(session.Ok());
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Before"}}), S_OK);

        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(file.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const HRESULT blocked = session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Blocked"}});
        QVERIFY2(blocked == MAPI_E_NO_ACCESS, "the save waits briefly, then fails without writing");
        QCOMPARE(session.Rows(session.Pab()).size(), size_t(1));
        QCOMPARE(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);

        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "After"}}), S_OK);
        QCOMPARE(session.Rows(session.Pab()).size(), size_t(2));
    }

    void damagedOrForeignFilesAreRefusedAndLeftAsTheyWere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<uint32_t>("expected");
        const auto corrupt = static_cast<uint32_t>(MAPI_E_CORRUPT_DATA);
        QTest::newRow("text file") << "text" << corrupt;
        QTest::newRow("empty file") << "empty" << corrupt;
        QTest::newRow("another program's database") << "foreign" << corrupt;
        QTest::newRow("address book with a damaged page") << "damaged" << corrupt;
        QTest::newRow("truncated address book") << "truncated" << corrupt;
        QTest::newRow("address book without a version") << "unversioned" << corrupt;
        QTest::newRow("address book of a newer version") << "newer" << static_cast<uint32_t>(MAPI_E_VERSION);
    }

    void damagedOrForeignFilesAreRefusedAndLeftAsTheyWere()
    {
        QFETCH(QString, kind);
        QFETCH(uint32_t, expected);
        const QString path = m_dir.path() + "/refused-" + kind + ".sqlite";
        PrepareRefusedFile(kind, path);
        const QByteArray before = readAll(path);

        MAPISetAddressBookFile(path.toStdString());
        QCOMPARE(MAPIInitialize(nullptr), S_OK);
        IMAPISession* session = nullptr;
        const HRESULT hr = MAPILogonEx(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL, &session);
        MAPIUninitialize();
        QCOMPARE(static_cast<uint32_t>(hr), expected);
        QVERIFY(!session);
        QCOMPARE(readAll(path), before);
        QVERIFY(!QFile::exists(path + "-journal"));
    }

private:
    static QString UnicodeName(MapiTestSession& session, const MapiTestSession::Bytes& id)
    {
        ULONG type = 0;
        IUnknown* opened = nullptr;
        if (FAILED(session.AddrBook()->OpenEntry(static_cast<ULONG>(id.size()), MapiTestSession::AsEntryId(id), nullptr,
                                                 0, &type, &opened)))
            return "<not opened>";
        SizedSPropTagArray(1, tags) = {1, {CHANGE_PROP_TYPE(PR_DISPLAY_NAME, PT_UNICODE)}};
        ULONG count = 0;
        LPSPropValue values = nullptr;
        QString name = "<no name>";
        if (SUCCEEDED(static_cast<IMAPIProp*>(opened)->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count,
                                                                &values)) &&
            PROP_TYPE(values[0].ulPropTag) == PT_UNICODE)
            name = QString::fromUtf16(reinterpret_cast<const char16_t*>(values[0].Value.lpszW));
        MAPIFreeBuffer(values);
        opened->Release();
        return name;
    }

    // The book's display names in the order of its contents table, restricted and sorted as given.
    static std::vector<std::string> TableNames(MapiTestSession& session, LPSRestriction restriction, LPSSortOrderSet sort)
    {
        std::vector<std::string> names;
        IMAPITable* table = nullptr;
        if (FAILED(session.Pab()->GetContentsTable(0, &table))) return names;
        SizedSPropTagArray(1, columns) = {1, {PR_DISPLAY_NAME}};
        LPSRowSet rows = nullptr;
        if (SUCCEEDED(HrQueryAllRows(table, reinterpret_cast<LPSPropTagArray>(&columns), restriction, sort, 0, &rows)))
            for (ULONG i = 0; i < rows->cRows; ++i) names.push_back(rows->aRow[i].lpProps[0].Value.lpszA);
        FreeProws(rows);
        table->Release();
        return names;
    }

    static std::vector<std::string> SortedNames(MapiTestSession& session)
    {
        SSortOrderSet sort{1, 0, 0, {{PR_DISPLAY_NAME, TABLE_SORT_ASCEND}}};
        return TableNames(session, nullptr, &sort);
    }

    static std::vector<std::string> NamesMatching(MapiTestSession& session, ULONG fuzzyLevel, const std::string& text)
    {
        SPropValue wanted{};
        wanted.ulPropTag = PR_DISPLAY_NAME;
        wanted.Value.lpszA = const_cast<char*>(text.c_str());
        SRestriction restriction{};
        restriction.rt = RES_CONTENT;
        restriction.res.resContent = SContentRestriction{fuzzyLevel, PR_DISPLAY_NAME, &wanted};
        return TableNames(session, &restriction, nullptr);
    }

    void PrepareRefusedFile(const QString& kind, const QString& path)
    {
        if (kind == "text") return writeAll(path, "Name;Number\nMeier;+4930123\n");
        if (kind == "empty") return writeAll(path, {});
        if (kind == "foreign") {
            sqlite3* db = nullptr;
            sqlite3_open(path.toStdString().c_str(), &db);
            sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('mine');", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            return;
        }
        {
            MapiTestSession session(path.toStdString());
            QVERIFY(session.Ok());
            for (int i = 0; i < 300; ++i)
                QCOMPARE(session.Create(session.Pab(), session.PabId(),
                                        {{PR_DISPLAY_NAME, "Entry " + std::to_string(i)}, {PR_COMMENT, std::string(200, 'c')}}),
                         S_OK);
        }
        if (kind == "newer" || kind == "unversioned") {
            const int version = kind == "newer" ? PabFileOpener::kSchemaVersion + 1 : 0;
            QCOMPARE(sqlText(path.toStdString(), "PRAGMA user_version = " + std::to_string(version)), std::string());
            return;
        }
        QByteArray bytes = readAll(path);
        QVERIFY(bytes.size() > 8 * 4096);
        if (kind == "damaged") bytes.replace(2 * 4096, 4096, QByteArray(4096, '\xA5'));
        else bytes.truncate(bytes.size() / 2);
        writeAll(path, bytes);
    }

    QTemporaryDir m_dir;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Korvane");
    QCoreApplication::setApplicationName("Telvora PRO");
    TestMapiStorage test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestMapiStorage.moc"
