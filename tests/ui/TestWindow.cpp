// The window people live in, on real widgets: it grows from the template's size (which stays exact), cuts no
// text, remembers itself between runs, filters both lists, marks unsaved work, clears stale results, saves
// with Ctrl+S, and shows which directory it reads and how far it has come. Runs at 1x and, as a second CTest
// entry, at 1.5x (QT_SCALE_FACTOR).
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "model/Directories.h"
#include "res/CommandIds.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewRow.h"
#include "ui/CellToolTips.h"
#include "ui/FormLayout.h"
#include "ui/WindowSettings.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

#include <map>

namespace {
const QString kTitle = QStringLiteral("Telephone Directory");

QLineEdit* FilterField(const QWidget* form) { return FormControls::ControlOf<QLineEdit>(form, "editFilter"); }

void Click(QTreeWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->topLevelItem(row)).center());
}

int RowNamed(const QTreeWidget* list, const QString& name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name) return i;
    return -1;
}

int VisibleRows(const QTreeWidget* list)
{
    int visible = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) visible += list->topLevelItem(i)->isHidden() ? 0 : 1;
    return visible;
}

int HiddenSelected(const QTreeWidget* list)
{
    int count = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        count += list->topLevelItem(i)->isHidden() && list->topLevelItem(i)->isSelected() ? 1 : 0;
    return count;
}

EmulatorState PhoneWith(const QMap<int, EmulatorEntry>& own, const QMap<int, EmulatorEntry>& sim = {})
{
    EmulatorState state = EmulatorState::blank();
    state.storage("ON")->capacity = 20;
    state.storage("ON")->entries = own;
    state.storage("SM")->capacity = 50;
    state.storage("SM")->entries = sim;
    return state;
}

void SeedBook(const FormFixture& f, const std::vector<std::string>& names, bool withList = false)
{
    PabSeeder pab(f.PabPath().toStdString());
    int index = 1;
    for (const std::string& name : names) {
        pab.AddUser(name, "030" + std::to_string(index), "Standard-Status - Index: " + std::to_string(index) + " ");
        ++index;
    }
    if (withList) pab.AddList("Friends");
}

// Every text the message line shows: it is redrawn at once whenever its text changes.
struct MessageRecorder : QObject {
    explicit MessageRecorder(QLabel* pane) : m_pane(pane) { pane->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.back() != m_pane->text())) texts << m_pane->text();
        return false;
    }
    QLabel* m_pane;
    QStringList texts;
};

// Every control lies inside the form, no two overlap (the preview edits lie on the preview combo's text field by
// design), and every button and caption shows its whole text.
void CheckNothingCutOrOverlapping(CDlgView* v)
{
    const FormLayout layout{DialogUnits(v->font())};
    std::vector<QWidget*> controls;
    for (const FormLayout::Placement& p : layout.Place(v->size())) {
        QWidget* w = v->findChild<QWidget*>(p.name);
        QVERIFY2(w, qPrintable(p.name));
        if (w->isHidden()) continue;
        QVERIFY2(v->rect().contains(w->geometry()), qPrintable(p.name));
        controls.push_back(w);
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[i] == PreviewCombo(v) || controls[j] == PreviewCombo(v)) continue;
            QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                     qPrintable(controls[i]->objectName() + QStringLiteral(" / ") + controls[j]->objectName()));
        }
    for (QPushButton* b : v->findChildren<QPushButton*>())
        QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= b->width(), qPrintable(b->text()));
    for (QLabel* l : v->findChildren<QLabel*>())
        if (!l->isHidden()) QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
}
}

