// Renaming and deleting the distribution list shown, through the address-book layer as the form drives it, on a
// real address-book file that is checked afterwards with SQL: a new name persists, a refused name changes
// nothing, a deleted list leaves every entry in the book, and the book itself is neither renamed nor deleted.
#include "PabQuery.h"
#include "PabSeeder.h"
#include "ScriptedQuestions.h"

#include "mapi/Mapi.h"
#include "model/EntryStore.h"
#include "pab/AddressBook.h"
#include "pab/tools/CommandLineHost.h"
#include "res/StringTable.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// "user in folder" for every mail user (type 6) of the file; the book itself is "book". 12289: display name.
QStringList Placement(const QString& file)
{
    return QueryPab(file,
                    "SELECT n.value || ' in ' || CASE o.parent WHEN 1 THEN 'book' ELSE f.value END FROM objects o "
                    "JOIN props n ON n.object = o.id AND n.propid = 12289 "
                    "LEFT JOIN props f ON f.object = o.parent AND f.propid = 12289 "
                    "WHERE o.type = 6 ORDER BY 1");
}

// "list in folder" for every distribution list (type 8).
QStringList Lists(const QString& file)
{
    return QueryPab(file,
                    "SELECT n.value || ' in ' || CASE o.parent WHEN 1 THEN 'book' ELSE f.value END FROM objects o "
                    "JOIN props n ON n.object = o.id AND n.propid = 12289 "
                    "LEFT JOIN props f ON f.object = o.parent AND f.propid = 12289 "
                    "WHERE o.type = 8 ORDER BY 1");
}

QStringList TableNames(const EntryStore& store)
{
    QStringList names;
    for (int i = 0; i < store.m_abTable.m_nCount; ++i) names.append(QString::fromStdString(store.m_abTable[i].m_strName));
    names.sort();
    return names;
}
}

class TestDistributionListEdits : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<EntryStore> m_store;
    ScriptedQuestions m_questions;
    CommandLineHost m_host;
    std::unique_ptr<AddressBook> m_book;
    int m_nOpened = 0;

    // The book holds Bob and the lists Family (Anna, and the list Kids with Carl) and Work (Dora). The form
    // shows the list at `item` of the folder table: 0 book, 1 Family, 2 Kids, 3 Work.
    void Open(int item)
    {
        m_file = m_dir.filePath(QStringLiteral("pab-%1.sqlite").arg(++m_nOpened));
        {
            PabSeeder pab(m_file.toStdString());
            QVERIFY(pab.Ok());
            pab.AddUser("Bob", "1", std::string("Standard-Status - Index: 1 "));
            const auto family = pab.AddList("Family");
            pab.AddUser("Anna", "2", std::string("Standard-Status - Index: 2 "), family);
            const auto kids = pab.AddList("Kids", family);
            pab.AddUser("Carl", "3", std::string("Standard-Status - Index: 3 "), kids);
            const auto work = pab.AddList("Work");
            pab.AddUser("Dora", "4", std::string("Standard-Status - Index: 4 "), work);
        }
        MAPISetAddressBookFile(m_file.toStdString());
        m_store = std::make_unique<EntryStore>();
        m_questions.Clear();
        m_host = CommandLineHost();
        m_book = std::make_unique<AddressBook>(*m_store, m_questions, m_host);
        QVERIFY(m_book->OpenAtStartUp());
        QCOMPARE(m_store->m_nFolderCount, 4);
        m_host.SelectFolderItem(item);
        m_book->ChangeFolder();
    }

    void Close()
    {
        m_book.reset();
        MAPISetAddressBookFile({});
        QVERIFY(m_questions.LeftOpen().empty());
        QVERIFY(!m_host.EndedWith());
    }

