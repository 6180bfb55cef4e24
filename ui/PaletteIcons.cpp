#include "ui/PaletteIcons.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QPointer>

namespace {
// Watches a widget's palette and applies the icon again when it changes. It lives as the widget's child, so it
// ends with the widget.
class PaletteWatcher : public QObject {
public:
    PaletteWatcher(QWidget* watched, std::function<void(const QPalette&)> apply)
        : QObject(watched), m_pWatched(watched), m_apply(std::move(apply))
    {
        watched->installEventFilter(this);
        m_apply(watched->palette());
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object != m_pWatched) return false;
        // A widget without a palette of its own hears of an application palette change first and resolves
        // its new palette after this filter: that resolution sends PaletteChange, which applies it.
        if (event->type() == QEvent::PaletteChange) m_apply(m_pWatched->palette());
        return false;
    }

private:
    QWidget* m_pWatched;
    std::function<void(const QPalette&)> m_apply;
};
}

namespace PaletteIcons {
void Follow(QAbstractButton* button, Maker make)
{
    new PaletteWatcher(button, [button, make = std::move(make)](const QPalette& palette) {
        button->setIcon(make(palette));
    });
}

void Follow(QWidget* shownOn, QAction* action, Maker make)
{
    const QPointer<QAction> guarded(action);
    new PaletteWatcher(shownOn, [guarded, make = std::move(make)](const QPalette& palette) {
        if (guarded) guarded->setIcon(make(palette));
    });
}
}
