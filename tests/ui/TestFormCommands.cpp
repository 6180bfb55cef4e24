// The editing commands on the real form: which of them the user can reach in each state of the lists and the
// telephone (the form's update handler, the Edit menu, the toolbar, the context menu and the keys), the retry of
// an incomplete edit,
// the index dialog that asks until the edited index is free, and the preview of an address-book entry while no
// telephone directory has been read yet.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "res/CommandIds.h"
#include "ui/CDlgView.h"
#include "ui/CFormCommands.h"
#include "ui/CFormLists.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {
constexpr int kIncompleteInput = 4 * 100000 + 41023;
constexpr int kTableFull = 4 * 100000 + 41025;
// Long enough that a check made right after starting a read or a write sees the telephone still busy.
constexpr int kSlowPhoneMs = 250;

// The six commands whose enabling follows the active list, as bits of an expected set.
enum CommandBit : unsigned {
    EDIT = 1u << 0,
    ADD = 1u << 1,
    DEL = 1u << 2,
    COPY = 1u << 3,
    CUT = 1u << 4,
    SELECT_ALL = 1u << 5,
    NONE = 0,
    ALL = EDIT | ADD | DEL | COPY | CUT | SELECT_ALL,
};
// A state the table does not check.
constexpr int kUnchecked = -1;

struct Command {
    int id;
    unsigned bit;
    const char* name;
};
const Command kCommands[] = {
    {ID_EDIT_ENTRY, EDIT, "Edit Entry"}, {ID_ADD_ENTRY, ADD, "Add Entry"},  {ID_EDIT_CLEAR, DEL, "Delete"},
    {ID_EDIT_COPY, COPY, "Copy"},        {ID_EDIT_CUT, CUT, "Cut"},         {ID_EDIT_SELECT_ALL, SELECT_ALL, "Select All"},
};

const char* Said(bool enabled)
{
    return enabled ? "enabled" : "disabled";
}

// The item of the frame's Edit menu that carries the command.
QAction* EditMenuItem(CMainFrame* frame, int id)
{
    for (QAction* popup : frame->menuBar()->actions()) {
        if (!popup->menu() || popup->text() != QStringLiteral("&Edit")) continue;
        for (QAction* item : popup->menu()->actions())
            if (!item->isSeparator() && item->data().toInt() == id) return item;
    }
    return nullptr;
}

// The toolbar button that carries the command.
QWidget* ToolbarButton(CMainFrame* frame, int id)
{
    for (QAction* action : frame->ToolBar()->actions())
        if (!action->isSeparator() && action->data().toInt() == id) return frame->ToolBar()->widgetForAction(action);
    return nullptr;
}

// Every place where one of the six commands shows another state than expected: the form's update handler, the
// Edit menu item and the toolbar button. Empty when all agree with the expectation.
QString Mismatches(FormFixture& f, unsigned expected)
{
    QStringList wrong;
    for (const Command& c : kCommands) {
        const bool want = (expected & c.bit) != 0;
        bool enabled = !want;
        if (!f.View()->OnUpdateCommand(c.id, enabled))
            wrong << QStringLiteral("%1: the form has no update handler").arg(c.name);
        else if (enabled != want)
            wrong << QStringLiteral("%1 %2 by the form").arg(c.name, Said(enabled));
        const QAction* item = EditMenuItem(f.Frame(), c.id);
        if (!item)
            wrong << QStringLiteral("%1: no Edit menu item").arg(c.name);
        else if (item->isEnabled() != want)
            wrong << QStringLiteral("%1 %2 in the Edit menu").arg(c.name, Said(item->isEnabled()));
        const QWidget* button = ToolbarButton(f.Frame(), c.id);
        if (!button)
            wrong << QStringLiteral("%1: no toolbar button").arg(c.name);
        else if (button->isEnabled() != want)
            wrong << QStringLiteral("%1 %2 on the toolbar").arg(c.name, Said(button->isEnabled()));
    }
    return wrong.join(QStringLiteral("; "));
}

// Menu and toolbar are brought up to date on idle; the check waits for that when the state holds still, and
// asks the frame at once when the telephone may end its work at any moment.
#define CHECK_COMMANDS(f, expected, stable)                                                                             \
    do {                                                                                                               \
        if (stable) {                                                                                                  \
            QTRY_VERIFY2_WITH_TIMEOUT(Mismatches(f, expected).isEmpty(), qPrintable(Mismatches(f, expected)), 3000);  \
        } else {                                                                                                       \
            (f).Frame()->UpdateCommandUI();                                                                            \
            const QString wrong = Mismatches(f, expected);                                                             \
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));                                                              \
        }                                                                                                              \
    } while (false)

