#include "ControlShots.h"

#include <QPainter>

#include <cstdlib>

namespace {
bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}
}

bool ControlShots::PictureAt(const QImage& shot, QPoint at, const QPixmap& picture, const QColor& background)
{
    QImage expected(picture.size(), QImage::Format_ARGB32);
    expected.fill(background);
    {
        QPainter p(&expected);
        p.drawPixmap(0, 0, picture);
    }
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (!shot.rect().contains(at.x() + x, at.y() + y) ||
                !Near(shot.pixel(at.x() + x, at.y() + y), expected.pixel(x, y)))
                return false;
    return true;
}

int ControlShots::FirstInkColumn(const QImage& shot, const QRect& row, int from, const QColor& background)
{
    for (int x = std::max(from, row.left()); x <= row.right(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            if (!Near(shot.pixel(x, y), background.rgb())) return x;
    return -1;
}
