#pragma once
// Draws a one-colour picture designed on a grid of whole units (16 x 15 for a toolbar picture) at any pixel
// size. Straight edges fall on whole pixels and lines are a whole number of pixels thick, so the picture is as
// sharp at 1.5 times its size as at 1 and 2 times; slanted lines and curves are smoothed.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

class GlyphPainter {
public:
    // `target` is in device pixels; the grid is scaled evenly to fit it and centred.
    GlyphPainter(QPainter& painter, const QRect& target, const QSizeF& grid, const QColor& ink);

    // A line's thickness in pixels: one grid unit, rounded, never less than one pixel.
    int LineWidth() const { return m_lineWidth; }
    // The outline of the cells from (x0, y0) to (x1, y1), grid lines as edges; the line lies inside.
    void Box(qreal x0, qreal y0, qreal x1, qreal y1);
    // The cells from (x0, y0) to (x1, y1) filled; `alpha` lightens a shade.
    void Fill(qreal x0, qreal y0, qreal x1, qreal y1, qreal alpha = 1.0);
    // The same cells made transparent again: a front sheet hides what lies behind it.
    void Clear(qreal x0, qreal y0, qreal x1, qreal y1);
    // A line one unit thick along row y (from x0 to x1) or column x (from y0 to y1).
    void HLine(qreal x0, qreal x1, qreal y);
    void VLine(qreal x, qreal y0, qreal y1);
    // A free path in grid coordinates: stroked `units` lines thick, or filled.
    void Stroke(const QPainterPath& path, qreal units = 1.0);
    void FillPath(const QPainterPath& path, qreal alpha = 1.0);
    // The path's area and a line's width round it made transparent: a picture laid over another.
    void ClearPath(const QPainterPath& path);

private:
    int PX(qreal x) const;
    int PY(qreal y) const;
    QRect Cells(qreal x0, qreal y0, qreal x1, qreal y1) const;
    QPainterPath ToPixels(const QPainterPath& path) const;

    QPainter& m_painter;
    QColor m_ink;
    qreal m_scale;
    qreal m_originX;
    qreal m_originY;
    int m_lineWidth;
};
