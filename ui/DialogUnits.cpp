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
}

DialogUnits::DialogUnits(const QFont& font)
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
    return QRect(X(x), Y(y), X(width), Y(height));
}

QFont DialogUnits::DialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