// The context menu the form shows for a right click over a list: its name (empty when none is shown) and which of
// the commands in it are enabled.
struct ContextMenu {
    bool looked = false;
    QString name;
    unsigned enabled = 0;
};

ContextMenu RightClick(FormFixture& f, QTreeWidget* list)
{
    CDlgView* v = f.View();
    auto shown = std::make_shared<ContextMenu>();
    // Runs inside the menu's own event loop once it is open, or right after the click when no menu opened.
    QTimer::singleShot(0, v, [v, shown] {
        if (auto* menu = v->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
            shown->name = menu->objectName();
            for (const QAction* item : menu->actions())
                for (const Command& c : kCommands)
                    if (item->data().toInt() == c.id && item->isEnabled()) shown->enabled |= c.bit;
            menu->close();
        }
        shown->looked = true;
    });
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    if (!QTest::qWaitFor([shown] { return shown->looked; })) return {};
    return *shown;
}

// Where the context menu differs from what the active list and the expected commands call for: menu 136 for the
// telephone list and 138 for the address-book list while that list has rows, none otherwise; Cut is not in it.
QString ContextMenuMismatches(FormFixture& f, unsigned expected)
{
    CDlgView* v = f.View();
    const int active = v->Store().m_nActiveList;
    QString want;
    if (active == LIST_PHONE && PhoneList(v)->topLevelItemCount() > 0) want = QStringLiteral("menu136");
    if (active == LIST_AB && AbList(v)->topLevelItemCount() > 0) want = QStringLiteral("menu138");
    const ContextMenu shown = RightClick(f, AbList(v));
    if (!shown.looked) return QStringLiteral("the right click never returned");
    if (shown.name != want)
        return QStringLiteral("context menu \"%1\" shown instead of \"%2\"").arg(shown.name, want);
    const unsigned inMenu = want.isEmpty() ? 0 : expected & ~unsigned(CUT);
    QStringList wrong;
    for (const Command& c : kCommands)
        if ((shown.enabled & c.bit) != (inMenu & c.bit))
            wrong << QStringLiteral("%1 %2 in the context menu").arg(c.name, Said(shown.enabled & c.bit));
    return wrong.join(QStringLiteral("; "));
}

// The keys that run each command: its accelerators, sent to the form, and the Delete key, which the lists take.
struct CommandKey {
    unsigned bit;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool inLists;
};
const CommandKey kCommandKeys[] = {
    {EDIT, Qt::Key_E, Qt::ControlModifier, false},      {ADD, Qt::Key_I, Qt::ControlModifier, false},
    {DEL, Qt::Key_Delete, Qt::NoModifier, true},        {COPY, Qt::Key_C, Qt::ControlModifier, false},
    {COPY, Qt::Key_Insert, Qt::ControlModifier, false}, {CUT, Qt::Key_X, Qt::ControlModifier, false},
    {CUT, Qt::Key_Delete, Qt::ShiftModifier, false},    {SELECT_ALL, Qt::Key_A, Qt::ControlModifier, false},
};

// What any of the six commands would change.
struct FormState {
    int phoneCount = 0;
    int abCount = 0;
    int phoneSelected = 0;
    int abSelected = 0;
    int previewCopies = 0;
    bool clipboard = false;
    uint32_t modified = 0;
    size_t asked = 0;

    bool operator==(const FormState&) const = default;
};

FormState StateOf(FormFixture& f)
{
    CDlgView* v = f.View();
    FormState s;
    s.phoneCount = v->Store().CurrentPhoneTable().m_nCount;
    s.abCount = v->Store().m_abTable.m_nCount;
    s.phoneSelected = int(PhoneList(v)->selectedItems().size());
    s.abSelected = int(AbList(v)->selectedItems().size());
    s.previewCopies = PreviewCombo(v)->count();
    s.clipboard = v->Store().HasFlag(VF_CLIPBOARD);
    s.modified = v->Store().m_nFlags & (VF_PHONE_MODIFIED | VF_AB_MODIFIED);
    s.asked = f.Questions().AskedSoFar().size();
    return s;
}

// Presses every key of the commands that are not in the set; none of them may do anything.
QString KeysOfDisabledCommandsActed(FormFixture& f, unsigned enabledCommands)
{
    const FormState before = StateOf(f);
    QStringList acted;
    for (const CommandKey& k : kCommandKeys) {
        if (enabledCommands & k.bit) continue;
        if (k.inLists) {
            QTest::keyClick(PhoneList(f.View()), k.key, k.modifiers);
            QTest::keyClick(AbList(f.View()), k.key, k.modifiers);
        } else {
            QTest::keyClick(f.View(), k.key, k.modifiers);
        }
        if (!(StateOf(f) == before))
            acted << QKeySequence(k.key | k.modifiers).toString();
    }
    return acted.join(QStringLiteral(", "));
}

