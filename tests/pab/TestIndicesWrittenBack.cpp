// A folder whose entries lack a usable index is read, the indices given to them are saved once, and the folder is
// read back once as the book then holds it, with its item selected in the folder combo box. An index the book
// does not keep is not given and saved again: reading and saving cannot call each other without end. Through the
// address-book layer as the form drives it, at start-up and on a folder change, on a real address-book file.
#include "PabSeeder.h"
#include "ScriptedQuestions.h"

#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "model/EntryStore.h"
#include "pab/AddressBook.h"
#include "pab/IAddressBookHost.h"
#include "res/StringTable.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// Stands in for the form and writes down what the address book has it do: "write" for each entry written (its
// status text), "select N" for the folder item chosen, "show" for the list filled from the table.
class RecordingHost : public IAddressBookHost {
public:
    QStringList m_events;
    int m_nFolder = 0;

    int AbListItemCount() const override { return 0; }
    void ClearAbList() override {}
    void EndProgram(int exitCode) override { m_events.append(QStringLiteral("end %1").arg(exitCode)); }
    void FillAbList(bool) override { m_events.append(QStringLiteral("show")); }
    void FillFolderCombo() override {}
    void ClearFolderCombo() override {}
    int SelectedFolderItem() const override { return m_nFolder; }
    void SelectFolderItem(int item) override
    {
        m_nFolder = item;
        m_events.append(QStringLiteral("select %1").arg(item));
    }
    void SetStatusText(const std::string& text) override
    {
        if (text == StringTable::LoadString(Ids::IDS_WRITING_PAB)) m_events.append(QStringLiteral("write"));
    }
};

// The index the file holds in an entry's comment ("... Index: 3 "), 0 when it holds none.
int StoredIndex(const std::optional<std::string>& comment)
{
    if (!comment) return 0;
    const auto at = comment->find("Index: ");
    return at == std::string::npos ? 0 : std::atoi(comment->c_str() + at + 7);
}
}

class TestIndicesWrittenBack : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { MapiFaults::Clear(); }

    void indicesGivenAtReadAreSavedAndReadBackOnce_data()
    {
        QTest::addColumn<bool>("inList");
        QTest::addColumn<bool>("firstWriteLost");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QList<int>>("indices"); // Anna, Bert, Carl as the table shows them afterwards
        // Anna and Carl get indices; the save also stores the UIDs the read gave all three.
        const QStringList atStartUp{"write", "write", "write", "select 0", "show"};
        const QStringList onChange{"select 1", "write", "write", "write", "select 1", "show", "show"};
        QTest::newRow("book, at start-up") << false << false << atStartUp << QList<int>{1, 7, 2};
        QTest::newRow("list, on a folder change") << true << false << onChange << QList<int>{1, 7, 2};
        // The book keeps Anna without her index: the read back shows her so, and nothing is written again.
        QTest::newRow("book, a write lost") << false << true << atStartUp << QList<int>{0, 7, 2};
        QTest::newRow("list, a write lost") << true << true << onChange << QList<int>{0, 7, 2};
    }

    void indicesGivenAtReadAreSavedAndReadBackOnce()
    {
        QFETCH(bool, inList);
        QFETCH(bool, firstWriteLost);
        QFETCH(QStringList, events);
        QFETCH(QList<int>, indices);
        QTemporaryDir dir;
        const std::string file = dir.filePath(QStringLiteral("pab.sqlite")).toStdString();
        PabSeeder::EntryId list;
        {
            PabSeeder pab(file);
            QVERIFY(pab.Ok());
            if (inList) list = pab.AddList("Family");
            pab.AddUser("Anna", "1", std::nullopt, list);                              // no comment: no index
            pab.AddUser("Bert", "2", std::string("VIP-Status - Index: 7 "), list);     // keeps 7
            pab.AddUser("Carl", "3", std::string("Standard-Status - Index: 7 "), list); // 7 is Bert's
        }
        MAPISetAddressBookFile(file);
        auto store = std::make_unique<EntryStore>();
        ScriptedQuestions questions;
        RecordingHost host;
        {
            AddressBook book(*store, questions, host);
            // Anna's write "succeeds" but stores nothing; the write before it gives the book its identity.
            if (firstWriteLost) MapiFaults::Inject(MapiCall::SaveChanges, S_OK, 1);
            QVERIFY(book.OpenAtStartUp());
            if (inList) {
                QCOMPARE(host.m_events, QStringList{}); // the book itself holds no entry to repair
                host.m_nFolder = 1; // chosen in the combo box
                book.ChangeFolder();
            }
            QCOMPARE(host.m_events, events);
            QVERIFY(questions.TakeReports().empty());
            QVERIFY(!store->HasFlag(VF_AB_MODIFIED));
            const DirTable& table = store->m_abTable;
            QCOMPARE(table.m_nCount, 3);
            QList<int> shown;
            for (const char* name : {"Anna", "Bert", "Carl"}) {
                for (int slot = 0; slot < table.m_nCount; ++slot) {
                    if (table[slot].m_strName != name) continue;
                    shown.append(table[slot].m_nIndex);
                    QCOMPARE(table[slot].m_nState, ENTRY_UNCHANGED);
                }
            }
            QCOMPARE(shown, indices);
        }
        MAPISetAddressBookFile({});
        // The table shows what the file holds.
        PabSeeder check(file);
        QList<int> stored;
        for (const char* name : {"Anna", "Bert", "Carl"})
            for (const PabSeeder::StoredUser& user : check.Users(list))
                if (user.name == name) stored.append(StoredIndex(user.comment));
        QCOMPARE(stored, indices);
    }
};

QTEST_GUILESS_MAIN(TestIndicesWrittenBack)
#include "TestIndicesWrittenBack.moc"
