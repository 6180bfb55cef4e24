#include "app/StatusLine.h"

#include <QAccessibleWidget>

namespace {
class StatusLineAccessible : public QAccessibleWidget {
public:
    explicit StatusLineAccessible(StatusLine* line) : QAccessibleWidget(line, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* line = static_cast<const QLabel*>(widget());
        switch (t) {
        case QAccessible::Name:
            return line->accessibleName();
        case QAccessible::Value:
        case QAccessible::Description:
            return line->text();
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* StatusLineFactory(const QString& className, QObject* object)
{
    auto* line = qobject_cast<StatusLine*>(object);
    return line && className == QLatin1String(StatusLine::staticMetaObject.className()) ? new StatusLineAccessible(line)
                                                                                          : nullptr;
}
}

StatusLine::StatusLine(QWidget* parent) : QLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(StatusLineFactory);
        return true;
    }();
    (void)installed;
    setAccessibleName(QStringLiteral("Status"));
}

void StatusLine::SetText(const QString& text)
{
    if (text == QLabel::text()) return;
    setText(text);
    QAccessibleValueChangeEvent changed(this, text);
    QAccessible::updateAccessibility(&changed);
    emit Announced(text);
}