int RowNamed(const QTreeWidget* list, const QString& name)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->text(0) == name) return row;
    return -1;
}

// A left click on a row of a list, or on its empty space (row -1).
void Click(QTreeWidget* list, int row)
{
    const QPoint at = row >= 0 ? list->visualItemRect(list->topLevelItem(row)).center()
                               : QPoint(5, list->viewport()->height() - 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void ClickNamed(QTreeWidget* list, const QString& name)
{
    const int row = RowNamed(list, name);
    QVERIFY2(row >= 0, qPrintable(name + QStringLiteral(" is not in the list")));
    Click(list, row);
}

void ChooseDirectory(CDlgView* v, int directory)
{
    DirectoryCombo(v)->setCurrentIndex(directory);
    emit DirectoryCombo(v)->activated(directory);
}

int SlotNamed(const DirTable& table, const std::string& name)
{
    for (int i = 0; i < table.m_nCount; ++i)
        if (table[i].m_strName == name) return i;
    return -1;
}

// The telephone: own numbers Anna 1, Bert 2, Dora 4, Emil 5 in 10 places (an empty own-number directory when
// asked), a SIM directory and a last-dial directory with one entry each.
EmulatorState Phone(bool ownNumbers = true)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage* own = state.storage(QStringLiteral("ON"));
    own->capacity = 10;
    if (ownNumbers) own->entries = {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {4, {"Dora", "444"}}, {5, {"Emil", "555"}}};
    state.storage(QStringLiteral("SM"))->entries.insert(1, {"Sim", "777"});
    state.storage(QStringLiteral("LD"))->entries.insert(1, {"Last", "0301"});
    return state;
}

// An address book of the given users (name, number), indices counted from 1.
void SeedBook(FormFixture& f, const std::vector<std::pair<std::string, std::string>>& users)
{
    PabSeeder pab(f.PabPath().toStdString());
    QVERIFY(pab.Ok());
    int index = 1;
    for (const auto& [name, number] : users)
        pab.AddUser(name, number, "Standard-Status - Index: " + std::to_string(index++) + " ");
}

const std::vector<std::pair<std::string, std::string>> kBook = {{"Yvonne", "0301 999"}, {"Zed", "+4930123456"}};

std::function<bool(EntryDialogData&)> Type(const std::string& name, const std::string& number, const std::string& index = {})
{
    return [=](EntryDialogData& d) {
        d.m_szName = name;
        d.m_szNumber = number;
        if (!index.empty()) d.m_szIndex = index;
        return true;
    };
}

// The states of the form in which the six commands are checked.
enum Scene {
    NothingActive,
    PhoneWithEntries,
    PhoneReadButEmpty,
    PhoneNeverRead,
    ReadOnlyWithEntries,
    AbWhileReadOnlyShown,
    AbWithEntries,
    AbEmpty,
    AbBeforeAnyRead,
    FirstReadPhoneActive,
    FirstReadAbActive,
    OtherReadPhoneActive,
    WritePhoneActive,
    WriteAbActive,
    PhoneCopyNameEmptied,
    AbCopyNameEmptied,
    PhoneColumnClicked,
    PhoneKeyThenAbKey,
    AddedToPhone,
    AllPhoneRowsDeleted,
    TransferredToAb,
};

// The scenes checked while the telephone reads or writes: their phone answers slowly.
bool Busy(Scene scene)
{
    return scene == FirstReadPhoneActive || scene == FirstReadAbActive || scene == OtherReadPhoneActive ||
           scene == WritePhoneActive || scene == WriteAbActive;
}

// Starts the form and brings it into the scene.
void Arrange(FormFixture& f, Scene scene)
{
    if (scene == PhoneNeverRead || scene == AbBeforeAnyRead)
        f.WithoutPhone();
    else
        f.SetPhoneState(Phone(scene != PhoneReadButEmpty));
    if (Busy(scene)) f.PhoneOptions().latencyMs = kSlowPhoneMs;
    SeedBook(f, scene == AbEmpty ? std::vector<std::pair<std::string, std::string>>{} : kBook);
    f.Start();
    CDlgView* v = f.View();
    if (scene == FirstReadPhoneActive || scene == FirstReadAbActive) {
        QVERIFY2(v->Store().HasFlag(VF_BUSY), "the first read ended before the check");
        QCOMPARE(v->Store().m_nNameLen, 0);
    } else {
        QVERIFY(f.WaitUntilIdle());
    }
    switch (scene) {
    case NothingActive:
        break;
    case PhoneWithEntries:
    case PhoneColumnClicked:
    case PhoneCopyNameEmptied:
        ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        if (scene == PhoneColumnClicked) emit PhoneList(v)->header()->sectionClicked(1);
        if (scene == PhoneCopyNameEmptied) PreviewName(v)->clear();
        break;
    case PhoneReadButEmpty:
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        QVERIFY(v->Store().m_nNameLen > 0);
        Click(PhoneList(v), -1);
        break;
    case PhoneNeverRead:
    case FirstReadPhoneActive:
        Click(PhoneList(v), -1);
        break;
    case ReadOnlyWithEntries:
    case AbWhileReadOnlyShown:
        ChooseDirectory(v, DIR_LAST_DIAL);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(v->Store().CurrentPhoneTable().m_bReadOnly, 1);
        if (scene == ReadOnlyWithEntries)
            ClickNamed(PhoneList(v), QStringLiteral("Last"));
        else
            ClickNamed(AbList(v), QStringLiteral("Zed"));
        break;
    case AbWithEntries:
    case AbBeforeAnyRead:
    case FirstReadAbActive:
    case AbCopyNameEmptied:
        ClickNamed(AbList(v), QStringLiteral("Yvonne"));
        if (scene == AbCopyNameEmptied) PreviewName(v)->clear();
        break;
    case AbEmpty:
        Click(AbList(v), -1);
        break;
    case PhoneKeyThenAbKey:
        QTest::keyClick(PhoneList(v), Qt::Key_Down);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QTest::keyClick(AbList(v), Qt::Key_Down);
        break;
    case AddedToPhone:
        ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        f.Questions().AnswerEntry(Type("Carl", "333"));
        QVERIFY(f.Frame()->ExecuteCommand(ID_ADD_ENTRY));
        QCOMPARE(PhoneList(v)->selectedItems().size(), qsizetype(1));
        QCOMPARE(PhoneList(v)->selectedItems()[0]->text(0), QStringLiteral("Carl"));
        break;
    case AllPhoneRowsDeleted:
        ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
        f.Questions().AnswerYesNo(61267, true);
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CLEAR));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        break;
    case TransferredToAb:
        ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        f.Questions().AnswerIndex(ScriptedQuestions::KeepProposal()); // Zed holds index 2 in the address book
        QTest::mouseClick(ToAddressBookButton(v), Qt::LeftButton);
        QVERIFY(RowNamed(AbList(v), QStringLiteral("Bert")) >= 0);
        break;
    case OtherReadPhoneActive:
        ChooseDirectory(v, DIR_SIM);
        QVERIFY2(v->Store().HasFlag(VF_BUSY), "the SIM read ended before the check");
        // The list stands empty while the SIM directory comes in: nothing of the own numbers to act on.
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        Click(PhoneList(v), -1);
        break;
    case WritePhoneActive:
    case WriteAbActive:
        ClickNamed(PhoneList(v), QStringLiteral("Anna"));
        f.Questions().AnswerEntry(Type("Anna", "112"));
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));
        QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
        QVERIFY2(v->Store().HasFlag(VF_BUSY), "the write ended before the check");
        if (scene == WritePhoneActive)
            ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        else
            ClickNamed(AbList(v), QStringLiteral("Zed"));
        break;
    }
    if (Busy(scene)) QVERIFY2(v->Store().HasFlag(VF_BUSY), "the telephone ended its work before the check");
}

