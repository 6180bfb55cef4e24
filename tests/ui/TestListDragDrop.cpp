// Rows dropped from one list onto the other go the way the arrow button between the lists sends them, with its
// name checks and refusals; a drop onto the list the rows came from, or from another program, does nothing.
// On the real form, the drop delivered to the list's viewport as the window system delivers it.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "ui/CDlgView.h"
#include "ui/ListDragDrop.h"

#include <QMimeData>
#include <QtTest>

namespace {
void Click(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->topLevelItem(row)).center());
}

QStringList Names(QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

// Enters and drops `data` in the middle of the list; true when the list took the drop.
bool Drop(QTreeWidget* list, QMimeData* data)
{
    const QPoint at = list->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    delete data;
    return enter.isAccepted() && drop.isAccepted();
}

// The own-number directory holds Anna 1, Bert 2, Carl 4; the address book Anna and Zed.
void Start(FormFixture& f)
{
    EmulatorState state = EmulatorState::blank();
    state.storage("ON")->capacity = 10;
    state.storage("ON")->entries = {{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {4, {"Carl", "444"}}};
    f.SetPhoneState(state);
    {
        PabSeeder pab(f.PabPath().toStdString());
        pab.AddUser("Anna", "01", std::string("Standard-Status - Index: 1 "));
        pab.AddUser("Zed", "02", std::string("Standard-Status - Index: 2 "));
    }
    f.Start();
    QVERIFY(f.WaitUntilIdle());
}
}

class TestListDragDrop : public FormTestCase {
    Q_OBJECT
private slots:
    void dropRunsTheArrowButtonsTransfer()
    {
        FormFixture& f = NewForm();
        Start(f);
        CDlgView* v = f.View();
        Click(PhoneList(v), 0);
        Click(PhoneList(v), 1, Qt::ControlModifier);
        PreviewCombo(v)->setCurrentIndex(1);
        PreviewName(v)->setText(QStringLiteral("Bert   "));

        // Onto the list the rows came from, or from another copy of the program: nothing happens.
        QVERIFY(!Drop(PhoneList(v), ListDragDrop::MakeMimeData(LIST_PHONE)));
        auto* foreign = new QMimeData;
        foreign->setData(QLatin1String(ListDragDrop::kMimeType), "1 1");
        QVERIFY(!Drop(AbList(v), foreign));
        QCOMPARE(PreviewCombo(v)->count(), 2);
        QCOMPARE(Names(AbList(v)), (QStringList{"Anna", "Zed"}));

        // Onto the address book: Anna is there already (skipped when asked), Bert arrives trimmed.
        f.Questions().AnswerYesNo(41022, false);
        f.Questions().AnswerIndex(ScriptedQuestions::KeepProposal()); // Bert's 2 is Zed's in the book
        QVERIFY(Drop(AbList(v), ListDragDrop::MakeMimeData(LIST_PHONE)));
        QVERIFY(f.Questions().Unanswered().empty());
        QCOMPARE(Names(AbList(v)), (QStringList{"Anna", "Bert", "Zed"}));
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED));
        QCOMPARE(PreviewCombo(v)->count(), 0);
        QVERIFY(PhoneList(v)->selectedItems().isEmpty());
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        QCOMPARE(v->Store().m_dirTables[DIR_OWN].m_nCount, 3); // the source never changes

        // Towards a read-only directory the arrow button is disabled, and so is the drop.
        v->Store().CurrentPhoneTable().m_bReadOnly = 1;
        Click(AbList(v), 2);
        QVERIFY(!ToPhoneButton(v)->isEnabled());
        Drop(PhoneList(v), ListDragDrop::MakeMimeData(LIST_AB));
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl"}));

        // Writable again: Zed goes to the telephone with the index the button's transfer would give.
        v->Store().CurrentPhoneTable().m_bReadOnly = 0;
        Click(AbList(v), 2);
        f.Questions().AnswerIndex([](IndexDialogData& d) { return d.m_nChosenIndex == 3; });
        QVERIFY(Drop(PhoneList(v), ListDragDrop::MakeMimeData(LIST_AB)));
        QCOMPARE(Names(PhoneList(v)), (QStringList{"Anna", "Bert", "Carl", "Zed"}));
        QCOMPARE(PhoneList(v)->topLevelItem(3)->text(2), QStringLiteral("3"));
        QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
        QVERIFY(f.Questions().LeftOpen().empty());
    }
};

QTEST_MAIN(TestListDragDrop)
#include "TestListDragDrop.moc"
