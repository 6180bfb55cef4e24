// The main frame on real widgets: menus, toolbar, accelerators, status bar, fitting, help and About.
#include "DummyView.h"
#include "app/CAboutDlg.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"
#include "res/StringTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {
const std::set<int> kFormCommands = {ID_FILE_NEW_FOLDER, ID_FILE_OPEN_FOLDER, ID_APP_EXIT,   ID_EDIT_CUT,
                                     ID_EDIT_COPY,       ID_EDIT_PASTE,       ID_EDIT_SELECT_ALL,
                                     ID_EDIT_ENTRY,      ID_ADD_ENTRY,        ID_EDIT_CLEAR,
                                     ID_FILE_SAVE};

struct ExpectedItem {
    int id; // 0 for a separator
    const char* text;
};
}

class TestMainFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuHoldsTheItemsWithTheirIds();
    void toolbarOrderImagesAndTooltips();
    void acceleratorsRunTheirCommands_data();
    void acceleratorsRunTheirCommands();
    void acceleratorsReachTheFormFromItsControls();
    void deleteKeyIsNotAnAccelerator();
    void disabledCommandDoesNothingFromAnySource();
    void frameFitsTheViewAndGrowsFromThere();
    void viewItemsToggleBarsAndKeepTheFrameSize();
    void statusBarPanesAndFlyByPrompts();
    void commandTextOutlivesTheMenuThatStartedIt();
    void helpOpensOneWindowAtTheContents();
    void helpOpensCentredOnTheProgramAndClosesByKeys();
    void aboutCommandShowsTheAboutBox();
    void exitWithoutAFormHandlerClosesTheFrame();
    void formDeletedBeforeTheFrameGetsNoCommands();

private:
    QLabel* MessagePane() const { return m_frame->findChild<QLabel*>(QStringLiteral("pane0")); }
    void ActivateFrame();

    std::unique_ptr<CMainFrame> m_frame;
    DummyView* m_view = nullptr;
};

void TestMainFrame::init()
{
    m_frame = std::make_unique<CMainFrame>();
    m_view = new DummyView;
    m_view->m_handled = kFormCommands;
    m_frame->SetView(m_view, m_view);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
}

void TestMainFrame::cleanup()
{
    m_frame.reset();
}

void TestMainFrame::ActivateFrame()
{
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
}

void TestMainFrame::menuHoldsTheItemsWithTheirIds()
{
    const std::vector<std::pair<QString, std::vector<ExpectedItem>>> expected = {
        {"&File", {{32771, "&New\tStrg+N"}, {32772, "&Open...\tStrg+O"}, {32801, "Rena&me Distribution List..."}, {32802, "&Delete Distribution List..."}, {0, ""}, {32791, "&Import vCard..."}, {32792, "E&xport vCard..."}, {32803, "S&ynchronize Address Book"}, {0, ""}, {32790, "&Connection..."}, {32793, "&Restore telephone backup..."}, {32800, "Pre&ferences..."}, {0, ""}, {57665, "&Exit\tStrg+E"}}},
        {"&Edit",
         {{57635, "&Cut\tCtrl+X"}, {57634, "Cop&y\tCtrl+C"}, {57637, "&Paste\tCtrl+V"}, {0, ""},
          {57642, "Select &all\tCtrl+A"}, {32785, "&Edit Entry...\tCtrl+E"}, {32786, "Add &New Entry...\tCtrl+I"},
          {57633, "Delete selected entries\tDel"}}},
        {"&View", {{59392, "&Toolbar"}, {59393, "&Statusbar"}}},
        {"&?", {{57667, "&Help ..."}, {0, ""}, {57664, "&About..."}}},
    };
    const QList<QAction*> popups = m_frame->menuBar()->actions();
    QCOMPARE(popups.size(), int(expected.size()));
    for (size_t p = 0; p < expected.size(); ++p) {
        QCOMPARE(popups[int(p)]->text(), expected[p].first);
        const QList<QAction*> items = popups[int(p)]->menu()->actions();
        QCOMPARE(items.size(), int(expected[p].second.size()));
        for (size_t i = 0; i < expected[p].second.size(); ++i) {
            const ExpectedItem& want = expected[p].second[i];
            QAction* item = items[int(i)];
            QCOMPARE(item->isSeparator(), want.id == 0);
            if (want.id == 0)
                continue;
            QCOMPARE(item->text(), QString::fromUtf8(want.text));
            QCOMPARE(item->data().toInt(), want.id);
            QCOMPARE(item->objectName(), QStringLiteral("ID_%1").arg(want.id));
            // The texts carry their key labels; no menu item owns a key itself (the accelerator table does).
            QVERIFY(item->shortcut().isEmpty());
        }
    }
}

