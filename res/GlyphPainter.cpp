#include "res/GlyphPainter.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

GlyphPainter::GlyphPainter(QPainter& painter, const QRect& target, const QSizeF& grid, const QColor& ink)
    : m_painter(painter), m_ink(ink)
{
    m_scale = std::min(target.width() / grid.width(), target.height() / grid.height());
    // A whole-pixel origin keeps the grid lines of both axes on pixel edges.
    m_originX = target.left() + std::floor((target.width() - grid.width() * m_scale) / 2);
    m_originY = target.top() + std::floor((target.height() - grid.height() * m_scale) / 2);
    m_lineWidth = std::max(1, static_cast<int>(std::lround(m_scale)));
    m_painter.setRenderHint(QPainter::Antialiasing);
}

int GlyphPainter::PX(qreal x) const
{
    return static_cast<int>(std::lround(m_originX + x * m_scale));
}

int GlyphPainter::PY(qreal y) const
{
    return static_cast<int>(std::lround(m_originY + y * m_scale));
}

QRect GlyphPainter::Cells(qreal x0, qreal y0, qreal x1, qreal y1) const
{
    return QRect(QPoint(PX(x0), PY(y0)), QPoint(PX(x1) - 1, PY(y1) - 1));
}

void GlyphPainter::Box(qreal x0, qreal y0, qreal x1, qreal y1)
{
    const QRect r = Cells(x0, y0, x1, y1);
    const int w = std::min({m_lineWidth, r.width(), r.height()});
    m_painter.fillRect(QRect(r.left(), r.top(), r.width(), w), m_ink);
    m_painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), m_ink);
    m_painter.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), m_ink);
    m_painter.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), m_ink);
}

void GlyphPainter::Fill(qreal x0, qreal y0, qreal x1, qreal y1, qreal alpha)
{
    QColor shade = m_ink;
    shade.setAlphaF(m_ink.alphaF() * alpha);
    m_painter.fillRect(Cells(x0, y0, x1, y1), shade);
}

void GlyphPainter::Clear(qreal x0, qreal y0, qreal x1, qreal y1)
{
    const QPainter::CompositionMode mode = m_painter.compositionMode();
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    m_painter.fillRect(Cells(x0, y0, x1, y1), Qt::transparent);
    m_painter.setCompositionMode(mode);
}

void GlyphPainter::HLine(qreal x0, qreal x1, qreal y)
{
    m_painter.fillRect(QRect(PX(x0), PY(y), PX(x1) - PX(x0), m_lineWidth), m_ink);
}

void GlyphPainter::VLine(qreal x, qreal y0, qreal y1)
{
    m_painter.fillRect(QRect(PX(x), PY(y0), m_lineWidth, PY(y1) - PY(y0)), m_ink);
}

QPainterPath GlyphPainter::ToPixels(const QPainterPath& path) const
{
    return QTransform(m_scale, 0, 0, m_scale, m_originX, m_originY).map(path);
}

void GlyphPainter::Stroke(const QPainterPath& path, qreal units)
{
    const int width = std::max(1, static_cast<int>(std::lround(units * m_scale)));
    m_painter.strokePath(ToPixels(path), QPen(m_ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void GlyphPainter::ClearPath(const QPainterPath& path)
{
    const QPainter::CompositionMode mode = m_painter.compositionMode();
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    const QPainterPath pixels = ToPixels(path);
    m_painter.fillPath(pixels, Qt::black);
    m_painter.strokePath(pixels, QPen(Qt::black, 3 * m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.setCompositionMode(mode);
}

void GlyphPainter::FillPath(const QPainterPath& path, qreal alpha)
{
    QColor shade = m_ink;
    shade.setAlphaF(m_ink.alphaF() * alpha);
    m_painter.fillPath(ToPixels(path), shade);
}
