// The entry dialog on real widgets: what it shows on opening, how it corrects the name and the number while the
// user types (telephone list and address-book list differ), and what OK takes.
#include "ui/CEntryDlg.h"
#include "ui/DialogQuestions.h"

#include <QApplication>
#include <QTimer>

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
std::unique_ptr<CEntryDlg> OpenDialog(int listKind, const std::string& name = {}, const std::string& number = {})
{
    auto dialog = std::make_unique<CEntryDlg>();
    dialog->m_strTitle = "Inserting of a new entry in a telephone directory";
    dialog->m_szName = name;
    dialog->m_szNumber = number;
    dialog->m_szIndex = "3";
    dialog->m_nNameLen = 8;
    dialog->m_nNumberLen = 6;
    dialog->m_nListKind = listKind;
    dialog->show();
    return dialog;
}

QLineEdit* Edit(CEntryDlg* dialog, int id)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("edit%1").arg(id));
}

void PressOk(CEntryDlg* dialog)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button1")), Qt::LeftButton);
}
}

class TestEntryDialog : public QObject {
    Q_OBJECT
    // Typing rows: the list the dialog is for, the text and caret at the start, what is typed, and the text and
    // caret after it.
    static void AddTypingColumns()
    {
        QTest::addColumn<int>("listKind");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("caretAfter");
    }
    // Types the row's text into the name field (1021) or the number field (1022), the other one holding a name.
    static void CheckTyping(int field)
    {
        QFETCH(int, listKind);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, caretAfter);
        auto dialog = field == 1021 ? OpenDialog(listKind, start.toStdString())
                                    : OpenDialog(listKind, "Name", start.toStdString());
        QLineEdit* edit = Edit(dialog.get(), field);
        edit->setCursorPosition(caret);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->cursorPosition(), caretAfter);
    }