void TestMainFrame::toolbarOrderImagesAndTooltips()
{
    const std::vector<int> expected = {32771, 32772, 0, 57635, 57634, 57637, 0, 57642, 32785, 32786, 57633, 0, 57664};
    QToolBar* bar = m_frame->ToolBar();
    QCOMPARE(bar->iconSize(), QSize(16, 15));
    const QList<QAction*> actions = bar->actions();
    QCOMPARE(actions.size(), int(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        QAction* action = actions[int(i)];
        QCOMPARE(action->isSeparator(), expected[i] == 0);
        if (expected[i] == 0)
            continue;
        QCOMPARE(action->data().toInt(), expected[i]);
        QVERIFY(!action->icon().isNull());
        QCOMPARE(action->toolTip(), StringTable::Tooltip(expected[i]));
        // Menu item and button are one command: disabling one disables the other.
        QCOMPARE(action, m_frame->CommandAction(expected[i]));
    }
    QCOMPARE(m_frame->CommandAction(ID_EDIT_CUT)->toolTip(), QStringLiteral("Cut"));
    QCOMPARE(m_frame->CommandAction(ID_FILE_NEW_FOLDER)->toolTip(), QStringLiteral("Inserting a new PAB-folder"));
}

void TestMainFrame::acceleratorsRunTheirCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("id");
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << 57642;
    QTest::newRow("Ctrl+B exits") << int(Qt::Key_B) << int(Qt::ControlModifier) << 57665;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << 57634;
    QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << int(Qt::ControlModifier) << 57634;
    QTest::newRow("Ctrl+E edits") << int(Qt::Key_E) << int(Qt::ControlModifier) << 32785;
    QTest::newRow("Ctrl+I") << int(Qt::Key_I) << int(Qt::ControlModifier) << 32786;
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << 32771;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << 32772;
    QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << int(Qt::ControlModifier) << 57603;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << 57637;
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << 57637;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << 57635;
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << int(Qt::ShiftModifier) << 57635;
}

void TestMainFrame::acceleratorsRunTheirCommands()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, id);
    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_view->m_received, std::vector<int>{id});
}

void TestMainFrame::acceleratorsReachTheFormFromItsControls()
{
    auto* list = new QTableWidget(3, 2, m_view);
    list->setGeometry(10, 10, 200, 120);
    auto* edit = new QLineEdit(m_view);
    edit->setGeometry(10, 140, 200, 20);
    list->show();
    edit->show();
    ActivateFrame();
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    for (Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_E})
        QTest::keyClick(list, key, Qt::ControlModifier);
    QCOMPARE(m_view->m_received, std::vector<int>({ID_EDIT_SELECT_ALL, ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_ENTRY}));
    m_view->m_received.clear();
    // A text field keeps its own editing keys; the other accelerators still reach the form.
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    for (Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_E})
        QTest::keyClick(edit, key, Qt::ControlModifier);
    QCOMPARE(m_view->m_received, std::vector<int>{ID_EDIT_ENTRY});
}

void TestMainFrame::deleteKeyIsNotAnAccelerator()
{
    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key_Delete);
    QTest::keyClick(m_frame.get(), Qt::Key_E); // Strg+E on the Exit item is a label only
    QVERIFY(m_view->m_received.empty());
}

void TestMainFrame::disabledCommandDoesNothingFromAnySource()
{
    m_view->m_disabled = {ID_EDIT_ENTRY, ID_APP_EXIT};
    QAction* edit = m_frame->CommandAction(ID_EDIT_ENTRY);
    // The idle update disables menu item and button without anybody asking.
    QTRY_VERIFY(!edit->isEnabled());
    QToolButton* button = qobject_cast<QToolButton*>(m_frame->ToolBar()->widgetForAction(edit));
    QVERIFY(button);
    QVERIFY(!button->isEnabled());

    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(m_frame.get(), Qt::Key_B, Qt::ControlModifier);
    // A stale enabled state (the form changed its mind since the last update) still runs nothing.
    edit->setEnabled(true);
    edit->trigger();
    QVERIFY(!m_frame->ExecuteCommand(ID_EDIT_ENTRY));
    QVERIFY(m_view->m_received.empty());
    QVERIFY(m_frame->isVisible());

    m_view->m_disabled.clear();
    QVERIFY(m_frame->ExecuteCommand(ID_EDIT_ENTRY));
    QCOMPARE(m_view->m_received, std::vector<int>{ID_EDIT_ENTRY});
    // A command nobody handles is disabled.
    QVERIFY(!m_frame->IsCommandEnabled(ID_COPY_TO_AB));
}