private slots:
    void renameKeepsTheListAndRefusesTakenNames_data()
    {
        QTest::addColumn<QStringList>("typed"); // names typed into the dialog, in turn; "!" cancels
        QTest::addColumn<bool>("retryAfterClash");
        QTest::addColumn<QStringList>("lists");
        const QStringList before{"Family in book", "Kids in Family", "Work in book"};
        QTest::newRow("new name") << QStringList{"Relatives"} << false
                                  << QStringList{"Kids in Relatives", "Relatives in book", "Work in book"};
        QTest::newRow("taken, then another") << QStringList{"Work", "Clan"} << true
                                             << QStringList{"Clan in book", "Kids in Clan", "Work in book"};
        QTest::newRow("taken, given up") << QStringList{"Work"} << false << before;
        QTest::newRow("the book's name") << QStringList{"Personal Address Book"} << false << before;
        QTest::newRow("empty") << QStringList{""} << false << before;
        QTest::newRow("cancelled") << QStringList{"!"} << false << before;
        // Differing in case only is another name, as for a new folder.
        QTest::newRow("case only") << QStringList{"family"} << false
                                   << QStringList{"Kids in family", "Work in book", "family in book"};
    }

    void renameKeepsTheListAndRefusesTakenNames()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, retryAfterClash);
        QFETCH(QStringList, lists);
        Open(1);
        const QStringList entriesBefore = Placement(m_file);
        for (const QString& name : typed) m_questions.AnswerName(name != QLatin1String("!"), name.toStdString());
        const bool clashes = typed.first() == QLatin1String("Work") || typed.first() == QLatin1String("Personal Address Book");
        if (clashes) m_questions.AnswerYesNo(Ids::IDS_NAME_EXISTS, retryAfterClash);
        QVERIFY(m_book->CanEditShownList());
        m_book->RenameShownList();
        QVERIFY(m_questions.TakeReports().empty());
        QCOMPARE(m_questions.NameDialogsShown().front().text, std::string("Family"));
        // The list stays shown, under its new name, with its entries.
        QCOMPARE(m_host.SelectedFolderItem(), 1);
        QCOMPARE(TableNames(*m_store), QStringList{"Anna"});
        Close();
        QCOMPARE(Lists(m_file), lists);
        QCOMPARE(Placement(m_file).size(), entriesBefore.size());
    }

    void deleteKeepsEveryEntryInTheBook_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("shownAfter");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("lists");
        const QStringList entries{"Anna in Family", "Bob in book", "Carl in Kids", "Dora in Work"};
        const QStringList lists{"Family in book", "Kids in Family", "Work in book"};
        QTest::newRow("no") << 1 << false << 1 << entries << lists;
        QTest::newRow("list in the book") << 1 << true << 0
                                          << QStringList{"Anna in book", "Bob in book", "Carl in Kids", "Dora in Work"}
                                          << QStringList{"Kids in book", "Work in book"};
        QTest::newRow("list in a list") << 2 << true << 1
                                        << QStringList{"Anna in Family", "Bob in book", "Carl in Family", "Dora in Work"}
                                        << QStringList{"Family in book", "Work in book"};
    }

    void deleteKeepsEveryEntryInTheBook()
    {
        QFETCH(int, item);
        QFETCH(bool, yes);
        QFETCH(int, shownAfter);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, lists);
        Open(item);
        m_questions.AnswerYesNo(Ids::IDS_DELETE_LIST_QUESTION, yes);
        m_book->DeleteShownList();
        QVERIFY(m_questions.TakeReports().empty());
        const auto asked = m_questions.AskedOfKind("yesno");
        QCOMPARE(asked.size(), size_t(1));
        QVERIFY(asked[0].text.find(item == 1 ? "'Family'" : "'Kids'") != std::string::npos);
        // The folder that held the list is shown, with the list's entries in it.
        QCOMPARE(m_host.SelectedFolderItem(), shownAfter);
        if (yes && item == 1) QCOMPARE(TableNames(*m_store), (QStringList{"Anna", "Bob"}));
        if (yes && item == 2) QCOMPARE(TableNames(*m_store), (QStringList{"Anna", "Carl"}));
        Close();
        QCOMPARE(Placement(m_file), entries);
        QCOMPARE(Lists(m_file), lists);
    }

    void theBookItselfStaysAndUnsavedChangesComeFirst()
    {
        Open(0);
        QVERIFY(!m_book->CanEditShownList());
        m_book->RenameShownList();
        m_book->DeleteShownList();
        QVERIFY(m_questions.AskedSoFar().empty());
        Close();
        // Unsaved changes in the list: Escape on the question leaves everything as it is.
        Open(3);
        m_store->SetFlag(VF_AB_MODIFIED);
        m_questions.AnswerStay(Ids::IDS_SAVE_AB_BEFORE_FOLDER);
        m_book->DeleteShownList();
        QVERIFY(m_store->HasFlag(VF_AB_MODIFIED));
        QCOMPARE(m_host.SelectedFolderItem(), 3);
        Close();
        QCOMPARE(Lists(m_file), (QStringList{"Family in book", "Kids in Family", "Work in book"}));
    }
};

QTEST_GUILESS_MAIN(TestDistributionListEdits)
#include "TestDistributionListEdits.moc"
