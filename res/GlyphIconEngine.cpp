#include "res/GlyphIconEngine.h"

#include "res/GlyphPainter.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

GlyphIconEngine::GlyphIconEngine(const QSize& grid, Draw draw, const Inks& inks)
    : m_grid(grid), m_draw(draw), m_inks(inks)
{
}

QColor GlyphIconEngine::Ink(QIcon::Mode mode) const
{
    switch (mode) {
    case QIcon::Disabled: return m_inks.disabled;
    case QIcon::Selected: return m_inks.selected;
    default: return m_inks.normal;
    }
}

QPixmap GlyphIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    if (!m_draw || size.isEmpty())
        return QPixmap();
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    GlyphPainter glyph(painter, QRect(QPoint(0, 0), size), m_grid, Ink(mode));
    m_draw(glyph);
    return picture;
}

void GlyphIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    // Drawn through a pixmap at the painter's device resolution, so that the edges fall on device pixels.
    // (QIcon::pixmap with a device pixel ratio asks pixmap() for the size in device pixels itself.)
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize pixels(static_cast<int>(std::lround(rect.width() * ratio)),
                       static_cast<int>(std::lround(rect.height() * ratio)));
    painter->drawPixmap(rect, pixmap(pixels, mode, state));
}

QSize GlyphIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    return size;
}

QList<QSize> GlyphIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return {m_grid};
}

QIconEngine* GlyphIconEngine::clone() const
{
    return new GlyphIconEngine(m_grid, m_draw, m_inks);
}

QString GlyphIconEngine::key() const
{
    return QStringLiteral("GlyphIconEngine");
}