void TestMainFrame::frameFitsTheViewAndGrowsFromThere()
{
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Telephone Directory"));
    const Qt::WindowFlags flags = m_frame->windowFlags();
    QVERIFY(flags & Qt::WindowMaximizeButtonHint);
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QCOMPARE(m_frame->size(), m_frame->minimumSize());
    QCOMPARE(m_view->size(), QSize(480, 300));
    QCOMPARE(m_view->width(), m_frame->width());
    const int bars = m_frame->menuBar()->height() + m_frame->ToolBar()->height() + m_frame->statusBar()->height();
    QCOMPARE(m_frame->height(), m_view->height() + bars);

    // The frame grows, and the view with it; it never shrinks below the fit, and a fit keeps the user's size.
    const QSize least = m_frame->size();
    m_frame->resize(least + QSize(100, 60));
    QTRY_COMPARE(m_view->size(), QSize(580, 360));
    m_frame->FitToView();
    QCOMPARE(m_frame->size(), least + QSize(100, 60));
    m_frame->resize(least - QSize(50, 50));
    QCOMPARE(m_frame->size(), least);

    // A form that fixes its own size is taken at that size, also when it changes it later.
    m_view->setFixedSize(620, 340);
    m_frame->FitToView();
    QCOMPARE(m_view->size(), QSize(620, 340));
    QCOMPARE(m_frame->size(), QSize(620, 340 + bars));
}

void TestMainFrame::viewItemsToggleBarsAndKeepTheFrameSize()
{
    QAction* toolbarItem = m_frame->CommandAction(ID_VIEW_TOOLBAR);
    QAction* statusItem = m_frame->CommandAction(ID_VIEW_STATUS_BAR);
    QVERIFY(toolbarItem->isChecked());
    QVERIFY(statusItem->isChecked());
    const QSize fullSize = m_frame->size();

    // The frame keeps its size, and the form its size and place under the bars that stay.
    toolbarItem->trigger();
    QVERIFY(m_frame->ToolBar()->isHidden());
    QVERIFY(!toolbarItem->isChecked());
    QCOMPARE(m_frame->size(), fullSize);
    QCOMPARE(m_view->size(), QSize(480, 300));

    statusItem->trigger();
    QVERIFY(m_frame->statusBar()->isHidden());
    QVERIFY(!statusItem->isChecked());

    toolbarItem->trigger();
    statusItem->trigger();
    QVERIFY(!m_frame->ToolBar()->isHidden());
    QVERIFY(!m_frame->statusBar()->isHidden());
    QVERIFY(toolbarItem->isChecked() && statusItem->isChecked());
    QCOMPARE(m_frame->size(), fullSize);
    QCOMPARE(m_view->size(), QSize(480, 300));
}

void TestMainFrame::statusBarPanesAndFlyByPrompts()
{
    const QString idle = QStringLiteral("Press F1 to get help.");
    QCOMPARE(MessagePane()->text(), idle);
    QStringList indicators;
    for (const char* name : {"ID_59137", "ID_59138", "ID_59139"}) {
        auto* label = m_frame->statusBar()->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY(label);
        QVERIFY(label->x() > MessagePane()->x());
        indicators << label->text();
    }
    QCOMPARE(indicators, QStringList({"UF", "NUM", "RF"}));

    // A menu item highlighted in an open menu shows its prompt; closing the menu brings back the idle text.
    QMenu* edit = m_frame->menuBar()->actions().at(1)->menu();
    edit->popup(m_frame->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    edit->setActiveAction(m_frame->CommandAction(ID_EDIT_COPY));
    QCOMPARE(MessagePane()->text(), QStringLiteral("Copies the selected area and assigns it to the clipboard."));
    edit->hide();
    QCOMPARE(MessagePane()->text(), idle);

    // A toolbar button under the mouse shows its prompt until the mouse leaves it.
    QWidget* button = m_frame->ToolBar()->widgetForAction(m_frame->CommandAction(ID_ADD_ENTRY));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(MessagePane()->text(), QStringLiteral("Adds a new entry at the current listbox selection"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    QCOMPARE(MessagePane()->text(), idle);

    m_frame->SetMessageText(QStringLiteral("Action aborted."));
    QCOMPARE(m_frame->MessageText(), QStringLiteral("Action aborted."));
}

void TestMainFrame::commandTextOutlivesTheMenuThatStartedIt()
{
    m_view->m_onCommand = [this](int) { m_frame->SetMessageText(QStringLiteral("Action aborted.")); };
    QMenu* edit = m_frame->menuBar()->actions().at(1)->menu();
    edit->popup(m_frame->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    QAction* selectAll = m_frame->CommandAction(ID_EDIT_SELECT_ALL);
    const QPoint centre = edit->actionGeometry(selectAll).center();
    QTest::mouseMove(edit, centre);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, centre);
    QTRY_VERIFY(!edit->isVisible());
    QCOMPARE(m_view->m_received, std::vector<int>{ID_EDIT_SELECT_ALL});
    // Whatever the closing menu posted (its last hover, the frame's idle text) is handled before the check.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(MessagePane()->text(), QStringLiteral("Action aborted."));
}

void TestMainFrame::helpOpensOneWindowAtTheContents()
{
    QVERIFY(!m_frame->HelpWindow());
    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key_F1);
    QPointer<CHelpWindow> help = m_frame->HelpWindow();
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    const QString text = help->Browser()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("The two lists")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral("Connecting a telephone")));
    QVERIFY(text.contains(QStringLiteral("ShowCorrection")));

    help->hide();
    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key_F1, Qt::ShiftModifier);
    QTRY_VERIFY(help->isVisible());
    QCOMPARE(m_frame->HelpWindow(), help.data());

    help->hide();
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    QVERIFY(help->isVisible());
    QCOMPARE(m_frame->HelpWindow(), help.data());
    QCOMPARE(m_frame->findChildren<CHelpWindow*>().size(), 1);
    QVERIFY(m_view->m_received.empty());

    m_frame->Leave();
    QVERIFY(!help->isVisible());
}

