#pragma once
// An icon drawn on request at exactly the pixel size asked for, so that it is sharp at any device pixel ratio
// (a pixmap-based icon is scaled up and blurs at 150 %). It draws one picture in the ink of each icon mode.
#include <QColor>
#include <QIconEngine>
#include <QSize>

class GlyphPainter;

class GlyphIconEngine : public QIconEngine {
public:
    using Draw = void (*)(GlyphPainter&);
    struct Inks {
        QColor normal;
        QColor disabled;
        QColor selected;
    };

    GlyphIconEngine(const QSize& grid, Draw draw, const Inks& inks);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override { return m_draw == nullptr; }

private:
    QColor Ink(QIcon::Mode mode) const;

    QSize m_grid;
    Draw m_draw;
    Inks m_inks;
};
