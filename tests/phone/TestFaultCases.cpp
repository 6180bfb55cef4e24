// Telephone faults, each shown once on the real form against the phone emulator on a pseudo-terminal: a write
// whose answer never came, the name length of each directory, fields kept as the telephone holds them, a record
// typed on the keypad meanwhile, a restore that must be all or nothing, and the close box during a write.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PhoneLogWrites.h"

#include "app/CMainFrame.h"
#include "link/BackupFolder.h"
#include "res/CommandIds.h"
#include "res/ErrorReport.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"

#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {
constexpr int kWriteFailed = 3 * 100000 + Ids::IDS_ERR_PHONE_WRITE;
const QString kSuccessful = QStringLiteral("Action successful");

EmulatorState Phone(const QMap<int, EmulatorEntry>& sim, int simNameLength = 16, int meNameLength = 16,
                    const QMap<int, EmulatorEntry>& me = {{1, {"Mobile", "1"}}})
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage* storage = state.storage("SM");
    storage->entries = sim;
    storage->capacity = 20;
    storage->nameLength = simNameLength;
    state.storage("ME")->entries = me;
    state.storage("ME")->nameLength = meNameLength;
    return state;
}

// What a storage of the phone holds, one "index name number" line per record.
QStringList Holds(FormFixture& f, const char* storage = "SM")
{
    QStringList lines;
    const auto entries = f.Phone().state().storage(QString::fromLatin1(storage))->entries;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        lines << QStringLiteral("%1 %2 %3").arg(it.key()).arg(it->name, it->number);
    return lines;
}

QStringList ListRows(CDlgView* v)
{
    QStringList rows;
    for (int row = 0; row < PhoneList(v)->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = PhoneList(v)->topLevelItem(row);
        rows << QStringLiteral("%1 %2 %3%4").arg(item->text(2), item->text(0), item->text(1), item->text(3).trimmed());
    }
    rows.sort();
    return rows;
}

void ChooseDirectory(CDlgView* v, int directory)
{
    DirectoryCombo(v)->setCurrentIndex(directory);
    emit DirectoryCombo(v)->activated(directory);
}

// Starts the form and shows the directories one after the other through the combo box.
void StartShowing(FormFixture& f, const EmulatorState& state, std::initializer_list<int> directories = {DIR_SIM})
{
    f.SetPhoneState(state);
    f.Start();
    QVERIFY(f.WaitUntilIdle());
    for (const int directory : directories) {
        ChooseDirectory(f.View(), directory);
        QVERIFY(f.WaitUntilIdle());
    }
}

void Select(CDlgView* v, const QString& name)
{
    PhoneList(v)->clearSelection();
    for (int row = 0; row < PhoneList(v)->topLevelItemCount(); ++row)
        if (PhoneList(v)->topLevelItem(row)->text(0) == name) PhoneList(v)->topLevelItem(row)->setSelected(true);
    v->Store().m_nActiveList = LIST_PHONE;
}

// The entry dialog on the selected entry: an empty text leaves the field as the dialog shows it.
void Edit(FormFixture& f, const QString& entry, const std::string& name, const std::string& number, const std::string& index = {})
{
    Select(f.View(), entry);
    f.Questions().AnswerEntry([=](EntryDialogData& d) {
        if (!name.empty()) d.m_szName = name;
        if (!number.empty()) d.m_szNumber = number;
        if (!index.empty()) d.m_szIndex = index;
        return true;
    });
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));
}

void Add(FormFixture& f, const std::string& name, const std::string& number, int index, EntryDialogData* shown = nullptr)
{
    f.View()->Store().m_nActiveList = LIST_PHONE;
    f.Questions().AnswerEntry([=](EntryDialogData& d) {
        if (shown) *shown = d;
        d.m_szName = name;
        d.m_szNumber = number;
        if (index > 0) d.m_szIndex = std::to_string(index);
        return true;
    });
    QVERIFY(f.Frame()->ExecuteCommand(ID_ADD_ENTRY));
}

void Delete(FormFixture& f, const QString& entry)
{
    Select(f.View(), entry);
    f.Questions().AnswerYesNo(Ids::IDS_DELETE_ONE, true);
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CLEAR));
}

