// The program's own answers to the question seam: real message boxes and real dialogs, operated as a user would.
#include "ui/DialogQuestions.h"

#include "res/ErrorReport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

namespace {
// Runs the action on the next modal window that opens.
void OnNextModal(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

QAbstractButton* ButtonWithText(QWidget* window, const QString& text)
{
    for (auto* button : window->findChildren<QAbstractButton*>())
        if (button->text().remove(u'&') == text) return button;
    return nullptr;
}

QString AllText(QWidget* window)
{
    QStringList texts;
    for (auto* label : window->findChildren<QLabel*>()) texts << label->text();
    return texts.join(u'\n');
}
}

class TestDialogQuestions : public QObject {
    Q_OBJECT
private slots:
    void yesNoQuestionIsAnsweredByItsButtons()
    {
        QWidget parent;
        DialogQuestions questions(&parent);
        QString caption, text;
        OnNextModal([&](QWidget* box) {
            caption = box->windowTitle();
            text = AllText(box);
            QTest::mouseClick(ButtonWithText(box, QStringLiteral("No")), Qt::LeftButton);
        });
        QVERIFY(!questions.AskYesNo(61262, "The directory was edited.\nSave the directory before changing ?"));
        QCOMPARE(caption, QStringLiteral("Telephone Directory"));
        QVERIFY(text.contains(QStringLiteral("Save the directory before changing ?")));
        OnNextModal([](QWidget* box) { QTest::mouseClick(ButtonWithText(box, QStringLiteral("Yes")), Qt::LeftButton); });
        QVERIFY(questions.AskYesNo(61262, "Save?"));
        // Where leaving the question is allowed, Escape chooses neither button; the question still shows only two.
        int buttons = 0;
        OnNextModal([&](QWidget* box) {
            for (auto* button : box->findChildren<QAbstractButton*>()) buttons += button->isVisible() ? 1 : 0;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(questions.AskYesNoOrStay(61258, "Save?"), IQuestions::Answer::Stay);
        QCOMPARE(buttons, 2);
        OnNextModal([](QWidget* box) { QTest::mouseClick(ButtonWithText(box, QStringLiteral("No")), Qt::LeftButton); });
        QCOMPARE(questions.AskYesNoOrStay(61258, "Save?"), IQuestions::Answer::No);
    }

    void errorReportShowsMessageAndRemedy()
    {
        QWidget parent;
        DialogQuestions questions(&parent);
        QString caption, text;
        OnNextModal([&](QWidget* box) {
            caption = box->windowTitle();
            text = AllText(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        questions.ReportError(5, 41019);
        QVERIFY(caption.contains(QStringLiteral("read error"))); // the caption names the error class
        QVERIFY(text.contains(QStringLiteral("An error occurred while reading telephone data: No data.")));
        QVERIFY(text.contains(QStringLiteral("Check connection to telephone.")));
        // A message without a remedy shows the message alone.
        OnNextModal([&](QWidget* box) {
            text = AllText(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        questions.ReportError(2, 41014);
        QVERIFY(text.contains(QStringLiteral("The entry already exists.")));
        QVERIFY(text.contains(QStringLiteral("System error - try restart")));
        // The reasons of a refused write stand in its message once, not again as its remedy.
        OnNextModal([&](QWidget* box) {
            text = AllText(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        questions.ReportError(3, 41017);
        QCOMPARE(text.count(QStringLiteral("1) The name already exists")), 1);
        QVERIFY(text.contains(QStringLiteral("3) non GSM characters used.")));
    }

    void errorReportShowsTheDetailOfTheReportUnderTheRemedy()
    {
        QWidget parent;
        DialogQuestions questions(&parent);
        QString text;
        OnNextModal([&](QWidget* box) {
            text = AllText(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        ErrorReport::setDetail(QStringLiteral("The device /dev/ttyUSB0 does not exist."));
        questions.ReportError(5, 41019);
        ErrorReport::setDetail({});
        QVERIFY(text.contains(QStringLiteral("An error occurred while reading telephone data: No data.")));
        QVERIFY(text.contains(QStringLiteral("Check connection to telephone.\n\nThe device /dev/ttyUSB0 does not exist.")));
    }

    void indexDialogReturnsTheTypedIndex()
    {
        QWidget parent;
        DialogQuestions questions(&parent);
        IndexDialogData data;
        data.m_nChosenIndex = 3;
        data.m_bShowAcceptAll = 1;
        QString shown;
        OnNextModal([&](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edit1021"));
            shown = edit->text();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("17"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button1028")), Qt::LeftButton);
        });
        QVERIFY(questions.RunIndexDialog(data));
        QCOMPARE(shown, QStringLiteral("3"));
        QCOMPARE(data.m_nChosenIndex, 17);
        QCOMPARE(data.m_bAcceptAll, 1);
    }

    void nameDialogReturnsTheNameOrCancels()
    {
        QWidget parent;
        DialogQuestions questions(&parent);
        std::string name = "Miller";
        QString title;
        OnNextModal([&](QWidget* dialog) {
            title = dialog->windowTitle();
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edit1021"));
            QTest::keyClicks(edit, QStringLiteral("Miller B")); // all text is selected on opening
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QVERIFY(questions.RunNameDialog("Enter another name for saving to the PAB", "Enter name:", name));
        QCOMPARE(title, QStringLiteral("Enter another name for saving to the PAB"));
        QCOMPARE(name, std::string("Miller B"));
        OnNextModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QVERIFY(!questions.RunNameDialog("t", "p", name));
        QCOMPARE(name, std::string("Miller B"));
    }

    // The About box is the shell's: the dialogs show the one they were handed, modal to their parent.
    void aboutBoxIsTheOneHandedIn()
    {
        QWidget parent;
        std::vector<QWidget*> shownFor;
        DialogQuestions questions(&parent, [&](QWidget* owner) { shownFor.push_back(owner); });
        questions.RunAboutBox();
        QVERIFY(shownFor == std::vector<QWidget*>{&parent});

        DialogQuestions withoutAboutBox(&parent);
        withoutAboutBox.RunAboutBox(); // shows nothing and returns
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestDialogQuestions)
#include "TestDialogQuestions.moc"
