// Every name survives the address book: a book written by 1.1.03 (fixtures/book-1.1.03.sqlite, code page 1252
// texts, version 1) reads exactly and is marked version 2 once opened; names of every script are saved, read back
// exactly after the book is opened again, and sort without regard to case, character by character. Through the
// address-book layer as the form drives it, on a copy of the real file.
#include "ScriptedQuestions.h"

#include "model/EntryCompare.h"
#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "pab/IAddressBookHost.h"
#include "pab/AbNameCheck.h"
#include "pab/AddressBook.h"
#include "mapi/Mapi.h"

#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace {
// The form's part: the folder chosen, without widgets.
class FolderHost : public IAddressBookHost {
public:
    const EntryStore* m_store = nullptr;
    int m_nFolder = 0;
    bool m_bEnded = false;

    int AbListItemCount() const override { return m_store->m_abTable.m_nCount; }
    void ClearAbList() override {}
    void EndProgram(int) override { m_bEnded = true; }
    void FillAbList(bool) override {}
    void FillFolderCombo() override {}
    void ClearFolderCombo() override {}
    int SelectedFolderItem() const override { return m_nFolder; }
    void SelectFolderItem(int item) override { m_nFolder = item; }
    void SetStatusText(const std::string&) override {}
};

// The program's address-book half on one file: store, questions, host and the book, opened at start-up.
struct OpenedBook {
    explicit OpenedBook(const QString& file)
    {
        MAPISetAddressBookFile(file.toStdString());
        store = std::make_unique<EntryStore>();
        host.m_store = store.get();
        book = std::make_unique<AddressBook>(*store, questions, host);
        opened = book->OpenAtStartUp();
    }
    ~OpenedBook()
    {
        book.reset();
        MAPISetAddressBookFile({});
    }

    std::unique_ptr<EntryStore> store;
    ScriptedQuestions questions;
    FolderHost host;
    std::unique_ptr<AddressBook> book;
    bool opened = false;
};

struct Entry {
    int index;
    std::string name;
    std::string number;
    std::string status;
    std::string comment;
};

QString Describe(int index, const std::string& name, const std::string& number, const std::string& status,
                 const std::string& comment)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(index)
        .arg(QString::fromStdString(name), QString::fromStdString(number), QString::fromStdString(status),
             QString::fromStdString(comment));
}

QStringList Described(const std::vector<Entry>& entries)
{
    QStringList out;
    for (const Entry& e : entries) out.append(Describe(e.index, e.name, e.number, e.status, e.comment));
    return out;
}

QStringList Described(const DirTable& table)
{
    QStringList out;
    for (int i = 0; i < table.m_nCount; ++i)
        out.append(Describe(table[i].m_nIndex, table[i].m_strName, table[i].m_strNumber, table[i].m_strStatus,
                            table[i].m_strComment));
    return out;
}

QStringList FolderNames(const EntryStore& store)
{
    QStringList names;
    for (int i = 0; i < store.m_nFolderCount; ++i) names.append(QString::fromStdString(store.m_folders[size_t(i)].m_strName));
    return names;
}

// One value from the file as it lies on disk, through a connection of the test's own.
QString FileQuery(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    QString value = "<error>";
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

const char* const kAllProperties =
    "SELECT group_concat(object || '/' || propid || '/' || value, char(10)) "
    "FROM (SELECT * FROM props ORDER BY object, propid)";

// Case folded character by character: the oracle of the list's order by name.
std::u32string Folded(const std::string& text)
{
    std::u32string folded;
    for (char32_t c : QString::fromStdString(text).toUcs4()) folded.push_back(QChar::toCaseFolded(c));
    return folded;
}

const std::string kFolder = "Fußball – Kollegen „Ü40“";

// What 1.1.03 wrote (see fixtures/make-book-1.1.03.sh), as the program reads it: the comment without the blank
// that joined it to the status word.
const std::vector<Entry> kOldBook = {
    {3, "Jürgen Müller-Lüdenscheidt", "+49 30 1234567", "!", "Stammtisch „Zum Löwen“"},
    {12, "François Lefèvre", "0033 1 42 68 53 00", " ", ""},
    {4, "Ñuño Peña", "*31#0301234", " ", "Café 5 € … 7 ‰"},
    {5, "Žaneta Šebestová", "+420 2 2101 1111", "!", "Œuvres ‚complètes‘"},
    {7, "Björn Strauß", "040 987654", "!", ""},
};
const std::vector<Entry> kOldList = {
    {6, "Hervé Dœring", "030 1234–56 · Büro", " ", "Trainer ™"},
    {1, "Åsa Ødegård", "+47 22 33 44 55", " ", ""},
    {2, "Zoë Ÿvonne Çelik", "0301111", "!", "Trikot Nr. 9 • ±0"},
};

// "özil" comes before "ÖZIL" and "Øystein" after both only when case is ignored beyond ASCII.
const std::vector<Entry> kNewNames = {
    {20, "Łukasz Żak", "+48 22 123 45 67", "!", "Kraków, ul. Długa"},
    {21, "Иван Петров", "+7 495 123 45 67", " ", "Друг из Москвы"},
    {22, "Олег Иванов", "+7 812 765 43 21", " ", ""},
    {23, "Γιώργος", "+30 21 0123 4567", "!", "Αθήνα"},
    {24, "李小龍", "+852 2345 6789", " ", "香港"},
    {25, "محمد علي", "+20 2 2345 6789", " ", "القاهرة"},
    {26, "Şükrü Öztürk", "+90 212 345 67 89", " ", ""},
    {27, "özil", "0301", " ", ""},
    {28, "ÖZIL", "0302", " ", ""},
    {29, "Øystein 🎸", "+47 99 88 77 66", "!", "🎉 Band"},
};
}

