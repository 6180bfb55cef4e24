// The window as an assistive tool reads it, through Qt's accessibility interfaces: every control a user can
// reach has a name, the terse headings are described, and the status line's text is readable and announced.
#include "FormControls.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "app/StatusLine.h"
#include "ui/CDlgView.h"

#include <QAccessible>
#include <QStatusBar>
#include <QtTest>

namespace {
bool IsInteractive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::ComboBox: case QAccessible::EditableText: case QAccessible::SpinBox:
    case QAccessible::Slider: case QAccessible::List: case QAccessible::Tree: case QAccessible::Table:
    case QAccessible::ButtonMenu: case QAccessible::ButtonDropDown: case QAccessible::MenuItem:
    case QAccessible::PageTab: case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

// Every visible interactive object under the interface that has no name, as "role object-name".
void CollectUnnamed(QAccessibleInterface* iface, QStringList& unnamed, int& interactive, int depth = 0)
{
    if (!iface || depth > 30 || iface->state().invisible) return;
    if (IsInteractive(iface->role())) ++interactive;
    if (IsInteractive(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QStringLiteral("%1 %2").arg(int(iface->role())).arg(iface->object() ? iface->object()->objectName() : QString());
    // The rows and cells of a list are its data, named by their texts.
    const QAccessible::Role role = iface->role();
    if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table) return;
    for (int i = 0; i < iface->childCount(); ++i) CollectUnnamed(iface->child(i), unnamed, interactive, depth + 1);
}

QAccessibleInterface* Of(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    if (!iface) qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return iface;
}

// The descriptions of a list's column headings, as its accessible header cells give them.
QStringList HeaderTexts(QTreeWidget* list, QAccessible::Text kind)
{
    QStringList texts;
    QAccessibleInterface* tree = Of(list);
    for (int i = 0; i < tree->childCount(); ++i) {
        QAccessibleInterface* cell = tree->child(i);
        if (cell && cell->role() == QAccessible::ColumnHeader) texts << cell->text(kind);
    }
    return texts;
}

std::vector<QAccessible::Event> g_events;
QObject* g_watched = nullptr;
void RecordEvent(QAccessibleEvent* event)
{

    if (event->object() == g_watched) g_events.push_back(event->type());
}
}

class TestAccessibility : public FormTestCase {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        FormFixture& f = NewSharedForm();
        f.Start();
        QVERIFY(f.WaitUntilIdle());
        m_f = &f;
    }

    void everyControlIsNamedAndCombosKeepNameAndValueApart()
    {
        QStringList unnamed;
        int interactive = 0;
        CollectUnnamed(Of(m_f->Frame()), unnamed, interactive);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        QVERIFY(interactive >= 20); // menus, toolbar buttons, the form's controls: the walk reached them

        CDlgView* v = m_f->View();
        QCOMPARE(Of(DirectoryCombo(v))->text(QAccessible::Name), QStringLiteral("Telephone directory"));
        QCOMPARE(Of(DirectoryCombo(v))->text(QAccessible::Value), DirectoryCombo(v)->currentText());
        QVERIFY(!DirectoryCombo(v)->currentText().isEmpty());
        QCOMPARE(Of(FolderCombo(v))->text(QAccessible::Name), QStringLiteral("Address book folder"));
        QCOMPARE(Of(PreviewCombo(v))->text(QAccessible::Name), QStringLiteral("Preview"));
        QCOMPARE(Of(DirectoryCombo(v))->role(), QAccessible::ComboBox);
        QCOMPARE(Of(PhoneList(v))->text(QAccessible::Name), QStringLiteral("Telephone"));
        QCOMPARE(Of(AbList(v))->text(QAccessible::Name), QStringLiteral("Personal Address Book"));
    }

    void terseHeadingsAreDescribed()
    {
        CDlgView* v = m_f->View();
        for (QTreeWidget* list : {PhoneList(v), AbList(v)}) {
            const QStringList descriptions = HeaderTexts(list, QAccessible::Description);
            QCOMPARE(descriptions.size(), 4);
            QCOMPARE(descriptions.at(2), QStringLiteral("Index"));
            QCOMPARE(descriptions.at(3), QStringLiteral("VIP"));
            QCOMPARE(HeaderTexts(list, QAccessible::Name).at(3), QStringLiteral("VIP"));
            QCOMPARE(list->headerItem()->toolTip(2), QStringLiteral("Index"));
            QCOMPARE(list->headerItem()->text(3), QStringLiteral("!")); // what is shown stays
        }
        QVERIFY(Of(PreviewStatus(v))->text(QAccessible::Description).contains(QStringLiteral("VIP")));
        QCOMPARE(Of(PreviewIndex(v))->text(QAccessible::Description), QStringLiteral("Index"));
        QVERIFY(Of(PreviewHeader(v))->text(QAccessible::Description).contains(QStringLiteral("Index")));
    }

    void statusLineIsReadAndAnnouncedOnChange()
    {
        auto* pane = m_f->Frame()->statusBar()->findChild<StatusLine*>(QStringLiteral("pane0"));
        QVERIFY(pane);
        QSignalSpy announced(pane, &StatusLine::Announced);
        g_events.clear();
        g_watched = pane;
        // As when a screen reader is running: only then are changes sent at all.
        QAccessible::setActive(true);
        const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(RecordEvent);
        m_f->Frame()->SetMessageText(QStringLiteral("3 entries exported"));
        m_f->Frame()->SetMessageText(QStringLiteral("3 entries exported")); // no change, nothing to announce
        QAccessible::installUpdateHandler(previous);
        QAccessible::setActive(false);
        g_watched = nullptr;

        QAccessibleInterface* iface = Of(pane);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Status"));
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("3 entries exported"));
        QCOMPARE(announced.size(), 1);
        QCOMPARE(announced.at(0).at(0).toString(), QStringLiteral("3 entries exported"));
        // Without an accessibility bridge (the offscreen platform has none) Qt drops every event unseen.
        if (QAccessible::isActive())
            QCOMPARE(g_events, std::vector<QAccessible::Event>{QAccessible::ValueChanged});
        else
            qInfo("no accessibility bridge on this platform: the event itself was not observable");
    }

private:
    FormFixture* m_f = nullptr;
};

QTEST_MAIN(TestAccessibility)
#include "TestAccessibility.moc"
