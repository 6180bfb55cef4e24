#include "DialogControl.h"
#include "ui/CNameInputDlg.h"
#include "ui/DialogUnits.h"

#include <QtTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestNameInputDlg : public QObject {
    Q_OBJECT
    // QTest's key clicks know only ASCII; a key press carrying the character types anything else.
    static void TypeText(QWidget* widget, const QString& text)
    {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &release);
        }
    }
    static void Open(CNameInputDlg& dialog, const std::string& text)
    {
        dialog.m_strTitle = "Enter another name for saving to the PAB";
        dialog.m_strPrompt = "Enter name:";
        dialog.m_strText = text;
        dialog.open();
        QTRY_VERIFY(dialog.isVisible());
    }

private slots:
    void followsTemplate140()
    {
        CNameInputDlg dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Insert folder on current selection"));
        QCOMPARE(FindControl<QLabel>(dialog, "static1027")->text(), QStringLiteral("Input of folder name:"));
        const DialogUnits du(dialog.font());
        QCOMPARE(dialog.size(), QSize(du.X(252), du.Y(108)));
        QCOMPARE(FindControl<QLabel>(dialog, "static1027")->geometry(), du.Rect(16, 20, 219, 9));
        QCOMPARE(FindControl<QLineEdit>(dialog, "edit1021")->geometry(), du.Rect(9, 43, 149, 12));
        QCOMPARE(FindControl<QPushButton>(dialog, "button1")->geometry(), du.Rect(195, 43, 50, 14));
        QCOMPARE(FindControl<QPushButton>(dialog, "button2")->geometry(), du.Rect(195, 71, 50, 14));
        QCOMPARE(FindControl<QLineEdit>(dialog, "edit1021"), dialog.m_edName);
        QCOMPARE(dialog.m_edName->maxLength(), 255);
    }

    void opensWithTitlePromptAndSelectedText()
    {
        CNameInputDlg dialog(nullptr);
        Open(dialog, "Müller");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Enter another name for saving to the PAB"));
        QCOMPARE(FindControl<QLabel>(dialog, "static1027")->text(), QStringLiteral("Enter name:"));
        QCOMPARE(dialog.m_edName->text(), QStringLiteral("M\u00FCller"));
        QCOMPARE(dialog.m_edName->selectedText(), dialog.m_edName->text());
        QCOMPARE(dialog.focusWidget(), dialog.m_edName);
        for (QWidget* control : dialog.findChildren<QWidget*>()) QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }

    void okReturnsTheNameAsTyped()
    {
        CNameInputDlg dialog(nullptr);
        Open(dialog, "Miller");
        TypeText(dialog.m_edName, QStringLiteral("G\u00F6tz \u20AC \u674E")); // replaces the selected text
        QTest::mouseClick(FindControl<QPushButton>(dialog, "button1"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_szName, std::string("Götz € 李"));
    }

    void okRefusesAnEmptyName()
    {
        CNameInputDlg dialog(nullptr);
        Open(dialog, "Miller");
        QTest::keyClick(dialog.m_edName, Qt::Key_Delete);
        QPushButton* ok = FindControl<QPushButton>(dialog, "button1");
        ok->setFocus();
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.m_edName);
        QVERIFY(dialog.m_szName.empty());
        QTest::keyClicks(dialog.m_edName, QStringLiteral("Jones"));
        QTest::keyClick(dialog.m_edName, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_szName, std::string("Jones"));
    }

    void cancelDoesNotReadTheText()
    {
        CNameInputDlg dialog(nullptr);
        dialog.m_szName = "before";
        Open(dialog, "Miller");
        QTest::keyClicks(dialog.m_edName, QStringLiteral("Other"));
        QTest::mouseClick(FindControl<QPushButton>(dialog, "button2"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.m_szName, std::string("before"));
    }

    void charactersOfEveryScriptAreKeptAsTyped()
    {
        CNameInputDlg dialog(nullptr);
        Open(dialog, "");
        TypeText(dialog.m_edName, QStringLiteral("Ab\u0416c"));
        QCOMPARE(dialog.m_edName->text(), QStringLiteral("Ab\u0416c"));
        QCOMPARE(dialog.m_edName->cursorPosition(), 4);
    }
};

QTEST_MAIN(TestNameInputDlg)
#include "TestNameInputDlg.moc"