void Save(FormFixture& f)
{
    QTest::mouseClick(SaveToPhoneButton(f.View()), Qt::LeftButton);
    QVERIFY(f.WaitUntilIdle());
}

// The details of the reports made from now on, in order.
std::shared_ptr<QStringList> CollectReportDetails(FormFixture& f)
{
    auto details = std::make_shared<QStringList>();
    f.Questions().OnReport([details](int) { *details << ErrorReport::detail(); });
    return details;
}

// A backup of the SIM directory in the backup folder; its path.
QString StoreSimBackup(const QList<PhoneRecord>& records, int nameLength = 16)
{
    DirectoryBackup backup;
    backup.directoryCode = "SM";
    backup.taken = QDateTime::currentDateTimeUtc();
    backup.nameLength = nameLength;
    backup.numberLength = 20;
    backup.records = records;
    QString path;
    QString error;
    if (!BackupFolder().store(backup, &path, &error)) qWarning() << error;
    return path;
}

// One case of a save whose first write was stored but never answered: the edits before it, the edits after
// the line came back, the writes the next save sends and what the phone then holds.
struct LostAnswerCase {
    const char* name;
    QMap<int, EmulatorEntry> sim;
    std::function<void(FormFixture&)> before;
    std::function<void(FormFixture&)> after;
    QStringList writesAfter;
    QStringList holds; // and the list shows
};

const std::vector<LostAnswerCase>& LostAnswerCases()
{
    static const std::vector<LostAnswerCase> cases = {
        {"added entry deleted again", {{1, {"Anna", "111"}}},
         [](FormFixture& f) { Add(f, "Ghost", "666", 6); },
         [](FormFixture& f) { Delete(f, "Ghost"); },
         {"6"}, {"1 Anna 111"}},
        {"index moved and moved back", {{8, {"Otto", "888"}}},
         [](FormFixture& f) { Edit(f, "Otto", {}, {}, "9"); },
         [](FormFixture& f) { Edit(f, "Otto", {}, {}, "8"); },
         {"9"}, {"8 Otto 888"}},
        {"number changed and changed back", {{1, {"Anna", "111"}}},
         [](FormFixture& f) { Edit(f, "Anna", {}, "222"); },
         [](FormFixture& f) { Edit(f, "Anna", {}, "111"); },
         {"1,\"111\",129,\"Anna\""}, {"1 Anna 111"}},
        {"deleted entry added again", {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}},
         [](FormFixture& f) { Delete(f, "Bert"); },
         [](FormFixture& f) { Add(f, "Bert", "222", 2); },
         {"2,\"222\",129,\"Bert\""}, {"1 Anna 111", "2 Bert 222"}},
        // Nothing changed after the lost answer: the stored record is not sent again, and the list shows the
        // name as the SIM holds it (seven characters outside the GSM alphabet), not as it was typed.
        {"nothing changed since", {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}},
         [](FormFixture& f) {
             Edit(f, "Anna", "Łukasz Żak", {});
             Edit(f, "Bert", {}, "333");
         },
         [](FormFixture&) {},
         {"2,\"333\",129,\"Bert\""}, {"1 Łukasz  111", "2 Bert 333"}},
    };
    return cases;
}

// One field edited in a record the list shows cut: the other goes back exactly as the telephone holds it.
struct KeptFieldCase {
    const char* name;
    int directory;
    QString stored;
    QString number;
    QString shown;
    std::string newName; // empty: left as shown
    std::string newNumber;
    QString holds;
};

const std::vector<KeptFieldCase>& KeptFieldCases()
{
    static const std::vector<KeptFieldCase> cases = {
        {"plus and 20 digits, name changed", DIR_SIM, "Anna", "+12345678901234567890", "1 Anna +1234567890123456789",
         "Anne", {}, "1 Anne +12345678901234567890"},
        {"20-character name, number changed", DIR_MOBILE, "ABCDEFGHIJKLMNOPQRST", "1", "1 ABCDEFGHIJKLMNOP 1", {}, "2",
         "1 ABCDEFGHIJKLMNOPQRST 2"},
        {"Yahoo! Mail, number changed", DIR_SIM, "Yahoo! Mail", "1", "1 Yahoo 1!", {}, "2", "1 Yahoo! Mail 2"},
    };
    return cases;
}
}

