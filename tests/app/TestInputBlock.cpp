// The input block: while the telephone works, left clicks and key presses in modal loops are discarded.
#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"
#include "app/FormFrameAdapter.h"

#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

class TestInputBlock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void blockedLeftClickInMessageBoxIsDiscarded();
    void blockedKeysInMessageBoxAreDiscarded();
    void otherInputPassesWhileBlocked();
    void inputOutsideModalLoopsPassesWhileBlocked();
    void keysInAnOpenMenuAreDiscardedWhileBlocked();
    void formSetsTheBlockThroughTheShell();

private:
    static CVRD2EditApp* App() { return CVRD2EditApp::Instance(); }
    void OpenModalBox();

    std::unique_ptr<QMessageBox> m_box;
    QPushButton* m_yes = nullptr;
};

void TestInputBlock::init()
{
    App()->m_bInputBlocked = 0;
}

void TestInputBlock::cleanup()
{
    App()->m_bInputBlocked = 0;
    m_box.reset();
}

// Shown application-modal without a nested loop, so that the test drives it from outside.
void TestInputBlock::OpenModalBox()
{
    m_box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Telephone Directory"),
                                          QStringLiteral("Save the directory before changing ?"),
                                          QMessageBox::Yes | QMessageBox::No);
    m_box->setWindowModality(Qt::ApplicationModal);
    m_box->setDefaultButton(QMessageBox::Yes);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    m_box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
    QCOMPARE(QApplication::activeModalWidget(), m_box.get());
    m_yes = qobject_cast<QPushButton*>(m_box->button(QMessageBox::Yes));
    QVERIFY(m_yes);
}

void TestInputBlock::blockedLeftClickInMessageBoxIsDiscarded()
{
    OpenModalBox();
    App()->m_bInputBlocked = 1;
    QTest::mouseClick(m_yes, Qt::LeftButton);
    QTest::mouseDClick(m_yes, Qt::LeftButton);
    QVERIFY(m_box->isVisible());
    QVERIFY(!m_box->clickedButton());

    // The same box works again once the telephone is done.
    App()->m_bInputBlocked = 0;
    QTest::mouseClick(m_yes, Qt::LeftButton);
    QCOMPARE(m_box->clickedButton(), m_yes);
    QVERIFY(!m_box->isVisible());
}

void TestInputBlock::blockedKeysInMessageBoxAreDiscarded()
{
    OpenModalBox();
    App()->m_bInputBlocked = 1;
    QTest::keyClick(m_yes, Qt::Key_Space);
    QTest::keyClick(m_box.get(), Qt::Key_Return);
    QTest::keyClick(m_box.get(), Qt::Key_Escape);
    QVERIFY(m_box->isVisible());

    App()->m_bInputBlocked = 0;
    QTest::keyClick(m_box.get(), Qt::Key_Return);
    QCOMPARE(m_box->clickedButton(), m_yes);
}

void TestInputBlock::otherInputPassesWhileBlocked()
{
    OpenModalBox();
    App()->m_bInputBlocked = 1;
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(3, 3), m_yes->mapToGlobal(QPointF(3, 3)), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), m_yes->mapToGlobal(QPointF(3, 3)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), m_yes->mapToGlobal(QPointF(4, 4)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QKeyEvent keyRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
    QVERIFY(!App()->ProcessMessageFilter(m_yes, &right));
    QVERIFY(!App()->ProcessMessageFilter(m_yes, &release));
    QVERIFY(!App()->ProcessMessageFilter(m_yes, &move));
    QVERIFY(!App()->ProcessMessageFilter(m_yes, &keyRelease));

    QMouseEvent left(QEvent::MouseButtonPress, QPointF(3, 3), m_yes->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QVERIFY(App()->ProcessMessageFilter(m_yes, &left));
    // Only the value 1 blocks.
    App()->m_bInputBlocked = 2;
    QVERIFY(!App()->ProcessMessageFilter(m_yes, &left));
}

void TestInputBlock::inputOutsideModalLoopsPassesWhileBlocked()
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Save to Telephone"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
    App()->m_bInputBlocked = 1;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
}

void TestInputBlock::keysInAnOpenMenuAreDiscardedWhileBlocked()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QMenu menu(&window);
    QAction* first = menu.addAction(QStringLiteral("&Cut"));
    QAction* second = menu.addAction(QStringLiteral("Cop&y"));
    menu.popup(window.mapToGlobal(QPoint(5, 5)));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(QApplication::activePopupWidget(), &menu);
    menu.setActiveAction(first);

    App()->m_bInputBlocked = 1;
    QTest::keyClick(&menu, Qt::Key_Down);
    QCOMPARE(menu.activeAction(), first);

    App()->m_bInputBlocked = 0;
    QTest::keyClick(&menu, Qt::Key_Down);
    QCOMPARE(menu.activeAction(), second);
    menu.hide();
}

// The form knows only IFormFrame; the shell's side of it sets and clears the application's block.
void TestInputBlock::formSetsTheBlockThroughTheShell()
{
    CMainFrame frame;
    FormFrameAdapter shell(frame);
    IFormFrame& formFrame = shell;
    OpenModalBox();
    formFrame.SetInputBlocked(true);
    QCOMPARE(App()->m_bInputBlocked, 1);
    QTest::mouseClick(m_yes, Qt::LeftButton);
    QVERIFY(m_box->isVisible());
    QVERIFY(!m_box->clickedButton());

    formFrame.SetInputBlocked(false);
    QCOMPARE(App()->m_bInputBlocked, 0);
    QTest::mouseClick(m_yes, Qt::LeftButton);
    QCOMPARE(m_box->clickedButton(), m_yes);
}

int main(int argc, char* argv[])
{
    CVRD2EditApp app(argc, argv);
    TestInputBlock test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestInputBlock.moc"
