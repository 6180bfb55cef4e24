#pragma once
// Looking at what an owner-drawn item actually put on the screen: where its picture and its text start.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>

namespace ControlShots {
// True when the picture, laid over the background colour, appears at 'at' in the shot.
bool PictureAt(const QImage& shot, QPoint at, const QPixmap& picture, const QColor& background);
// The leftmost column at or right of 'from' inside 'row' with a pixel other than the background; -1 if none.
int FirstInkColumn(const QImage& shot, const QRect& row, int from, const QColor& background);
}