void TestMainFrame::helpOpensCentredOnTheProgramAndClosesByKeys()
{
    const auto centredOnFrame = [this](const QWidget* help) {
        const QPoint offset = help->frameGeometry().center() - m_frame->frameGeometry().center();
        return offset.manhattanLength() <= 2;
    };
    // Places where the help window, larger than the test's frame, fits on the screen around the frame's centre.
    m_frame->move(200, 150);
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    QPointer<CHelpWindow> help = m_frame->HelpWindow();
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QVERIFY2(centredOnFrame(help), qPrintable(QStringLiteral("help at %1,%2").arg(help->x()).arg(help->y())));
    QVERIFY(QTest::qWaitForWindowActive(help.data()));
    QTest::keyClick(help->Browser(), Qt::Key_Escape);
    QTRY_VERIFY(!help->isVisible());

    // Opened again after the program moved: centred anew. A window still open is left where it is.
    m_frame->move(260, 200);
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    QTRY_VERIFY(help->isVisible());
    QVERIFY(centredOnFrame(help));
    help->move(help->pos() + QPoint(30, 20));
    const QPoint placedByUser = help->pos();
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    QCOMPARE(help->pos(), placedByUser);
    QVERIFY(QTest::qWaitForWindowActive(help.data()));
    QTest::keyClick(help->Browser(), Qt::Key_W, Qt::ControlModifier);
    QTRY_VERIFY(!help->isVisible());
    QCOMPARE(m_frame->HelpWindow(), help.data()); // closed, not destroyed: the next F1 brings it back at once
}

void TestMainFrame::formDeletedBeforeTheFrameGetsNoCommands()
{
    delete m_view;
    m_view = nullptr;
    QVERIFY(!m_frame->IsCommandEnabled(ID_EDIT_ENTRY));
    QVERIFY(!m_frame->ExecuteCommand(ID_EDIT_ENTRY));
    m_frame->UpdateCommandUI();
    QVERIFY(m_frame->IsCommandEnabled(ID_APP_ABOUT));
}

void TestMainFrame::exitWithoutAFormHandlerClosesTheFrame()
{
    m_view->m_handled.erase(ID_APP_EXIT);
    QVERIFY(m_frame->IsCommandEnabled(ID_APP_EXIT));
    ActivateFrame();
    QTest::keyClick(m_frame.get(), Qt::Key_B, Qt::ControlModifier);
    QTRY_VERIFY(!m_frame->isVisible());
}

void TestMainFrame::aboutCommandShowsTheAboutBox()
{
    QString caption;
    QString version;
    bool okIsDefault = false;
    QTimer::singleShot(0, this, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!about)
            return;
        caption = about->windowTitle();
        version = about->findChild<QLabel*>(QStringLiteral("versionText"))->text();
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("ID_1"));
        okIsDefault = ok->isDefault();
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTimer::singleShot(30000, this, [] {
        if (QWidget* stuck = QApplication::activeModalWidget())
            stuck->close();
    });
    QVERIFY(m_frame->ExecuteCommand(ID_APP_ABOUT));
    QCOMPARE(caption, QStringLiteral("About Telephone Directory"));
    QCOMPARE(version, QStringLiteral("Telephone Directory Version 1.1.03"));
    QVERIFY(okIsDefault);
}

int main(int argc, char* argv[])
{
    CVRD2EditApp app(argc, argv);
    TestMainFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMainFrame.moc"
