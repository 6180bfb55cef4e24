// Which records a save sends, worked out from a table and what the phone holds: no phone, no window.
#include "phone/WritePlanner.h"

#include "phone/PhonebookRecordCopier.h"

#include "TestEntries.h"

#include <QtTest>

#include <memory>

namespace {
// A table of live entries followed by deletion records (entries with state ENTRY_REMOVED).
std::unique_ptr<DirTable> Table(const std::vector<DirEntry>& live, const std::vector<DirEntry>& removed = {})
{
    auto table = std::make_unique<DirTable>();
    table->m_nCapacity = 250;
    int slot = 0;
    for (const DirEntry& e : live) (*table)[slot++] = e;
    table->m_nCount = slot;
    for (DirEntry e : removed) {
        e.m_nState = ENTRY_REMOVED;
        (*table)[slot++] = e;
    }
    return table;
}

QStringList Describe(const std::vector<PhoneWrite>& writes)
{
    QStringList out;
    for (const PhoneWrite& w : writes)
        out << (w.m_bErase ? QStringLiteral("-%1").arg(w.m_nIndex)
                           : QStringLiteral("%1=%2/%3").arg(w.m_nIndex).arg(QString::fromStdString(w.m_strName),
                                                                            QString::fromLatin1(w.m_strNumber.c_str())));
    return out;
}

const PhoneImage kPhone = {{1, WritePlanner::FromPhone("Anna", "111")},
                           {2, WritePlanner::FromPhone("Bert!", "222")},
                           {3, WritePlanner::FromPhone("Cleo", "333")}};

HeldRecord Unreadable(const std::string& name, const std::string& number)
{
    HeldRecord held = WritePlanner::FromPhone(name, number);
    held.m_bUnreadable = true;
    return held;
}
}

