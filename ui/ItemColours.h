#pragma once
// The colours of the owner-drawn controls, taken from the palette so that they follow light and dark themes.
#include <QColor>
#include <QPalette>

namespace ItemColours {
// How well two colours read on each other: the ratio of their relative luminances, 1 (same) to 21.
double Contrast(const QColor& a, const QColor& b);
// A dark theme: the list background is darker than the text on it.
bool IsDark(const QPalette& palette);
// The text of a selected item: the window text with its colour bits inverted, as the controls have always
// drawn it, while that reads on the highlight; the palette's highlighted text where it would not.
QColor SelectedText(const QPalette& palette);
// The text of any other item, on the list background (Base).
QColor ItemText(const QPalette& palette);
// A one-pixel frame line that stands out from both the field's background and the window behind it.
QColor FrameLine(const QPalette& palette);
// The etched column borders of the preview header: a shadow line and a light line beside it.
QColor EtchShadow(const QPalette& palette);
QColor EtchLight(const QPalette& palette);
}
