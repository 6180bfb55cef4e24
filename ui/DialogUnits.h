#pragma once
// Dialog templates give positions in dialog units: a quarter of the font's average character width
// horizontally and an eighth of its height vertically. These convert them to pixels for a font.
#include <QFont>
#include <QRect>

class DialogUnits {
public:
    // At a fractional device pixel ratio (1.25, 1.5) the rectangles' edges are rounded to the logical pixels
    // that fall on whole device pixels; otherwise a frame's last line lies on a half pixel and is cut off.
    explicit DialogUnits(const QFont& font, qreal devicePixelRatio = 1.0);
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int X(int units) const; // horizontal units to pixels
    int Y(int units) const; // vertical units to pixels
    QRect Rect(int x, int y, int width, int height) const;
    // The font of the program's dialogs ("MS Sans Serif" 8 point, or the closest the system has).
    static QFont DialogFont();

private:
    int m_baseX;
    int m_baseY;
    int m_gridStep = 1; // logical pixels from one whole device pixel edge to the next
};