class TestAddressBookText : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.path() + "/pab.sqlite";
        QFile::remove(m_file);
        QVERIFY(QFile::copy(QStringLiteral(TD_PAB_FIXTURES "/book-1.1.03.sqlite"), m_file));
        QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner));
    }

    void bookOf1103ReadsExactlyAndIsMarkedVersion2WhenOpened()
    {
        QCOMPARE(FileQuery(m_file, "PRAGMA user_version"), QString("1"));
        const QString before = FileQuery(m_file, kAllProperties);
        OpenedBook b(m_file);
        QVERIFY(b.opened);
        QCOMPARE(FileQuery(m_file, "PRAGMA user_version"), QString("2"));
        // Marked, and given an identity of its own (the UIDs of its entries are made from it); nothing rewritten.
        QCOMPARE(FileQuery(m_file, "SELECT group_concat(object || '/' || propid || '/' || value, char(10)) FROM "
                                   "(SELECT * FROM props WHERE propid <> 26370 ORDER BY object, propid)"),
                 before);
        QVERIFY(!QUuid::fromString(FileQuery(m_file, "SELECT value FROM props WHERE object = 1 AND propid = 26370")).isNull());
        QCOMPARE(FolderNames(*b.store).value(1), QString::fromStdString(kFolder));
        QCOMPARE(Described(b.store->m_abTable), Described(kOldBook));
        b.host.SelectFolderItem(1);
        b.book->ChangeFolder();
        QCOMPARE(Described(b.store->m_abTable), Described(kOldList));
        QVERIFY(!b.host.m_bEnded);
        QCOMPARE(b.questions.LeftOpen(), std::vector<std::string>());
    }

    void namesOfEveryScriptAreSavedAndReadBackExactly()
    {
        const std::string folder = "Друзья 👪";
        std::vector<Entry> expected = kOldBook;
        {
            OpenedBook b(m_file);
            QVERIFY(b.opened);
            EntryTableEditor editor(*b.store, b.questions, b.host);
            for (const Entry& e : kNewNames) {
                DirEntry entry;
                entry.m_nIndex = e.index;
                entry.m_strName = e.name;
                entry.m_strNumber = e.number;
                entry.m_strStatus = e.status;
                entry.m_strComment = e.comment;
                QCOMPARE(MakeAbNameUnique(*b.store, b.questions, b.host, entry.m_strName), 1);
                QVERIFY(editor.InsertAbEntry(b.store->m_abTable.m_nCount, entry));
            }
            // An old entry edited: its new comment is beyond code page 1252.
            b.store->m_abTable[1].m_strComment = "Ami — Łódź ";
            b.store->m_abTable[1].m_nState = ENTRY_CHANGED;
            expected[1].comment = "Ami — Łódź ";
            b.book->SaveAddressBook();
            QVERIFY(!b.host.m_bEnded);

            b.questions.AnswerName(true, folder);
            b.book->NewFolder();
            QCOMPARE(FolderNames(*b.store).value(b.host.m_nFolder), QString::fromStdString(folder));
            QCOMPARE(b.questions.TakeReports(), std::vector<int>());
            QCOMPARE(b.questions.LeftOpen(), std::vector<std::string>());
        }
        // Saved comments are read back exactly.
        for (const Entry& e : kNewNames) expected.push_back(e);

        OpenedBook b(m_file);
        QVERIFY(b.opened);
        QCOMPARE(FolderNames(*b.store).mid(1), QStringList({QString::fromStdString(kFolder), QString::fromStdString(folder)}));
        QCOMPARE(Described(b.store->m_abTable), Described(expected));
        QCOMPARE(b.questions.LeftOpen(), std::vector<std::string>());

        // The list's order by name: case ignored for every letter, then character by character.
        std::vector<const DirEntry*> listed;
        for (int i = 0; i < b.store->m_abTable.m_nCount; ++i) listed.push_back(&b.store->m_abTable[i]);
        std::vector<const DirEntry*> oracle = listed;
        std::stable_sort(listed.begin(), listed.end(),
                         [](const DirEntry* x, const DirEntry* y) { return CompareEntries(*x, *y, 0) < 0; });
        std::stable_sort(oracle.begin(), oracle.end(), [](const DirEntry* x, const DirEntry* y) {
            return Folded(x->m_strName) < Folded(y->m_strName);
        });
        QStringList listedNames, oracleNames;
        for (const DirEntry* e : listed) listedNames.append(QString::fromStdString(e->m_strName));
        for (const DirEntry* e : oracle) oracleNames.append(QString::fromStdString(e->m_strName));
        QCOMPARE(listedNames, oracleNames);
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestAddressBookText)
#include "TestAddressBookText.moc"