class TestWritePlanner : public QObject {
    Q_OBJECT
private slots:
    void plans_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("unchanged table sends nothing") << 0 << QStringList{};
        QTest::newRow("edited back to the phone's values sends nothing") << 1 << QStringList{};
        QTest::newRow("changed number") << 2 << QStringList{"3=Cleo/999"};
        QTest::newRow("deleted entries in the order of deletion") << 3 << QStringList{"-3", "-1"};
        QTest::newRow("edited then deleted: no deletion record, still erased") << 4 << QStringList{"-1"};
        QTest::newRow("moved: new index written, old one erased") << 5 << QStringList{"7=Anna/111", "-1"};
        QTest::newRow("moved into an index another entry left") << 6 << QStringList{"7=Anna/111", "1=Bert!/222", "-2"};
        QTest::newRow("new entry at a deleted index replaces the erasure") << 7 << QStringList{"3=Dora/444"};
        QTest::newRow("entries before erasures, in slot order") << 8 << QStringList{"9=Neu/9", "2=Bert!/0", "-1"};
        QTest::newRow("unreadable name: a new number is held back") << 9 << QStringList{};
        QTest::newRow("unreadable name: moved, the record stays") << 10 << QStringList{};
        QTest::newRow("unreadable name: deleted, the record goes") << 11 << QStringList{"-1"};
        QTest::newRow("unreadable name typed again") << 12 << QStringList{"1=Anne/5"};
    }

    void plans()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, expected);
        const DirEntry anna = TestEntry("Anna", "111", 1), bert = TestEntry("Bert", "222", 2, "!"),
                       cleo = TestEntry("Cleo", "333", 3);
        // Record 1's name came damaged over the line: it shows what arrived.
        DirEntry damaged = TestEntry("004E0061006", "111", 1);
        damaged.m_bNameUnreadable = true;
        PhoneImage phone = kPhone;
        if (kind >= 9) phone[1] = Unreadable("004E0061006", "111");
        auto edited = [&](const char* name, const char* number, int index) {
            DirEntry e = damaged;
            e.m_strName = name;
            e.m_strNumber = number;
            e.m_nIndex = index;
            e.m_nState = ENTRY_NEW;
            return e;
        };
        std::unique_ptr<DirTable> table;
        switch (kind) {
        case 0: table = Table({anna, bert, cleo}); break;
        case 1: table = Table({TestEntry("Anna", "111", 1, " ", ENTRY_NEW), bert, cleo}); break;
        case 2: table = Table({anna, bert, TestEntry("Cleo", "999", 3, " ", ENTRY_NEW)}); break;
        case 3: table = Table({bert}, {cleo, anna}); break;
        case 4: table = Table({bert, cleo}); break;
        case 5: table = Table({TestEntry("Anna", "111", 7, " ", ENTRY_NEW), bert, cleo}); break;
        case 6:
            table = Table({TestEntry("Anna", "111", 7, " ", ENTRY_NEW), TestEntry("Bert", "222", 1, "!", ENTRY_NEW), cleo});
            break;
        case 7: table = Table({anna, bert, TestEntry("Dora", "444", 3, " ", ENTRY_NEW)}, {cleo}); break;
        case 8:
            table = Table({TestEntry("Neu", "9", 9, " ", ENTRY_NEW), TestEntry("Bert", "0", 2, "!", ENTRY_NEW), cleo}, {anna});
            break;
        case 9: table = Table({edited("004E0061006", "5", 1), bert, cleo}); break;
        case 10: table = Table({edited("004E0061006", "111", 4), bert, cleo}); break;
        case 11: table = Table({bert, cleo}, {damaged}); break;
        case 12: {
            DirEntry typed = edited("Anne", "5", 1);
            typed.m_bNameUnreadable = false;
            table = Table({typed, bert, cleo});
            break;
        }
        }
        QCOMPARE(Describe(WritePlanner({16, 7}, 20).Plan(*table, phone)), expected);
    }

    void heldFormIsWhatAReadShows()
    {
        const WritePlanner planner({16, 7}, 20);
        // A full VIP name gives its last character to the mark.
        HeldRecord held = planner.HeldForm(TestEntry("ABCDEFGHIJKLMNOP", "1", 1, "!"));
        QCOMPARE(held.m_strName, std::string("ABCDEFGHIJKLMNO"));
        QCOMPARE(held.m_strStatus, std::string("!"));
        // Letters keep their case and script; a UCS2 name keeps its own, shorter length.
        held = planner.HeldForm(TestEntry("Öl Ärger", "1", 1));
        QCOMPARE(held.m_strName, std::string("Öl Ärger"));
        held = planner.HeldForm(TestEntry("Иван Петров", "1", 1, "!"));
        QCOMPARE(held.m_strName, std::string("Иван П"));
        QCOMPARE(held.m_strStatus, std::string("!"));
        QCOMPARE(planner.WriteOf(TestEntry("Иван Петров", "1", 1, "!")).m_strName, std::string("Иван П!"));
        // A number read as a blank (an empty field) goes back empty, and reads as a blank again.
        const PhoneWrite write = planner.WriteOf(TestEntry("Anna", " ", 1));
        QCOMPARE(write.m_strNumber, std::string());
        QCOMPARE(write.m_held.m_strNumber, std::string(" "));
    }

    void entryAsReadAgreesEvenWhereWritingWouldChangeIt()
    {
        // Another program stored characters this program never sends: the entry as read is not sent again.
        const PhoneImage phone = {{1, WritePlanner::FromPhone("Jo[1]", "1")}};
        QVERIFY(!WritePlanner({16, 7}, 20).NeedsWrite(TestEntry("Jo[1]", "1", 1), phone));
        QVERIFY(WritePlanner({16, 7}, 20).NeedsWrite(TestEntry("Jo[2]", "1", 1), phone));
        // Typed as the phone will hold it: nothing to send either.
        QVERIFY(!WritePlanner({16, 7}, 20).NeedsWrite(TestEntry("Jo[1]", "1", 1), {{1, WritePlanner::FromPhone("Jo1", "1")}}));
        // Typed as the list shows a record it cuts: the typed texts go, they are not the record.
        QVERIFY(WritePlanner({16, 7}, 32).NeedsWrite(TestEntry("Anna", "+4917012345678901234", 1),
                                                     {{1, WritePlanner::FromPhone("Anna", "+4917012345678901234567")}}));
        QVERIFY(WritePlanner({16, 7}, 20).NeedsWrite(TestEntry("Yahoo", "2", 1, "!"), {{1, WritePlanner::FromPhone("Yahoo! Mail", "2")}}));
    }

    void fieldsTheUserLeftAloneGoBackWhole_data()
    {
        QTest::addColumn<QString>("phoneName");
        QTest::addColumn<QString>("phoneNumber");
        QTest::addColumn<int>("nameLen");
        QTest::addColumn<QString>("typedName"); // empty: left alone; "-": the VIP mark taken off
        QTest::addColumn<QString>("typedNumber");
        QTest::addColumn<QString>("expected");
        const QString yahoo = QStringLiteral("Yahoo! Mail"), long20 = QStringLiteral("Abcdefghij Klmnopqrs");
        const QString plus20 = QStringLiteral("+49170123456789012345");
        QTest::newRow("new number: the name with \"!\" inside stays") << yahoo << "1" << 16 << "" << "2" << "Yahoo! Mail/2";
        QTest::newRow("new name: the number of 20 digits stays") << "Anna" << plus20 << 16 << "Anne" << "" << "Anne/" + plus20;
        QTest::newRow("new number: a 20-character name stays") << long20 << "1" << 20 << "" << "2" << long20 + "/2";
        QTest::newRow("the VIP mark taken off: the name as shown") << yahoo << "1" << 16 << "-" << "" << "Yahoo/1";
        QTest::newRow("a shorter directory: the name as shown") << yahoo << "1" << 10 << "" << "2" << "Yahoo!/2";
    }

    void fieldsTheUserLeftAloneGoBackWhole()
    {
        QFETCH(QString, phoneName);
        QFETCH(QString, phoneNumber);
        QFETCH(int, nameLen);
        QFETCH(QString, typedName);
        QFETCH(QString, typedNumber);
        QFETCH(QString, expected);
        DirEntry entry = PhonebookRecordCopier::EntryOf(1, WritePlanner::FromPhone(phoneName.toStdString(), phoneNumber.toStdString()));
        if (typedName == QStringLiteral("-")) entry.m_strStatus = " ";
        else if (!typedName.isEmpty()) entry.m_strName = typedName.toStdString();
        if (!typedNumber.isEmpty()) entry.m_strNumber = typedNumber.toStdString();
        const PhoneWrite write = WritePlanner({nameLen, (nameLen - 1) / 2}, 20).WriteOf(entry);
        QCOMPARE(QString::fromStdString(write.m_strName + "/" + write.m_strNumber), expected);
        // What the list shows stays cut; what the telephone then holds is kept whole.
        QCOMPARE(write.m_held.m_strPhoneName, write.m_strName);
    }
};

QTEST_MAIN(TestWritePlanner)
#include "TestWritePlanner.moc"
