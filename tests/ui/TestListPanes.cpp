// The two lists and the preview row on real widgets: clicks make a list active and fill the preview with
// corrected copies, the transfer buttons carry them across, and delete, copy, cut and paste work on the selection.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
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

class TestListPanes : public FormTestCase {
    Q_OBJECT
private slots:
    void clickingRowsFillsThePreviewInListOrder()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        Click(PhoneList(v), 1, Qt::ControlModifier);
        Click(PhoneList(v), 2, Qt::ControlModifier);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QVERIFY(ToAddressBookButton(v)->isEnabled());
        QVERIFY(!ToPhoneButton(v)->isEnabled());
        QCOMPARE(PreviewCombo(v)->count(), 3);
        QCOMPARE(PreviewCombo(v)->itemText(2), QStringLiteral("Carl"));
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Anna"));
        emit PreviewCombo(v)->activated(2);
        PreviewCombo(v)->setCurrentIndex(2);
        emit PreviewCombo(v)->activated(2);
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Carl"));
        QCOMPARE(PreviewIndex(v)->text(), QStringLiteral("4"));
        QCOMPARE(PreviewName(v)->selectedText(), QStringLiteral("Carl"));
    }

    void clickOnEmptySpaceKeepsThePreview()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(AbList(v), 0);
        QCOMPARE(PreviewCombo(v)->count(), 1);
        const QPoint empty(5, PhoneList(v)->viewport()->height() - 3);
        QTest::mouseClick(PhoneList(v)->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QVERIFY(ToAddressBookButton(v)->isEnabled());
        QCOMPARE(PreviewCombo(v)->itemText(0), QStringLiteral("Zed"));
    }

    void previewNumberRulesFollowTheDestination()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0); // a telephone entry, bound for the address book: spaces allowed
        PreviewNumber(v)->setText(QStringLiteral("1-2/3"));
        QCOMPARE(PreviewNumber(v)->text(), QStringLiteral("1-2/3"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strNumber, std::string("123"));
        PreviewNumber(v)->setText(QStringLiteral("1 2"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strNumber, std::string("1 2"));
        Click(AbList(v), 0); // an address-book entry, bound for the telephone
        PreviewNumber(v)->setText(QStringLiteral("1 2"));
        QCOMPARE(PreviewNumber(v)->text(), QStringLiteral("12"));
        QCOMPARE(PreviewNumber(v)->selectedText(), QStringLiteral("12"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strNumber, std::string("12"));
        PreviewNumber(v)->setText(QStringLiteral("0x"));
        QCOMPARE(PreviewNumber(v)->text(), QStringLiteral("0"));
        PreviewNumber(v)->setText(QStringLiteral("+") + QString(20, u'1'));
        QCOMPARE(PreviewNumber(v)->text().size(), 21);
        PreviewNumber(v)->setText(QString(21, u'2'));
        QCOMPARE(PreviewNumber(v)->text(), QString(20, u'2'));
    }

    void previewNameRulesForCopiesBoundForTheTelephone()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"A very long name of twenty"});
        CDlgView* v = f.View();
        Click(AbList(v), 0);
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("A very long name"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strName, std::string("A very long name"));
        PreviewName(v)->setText(QStringLiteral("Br{ace}"));
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Brace"));
        // Copies of telephone entries are not cut.
        Click(PhoneList(v), 0);
        PreviewName(v)->setText(QStringLiteral("A name longer than sixteen {x}"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strName, std::string("A name longer than sixteen {x}"));
    }

    void emptyNameSuspendsTheActiveList()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        PreviewName(v)->clear();
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        QCOMPARE(v->Store().m_nActiveList, int(LIST_NONE));
        QCOMPARE(v->Store().m_previewEntries[0].m_strName, std::string("Anna"));
        QTest::keyClicks(PreviewName(v), QStringLiteral("B"));
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QVERIFY(ToAddressBookButton(v)->isEnabled());
        QCOMPARE(v->Store().m_previewEntries[0].m_strName, std::string("B"));
    }

    void statusOtherThanMarkIsRefused()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        PreviewStatus(v)->setText(QStringLiteral("x"));
        QCOMPARE(f.Questions().TakeReports(), (std::vector<int>{4 * 100000 + 41016}));
        QVERIFY(PreviewStatus(v)->text().isEmpty());
        QCOMPARE(v->Store().m_previewEntries[0].m_strStatus, std::string());
        PreviewStatus(v)->setText(QStringLiteral("!"));
        QCOMPARE(v->Store().m_previewEntries[0].m_strStatus, std::string("!"));
    }

    void sortingByStatusPutsVipFirst()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        v->Store().CurrentPhoneTable()[2].m_strStatus = "!";
        v->Lists().FillPhoneList(false);
        emit PhoneList(v)->header()->sectionClicked(3);
        QCOMPARE(PhoneList(v)->topLevelItem(0)->text(0), QStringLiteral("Carl"));
        QCOMPARE(v->Store().m_nPhoneSort, 3);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_NONE));
        QCOMPARE(PreviewCombo(v)->count(), 0);
    }

    void contextMenuFollowsTheActiveList()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        QString shown, firstItem;
        // Runs inside the menu's own event loop, once the menu is open.
        QTimer::singleShot(0, [&] {
            if (auto* menu = v->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
                shown = menu->objectName();
                firstItem = menu->actions().value(0) ? menu->actions().value(0)->text() : QString();
                menu->close();
            }
        });
        const QRect row = AbList(v)->visualItemRect(AbList(v)->topLevelItem(0));
        QContextMenuEvent event(QContextMenuEvent::Mouse, row.center(), AbList(v)->viewport()->mapToGlobal(row.center()));
        QApplication::sendEvent(AbList(v)->viewport(), &event);
        QCOMPARE(shown, QStringLiteral("menu136"));
        QCOMPARE(firstItem, QString::fromUtf8("Copy selected entries to the PAB\u00B4s list"));
    }

    void transferToTheAddressBookTrimsAndChecksNames()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Anna"});
        CDlgView* v = f.View();
        Click(PhoneList(v), RowNamed(PhoneList(v), "Anna"));
        Click(PhoneList(v), RowNamed(PhoneList(v), "Bert"), Qt::ControlModifier);
        PreviewCombo(v)->setCurrentIndex(1);
        PreviewName(v)->setText(QStringLiteral("Bert   "));
        f.Questions().AnswerYesNo(41022, false); // Anna exists: skip her, carry on with Bert
        QTest::mouseClick(ToAddressBookButton(v), Qt::LeftButton);
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(Names(AbList(v)), (QStringList{"Anna", "Bert"}));
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));
        QCOMPARE(PreviewCombo(v)->count(), 0);
        QVERIFY(!PreviewCombo(v)->isEnabled());
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        QVERIFY(PhoneList(v)->selectedItems().isEmpty());
        QCOMPARE(v->Store().m_dirTables[DIR_OWN].m_nCount, 3); // the source is never changed
    }

    void transferToTheTelephoneGetsAFreeIndex()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(AbList(v), 0);
        QVERIFY(ToPhoneButton(v)->isEnabled());
        // Zed's index 1 is taken on the telephone: the index dialog proposes 3, without "Accept All".
        f.Questions().AnswerIndex([](IndexDialogData& d) { return d.m_bShowAcceptAll == 0 && d.m_nChosenIndex == 3; });
        QTest::mouseClick(ToPhoneButton(v), Qt::LeftButton);
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl", "Zed"}));
        QCOMPARE(PhoneList(v)->topLevelItem(3)->text(2), QStringLiteral("3"));
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
    }

    void deleteAsksWithTheRowAndCanBeDeclined()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 1);
        f.Questions().AnswerYesNo(61266, false);
        QTest::keyClick(PhoneList(v), Qt::Key_Delete);
        QCOMPARE(f.Questions().AskedSoFar().back().text,
                 std::string("Do you really want to delete this entry ?\n\nBert     222     2      "));
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 3);
        Click(PhoneList(v), 0);
        Click(PhoneList(v), 1, Qt::ControlModifier);
        f.Questions().AnswerYesNo(61267, true);
        QTest::keyClick(PhoneList(v), Qt::Key_Delete);
        QCOMPARE(f.Questions().AskedSoFar().back().text, std::string("Do you really want to delete these 2 entries ?\n\n"));
        QCOMPARE(Names(PhoneList(v)), QStringList{"Carl"});
        QVERIFY(PhoneList(v)->topLevelItem(0)->isSelected()); // the row now at the first position is selected
        QCOMPARE(v->Store().CurrentPhoneTable()[1].m_nState, int(ENTRY_REMOVED)); // deletion records follow the live entry
        QCOMPARE(v->Store().CurrentPhoneTable()[2].m_nState, int(ENTRY_REMOVED));
        // Delete in a preview edit edits its text.
        PreviewNumber(v)->setText(QStringLiteral("444"));
        PreviewNumber(v)->setFocus();
        PreviewNumber(v)->setCursorPosition(0);
        QTest::keyClick(PreviewNumber(v), Qt::Key_Delete);
        QCOMPARE(PreviewNumber(v)->text(), QStringLiteral("44"));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 1);
    }

    void cutAndPasteOnceIntoTheOtherList()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Anna"});
        CDlgView* v = f.View();
        Click(PhoneList(v), RowNamed(PhoneList(v), "Carl"));
        QVERIFY(f.Frame()->ExecuteCommand(57635)); // Cut: no question
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert"}));
        QVERIFY(f.Frame()->IsCommandEnabled(57637));
        Click(AbList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(57637)); // Paste into the address book
        QCOMPARE(Names(AbList(v)), (QStringList{"Anna", "Carl"}));
        QVERIFY(!f.Frame()->IsCommandEnabled(57637)); // the copies paste once
        QVERIFY(!f.Frame()->ExecuteCommand(57637));
        QCOMPARE(v->Store().m_abTable.m_nCount, 2);
    }

    void selectAllCopiesEveryRowIntoThePreviewOnce()
    {
        FormFixture& f = NewForm();
        std::vector<std::string> names;
        for (int i = 0; i < 300; ++i) names.push_back("P" + std::to_string(1000 + i));
        StartWith(f, names);
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(57642));
        QCOMPARE(PhoneList(v)->selectedItems().size(), 3);
        QCOMPARE(PreviewCombo(v)->count(), 3);
        // All rows of a long list: the preview is rebuilt once, not once per row.
        Click(AbList(v), 0);
        int rebuilds = 0;
        connect(PreviewCombo(v)->model(), &QAbstractItemModel::rowsRemoved, this, [&] { ++rebuilds; });
        QVERIFY(f.Frame()->ExecuteCommand(57642));
        QCOMPARE(rebuilds, 1);
        QCOMPARE(AbList(v)->selectedItems().size(), 300);
        QCOMPARE(PreviewCombo(v)->count(), 300);
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("P1000"));
    }

    void doubleClickEditKeepsTheEditedEntrySelected()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        // Bert becomes Aaron and moves to the top: the row under the pointer is now Anna's.
        f.Questions().AnswerEntry([](EntryDialogData& d) {
            d.m_szName = "Aaron";
            return true;
        });
        const int bert = RowNamed(PhoneList(v), "Bert");
        Click(PhoneList(v), bert); // the first click of the two; the test tool sends the second as the double click
        QTest::mouseDClick(PhoneList(v)->viewport(), Qt::LeftButton, {},
                           PhoneList(v)->visualItemRect(PhoneList(v)->topLevelItem(bert)).center());
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Aaron", "Anna", "Carl"}));
        QCOMPARE(PhoneList(v)->selectedItems().size(), 1);
        QCOMPARE(PhoneList(v)->selectedItems().first()->text(0), QStringLiteral("Aaron"));
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Aaron"));
        // Delete acts on the entry the user edited.
        f.Questions().AnswerYesNo(61266, true);
        QTest::keyClick(PhoneList(v), Qt::Key_Delete);
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Carl"}));
    }

    void deleteKeyWorksWhereverTheFocusIsButInThePreviewEdits()
    {
        FormFixture& f = NewForm();
        StartWith(f, {"Zed"});
        CDlgView* v = f.View();
        Click(PhoneList(v), RowNamed(PhoneList(v), "Bert"));
        // Not the address-book list: Delete pressed there acts on that list.
        const QList<QWidget*> targets = {DirectoryCombo(v),     PhoneList(v),          FolderCombo(v),
                                         PreviewCombo(v),       SaveToPhoneButton(v),
                                         SaveAddressBookButton(v), ExitButton(v),      ToAddressBookButton(v),
                                         ToPhoneButton(v)};
        for (QWidget* target : targets) {
            target->setEnabled(true); // a disabled control cannot hold the focus
            target->setFocus();
            QTRY_VERIFY(target->hasFocus());
            f.Questions().AnswerYesNo(61266, false); // declined: Bert stays for the next control
            QTest::keyClick(target, Qt::Key_Delete);
            QVERIFY2(f.Questions().Unanswered().empty() && f.Questions().LeftOpen().empty(),
                     qPrintable(target->objectName()));
        }
        QCOMPARE(f.Questions().AskedOfKind("yesno").size(), size_t(targets.size()));
        for (QLineEdit* edit : {PreviewName(v), PreviewNumber(v), PreviewIndex(v), PreviewStatus(v)}) {
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        QCOMPARE(f.Questions().AskedOfKind("yesno").size(), size_t(targets.size()));
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl"}));
    }

    void openingAndClosingThePreviewListShowsTheCopyAgain()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        Click(PhoneList(v), 1, Qt::ControlModifier);
        PreviewName(v)->clear(); // the copy keeps its name
        PreviewNumber(v)->setText(QStringLiteral("1-1-1"));
        PreviewCombo(v)->showPopup();
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Anna"));
        PreviewName(v)->clear();
        PreviewCombo(v)->hidePopup();
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Anna"));
        QCOMPARE(PreviewNumber(v)->text(), QStringLiteral("111"));
        QCOMPARE(PreviewCombo(v)->currentIndex(), 0);
    }

    void aPressOnThePreviewStripGoesToTheEditUnderIt()
    {
        FormFixture& f = NewForm();
        StartWith(f, {});
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        PreviewName(v)->clear(); // no name: nothing can be carried across
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        // The strip of the combo box above the number edit.
        const int x = v->Preview().PreviewColumnWidths()[0] + 5;
        QTest::mouseClick(PreviewCombo(v), Qt::LeftButton, {}, QPoint(x, 1));
        QTRY_VERIFY(PreviewNumber(v)->hasFocus());
        QVERIFY(!PreviewCombo(v)->hasFocus());
        QVERIFY(!ToAddressBookButton(v)->isEnabled()); // the combo box never took the focus
        QCOMPARE(PreviewName(v)->text(), QString());
    }
};

QTEST_MAIN(TestListPanes)
#include "TestListPanes.moc"
