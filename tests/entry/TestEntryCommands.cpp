// Add New Entry and Edit Entry through the real form, with a phone emulator and an address-book file: the
// proposed index, status normalisation, the retry on incomplete input, taken indices, unique address-book
// names, and what is marked to be written.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "model/EntryTableEditor.h"
#include "res/CommandIds.h"
#include "phone/TelephoneDirectories.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CFormLists.h"

#include <QTreeWidget>
#include <QtTest>

namespace {
constexpr int kIncompleteInput = 4 * 100000 + 41023;

EmulatorState OwnNumbers(const QMap<int, EmulatorEntry>& entries)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage* s = state.storage(QStringLiteral("ON"));
    s->entries = entries;
    s->capacity = 10;
    return state;
}

// Starts the form with the own-number directory holding entries at 1, 2 and 4.
void StartWithPhone(FormFixture& f)
{
    f.SetPhoneState(OwnNumbers({{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {4, {"Dora", "444"}}}));
    f.Start();
    QVERIFY(f.WaitUntilIdle());
}

int SlotNamed(const DirTable& table, const std::string& name)
{
    for (int i = 0; i < table.m_nCount; ++i)
        if (table[i].m_strName == name) return i;
    return -1;
}

// Selects the row of the named entry and makes its list the active one, as a click would.
void Select(CDlgView* v, QTreeWidget* list, const QString& name)
{
    list->clearSelection();
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->text(0) == name) list->topLevelItem(row)->setSelected(true);
    v->Store().m_nActiveList = list == PhoneList(v) ? LIST_PHONE : LIST_AB;
}

std::function<bool(EntryDialogData&)> Type(const std::string& name, const std::string& number,
                                           const std::string& status = {}, const std::string& index = {})
{
    return [=](EntryDialogData& d) {
        d.m_szName = name;
        d.m_szNumber = number;
        d.m_szStatus = status;
        if (!index.empty()) d.m_szIndex = index;
        return true;
    };
}
}