private slots:
    void opensWithTitleTextsAndNamedControls()
    {
        auto dialog = OpenDialog(2, std::string("Jörg"), "0301234");
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Inserting of a new entry in a telephone directory"));
        QCOMPARE(Edit(dialog.get(), 1021)->text(), QStringLiteral("J\u00F6rg"));
        QCOMPARE(Edit(dialog.get(), 1022)->text(), QStringLiteral("0301234"));
        QCOMPARE(Edit(dialog.get(), 1023)->text(), QStringLiteral("3"));
        QCOMPARE(Edit(dialog.get(), 1024)->text(), QString());
        QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("button1"))->isDefault());
        QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("button2"))->text(), QStringLiteral("Cancel"));
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w)) QVERIFY(!w->accessibleName().isEmpty());
        }
    }

    void longTextsAreShownCutAndCannotGrow()
    {
        auto dialog = OpenDialog(2, std::string(200, 'n'));
        QLineEdit* name = Edit(dialog.get(), 1021);
        QCOMPARE(name->text().size(), CEntryDlg::kMaxText);
        name->end(false);
        QTest::keyClicks(name, QStringLiteral("xyz"));
        QCOMPARE(name->text().size(), CEntryDlg::kMaxText);
    }

    void numberTyping_data()
    {
        AddTypingColumns();
        QTest::newRow("letter in the middle, telephone") << 1 << "1234" << 2 << "a" << "1234" << 2;
        QTest::newRow("letter at the end, address book") << 2 << "12" << 2 << "x" << "12" << 2;
        QTest::newRow("space, telephone") << 1 << "12" << 2 << " " << "12" << 2;
        QTest::newRow("space, address book") << 2 << "12" << 2 << " " << "12 " << 3;
        QTest::newRow("parenthesis, address book") << 2 << "030" << 0 << "(" << "030" << 0;
        QTest::newRow("dash stays visible") << 1 << "12" << 2 << "-" << "12-" << 3;
        QTest::newRow("too long, telephone") << 1 << "123456" << 6 << "7" << "123456" << 6;
        QTest::newRow("plus gives one more") << 1 << "+12345" << 6 << "6" << "+123456" << 7;
        QTest::newRow("letter into a full number keeps its digits") << 1 << "123456" << 3 << "a" << "123456" << 3;
        QTest::newRow("no limit in the address book") << 2 << "123456" << 6 << "78" << "12345678" << 8;
    }
    void numberTyping()
    {
        CheckTyping(1022);
    }

    void okStoresTheNumberWithoutSeparators_data()
    {
        QTest::addColumn<int>("listKind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("telephone") << 1 << "12-3/4" << "1234";
        QTest::newRow("address book keeps spaces") << 2 << "030 12-34" << "030 1234";
    }
    void okStoresTheNumberWithoutSeparators()
    {
        QFETCH(int, listKind);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto dialog = OpenDialog(listKind, "Name");
        dialog->m_nNumberLen = 20;
        QTest::keyClicks(Edit(dialog.get(), 1022), typed);
        QTest::keyClicks(Edit(dialog.get(), 1024), QStringLiteral("!"));
        PressOk(dialog.get());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdString(dialog->m_szNumber), stored);
        QCOMPARE(dialog->m_szName, std::string("Name"));
        QCOMPARE(dialog->m_szIndex, std::string("3"));
        QCOMPARE(dialog->m_szStatus, std::string("!"));
    }

    void nameTyping_data()
    {
        AddTypingColumns();
        QTest::newRow("cut, telephone") << 1 << "" << 0 << "Alexandra Meier" << "Alexandr" << 8;
        QTest::newRow("bracket vanishes, telephone") << 1 << "Abc" << 1 << "[" << "Abc" << 1;
        QTest::newRow("micro sign vanishes, telephone") << 1 << "Ab" << 2 << QString(QChar(0xB5)) << "Ab" << 2;
        QTest::newRow("no cut, address book") << 2 << "" << 0 << "Alexandra Meier" << "Alexandra Meier" << 15;
        QTest::newRow("bracket kept, address book") << 2 << "Abc" << 1 << "[" << "A[bc" << 2;
    }
    void nameTyping()
    {
        CheckTyping(1021);
    }

    void pastedForbiddenCharactersKeepTheSelectionInPlace()
    {
        auto dialog = OpenDialog(1, "Abcdef");
        QLineEdit* name = Edit(dialog.get(), 1021);
        // A program-set text is checked like a typed one: the brackets go, the caret moves left by the two
        // that stood before it.
        name->setText(QStringLiteral("[A]bcd"));
        QCOMPARE(name->text(), QStringLiteral("Abcd"));
        name->setCursorPosition(2);
        name->insert(QStringLiteral("{x}"));
        QCOMPARE(name->text(), QStringLiteral("Abxcd"));
        QCOMPARE(name->cursorPosition(), 3);
    }

    void cancelKeepsTheOpeningTexts()
    {
        auto dialog = OpenDialog(1, "Old", "123");
        QTest::keyClicks(Edit(dialog.get(), 1021), QStringLiteral("er"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button2")), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->m_szName, std::string("Old"));
    }

    void realSeamCopiesInAndBackOnOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void realSeamCopiesInAndBackOnOk()
    {
        QFETCH(bool, ok);
        DialogQuestions questions(nullptr);
        EntryDialogData data;
        data.m_strTitle = "Editing of an existing entry in the personal address book";
        data.m_szName = std::string(300, 'a');
        data.m_szNumber = "030 1";
        data.m_szIndex = "5";
        data.m_szStatus = " ";
        data.m_nListKind = 2;
        QString title;
        int shownNameLength = -1;
        // Answers the dialog once its modal loop runs.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CEntryDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            title = dialog->windowTitle();
            shownNameLength = static_cast<int>(Edit(dialog, 1021)->text().size());
            Edit(dialog, 1021)->setText(QStringLiteral("Bea"));
            QTest::keyClicks(Edit(dialog, 1022), QStringLiteral("-2"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? QStringLiteral("button1") : QStringLiteral("button2")),
                              Qt::LeftButton);
        });
        QCOMPARE(questions.RunEntryDialog(data), ok);
        QCOMPARE(title, QStringLiteral("Editing of an existing entry in the personal address book"));
        QCOMPARE(shownNameLength, CEntryDlg::kMaxText);
        QCOMPARE(data.m_szName, ok ? std::string("Bea") : std::string(300, 'a'));
        QCOMPARE(data.m_szNumber, ok ? std::string("030 12") : std::string("030 1"));
        QCOMPARE(data.m_szIndex, std::string("5"));
    }
};

QTEST_MAIN(TestEntryDialog)
#include "TestEntryDialog.moc"