class TestWindow : public FormTestCase {
    Q_OBJECT
private slots:
    void templateSizeIsExactAndTheLeastSize()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        const FormLayout layout{DialogUnits(v->font())};
        QCOMPARE(v->size(), layout.TemplateSize());
        for (const FormLayout::Placement& p : layout.Place(v->size())) {
            if (p.name == QLatin1String("combo1005")) continue; // its height is the style's
            QCOMPARE(v->findChild<QWidget*>(p.name)->geometry(), p.rect);
        }
        CheckNothingCutOrOverlapping(v);
        QVERIFY(f.Frame()->windowFlags() & Qt::WindowMaximizeButtonHint);
        QCOMPARE(f.Frame()->size(), f.Frame()->minimumSize());
        const QSize least = f.Frame()->size();
        f.Frame()->resize(least.width() - 100, least.height() - 100);
        QCOMPARE(f.Frame()->size(), least);
        QCOMPARE(v->size(), layout.TemplateSize());
    }

    void listsAndPreviewRowGrowWithTheWindow()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        const QRect phone0 = PhoneList(v)->geometry(), ab0 = AbList(v)->geometry();
        const QRect exit0 = ExitButton(v)->geometry(), save0 = SaveToPhoneButton(v)->geometry();
        const QRect header0 = PreviewHeader(v)->geometry();
        const QSize form0 = v->size();
        const int headerSum0 = v->Preview().PreviewRowWidth();

        f.Frame()->resize(f.Frame()->width() + 131, f.Frame()->height() + 97);
        QTRY_COMPARE(v->size(), form0 + QSize(131, 97));
        const QRect phone = PhoneList(v)->geometry(), ab = AbList(v)->geometry();
        // Both lists take the extra room, sharing the width evenly.
        QCOMPARE(phone.height(), phone0.height() + 97);
        QCOMPARE(ab.height(), ab0.height() + 97);
        QCOMPARE(phone.width() + ab.width(), phone0.width() + ab0.width() + 131);
        QVERIFY(qAbs((phone.width() - phone0.width()) - (ab.width() - ab0.width())) <= 1);
        // The arrows stay centred between the lists.
        for (QPushButton* arrow : {ToAddressBookButton(v), ToPhoneButton(v)}) {
            const int gapCentre = (phone.right() + ab.left()) / 2;
            QVERIFY2(qAbs(arrow->geometry().center().x() - gapCentre) <= 2, qPrintable(arrow->objectName()));
            QVERIFY(arrow->geometry().top() > phone.top() && arrow->geometry().bottom() < phone.bottom());
        }
        // Buttons keep their distance to the bottom edge and to their list.
        QCOMPARE(v->height() - ExitButton(v)->geometry().bottom(), form0.height() - exit0.bottom());
        QCOMPARE(ab.right() - ExitButton(v)->geometry().right(), ab0.right() - exit0.right());
        QCOMPARE(SaveToPhoneButton(v)->geometry().left(), save0.left());
        QCOMPARE(SaveAddressBookButton(v)->geometry().left() - ab.left(), 0);
        // The preview row and its header take the extra width; the edits stay under their headings.
        QCOMPARE(PreviewHeader(v)->width(), header0.width() + 131);
        QCOMPARE(v->Preview().PreviewRowWidth(), headerSum0 + 131);
        const std::array<int, 4> widths = v->Preview().PreviewColumnWidths();
        QCOMPARE(PreviewNumber(v)->x(), PreviewName(v)->x() + widths[0] + 2);
        QVERIFY(PreviewStatus(v)->geometry().right() <= PreviewHeader(v)->geometry().right());
        CheckNothingCutOrOverlapping(v);

        // Back to the least size: everything where the template puts it.
        f.Frame()->resize(f.Frame()->minimumSize());
        QTRY_COMPARE(v->size(), form0);
        QCOMPARE(PhoneList(v)->geometry(), phone0);
        for (const FormLayout::Placement& p : FormLayout{DialogUnits(v->font())}.Place(form0))
            if (p.name == QLatin1String("edit1021")) QCOMPARE(PreviewName(v)->geometry(), p.rect);
    }

    void cutCellsShowTheirWholeText()
    {
        FormFixture& f = NewForm();
        SeedBook(f, {"Maximilian Alexander Schmidt-Weber"});
        f.Start();
        QTreeWidget* list = AbList(f.View());
        const QModelIndex name = list->model()->index(0, 0);
        list->setColumnWidth(0, 30);
        QCOMPARE(CellToolTips::TipFor(list, name), QStringLiteral("Maximilian Alexander Schmidt-Weber"));
        list->setColumnWidth(0, 2000);
        QVERIFY(CellToolTips::TipFor(list, name).isEmpty());
    }

    void settingsComeBackAfterARestart()
    {
        const QMap<int, EmulatorEntry> own = {{1, {"Own", "100"}}};
        const QMap<int, EmulatorEntry> sim = {{1, {"Sim One", "201"}}, {2, {"Sim Two", "202"}}};
        std::map<QString, QVariant> stored;
        QRect geometry;
        {
            FormFixture& f = NewForm();
            f.SetPhoneState(PhoneWith(own, sim));
            SeedBook(f, {"Anna"}, true);
            f.Start();
            QVERIFY(f.WaitUntilIdle());
            CDlgView* v = f.View();
            geometry = QRect(QPoint(20, 30), f.Frame()->size() + QSize(90, 60));
            f.Frame()->setGeometry(geometry);
            QTRY_COMPARE(f.Frame()->geometry(), geometry);
            AbList(v)->setColumnWidth(0, 123);
            PhoneList(v)->setColumnWidth(1, 77);
            emit AbList(v)->header()->sectionClicked(2);
            DirectoryCombo(v)->setCurrentIndex(DIR_SIM);
            emit DirectoryCombo(v)->activated(DIR_SIM);
            QVERIFY(f.WaitUntilIdle());
            const int friends = FolderCombo(v)->findText(QStringLiteral("Friends"));
            QVERIFY(friends > 0);
            FolderCombo(v)->setCurrentIndex(friends);
            emit FolderCombo(v)->activated(friends);
            f.Frame()->SavePlacement();
            v->SaveWindowState();
            QSettings settings;
            settings.beginGroup(QStringLiteral("Window"));
            for (const QString& key : settings.allKeys()) stored[key] = settings.value(key);
        }
        QVERIFY(!stored.empty());

        FormFixture& g = NewForm();
        g.SetPhoneState(PhoneWith(own, sim));
        SeedBook(g, {"Anna"}, true);
        for (const auto& [key, value] : stored) g.SetSetting(QStringLiteral("Window/") + key, value);
        g.Start();
        QVERIFY(g.WaitUntilIdle());
        CDlgView* v = g.View();
        QTRY_COMPARE(g.Frame()->geometry(), geometry);
        QCOMPARE(AbList(v)->columnWidth(0), 123);
        QCOMPARE(PhoneList(v)->columnWidth(1), 77);
        QCOMPARE(v->Store().m_nAbSort, 2);
        // The directory shown last is the one read at start-up, instead of the own numbers.
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_SIM));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 2);
        QVERIFY(!g.PhoneLog().contains(QStringLiteral("\"ON\"")));
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("Friends"));
    }

    void damagedOrOffScreenSettingsFallBack()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("w.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Window/Geometry"), QStringLiteral("nonsense"));
        settings.setValue(QStringLiteral("Window/PhoneColumns"), QStringList{QStringLiteral("50"), QStringLiteral("-3"),
                                                                             QStringLiteral("9"), QStringLiteral("9")});
        settings.setValue(QStringLiteral("Window/AddressBookColumns"), QStringList{QStringLiteral("50")});
        settings.setValue(QStringLiteral("Window/PhoneSortColumn"), 7);
        settings.setValue(QStringLiteral("Window/Directory"), 12);
        const WindowState state = WindowSettings::Read(settings);
        QVERIFY(!state.geometry);
        QVERIFY(!state.phoneList.columnWidths && !state.abList.columnWidths);
        QVERIFY(!state.phoneList.sortColumn);
        QVERIFY(!state.directory);

        const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        const QSize least(646, 393);
        // On the second screen: kept. Off every screen (or only its corner on one): the position is dropped.
        const auto kept = WindowSettings::Fit(QRect(2000, 100, 700, 500), least, screens);
        QCOMPARE(kept.position, std::optional<QPoint>(QPoint(2000, 100)));
        QCOMPARE(kept.size, QSize(700, 500));
        QVERIFY(!WindowSettings::Fit(QRect(5000, 3000, 700, 500), least, screens).position);
        QVERIFY(!WindowSettings::Fit(QRect(-690, 100, 700, 500), least, screens).position);
        QVERIFY(!WindowSettings::Fit(QRect(100, 1075, 700, 500), least, screens).position);
        // Smaller than the window may be: grown to the least size.
        QCOMPARE(WindowSettings::Fit(QRect(10, 10, 200, 100), least, screens).size, least);
    }

    void filterNarrowsBothListsAndCommandsActOnVisibleRows()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(PhoneWith({{11, {"Anna", "111"}}, {12, {"Bert", "222"}}, {13, {"Luis", "333"}}}));
        SeedBook(f, {"Łukasz", "Zoë", "Anna Lutz", "Bert"});
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        QLineEdit* filter = FilterField(v);
        QCOMPARE(filter->accessibleName(), QStringLiteral("Filter"));
        QVERIFY(!filter->placeholderText().isEmpty());

        // Hiding a selected row deselects it, and the preview lets go of its copy.
        Click(AbList(v), RowNamed(AbList(v), QStringLiteral("Bert")));
        QCOMPARE(PreviewCombo(v)->count(), 1);
        filter->setFocus();
        QTest::keyClicks(filter, QStringLiteral("lu"));
        QCOMPARE(VisibleRows(PhoneList(v)), 1);  // Luis
        QCOMPARE(VisibleRows(AbList(v)), 2);     // Łukasz, Anna Lutz
        QCOMPARE(HiddenSelected(AbList(v)), 0);
        QCOMPARE(PreviewCombo(v)->count(), 0);

        // Select all and the transfer take the visible rows only.
        Click(AbList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
        QCOMPARE(AbList(v)->selectedItems().size() / 1, 2);
        QCOMPARE(HiddenSelected(AbList(v)), 0);
        QCOMPARE(PreviewCombo(v)->count(), 2);
        const int before = v->Store().CurrentPhoneTable().m_nCount;
        QVERIFY(f.Frame()->ExecuteCommand(ID_COPY_TO_PHONE));
        QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, before + 2);
        // The refilled list keeps the filter.
        QCOMPARE(PhoneList(v)->topLevelItemCount(), before + 2);
        QCOMPARE(VisibleRows(PhoneList(v)), 3);
        QTRY_COMPARE(f.Frame()->windowTitle(), kTitle + QStringLiteral("*"));

        // Accents and case do not count.
        filter->clear();
        QTest::keyClicks(filter, QStringLiteral("ZOE"));
        QCOMPARE(VisibleRows(AbList(v)), 1);
        // Escape clears the field and shows every row again.
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(VisibleRows(AbList(v)), AbList(v)->topLevelItemCount());
        QCOMPARE(VisibleRows(PhoneList(v)), PhoneList(v)->topLevelItemCount());
    }

    void unsavedWorkIsMarkedAndCtrlSSavesBothSides()
    {
        FormFixture& f = NewForm();
        f.SetPhoneState(PhoneWith({{5, {"Anna", "111"}}})); // indices free on the other side: no index question
        SeedBook(f, {"Bert"});
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        CDlgView* v = f.View();
        QTRY_COMPARE(f.Frame()->windowTitle(), kTitle);
        QVERIFY(!f.Frame()->IsCommandEnabled(ID_FILE_SAVE));

        Click(PhoneList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(ID_COPY_TO_AB));
        Click(AbList(v), RowNamed(AbList(v), QStringLiteral("Bert")));
        QVERIFY(f.Frame()->ExecuteCommand(ID_COPY_TO_PHONE));
        QVERIFY(v->Store().HasFlag(VF_AB_MODIFIED) && v->Store().HasFlag(VF_PHONE_MODIFIED));
        QTRY_COMPARE(f.Frame()->windowTitle(), kTitle + QStringLiteral("*"));

        // A stale result leaves the message line at the next command.
        f.Frame()->SetMessageText(QStringLiteral("Action aborted."));
        Click(PhoneList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
        QCOMPARE(f.Frame()->MessageText(), QStringLiteral("Press F1 to get help."));

        QTest::keyClick(f.Frame(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(f.WaitUntilIdle());
        QTRY_VERIFY(!v->Store().HasFlag(VF_AB_MODIFIED) && !v->Store().HasFlag(VF_PHONE_MODIFIED));
        QTRY_COMPARE(f.Frame()->windowTitle(), kTitle);
        QCOMPARE(v->Store().CurrentPhoneTable().m_nCount, 2);
        QCOMPARE(AbList(v)->topLevelItemCount(), 2);
    }

    void readingEmptiesTheListAndTellsHowFarItHasCome()
    {
        FormFixture& f = NewForm();
        QMap<int, EmulatorEntry> own, sim;
        for (int i = 1; i <= 8; ++i) own.insert(i, {QStringLiteral("Own%1").arg(i), QStringLiteral("%1").arg(i)});
        for (int i = 1; i <= 45; ++i) sim.insert(i, {QStringLiteral("Sim%1").arg(i), QStringLiteral("9%1").arg(i)});
        f.SetPhoneState(PhoneWith(own, sim));
        f.PhoneOptions().latencyMs = 30;
        f.Start();
        CDlgView* v = f.View();
        // At start-up the combo box names the directory being read, not the SIM directory.
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        QCOMPARE(DirectoryCombo(v)->currentIndex(), int(DIR_OWN));
        QVERIFY(f.WaitUntilIdle(60000));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 8);

        Click(PhoneList(v), 0);
        QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
        MessageRecorder shown(f.Frame()->findChild<QLabel*>(QStringLiteral("pane0")));
        DirectoryCombo(v)->setCurrentIndex(DIR_SIM);
        emit DirectoryCombo(v)->activated(DIR_SIM);
        QVERIFY(v->Store().HasFlag(VF_BUSY));
        // Nothing of the own numbers stays to be selected or copied while the SIM directory comes in.
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        QCOMPARE(PreviewCombo(v)->count(), 0);
        QVERIFY(!f.Frame()->IsCommandEnabled(ID_EDIT_COPY) || v->Store().m_nActiveList != LIST_PHONE);
        const QString name = DirectoryCombo(v)->itemText(DIR_SIM);
        QCOMPARE(DirectoryCombo(v)->currentText(), name);
        const QRegularExpression progress(QStringLiteral("^Reading %1\\.\\.\\. ([0-9]+)( of [0-9]+)?$")
                                              .arg(QRegularExpression::escape(name)));
        QVERIFY(f.WaitUntilIdle(60000));
        QStringList counted;
        for (const QString& text : shown.texts)
            if (progress.match(text).hasMatch() && progress.match(text).captured(1).toInt() > 0) counted << text;
        QVERIFY2(!counted.isEmpty(), qPrintable(shown.texts.join(QStringLiteral(" | "))));
        QVERIFY(f.WaitUntilIdle(60000));
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 45);
    }
};

QTEST_MAIN(TestWindow)
#include "TestWindow.moc"