class TestFaultCases : public FormTestCase {
    Q_OBJECT
private slots:
    void lostAnswerThenSavedAgain_data()
    {
        QTest::addColumn<int>("row");
        for (size_t row = 0; row < LostAnswerCases().size(); ++row)
            QTest::newRow(LostAnswerCases()[row].name) << static_cast<int>(row);
    }

    void lostAnswerThenSavedAgain()
    {
        QFETCH(int, row);
        const LostAnswerCase& c = LostAnswerCases()[static_cast<size_t>(row)];
        FormFixture& f = NewForm();
        f.PhoneOptions().dropWriteAnswer = 1;
        StartShowing(f, Phone(c.sim));
        c.before(f);
        Save(f);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{kWriteFailed});
        f.PhoneOptions().dropWriteAnswer = 0;
        f.RestartPhone();
        c.after(f);
        const qsizetype writesBefore = WritesIn(f.PhoneLog()).size();
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QCOMPARE(WritesIn(f.PhoneLog()).mid(writesBefore), c.writesAfter);
        QCOMPARE(Holds(f), c.holds);
        QCOMPARE(ListRows(f.View()), c.holds);
        QVERIFY(!f.View()->Store().HasFlag(VF_PHONE_MODIFIED));
    }

    void eachDirectoryKeepsItsOwnNameLength()
    {
        // Only the number edited on the SIM after the shorter names of the mobile directory were shown.
        FormFixture& f = NewForm();
        StartShowing(f, Phone({{1, {"Jörg Bäcker", "111"}}}, 16, 10), {DIR_SIM, DIR_MOBILE, DIR_SIM});
        Edit(f, "Jörg Bäcker", {}, "999");
        Save(f);
        QCOMPARE(Holds(f), QStringList{"1 Jörg Bäcker 999"});
        QCOMPARE(WritesIn(f.PhoneLog()).size(), qsizetype(1));

        // SIM names of 12 beside mobile names of 16: a SIM entry is typed with the SIM's length.
        FormFixture& g = NewForm();
        StartShowing(g, Phone({{1, {"Anna", "1"}}}, 12, 16), {DIR_SIM, DIR_MOBILE, DIR_SIM});
        EntryDialogData shown;
        Add(g, "Abcdefghijkl", "12", 2, &shown);
        QCOMPARE(shown.m_nNameLen, 12);
        Save(g);
        QCOMPARE(Holds(g), (QStringList{"1 Anna 1", "2 Abcdefghijkl 12"}));
        Save(g);
        QCOMPARE(g.Frame()->MessageText(), QStringLiteral("No data for writing - Action aborted."));
        QVERIFY(!g.View()->Store().HasFlag(VF_PHONE_MODIFIED));
        QCOMPARE(WritesIn(g.PhoneLog()).size(), qsizetype(1));
    }

    void fieldsLeftAloneStayWhole_data()
    {
        QTest::addColumn<int>("row");
        for (size_t row = 0; row < KeptFieldCases().size(); ++row)
            QTest::newRow(KeptFieldCases()[row].name) << static_cast<int>(row);
    }

    void fieldsLeftAloneStayWhole()
    {
        QFETCH(int, row);
        const KeptFieldCase& c = KeptFieldCases()[static_cast<size_t>(row)];
        FormFixture& f = NewForm();
        const QMap<int, EmulatorEntry> entries{{1, {c.stored, c.number}}};
        const bool sim = c.directory == DIR_SIM;
        StartShowing(f, sim ? Phone(entries) : Phone({}, 16, 20, entries), {c.directory});
        QCOMPARE(ListRows(f.View()), QStringList{c.shown});
        Edit(f, c.shown.section(u' ', 1, 1), c.newName, c.newNumber);
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QCOMPARE(Holds(f, sim ? "SM" : "ME"), QStringList{c.holds});
    }

    void recordTypedOnTheKeypadStopsTheSave()
    {
        FormFixture& f = NewForm();
        StartShowing(f, Phone({{1, {"Anna", "111"}}}));
        Add(f, "Neu", "222", 2);
        // Typed on the phone after the read, at the index the new entry is bound for.
        f.PhoneOptions().keypadAfter = 0;
        f.PhoneOptions().keypadAdd = {QStringLiteral("SM"), 2, QStringLiteral("Tippe"), QStringLiteral("555")};
        f.RestartPhone();
        const auto details = CollectReportDetails(f);
        Save(f);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{3 * 100000 + Ids::IDS_ERR_PHONE_CHANGED});
        QVERIFY2(details->value(0).contains(QStringLiteral("Index 2 now holds \"Tippe\" 555")), qPrintable(details->value(0)));
        QVERIFY2(details->value(0).contains(QStringLiteral("\"Neu\" moved to index 3")), qPrintable(details->value(0)));
        QVERIFY(WritesIn(f.PhoneLog()).isEmpty());
        QCOMPARE(ListRows(f.View()), (QStringList{"1 Anna 111", "2 Tippe 555", "3 Neu 222"}));
        Save(f);
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QCOMPARE(WritesIn(f.PhoneLog()), QStringList{"3,\"222\",129,\"Neu\""});
        QCOMPARE(Holds(f), (QStringList{"1 Anna 111", "2 Tippe 555", "3 Neu 222"}));
    }

    void restoreIsAllOrNothing()
    {
        FormFixture& f = NewForm();
        StartShowing(f, Phone({{1, {"Anna", "111"}}, {2, {"Bert", "222"}}}));
        const QStringList before = Holds(f);
        // The phone refuses the second record: what the first wrote is put back.
        f.PhoneOptions().failWrite = 2;
        f.RestartPhone();
        const auto details = CollectReportDetails(f);
        QVERIFY(f.View()->Commands().RestoreTelephoneBackup(StoreSimBackup({{1, "Xaver", "333"}, {2, "Yvonne", "444"}})));
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{3 * 100000 + Ids::IDS_ERR_RESTORE_REFUSED});
        QVERIFY2(details->value(0).contains(QStringLiteral("record 2 \"Yvonne\"")), qPrintable(details->value(0)));
        QCOMPARE(Holds(f), before);
        QCOMPARE(ListRows(f.View()), (QStringList{"1 Anna 111", "2 Bert 222"}));

        // A backup of a phone with longer names, one of them too long for the SIM: nothing is written at all.
        f.PhoneOptions().failWrite = 0;
        f.RestartPhone();
        const qsizetype writesBefore = WritesIn(f.PhoneLog()).size();
        QVERIFY(f.View()->Commands().RestoreTelephoneBackup(StoreSimBackup({{1, "A name far too long for a SIM", "1"}}, 40)));
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{3 * 100000 + Ids::IDS_ERR_RESTORE_REFUSED,
                                                                3 * 100000 + Ids::IDS_ERR_RESTORE_UNFIT}));
        QCOMPARE(WritesIn(f.PhoneLog()).size(), writesBefore);
        QCOMPARE(Holds(f), before);
    }

    void closeBoxWaitsForTheWrite()
    {
        FormFixture& f = NewForm();
        f.PhoneOptions().latencyMs = 40;
        StartShowing(f, Phone({{1, {"Anna", "1"}}, {2, {"Bert", "2"}}, {3, {"Cleo", "3"}}, {4, {"Dora", "4"}}}));
        for (const char* name : {"Anna", "Bert", "Cleo", "Dora"}) Edit(f, name, {}, "99");
        QTest::mouseClick(SaveToPhoneButton(f.View()), Qt::LeftButton);
        QVERIFY(f.View()->Store().HasFlag(VF_BUSY));
        QVERIFY(!f.Frame()->close());
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("The telephone is busy - Action aborted."));
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(f.Frame()->MessageText(), kSuccessful);
        QVERIFY(f.Frame()->isVisible());
        QCOMPARE(Holds(f), (QStringList{"1 Anna 99", "2 Bert 99", "3 Cleo 99", "4 Dora 99"}));
        QVERIFY(f.EndedWith().empty());
    }
};

QTEST_MAIN(TestFaultCases)
#include "TestFaultCases.moc"
