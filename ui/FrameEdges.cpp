#include "ui/FrameEdges.h"

#include "ui/ItemColours.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>

namespace {
bool Fractional(qreal ratio)
{
    return qAbs(ratio - qRound(ratio)) > 0.01;
}

// The layer: as large as the control, above its contents, deaf to the mouse; it paints only the outline.
class EdgeLayer : public QWidget {
public:
    explicit EdgeLayer(QFrame* control) : QWidget(control), m_pControl(control)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        control->installEventFilter(this);
        Follow();
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == m_pControl && (event->type() == QEvent::Resize || event->type() == QEvent::ChildAdded)) Follow();
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPalette& palette = m_pControl->palette();
        if (!ItemColours::IsDark(palette) && !Fractional(devicePixelRatioF())) return; // the style's own frame shows
        if (m_pControl->frameShape() == QFrame::NoFrame) return;
        QPainter painter(this);
        painter.setPen(QPen(ItemColours::FrameLine(palette), 0)); // one device pixel at any scale
        const qreal half = 0.5 / devicePixelRatioF();
        painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
    }

private:
    void Follow()
    {
        setGeometry(m_pControl->rect());
        raise();
    }

    QFrame* m_pControl;
};
}

namespace FrameEdges {
void Keep(QFrame* control)
{
    new EdgeLayer(control);
}
}