// What changes the scene afterwards: the telephone ends its work, or a letter is typed into the emptied name.
void Continue(FormFixture& f, Scene scene)
{
    if (Busy(scene)) QVERIFY(f.WaitUntilIdle());
    if (scene == PhoneCopyNameEmptied || scene == AbCopyNameEmptied) QTest::keyClicks(PreviewName(f.View()), QStringLiteral("B"));
}

// Answers to the index dialog besides a typed index.
constexpr int kKeepProposal = -100;
constexpr int kCancel = -200;
}

class TestFormCommands : public FormTestCase {
    Q_OBJECT
private slots:
    void commandsFollowTheActiveListAndTheTelephone_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<int>("now");
        QTest::addColumn<int>("then"); // after the telephone ended its work, or a letter was typed into the name
        QTest::addColumn<int>("activeList");

        QTest::newRow("no list active after start-up") << int(NothingActive) << int(NONE) << int(NONE) << int(LIST_NONE);
        QTest::newRow("telephone list with entries") << int(PhoneWithEntries) << int(ALL) << int(ALL) << int(LIST_PHONE);
        QTest::newRow("telephone list of a directory read empty")
            << int(PhoneReadButEmpty) << int(ADD) << int(ADD) << int(LIST_PHONE);
        QTest::newRow("telephone list, no directory ever read") << int(PhoneNeverRead) << int(NONE) << int(NONE) << int(LIST_PHONE);
        QTest::newRow("read-only last-dial list with entries")
            << int(ReadOnlyWithEntries) << int(ALL) << int(ALL) << int(LIST_PHONE);
        QTest::newRow("address-book list while the last-dial list is shown")
            << int(AbWhileReadOnlyShown) << int(ALL) << int(ALL) << int(LIST_AB);
        QTest::newRow("address-book list with entries") << int(AbWithEntries) << int(ALL) << int(ALL) << int(LIST_AB);
        QTest::newRow("address-book list without entries") << int(AbEmpty) << int(ADD) << int(ADD) << int(LIST_AB);
        QTest::newRow("address-book list, no directory ever read")
            << int(AbBeforeAnyRead) << int(ALL) << int(ALL) << int(LIST_AB);
        // The first read's end fills the telephone list, which leaves no list active.
        QTest::newRow("first read running, telephone list")
            << int(FirstReadPhoneActive) << int(NONE) << int(NONE) << int(LIST_PHONE);
        QTest::newRow("first read running, address-book list")
            << int(FirstReadAbActive) << int(ALL) << int(NONE) << int(LIST_AB);
        // While the telephone works, nothing may change the table it reads into or writes from; looking at it is fine.
        QTest::newRow("another directory being read, telephone list")
            << int(OtherReadPhoneActive) << int(NONE) << int(NONE) << int(LIST_PHONE);
        // Whether the list is filled again from what the telephone acknowledged is not what this table is about.
        QTest::newRow("directory being written, telephone list")
            << int(WritePhoneActive) << int(COPY | SELECT_ALL) << kUnchecked << int(LIST_PHONE);
        QTest::newRow("directory being written, address-book list")
            << int(WriteAbActive) << int(ALL) << kUnchecked << int(LIST_AB);
        // An emptied preview name leaves no list active once a directory was read; a letter brings the list back.
        QTest::newRow("preview name of a telephone copy emptied")
            << int(PhoneCopyNameEmptied) << int(NONE) << int(ALL) << int(LIST_NONE);
        QTest::newRow("preview name of an address-book copy emptied")
            << int(AbCopyNameEmptied) << int(NONE) << int(ALL) << int(LIST_NONE);
        QTest::newRow("column header clicked") << int(PhoneColumnClicked) << int(NONE) << int(NONE) << int(LIST_NONE);
        QTest::newRow("key pressed in the address-book list") << int(PhoneKeyThenAbKey) << int(ALL) << int(ALL) << int(LIST_AB);
        QTest::newRow("entry added to the telephone list") << int(AddedToPhone) << int(ALL) << int(ALL) << int(LIST_PHONE);
        // Refilled empty, the list has no row to select, and so no list is active.
        QTest::newRow("every telephone row deleted") << int(AllPhoneRowsDeleted) << int(NONE) << int(NONE) << int(LIST_NONE);
        QTest::newRow("entry copied to the address book") << int(TransferredToAb) << int(NONE) << int(NONE) << int(LIST_NONE);
    }
    void commandsFollowTheActiveListAndTheTelephone()
    {
        QFETCH(int, scene);
        QFETCH(int, now);
        QFETCH(int, then);
        QFETCH(int, activeList);
        FormFixture& f = NewForm();
        Arrange(f, Scene(scene));
        if (QTest::currentTestFailed()) return;
        QCOMPARE(f.View()->Store().m_nActiveList, activeList);
        const bool busy = Busy(Scene(scene));
        CHECK_COMMANDS(f, unsigned(now), !busy);
        if (!busy) {
            const QString menu = ContextMenuMismatches(f, unsigned(now));
            QVERIFY2(menu.isEmpty(), qPrintable(menu));
        }
        // A disabled command does nothing, whatever key starts it.
        const QString acted = KeysOfDisabledCommandsActed(f, unsigned(now));
        QVERIFY2(acted.isEmpty(), qPrintable(QStringLiteral("keys of disabled commands acted: ") + acted));
        if (busy) QVERIFY2(f.View()->Store().HasFlag(VF_BUSY), "the telephone ended its work during the check");
        Continue(f, Scene(scene));
        if (QTest::currentTestFailed() || then == kUnchecked) return;
        CHECK_COMMANDS(f, unsigned(then), true);
        const QString menu = ContextMenuMismatches(f, unsigned(then));
        QVERIFY2(menu.isEmpty(), qPrintable(menu));
    }

    void keysReachTheEnabledCommands()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(Phone());
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        ClickNamed(PhoneList(v), QStringLiteral("Bert"));
        QTest::keyClick(v, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(PhoneList(v)->selectedItems().size(), qsizetype(4));
        QTest::keyClick(v, Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(v->Store().HasFlag(VF_CLIPBOARD));
        f.Questions().AnswerEntry([](EntryDialogData&) { return false; });
        QTest::keyClick(v, Qt::Key_E, Qt::ControlModifier);
        f.Questions().AnswerEntry([](EntryDialogData&) { return false; });
        QTest::keyClick(v, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(f.Questions().AskedOfKind("entry").size(), size_t(2));
        QCOMPARE(f.Questions().AskedOfKind("entry")[0].text, std::string("Editing of an existing entry in a telephone directory"));
        QCOMPARE(f.Questions().AskedOfKind("entry")[1].text, std::string("Inserting of a new entry in a telephone directory"));
        f.Questions().AnswerYesNo(61267, false);
        QTest::keyClick(PhoneList(v), Qt::Key_Delete);
        QCOMPARE(f.Questions().AskedOfKind("yesno").size(), size_t(1));
        QTest::keyClick(v, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
    }

    void incompleteEditIsAskedAgainWithWhatWasTyped_data()
    {
        QTest::addColumn<bool>("phone");
        QTest::addColumn<QString>("entry");
        // Name and number typed in each dialog, "name|number"; each dialog also gets status "!" and index 7; the last
        // one is closed with OK or Cancel.
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("okAtLast");

        QTest::newRow("telephone, name emptied, then given")
            << true << "Bert" << QStringList{"|299", "Berta|299"} << true;
        QTest::newRow("telephone, number emptied, then given")
            << true << "Bert" << QStringList{"Berta|", "Berta|298"} << true;
        QTest::newRow("telephone, both emptied, then one after the other")
            << true << "Bert" << QStringList{"|", "Berta|", "Berta|297"} << true;
        QTest::newRow("telephone, name emptied, then cancelled") << true << "Bert" << QStringList{"|299", "Berta|299"} << false;
        QTest::newRow("address book, name emptied, then given")
            << false << "Yvonne" << QStringList{"|0301 998", "Yvette|0301 998"} << true;
        QTest::newRow("address book, number emptied, then given")
            << false << "Yvonne" << QStringList{"Yvette|", "Yvette|0301 997"} << true;
        QTest::newRow("address book, number emptied, then cancelled")
            << false << "Yvonne" << QStringList{"Yvette|", "Yvette|0301 997"} << false;
    }
    void incompleteEditIsAskedAgainWithWhatWasTyped()
    {
        QFETCH(bool, phone);
        QFETCH(QString, entry);
        QFETCH(QStringList, typed);
        QFETCH(bool, okAtLast);
        FormFixture& f = NewForm();
        f.SetPhoneState(Phone());
        SeedBook(f, kBook);
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        QTreeWidget* list = phone ? PhoneList(v) : AbList(v);
        const DirTable& table = phone ? v->Store().CurrentPhoneTable() : v->Store().m_abTable;
        const int slot = SlotNamed(table, entry.toStdString());
        QVERIFY(slot >= 0);
        const DirEntry before = table[slot];
        ClickNamed(list, entry);

        std::vector<EntryDialogData> shown;
        for (int i = 0; i < typed.size(); ++i) {
            const QStringList parts = typed[i].split(u'|');
            const bool ok = i + 1 < typed.size() || okAtLast;
            f.Questions().AnswerEntry([&shown, parts, ok](EntryDialogData& d) {
                shown.push_back(d);
                d.m_szName = parts[0].toStdString();
                d.m_szNumber = parts[1].toStdString();
                d.m_szStatus = "!";
                d.m_szIndex = "7";
                return ok;
            });
        }
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));

        // One report per incomplete OK, and each dialog after one shows what was typed in it.
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>(size_t(typed.size() - 1), kIncompleteInput));
        QCOMPARE(shown.size(), size_t(typed.size()));
        QCOMPARE(QString::fromStdString(shown[0].m_szName), entry);
        for (size_t i = 1; i < shown.size(); ++i) {
            const QStringList parts = typed[int(i) - 1].split(u'|');
            QCOMPARE(QString::fromStdString(shown[i].m_szName), parts[0]);
            QCOMPARE(QString::fromStdString(shown[i].m_szNumber), parts[1]);
            QCOMPARE(shown[i].m_szStatus, std::string("!"));
            QCOMPARE(shown[i].m_szIndex, std::string("7"));
            QCOMPARE(shown[i].m_strTitle, shown[0].m_strTitle);
            QCOMPARE(shown[i].m_nListKind, phone ? 1 : 2);
        }

        const QStringList last = typed.last().split(u'|');
        const int row = RowNamed(list, okAtLast ? last[0] : entry);
        QVERIFY2(row >= 0, "the entry is not in the list");
        const DirEntry* after = CFormLists::EntryOfItem(list->topLevelItem(row));
        QVERIFY(after);
        if (okAtLast) {
            QCOMPARE(QString::fromStdString(after->m_strNumber), last[1]);
            QCOMPARE(after->m_strStatus, std::string("!"));
            QCOMPARE(after->m_nIndex, 7);
            QCOMPARE(list->topLevelItem(row)->text(2), QStringLiteral("7"));
            QCOMPARE(after->m_nState, int(phone ? ENTRY_NEW : ENTRY_CHANGED));
            QCOMPARE(list->topLevelItem(row)->text(1), last[1]);
            QVERIFY(list->topLevelItem(row)->isSelected());
            QCOMPARE(v->Store().m_nActiveList, int(phone ? LIST_PHONE : LIST_AB));
        } else {
            QCOMPARE(after->m_strNumber, before.m_strNumber);
            QCOMPARE(after->m_strStatus, before.m_strStatus);
            QCOMPARE(after->m_nIndex, before.m_nIndex);
            QCOMPARE(after->m_nState, before.m_nState);
        }
        QCOMPARE(table.m_nCount, phone ? 4 : 2);
        QCOMPARE(v->Store().HasFlag(phone ? VF_PHONE_MODIFIED : VF_AB_MODIFIED), okAtLast);
        QVERIFY(!v->Store().HasFlag(phone ? VF_AB_MODIFIED : VF_PHONE_MODIFIED));
    }

    void editedIndexIsAskedUntilFreeOrTheOldOne_data()
    {
        QTest::addColumn<int>("typed");        // in the entry dialog, for Anna at 1
        QTest::addColumn<QList<int>>("answers"); // to each index dialog in turn
        QTest::addColumn<int>("result");

        QTest::newRow("free at once: no question") << 7 << QList<int>{} << 7;
        QTest::newRow("taken, proposal kept") << 2 << QList<int>{kKeepProposal} << 3;
        QTest::newRow("taken, another taken, then a free one") << 2 << QList<int>{4, 8} << 8;
        QTest::newRow("taken, zero, above the capacity, negative, then free")
            << 5 << QList<int>{0, 11, -6, 6} << 6;
        QTest::newRow("taken, another taken, then the old one") << 2 << QList<int>{4, 1} << 1;
        QTest::newRow("taken, another taken, then cancelled") << 2 << QList<int>{5, kCancel} << 1;
        QTest::newRow("zero typed in the entry dialog, then a free one") << 0 << QList<int>{9} << 9;
    }
    void editedIndexIsAskedUntilFreeOrTheOldOne()
    {
        QFETCH(int, typed);
        QFETCH(QList<int>, answers);
        QFETCH(int, result);
        FormFixture& f = NewForm();
        f.SetPhoneState(Phone());
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        ClickNamed(PhoneList(v), QStringLiteral("Anna"));
        f.Questions().AnswerEntry(Type("Anna", "119", std::to_string(typed)));
        for (int answer : answers) {
            if (answer == kKeepProposal)
                f.Questions().AnswerIndex(ScriptedQuestions::KeepProposal());
            else if (answer == kCancel)
                f.Questions().AnswerIndex(ScriptedQuestions::CancelIndex());
            else
                f.Questions().AnswerIndex(ScriptedQuestions::TypeIndex(answer));
        }
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));

        // Every question proposes the lowest free index (3) and offers no "Accept All".
        const std::vector<IndexDialogData>& asked = f.Questions().IndexDialogsShown();
        QCOMPARE(int(asked.size()), int(answers.size()));
        for (const IndexDialogData& d : asked) {
            QCOMPARE(d.m_nChosenIndex, 3);
            QCOMPARE(d.m_bShowAcceptAll, 0);
        }
        const DirTable& t = v->Store().CurrentPhoneTable();
        QCOMPARE(t.m_nCount, 4);
        const int anna = SlotNamed(t, "Anna");
        QVERIFY(anna >= 0);
        QCOMPARE(t[anna].m_nIndex, result);
        QCOMPARE(t[anna].m_strNumber, std::string("119")); // the other changes stand, whatever the index
        QCOMPARE(t[anna].m_nState, int(ENTRY_NEW));
        QCOMPARE(t[SlotNamed(t, "Bert")].m_nIndex, 2);
        QCOMPARE(t[SlotNamed(t, "Dora")].m_nIndex, 4);
        QCOMPARE(t[SlotNamed(t, "Emil")].m_nIndex, 5);
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        const int row = RowNamed(PhoneList(v), QStringLiteral("Anna"));
        QVERIFY(row >= 0);
        QCOMPARE(PhoneList(v)->topLevelItem(row)->text(2), QString::number(result));
        QVERIFY(PhoneList(v)->topLevelItem(row)->isSelected());
        QCOMPARE(PhoneList(v)->selectedItems().size(), qsizetype(1));
    }

    void addressBookPreviewBeforeAnyDirectoryWasRead_data()
    {
        QTest::addColumn<bool>("withPhone"); // a slow phone whose first read has not ended, or none at all
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("numberShown");

        QTest::newRow("no phone, plain number") << false << "Yvonne" << "";
        QTest::newRow("no phone, number with +") << false << "Zed" << "+";
        QTest::newRow("first read running, plain number") << true << "Yvonne" << "";
        QTest::newRow("first read running, number with +") << true << "Zed" << "+";
    }
    void addressBookPreviewBeforeAnyDirectoryWasRead()
    {
        QFETCH(bool, withPhone);
        QFETCH(QString, entry);
        QFETCH(QString, numberShown);
        FormFixture& f = NewForm();
        if (withPhone) {
            f.SetPhoneState(Phone());
            f.PhoneOptions().latencyMs = kSlowPhoneMs;
        } else {
            f.WithoutPhone();
        }
        SeedBook(f, kBook);
        f.Start();
        CDlgView* v = f.View();
        if (withPhone) QVERIFY2(v->Store().HasFlag(VF_BUSY), "the first read ended before the check");
        else QVERIFY(f.WaitUntilIdle());
        QCOMPARE(v->Store().m_nNameLen, 0);
        QCOMPARE(v->Store().m_nNumberLen, 0);
        const DirTable& book = v->Store().m_abTable;
        const int slot = SlotNamed(book, entry.toStdString());
        QVERIFY(slot >= 0);
        const DirEntry stored = book[slot];

        ClickNamed(AbList(v), entry);
        // The preview shows the copy cut to the unknown limits: no name, no number (a leading "+" stays).
        QCOMPARE(PreviewName(v)->text(), QString());
        QCOMPARE(PreviewNumber(v)->text(), numberShown);
        QVERIFY(!ToPhoneButton(v)->isEnabled());
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QCOMPARE(PreviewCombo(v)->count(), 1);
        // The empty name is never stored: the copy keeps its name, also when the user types into the field.
        QCOMPARE(QString::fromStdString(v->Store().m_previewEntries[0].m_strName), entry);
        QTest::keyClicks(PreviewName(v), QStringLiteral("X"));
        QCOMPARE(PreviewName(v)->text(), QString());
        QCOMPARE(QString::fromStdString(v->Store().m_previewEntries[0].m_strName), entry);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        // The entry itself is untouched, and the address-book list keeps every command.
        QCOMPARE(book[slot].m_strName, stored.m_strName);
        QCOMPARE(book[slot].m_strNumber, stored.m_strNumber);
        QCOMPARE(book[slot].m_nState, stored.m_nState);
        QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
        f.Frame()->UpdateCommandUI();
        const QString wrong = Mismatches(f, ALL);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        EntryDialogData editShown;
        f.Questions().AnswerEntry([&editShown](EntryDialogData& d) {
            editShown = d;
            return false;
        });
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_ENTRY));
        QCOMPARE(editShown.m_szName, stored.m_strName);
        QCOMPARE(editShown.m_szNumber, stored.m_strNumber);

        if (withPhone) {
            // The read's end empties the preview; the copy is then made for the telephone's real limits.
            QVERIFY(f.WaitUntilIdle());
            QCOMPARE(PreviewCombo(v)->count(), 0);
            QVERIFY(v->Store().m_nNameLen > 0);
            ClickNamed(AbList(v), entry);
            QCOMPARE(PreviewName(v)->text(), entry);
            QCOMPARE(PreviewNumber(v)->text(), QString::fromStdString(stored.m_strNumber).remove(u' '));
            QVERIFY(ToPhoneButton(v)->isEnabled());
        } else {
            // The address-book list's context menu still offers the copy to the telephone, but it cannot reach a
            // table whose directory was never read: that table has no places.
            bool enabled = false;
            QVERIFY(v->OnUpdateCommand(ID_COPY_TO_PHONE, enabled));
            QVERIFY(enabled);
            QVERIFY(v->OnCommand(ID_COPY_TO_PHONE));
            QCOMPARE(f.Questions().TakeReports(), std::vector<int>{kTableFull});
            QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
            QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, 0);
            QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
            QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        }
        QCOMPARE(book[slot].m_strName, stored.m_strName);
        QCOMPARE(book[slot].m_strNumber, stored.m_strNumber);
    }
};

QTEST_MAIN(TestFormCommands)
#include "TestFormCommands.moc"
