#include "DialogControl.h"
#include "ui/CIndexDlg.h"

#include <QtTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestIndexDlg : public QObject {
    Q_OBJECT
    static void Open(CIndexDlg& dialog)
    {
        dialog.open();
        QTRY_VERIFY(dialog.isVisible());
    }

private slots:
    void opensWithTheProposal_data()
    {
        QTest::addColumn<int>("showAcceptAll");
        QTest::addColumn<bool>("acceptAllVisible");
        QTest::newRow("single entry") << 0 << false;
        QTest::newRow("several entries") << 1 << true;
        QTest::newRow("anything but 1 hides it") << 2 << false;
    }
    void opensWithTheProposal()
    {
        QFETCH(int, showAcceptAll);
        QFETCH(bool, acceptAllVisible);
        CIndexDlg dialog(nullptr);
        dialog.m_nChosenIndex = 3;
        dialog.m_bShowAcceptAll = showAcceptAll;
        dialog.m_bAcceptAll = 1; // left over from an earlier use
        Open(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Index-Zuweisung"));
        QCOMPARE(FindControl<QLineEdit>(dialog, "edit1021")->text(), QStringLiteral("3"));
        QCOMPARE(FindControl<QLineEdit>(dialog, "edit1021")->maxLength(), 255);
        QCOMPARE(FindControl<QPushButton>(dialog, "button1028")->isVisible(), acceptAllVisible);
        QVERIFY(FindControl<QPushButton>(dialog, "button2")->isVisible());
        QCOMPARE(FindControl<QPushButton>(dialog, "button1")->text(), QStringLiteral("Accept"));
        QCOMPARE(FindControl<QLabel>(dialog, "staticIndexTaken")->text(), QStringLiteral("The index exists already or is too high."));
        QCOMPARE(FindControl<QLabel>(dialog, "staticUseLowest")->text(),
                 QStringLiteral("Do you want to use the lowest available value ?"));
        QCOMPARE(dialog.m_bAcceptAll, 0);
        for (QWidget* control : dialog.findChildren<QWidget*>()) QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }

    void acceptReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("chosen");
        QTest::newRow("digits") << QStringLiteral("12") << 12;
        QTest::newRow("digits then letters") << QStringLiteral(" 7abc") << 7;
        QTest::newRow("no number") << QStringLiteral("abc") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("negative") << QStringLiteral("-4") << -4;
        QTest::newRow("too large for int") << QStringLiteral("123456789012345") << 2147483647;
    }
    void acceptReadsTheLeadingNumber()
    {
        QFETCH(QString, typed);
        QFETCH(int, chosen);
        CIndexDlg dialog(nullptr);
        dialog.m_nChosenIndex = 3;
        Open(dialog);
        QLineEdit* edit = FindControl<QLineEdit>(dialog, "edit1021");
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed);
        QTest::mouseClick(FindControl<QPushButton>(dialog, "button1"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nChosenIndex, chosen);
        QCOMPARE(dialog.m_bAcceptAll, 0);
    }

    void enterAcceptsTheProposal()
    {
        CIndexDlg dialog(nullptr);
        dialog.m_nChosenIndex = 5;
        Open(dialog);
        QTest::keyClick(FindControl<QLineEdit>(dialog, "edit1021"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nChosenIndex, 5);
    }

    void acceptAllIsRemembered()
    {
        CIndexDlg dialog(nullptr);
        dialog.m_nChosenIndex = 4;
        dialog.m_bShowAcceptAll = 1;
        Open(dialog);
        QLineEdit* edit = FindControl<QLineEdit>(dialog, "edit1021");
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("9"));
        QTest::mouseClick(FindControl<QPushButton>(dialog, "button1028"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_bAcceptAll, 1);
        QCOMPARE(dialog.m_nChosenIndex, 9);
    }

    void cancelKeepsTheProposal()
    {
        CIndexDlg dialog(nullptr);
        dialog.m_nChosenIndex = 4;
        Open(dialog);
        QTest::keyClicks(FindControl<QLineEdit>(dialog, "edit1021"), QStringLiteral("77"));
        QTest::mouseClick(FindControl<QPushButton>(dialog, "button2"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.m_nChosenIndex, 4);
        QCOMPARE(dialog.m_bAcceptAll, 0);
    }
};

QTEST_MAIN(TestIndexDlg)
#include "TestIndexDlg.moc"