class TestEntryCommands : public FormTestCase {
    Q_OBJECT
private slots:
    void addProposesTheLowestFreeIndexAndInsertsAfterTheSelection()
    {
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        Select(v, PhoneList(v), QStringLiteral("Anna"));
        EntryDialogData shown;
        f.Questions().AnswerEntry([&shown](EntryDialogData& d) {
            shown = d;
            return Type("Carl", "333")(d);
        });
        v->OnCommand(ID_ADD_ENTRY);
        QCOMPARE(shown.m_szIndex, std::string("3"));
        QCOMPARE(shown.m_strTitle, std::string("Inserting of a new entry in a telephone directory"));
        QCOMPARE(shown.m_nListKind, 1);
        QCOMPARE(shown.m_nNameLen, 16);
        const DirTable& t = v->Store().CurrentPhoneTable();
        QCOMPARE(t.m_nCount, 4);
        QCOMPARE(SlotNamed(t, "Carl"), SlotNamed(t, "Anna") + 1);
        QCOMPARE(t[SlotNamed(t, "Carl")].m_nIndex, 3);
        QCOMPARE(t[SlotNamed(t, "Carl")].m_nState, int(ENTRY_NEW));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 4);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(!v->Store().HasFlag(VF_BATCH));
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void statusIsNormalised_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("add, empty") << false << "" << " ";
        QTest::newRow("add, VIP") << false << "!" << "!";
        QTest::newRow("add, blank then !") << false << " !" << " ";
        QTest::newRow("add, other") << false << "x" << " ";
        QTest::newRow("edit, blank then !") << true << " !" << "!";
        QTest::newRow("edit, VIP and more") << true << "!!" << "!";
        QTest::newRow("edit, other") << true << "?" << " ";
    }
    void statusIsNormalised()
    {
        QFETCH(bool, editing);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        Select(v, PhoneList(v), QStringLiteral("Bert"));
        f.Questions().AnswerEntry(Type("Emil", "555", typed.toStdString()));
        v->OnCommand(editing ? ID_EDIT_ENTRY : ID_ADD_ENTRY);
        const DirTable& t = v->Store().CurrentPhoneTable();
        QVERIFY(SlotNamed(t, "Emil") >= 0);
        QCOMPARE(QString::fromStdString(t[SlotNamed(t, "Emil")].m_strStatus), stored);
        QCOMPARE(t.m_nCount, editing ? 3 : 4);
    }

    void incompleteInputAsksAgain_data()
    {
        QTest::addColumn<bool>("completeAtLast");
        QTest::newRow("completed") << true;
        QTest::newRow("cancelled") << false;
    }
    void incompleteInputAsksAgain()
    {
        QFETCH(bool, completeAtLast);
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        Select(v, PhoneList(v), QStringLiteral("Bert"));
        f.Questions().AnswerEntry(Type("Fritz", ""));
        std::string shownAgain;
        f.Questions().AnswerEntry([&](EntryDialogData& d) {
            shownAgain = d.m_szName;
            d.m_szNumber = "666";
            return completeAtLast;
        });
        v->OnCommand(ID_ADD_ENTRY);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{kIncompleteInput});
        QCOMPARE(shownAgain, std::string("Fritz"));
        QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, completeAtLast ? 4 : 3);
        QCOMPARE(v->Store().HasFlag(VF_PHONE_MODIFIED), completeAtLast);
    }

    void editToATakenIndexAsksWithoutAcceptAll_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("result");
        QTest::newRow("lowest free accepted") << true << 3 << 3;
        QTest::newRow("old index typed") << true << 1 << 1;
        QTest::newRow("cancel") << false << 3 << 1;
    }
    void editToATakenIndexAsksWithoutAcceptAll()
    {
        QFETCH(bool, ok);
        QFETCH(int, answered);
        QFETCH(int, result);
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        Select(v, PhoneList(v), QStringLiteral("Anna"));
        f.Questions().AnswerEntry(Type("Anna", "111", " ", "2"));
        IndexDialogData asked;
        f.Questions().AnswerIndex([&](IndexDialogData& d) {
            asked = d;
            d.m_nChosenIndex = answered;
            return ok;
        });
        v->OnCommand(ID_EDIT_ENTRY);
        QCOMPARE(asked.m_bShowAcceptAll, 0);
        QCOMPARE(asked.m_nChosenIndex, 3);
        const DirTable& t = v->Store().CurrentPhoneTable();
        QCOMPARE(t[SlotNamed(t, "Anna")].m_nIndex, result);
        QCOMPARE(t[SlotNamed(t, "Bert")].m_nIndex, 2);
    }

    void okWithoutChangesMarksATelephoneEntryToBeWritten()
    {
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        Select(v, PhoneList(v), QStringLiteral("Dora"));
        EntryDialogData shown;
        f.Questions().AnswerEntry([&shown](EntryDialogData& d) {
            shown = d;
            return true;
        });
        v->OnCommand(ID_EDIT_ENTRY);
        QCOMPARE(shown.m_strTitle, std::string("Editing of an existing entry in a telephone directory"));
        QCOMPARE(shown.m_szName, std::string("Dora"));
        QCOMPARE(shown.m_szNumber, std::string("444"));
        QCOMPARE(shown.m_szIndex, std::string("4"));
        const DirTable& t = v->Store().CurrentPhoneTable();
        const DirEntry& dora = t[SlotNamed(t, "Dora")];
        QCOMPARE(dora.m_nState, int(ENTRY_NEW));
        QCOMPARE(dora.m_nIndex, 4);
        QCOMPARE(dora.m_strNumber, std::string("444"));
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
    }

    void editedIndexOfADeletedEntryDropsItsDeletion()
    {
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        DirTable& t = v->Store().CurrentPhoneTable();
        QVERIFY(v->Phone().RemoveEntry(SlotNamed(t, "Dora")));
        v->Lists().FillPhoneList(false);
        QCOMPARE(t[t.m_nCount].m_nState, int(ENTRY_REMOVED));
        Select(v, PhoneList(v), QStringLiteral("Anna"));
        f.Questions().AnswerEntry(Type("Anna", "111", " ", "4"));
        v->OnCommand(ID_EDIT_ENTRY);
        QCOMPARE(t[SlotNamed(t, "Anna")].m_nIndex, 4);
        // Writing would otherwise delete record 4 after writing Anna there.
        QVERIFY(t[t.m_nCount].m_nState != ENTRY_REMOVED);
        QVERIFY(f.Questions().AskedSoFar().size() == 1);
    }

    void nothingHappensWithoutASelectionOrActiveList()
    {
        FormFixture& f = NewForm();
        StartWithPhone(f);
        CDlgView* v = f.View();
        PhoneList(v)->clearSelection();
        v->Store().m_nActiveList = LIST_PHONE;
        v->Commands().OnEditEntry();
        v->Store().m_nActiveList = LIST_NONE;
        v->Commands().OnAddEntry();
        v->Commands().OnEditEntry();
        QVERIFY(f.Questions().AskedSoFar().empty());
        QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, 3);
    }

    void duplicateAddressBookNameRefusedLeavesTheEntryUnchanged()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "111", std::string("Standard-Status - Index: 1 "));
            pab.AddUser("Bert", "222", std::string("Standard-Status - Index: 2 "));
        }
        f.Start();
        CDlgView* v = f.View();
        Select(v, AbList(v), QStringLiteral("Anna"));
        f.Questions().AnswerEntry(Type("Bert", "999", "!", "7"));
        f.Questions().AnswerYesNo(41022, false);
        v->OnCommand(ID_EDIT_ENTRY);
        const DirTable& t = v->Store().m_abTable;
        const DirEntry& anna = t[SlotNamed(t, "Anna")];
        QCOMPARE(anna.m_strNumber, std::string("111"));
        QCOMPARE(anna.m_strStatus, std::string(" "));
        QCOMPARE(anna.m_nIndex, 1);
        QCOMPARE(anna.m_nState, int(ENTRY_UNCHANGED));
        QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
        QVERIFY(f.Questions().Unanswered().empty());
    }

    void addressBookAddAndEdit()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        const std::string longName(200, 'L');
        {
            PabSeeder pab(f.PabPath().toStdString());
            pab.AddUser("Anna", "111", std::string("Standard-Status - Index: 1 "));
            pab.AddUser(longName, "222", std::string("Standard-Status - Index: 2 "));
        }
        f.Start();
        CDlgView* v = f.View();
        const DirTable& t = v->Store().m_abTable;
        // Adding under a taken name asks for another one.
        v->Store().m_nActiveList = LIST_AB;
        f.Questions().AnswerEntry(Type("Anna", "030 333", "!"));
        f.Questions().AnswerYesNo(41022, true);
        f.Questions().AnswerName(true, "Anna B");
        v->OnCommand(ID_ADD_ENTRY);
        QVERIFY(SlotNamed(t, "Anna B") >= 0);
        QCOMPARE(t[SlotNamed(t, "Anna B")].m_strNumber, std::string("030 333"));
        QCOMPARE(t[SlotNamed(t, "Anna B")].m_nIndex, 3);
        QCOMPARE(t[SlotNamed(t, "Anna B")].m_nState, int(ENTRY_NEW));
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));
        // A name longer than the dialog holds is shown cut, and kept whole when left as shown.
        Select(v, AbList(v), QString::fromStdString(longName));
        f.Questions().AnswerEntry([](EntryDialogData& d) {
            if (d.m_szName.size() != 127) return false;
            d.m_szNumber = "223";
            return true;
        });
        v->OnCommand(ID_EDIT_ENTRY);
        QVERIFY(SlotNamed(t, longName) >= 0);
        QCOMPARE(t[SlotNamed(t, longName)].m_strNumber, std::string("223"));
        QCOMPARE(t[SlotNamed(t, longName)].m_nState, int(ENTRY_CHANGED));
        QVERIFY(f.Questions().Unanswered().empty());
    }
};

QTEST_MAIN(TestEntryCommands)
#include "TestEntryCommands.moc"
