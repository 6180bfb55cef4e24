#include "ui/AccessibleControls.h"

#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"

#include <QAccessibleWidget>
#include <QTreeWidget>

namespace {
// Spoken instead of the headings, which read aloud as "No." and "exclamation mark".
const char* const kColumnWords[4] = {"Name", "Telephone number", "Index", "VIP"};

// Qt's own combo box interface gives the current text as the name on some desktops, so a screen reader
// announces "SIM directory" and never what the box chooses. This one keeps the two apart.
class NamedComboAccessible : public QAccessibleWidget {
public:
    explicit NamedComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return Combo()->accessibleName().isEmpty() ? Combo()->currentText() : Combo()->accessibleName();
        case QAccessible::Value:
            return Combo()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Combo()->view() && Combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* FormComboFactory(const QString& className, QObject* object)
{
    const bool formCombo = className == QLatin1String(CDirectoryCombo::staticMetaObject.className())
        || className == QLatin1String(CFolderCombo::staticMetaObject.className())
        || className == QLatin1String(CPreviewCombo::staticMetaObject.className());
    auto* combo = qobject_cast<QComboBox*>(object);
    return formCombo && combo ? new NamedComboAccessible(combo) : nullptr;
}
}

void AccessibleControls::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(FormComboFactory);
        return true;
    }();
    (void)installed;
}

void AccessibleControls::DescribeListColumns(QTreeWidget* list)
{
    QTreeWidgetItem* header = list->headerItem();
    for (int column = 0; column < 4 && column < list->columnCount(); ++column) {
        const QString words = QString::fromLatin1(kColumnWords[column]);
        header->setToolTip(column, words);
        header->setData(column, Qt::AccessibleTextRole, words);
        header->setData(column, Qt::AccessibleDescriptionRole, words);
    }
}
