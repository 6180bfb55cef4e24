#include "ui/ItemColours.h"

#include <algorithm>
#include <cmath>

namespace {
// Text at this contrast or better is comfortably legible (the usual threshold for normal-sized text).
constexpr double kReadable = 4.5;

double Channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c)
{
    return 0.2126 * Channel(c.redF()) + 0.7152 * Channel(c.greenF()) + 0.0722 * Channel(c.blueF());
}

QColor Mix(const QColor& a, const QColor& b, double share)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() * share + b.redF() * (1 - share)),
                            static_cast<float>(a.greenF() * share + b.greenF() * (1 - share)),
                            static_cast<float>(a.blueF() * share + b.blueF() * (1 - share)));
}
}

namespace ItemColours {
double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDark(const QPalette& palette)
{
    return Luminance(palette.color(QPalette::Base)) < Luminance(palette.color(QPalette::Text));
}

QColor SelectedText(const QPalette& palette)
{
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor inverse = QColor::fromRgb(~palette.color(QPalette::WindowText).rgb() & 0xFFFFFFu);
    if (Contrast(inverse, highlight) >= kReadable) return inverse;
    const QColor highlighted = palette.color(QPalette::HighlightedText);
    return Contrast(highlighted, highlight) > Contrast(inverse, highlight) ? highlighted : inverse;
}

QColor ItemText(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor windowText = palette.color(QPalette::WindowText);
    const QColor text = palette.color(QPalette::Text);
    return Contrast(windowText, base) >= Contrast(text, base) || Contrast(windowText, base) >= kReadable ? windowText
                                                                                                        : text;
}

QColor FrameLine(const QPalette& palette)
{
    return Mix(palette.color(QPalette::Text), palette.color(QPalette::Base), 0.45);
}

QColor EtchShadow(const QPalette& palette)
{
    // The light theme keeps the grey pair the header has always had.
    return IsDark(palette) ? palette.color(QPalette::Button).darker(170) : QColor(128, 128, 128);
}

QColor EtchLight(const QPalette& palette)
{
    return IsDark(palette) ? palette.color(QPalette::Button).lighter(170) : QColor(223, 223, 223);
}
}
