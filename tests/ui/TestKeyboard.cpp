// The form without a mouse: which keys make a list the active one, what Tab does on entering a list, the
// context menu keys, the mnemonics, and the whole road from reading the telephone to saving both sides.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabQuery.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/CFormLists.h"
#include "ui/ListKeyboard.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

namespace {
// Sends the key where a user's key goes: to the widget that has the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no widget has the focus");
    QTest::keyClick(focus, key, modifiers);
}

void Type(const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no widget has the focus");
    QTest::keyClicks(focus, text);
}

QStringList Names(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

QStringList SelectedNames(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->isSelected()) names << list->topLevelItem(i)->text(0);
    return names;
}

// Telephone: SIM Anna 1, Bert 2, Carl 3 and own numbers Ann 1, Ben 2, Cid 3; address book: Zed with index 7.
void StartWith(FormFixture& f)
{
    EmulatorState state = EmulatorState::blank();
    state.storage("SM")->capacity = 20;
    state.storage("SM")->entries = {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {3, {"Carl", "333"}}};
    state.storage("ON")->capacity = 10;
    state.storage("ON")->entries = {{1, {"Ann", "11"}}, {2, {"Ben", "22"}}, {3, {"Cid", "33"}}};
    f.SetPhoneState(state);
    {
        PabSeeder pab(f.PabPath().toStdString());
        pab.AddUser("Zed", "0555", "Standard-Status - Index: 7 ");
    }
    f.Start();
    QVERIFY(f.WaitUntilIdle());
}

// Runs inside the menu's own event loop, once it is open: records which menu it is and where, then closes it.
struct MenuSeen {
    QString name;
    QPoint at;
};
void RecordMenu(CDlgView* v, MenuSeen& seen)
{
    QTimer::singleShot(0, [v, &seen] {
        if (auto* menu = v->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
            seen = {menu->objectName(), menu->pos()};
            menu->close();
        }
    });
}
}

class TestKeyboard : public FormTestCase {
    Q_OBJECT
private slots:
    void keyboardOnlyRoadBothWays()
    {
        FormFixture& f = NewForm();
        StartWith(f);
        CDlgView* v = f.View();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(DirectoryCombo(v)));

        // Read the SIM directory: the first item of the directory box.
        Press(Qt::Key_Home);
        QVERIFY(f.WaitUntilIdle());
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl"}));

