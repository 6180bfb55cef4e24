#include "ui/CPreviewEdit.h"

#include "ui/ItemColours.h"

#include <QPainter>

CPreviewEdit::CPreviewEdit(QWidget* parent) : QLineEdit(parent) {}

void CPreviewEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    // Under a light theme the style's own frame stands out and stays as the style draws it.
    if (!hasFrame() || !ItemColours::IsDark(palette())) return;
    QPainter painter(this);
    const QColor line = hasFocus() ? palette().color(QPalette::Highlight) : ItemColours::FrameLine(palette());
    painter.setPen(QPen(line, 0)); // one device pixel at any scale, on the outermost pixels
    painter.setBrush(Qt::NoBrush);
    const qreal inset = 0.5 / devicePixelRatioF();
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
