// The two lists and the preview row on real widgets: clicks make a list active and fill the preview with
// corrected copies, the transfer buttons carry them across, and delete, copy, cut and paste work on the selection.
#include "FormFixture.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewCombo.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {
void Click(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

QStringList Names(QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

int RowNamed(QTreeWidget* list, const QString& name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name) return i;
    return -1;
}

// A form with the own-number directory read (entries Anna 1, Bert 2, Carl 4) and an address book of the given names.
void StartWith(FormFixture& f, const std::vector<std::string>& abNames)
{
    EmulatorState state = EmulatorState::blank();
    state.storage("ON")->capacity = 10;
    state.storage("ON")->entries = {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {4, {"Carl", "444"}}};
    f.SetPhoneState(state);
    {
        PabSeeder pab(f.PabPath().toStdString());
        int index = 1;
        for (const std::string& name : abNames)
            pab.AddUser(name, "0" + std::to_string(index), "Standard-Status - Index: " + std::to_string(index) + " "), ++index;
    }
    f.Start();
    QVERIFY(f.WaitUntilIdle());
}
}

class TestListPanes : public QObject {
    Q_OBJECT
private slots:
    void clickingRowsFillsThePreviewInListOrder()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0);
        Click(v->m_lcPhone, 1, Qt::ControlModifier);
        Click(v->m_lcPhone, 2, Qt::ControlModifier);
        QCOMPARE(v->m_nActiveList, int(LIST_PHONE));
        QVERIFY(v->m_btnToAddressBook->isEnabled());
        QVERIFY(!v->m_btnToPhone->isEnabled());
        QCOMPARE(v->m_cbPreview->count(), 3);
        QCOMPARE(v->m_cbPreview->itemText(2), QStringLiteral("Carl"));
        QCOMPARE(v->m_edName->text(), QStringLiteral("Anna"));
        emit v->m_cbPreview->activated(2);
        v->m_cbPreview->setCurrentIndex(2);
        emit v->m_cbPreview->activated(2);
        QCOMPARE(v->m_edName->text(), QStringLiteral("Carl"));
        QCOMPARE(v->m_edIndex->text(), QStringLiteral("4"));
        QCOMPARE(v->m_edName->selectedText(), QStringLiteral("Carl"));
    }

    void clickOnEmptySpaceKeepsThePreview()
    {
        FormFixture f;
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(v->m_lcAddressBook, 0);
        QCOMPARE(v->m_cbPreview->count(), 1);
        const QPoint empty(5, v->m_lcPhone->viewport()->height() - 3);
        QTest::mouseClick(v->m_lcPhone->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
        QCOMPARE(v->m_nActiveList, int(LIST_PHONE));
        QVERIFY(v->m_btnToAddressBook->isEnabled());
        QCOMPARE(v->m_cbPreview->itemText(0), QStringLiteral("Zed"));
    }

    void previewNumberRulesFollowTheDestination()
    {
        FormFixture f;
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0); // a telephone entry, bound for the address book: spaces allowed
        v->m_edNumber->setText(QStringLiteral("1-2/3"));
        QCOMPARE(v->m_edNumber->text(), QStringLiteral("1-2/3"));
        QCOMPARE(v->m_previewEntries[0].m_strNumber, std::string("123"));
        v->m_edNumber->setText(QStringLiteral("1 2"));
        QCOMPARE(v->m_previewEntries[0].m_strNumber, std::string("1 2"));
        Click(v->m_lcAddressBook, 0); // an address-book entry, bound for the telephone
        v->m_edNumber->setText(QStringLiteral("1 2"));
        QCOMPARE(v->m_edNumber->text(), QStringLiteral("12"));
        QCOMPARE(v->m_edNumber->selectedText(), QStringLiteral("12"));
        QCOMPARE(v->m_previewEntries[0].m_strNumber, std::string("12"));
        v->m_edNumber->setText(QStringLiteral("0x"));
        QCOMPARE(v->m_edNumber->text(), QStringLiteral("0"));
        v->m_edNumber->setText(QStringLiteral("+") + QString(20, u'1'));
        QCOMPARE(v->m_edNumber->text().size(), 21);
        v->m_edNumber->setText(QString(21, u'2'));
        QCOMPARE(v->m_edNumber->text(), QString(20, u'2'));
    }

    void previewNameRulesForCopiesBoundForTheTelephone()
    {
        FormFixture f;
        StartWith(f, {"A very long name of twenty"});
        CDlgView* v = f.View();
        Click(v->m_lcAddressBook, 0);
        QCOMPARE(v->m_edName->text(), QStringLiteral("A very long name"));
        QCOMPARE(v->m_previewEntries[0].m_strName, std::string("A very long name"));
        v->m_edName->setText(QStringLiteral("Br{ace}"));
        QCOMPARE(v->m_edName->text(), QStringLiteral("Brace"));
        // Copies of telephone entries are not cut.
        Click(v->m_lcPhone, 0);
        v->m_edName->setText(QStringLiteral("A name longer than sixteen {x}"));
        QCOMPARE(v->m_previewEntries[0].m_strName, std::string("A name longer than sixteen {x}"));
    }

    void emptyNameSuspendsTheActiveList()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0);
        v->m_edName->clear();
        QVERIFY(!v->m_btnToAddressBook->isEnabled());
        QCOMPARE(v->m_nActiveList, int(LIST_NONE));
        QCOMPARE(v->m_previewEntries[0].m_strName, std::string("Anna"));
        QTest::keyClicks(v->m_edName, QStringLiteral("B"));
        QCOMPARE(v->m_nActiveList, int(LIST_PHONE));
        QVERIFY(v->m_btnToAddressBook->isEnabled());
        QCOMPARE(v->m_previewEntries[0].m_strName, std::string("B"));
    }

    void statusOtherThanMarkIsRefused()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0);
        v->m_edStatus->setText(QStringLiteral("x"));
        QCOMPARE(f.Questions().Reports(), (std::vector<int>{4 * 100000 + 41016}));
        QVERIFY(v->m_edStatus->text().isEmpty());
        QCOMPARE(v->m_previewEntries[0].m_strStatus, std::string());
        v->m_edStatus->setText(QStringLiteral("!"));
        QCOMPARE(v->m_previewEntries[0].m_strStatus, std::string("!"));
    }

    void sortingByStatusPutsVipFirst()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        v->CurrentPhoneTable()[2].m_strStatus = "!";
        v->FillPhoneList(false);
        emit v->m_lcPhone->header()->sectionClicked(3);
        QCOMPARE(v->m_lcPhone->topLevelItem(0)->text(0), QStringLiteral("Carl"));
        QCOMPARE(v->m_nPhoneSort, 3);
        QCOMPARE(v->m_nActiveList, int(LIST_NONE));
        QCOMPARE(v->m_cbPreview->count(), 0);
    }

    void contextMenuFollowsTheActiveList()
    {
        FormFixture f;
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0);
        QString shown;
        QTimer::singleShot(50, [&] {
            if (v->m_pContextMenu) {
                shown = v->m_pContextMenu->objectName();
                v->m_pContextMenu->close();
            }
        });
        const QRect row = v->m_lcAddressBook->visualItemRect(v->m_lcAddressBook->topLevelItem(0));
        QContextMenuEvent event(QContextMenuEvent::Mouse, row.center(), v->m_lcAddressBook->viewport()->mapToGlobal(row.center()));
        QApplication::sendEvent(v->m_lcAddressBook->viewport(), &event);
        QCOMPARE(shown, QStringLiteral("menu136"));
    }

    void transferToTheAddressBookTrimsAndChecksNames()
    {
        FormFixture f;
        StartWith(f, {"Anna"});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, RowNamed(v->m_lcPhone, "Anna"));
        Click(v->m_lcPhone, RowNamed(v->m_lcPhone, "Bert"), Qt::ControlModifier);
        v->m_cbPreview->setCurrentIndex(1);
        v->m_edName->setText(QStringLiteral("Bert   "));
        f.Questions().AnswerYesNo(41022, false); // Anna exists: skip her, carry on with Bert
        QTest::mouseClick(v->m_btnToAddressBook, Qt::LeftButton);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(Names(v->m_lcAddressBook), (QStringList{"Anna", "Bert"}));
        QVERIFY(v->HasFlag(VF_AB_MODIFIED));
        QCOMPARE(v->m_cbPreview->count(), 0);
        QVERIFY(!v->m_cbPreview->isEnabled());
        QVERIFY(!v->m_btnToAddressBook->isEnabled());
        QVERIFY(v->m_lcPhone->selectedItems().isEmpty());
        QCOMPARE(v->m_dirTables[DIR_OWN].m_nCount, 3); // the source is never changed
    }

    void transferToTheTelephoneGetsAFreeIndex()
    {
        FormFixture f;
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(v->m_lcAddressBook, 0);
        QVERIFY(v->m_btnToPhone->isEnabled());
        // Zed's index 1 is taken on the telephone: the index dialog proposes 3, without "Accept All".
        f.Questions().AnswerIndex([](IndexDialogData& d) { return d.m_bShowAcceptAll == 0 && d.m_nChosenIndex == 3; });
        QTest::mouseClick(v->m_btnToPhone, Qt::LeftButton);
        QCOMPARE(Names(v->m_lcPhone), (QStringList{"Anna", "Bert", "Carl", "Zed"}));
        QCOMPARE(v->m_lcPhone->topLevelItem(3)->text(2), QStringLiteral("3"));
        QVERIFY(v->HasFlag(VF_PHONE_MODIFIED));
    }

    void deleteAsksWithTheRowAndCanBeDeclined()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 1);
        f.Questions().AnswerYesNo(61266, false);
        QTest::keyClick(v->m_lcPhone, Qt::Key_Delete);
        QCOMPARE(f.Questions().AskedSoFar().back().text,
                 std::string("Do you really want to delete this entry ?\n\nBert     222     2      "));
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
        QCOMPARE(v->m_lcPhone->topLevelItemCount(), 3);
        Click(v->m_lcPhone, 0);
        Click(v->m_lcPhone, 1, Qt::ControlModifier);
        f.Questions().AnswerYesNo(61267, true);
        QTest::keyClick(v->m_lcPhone, Qt::Key_Delete);
        QCOMPARE(f.Questions().AskedSoFar().back().text, std::string("Do you really want to delete these 2 entries ?\n\n"));
        QCOMPARE(Names(v->m_lcPhone), QStringList{"Carl"});
        QVERIFY(v->m_lcPhone->topLevelItem(0)->isSelected()); // the row now at the first position is selected
        QCOMPARE(v->CurrentPhoneTable()[1].m_nState, int(ENTRY_REMOVED)); // deletion records follow the live entry
        QCOMPARE(v->CurrentPhoneTable()[2].m_nState, int(ENTRY_REMOVED));
        // Delete in a preview edit edits its text.
        v->m_edNumber->setText(QStringLiteral("444"));
        v->m_edNumber->setFocus();
        v->m_edNumber->setCursorPosition(0);
        QTest::keyClick(v->m_edNumber, Qt::Key_Delete);
        QCOMPARE(v->m_edNumber->text(), QStringLiteral("44"));
        QCOMPARE(v->m_lcPhone->topLevelItemCount(), 1);
    }

    void cutAndPasteOnceIntoTheOtherList()
    {
        FormFixture f;
        StartWith(f, {"Anna"});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, RowNamed(v->m_lcPhone, "Carl"));
        QVERIFY(f.Frame()->ExecuteCommand(57635)); // Cut: no question
        QCOMPARE(Names(v->m_lcPhone), (QStringList{"Anna", "Bert"}));
        QVERIFY(f.Frame()->IsCommandEnabled(57637));
        Click(v->m_lcAddressBook, 0);
        QVERIFY(f.Frame()->ExecuteCommand(57637)); // Paste into the address book
        QCOMPARE(Names(v->m_lcAddressBook), (QStringList{"Anna", "Carl"}));
        QVERIFY(!f.Frame()->IsCommandEnabled(57637)); // the copies paste once
        QVERIFY(!f.Frame()->ExecuteCommand(57637));
        QCOMPARE(v->m_abTable.m_nCount, 2);
    }

    void selectAllCopiesEveryRowIntoThePreview()
    {
        FormFixture f;
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(v->m_lcPhone, 0);
        QVERIFY(f.Frame()->ExecuteCommand(57642));
        QCOMPARE(v->m_lcPhone->selectedItems().size(), 3);
        QCOMPARE(v->m_cbPreview->count(), 3);
    }
};

QTEST_MAIN(TestListPanes)
#include "TestListPanes.moc"
