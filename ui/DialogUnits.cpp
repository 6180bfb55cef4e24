#include "ui/DialogUnits.h"

#include <QFontMetrics>

namespace {
// Rounds like the platform's MulDiv(value, numerator, denominator).
int MulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// The fewest logical pixels that make a whole number of device pixels: 1 at 1x and 2x, 2 at 1.5x, 4 at 1.25x.
int GridStep(qreal devicePixelRatio)
{
    for (int step = 1; step <= 8; ++step) {
        const qreal device = step * devicePixelRatio;
        if (qAbs(device - qRound(device)) < 0.01) return step;
    }
    return 1;
}
}

DialogUnits::DialogUnits(const QFont& font, qreal devicePixelRatio) : m_gridStep(GridStep(devicePixelRatio))
{
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded as the dialog manager does.
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = qMax(1, (letters / 26 + 1) / 2);
    m_baseY = qMax(1, metrics.height());
}

int DialogUnits::X(int units) const
{
    return MulDiv(units, m_baseX, 4);
}

int DialogUnits::Y(int units) const
{
    return MulDiv(units, m_baseY, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const
{
    if (m_gridStep == 1) return QRect(X(x), Y(y), X(width), Y(height));
    const auto snap = [this](int pixels) { return (pixels + m_gridStep / 2) / m_gridStep * m_gridStep; };
    const int left = snap(X(x));
    const int top = snap(Y(y));
    return QRect(left, top, snap(X(x) + X(width)) - left, snap(Y(y) + Y(height)) - top);
}

QFont DialogUnits::DialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