        // Telephone to address book: Tab selects the first row, Shift+Down adds Bert; Bert's copy is renamed.
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(PhoneList(v)));
        Press(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(SelectedNames(PhoneList(v)), (QStringList{"Anna", "Bert"}));
        QCOMPARE(PreviewCombo(v)->count(), 2);
        Press(Qt::Key_R, Qt::AltModifier); // "P&review": the name of the copy shown
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(PreviewName(v)));
        Press(Qt::Key_Down); // not a list: the arrow moves nothing but the caret
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        Press(Qt::Key_Tab, Qt::ShiftModifier); // back past the address-book list into the folder box
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(FolderCombo(v)));
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB)); // the list passed on the way became active
        Press(Qt::Key_T, Qt::AltModifier); // "&Telephone": back to the list, its selection and preview kept
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QCOMPARE(SelectedNames(PhoneList(v)), (QStringList{"Anna", "Bert"}));
        QCOMPARE(PreviewCombo(v)->count(), 2);
        Press(Qt::Key_R, Qt::AltModifier);
        Type(QStringLiteral("Anna Smith"));
        Press(Qt::Key_T, Qt::AltModifier);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ToAddressBookButton(v)));
        Press(Qt::Key_Space);
        QCOMPARE(Names(AbList(v)), (QStringList{"Anna Smith", "Bert", "Zed"}));
        Press(Qt::Key_A, Qt::AltModifier); // "Save &Address Book"
        QTRY_VERIFY(!v->Store().HasFlag(VF_AB_MODIFIED)); // a mnemonic clicks the button the way a user sees it
        QCOMPARE(PabDisplayNames(f.PabPath()), (QStringList{"Anna Smith", "Bert", "Personal Address Book", "Zed"}));

        // Address book to telephone: Zed, corrected to Zed Zulu, into the SIM directory and onto the telephone.
        Press(Qt::Key_P, Qt::AltModifier); // "&Personal Address Book"
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        Press(Qt::Key_End);
        QCOMPARE(SelectedNames(AbList(v)), QStringList{"Zed"});
        Press(Qt::Key_R, Qt::AltModifier);
        Type(QStringLiteral("Zed Zulu"));
        Press(Qt::Key_P, Qt::AltModifier);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ToPhoneButton(v)));
        Press(Qt::Key_Space);
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl", "Zed Zulu"}));
        Press(Qt::Key_S, Qt::AltModifier); // "&Save to Telephone"
        QTRY_VERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(f.WaitUntilIdle());
        const QMap<int, EmulatorEntry> sim = f.Phone().state().storage("SM")->entries;
        QCOMPARE(sim.size(), 4);
        QCOMPARE(sim.value(7).name, QStringLiteral("Zed Zulu"));
        QCOMPARE(sim.value(7).number, QStringLiteral("0555"));
        QCOMPARE(sim.value(1).name, QStringLiteral("Anna")); // the source of the first transfer is untouched
        QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED) && !v->Store().HasFlag(VF_AB_MODIFIED));
    }

    void onlyKeysThatSelectOrActMakeAListActive()
    {
        FormFixture& f = NewForm();
        StartWith(f);
        CDlgView* v = f.View();
        // Three telephone entries chosen from the keyboard, then Tab on to the address-book list.
        DirectoryCombo(v)->setFocus(Qt::OtherFocusReason);
        Press(Qt::Key_Tab);
        Press(Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(PreviewCombo(v)->count(), 3);
        Press(Qt::Key_Tab);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE)); // Tab only left the list
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(AbList(v)));
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QCOMPARE(PreviewCombo(v)->count(), 1);
        QCOMPARE(PreviewName(v)->text(), QStringLiteral("Zed"));
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        // Space on the arrow towards the telephone carries Zed, not the telephone's own entries back.
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ToPhoneButton(v)));
        Press(Qt::Key_Space);
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Ann", "Ben", "Cid", "Zed"}));

        // Focus put into a list by other means: modifiers and Tab leave the active list alone, Down takes it.
        QTest::mouseClick(AbList(v)->viewport(), Qt::LeftButton, {},
                          AbList(v)->visualItemRect(AbList(v)->topLevelItem(0)).center());
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        PhoneList(v)->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(PhoneList(v)->hasFocus());
        for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control}) Press(modifier);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QVERIFY(ToPhoneButton(v)->isEnabled());
        Press(Qt::Key_Down);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QVERIFY(!ToPhoneButton(v)->isEnabled());
        QCOMPARE(PreviewCombo(v)->count(), 1);
        QCOMPARE(PreviewName(v)->text(), SelectedNames(PhoneList(v)).value(0));
        // Delete, bound to the form, acts on the list that has the focus.
        AbList(v)->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(AbList(v)->hasFocus());
        f.Questions().AnswerYesNo(61266, false);
        Press(Qt::Key_Delete);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QVERIFY(f.Questions().AskedSoFar().back().text.find("Zed") != std::string::npos);
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Action aborted."));
    }

    void tabIntoAListSelectsItsCurrentRowSoEditWorks()
    {
        FormFixture& f = NewForm();
        StartWith(f);
        CDlgView* v = f.View();
        QTreeWidget* phone = PhoneList(v);
        phone->setCurrentItem(phone->topLevelItem(1), 0, QItemSelectionModel::NoUpdate); // current, not selected
        DirectoryCombo(v)->setFocus(Qt::OtherFocusReason);
        Press(Qt::Key_Tab);
        QCOMPARE(SelectedNames(phone), QStringList{"Ben"});
        QCOMPARE(v->Store().m_nActiveList, int(LIST_PHONE));
        QVERIFY(f.Frame()->IsCommandEnabled(ID_EDIT_ENTRY));
        f.Questions().AnswerEntry([](EntryDialogData& d) {
            d.m_szName = "Benno";
            return true;
        });
        Press(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(Names(phone), (QStringList{"Ann", "Benno", "Cid"}));
        // An empty list entered by Tab becomes active too, and the preview lets go of the other list's copies.
        v->Store().m_abTable.m_nCount = 0;
        v->Lists().FillAbList(true);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        Press(Qt::Key_Tab); // back into the telephone list, its selection kept
        QCOMPARE(SelectedNames(phone), QStringList{"Benno"});
        QCOMPARE(PreviewCombo(v)->count(), 1);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(AbList(v)));
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QCOMPARE(PreviewCombo(v)->count(), 0);
        QVERIFY(!ToPhoneButton(v)->isEnabled());
    }

    void menuKeysOpenTheListsMenuAtItsCurrentRow()
    {
        FormFixture& f = NewForm();
        StartWith(f);
        CDlgView* v = f.View();
        QTest::mouseClick(PhoneList(v)->viewport(), Qt::LeftButton, {},
                          PhoneList(v)->visualItemRect(PhoneList(v)->topLevelItem(2)).center());
        QTest::mouseMove(v, QPoint(v->width() - 5, v->height() - 5)); // the mouse far from any row
        MenuSeen seen;
        RecordMenu(v, seen);
        Press(Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(seen.name, QStringLiteral("menu136"));
        QCOMPARE(seen.at, ListKeyboard::MenuPoint(PhoneList(v)));
        const QRect row = PhoneList(v)->visualItemRect(PhoneList(v)->topLevelItem(2));
        QVERIFY(row.contains(PhoneList(v)->viewport()->mapFromGlobal(seen.at)));

        // The Menu key in the address-book list opens that list's menu.
        f.Frame()->activateWindow(); // the offscreen platform leaves no window active once a popup closes
        QVERIFY(QTest::qWaitForWindowActive(f.Frame()));
        AbList(v)->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(AbList(v)->hasFocus());
        seen = {};
        RecordMenu(v, seen);
        Press(Qt::Key_Menu);
        QCOMPARE(seen.name, QStringLiteral("menu138"));
        QCOMPARE(v->Store().m_nActiveList, int(LIST_AB));
        QCOMPARE(seen.at, ListKeyboard::MenuPoint(AbList(v)));
    }

    void mnemonicsAreUniqueAndKeepTheWords()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(SaveToPhoneButton(v)->text(), QStringLiteral("&Save to Telephone"));
        QCOMPARE(SaveAddressBookButton(v)->text(), QStringLiteral("Save &Address Book"));
        QCOMPARE(ExitButton(v)->text(), QStringLiteral("E&xit"));
        QStringList texts;
        for (QAction* popup : f.Frame()->menuBar()->actions()) texts << popup->text();
        for (QAbstractButton* button : v->findChildren<QAbstractButton*>()) texts << button->text();
        for (QLabel* label : v->findChildren<QLabel*>()) texts << label->text();
        QSet<QChar> keys;
        for (const QString& text : texts) {
            const qsizetype amp = text.indexOf(u'&');
            if (amp < 0 || amp + 1 >= text.size()) continue;
            const QChar key = text.at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(text));
            keys.insert(key);
        }
        QVERIFY(keys.size() >= 10); // F E V ? for the menus, S A X for the buttons, T P R for the captions
    }
};

QTEST_MAIN(TestKeyboard)
#include "TestKeyboard.moc"
