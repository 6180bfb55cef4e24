#include "res/Artwork.h"

#include "res/CommandIds.h"
#include "res/GlyphIconEngine.h"
#include "res/GlyphPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QTransform>

#include <algorithm>

namespace {
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBookBlue(30, 70, 160);
const QColor kBookRed(170, 40, 40);
const QColor kBookGreen(30, 120, 60);
const QColor kGrey(128, 128, 128);
const QColor kLightGrey(192, 192, 192);

QPixmap Blank(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A filled rectangle with an ink outline: pages, books and boxes.
void DrawOutlined(QPainter& p, const QRect& r, const QColor& fill)
{
    p.setPen(kInk);
    p.setBrush(fill);
    p.drawRect(r);
}

// The toolbar pictures: one-colour line drawings on a 16 x 15 grid, drawn in the palette's text colour so that
// they stay visible under dark themes. Coordinates are grid lines (Box, Fill, HLine, VLine) or line centres
// (paths, at half units so that one-unit lines fill whole pixels).
const QSize kToolbarGrid(Artwork::kToolbarImageWidth, Artwork::kToolbarImageHeight);
const QSize kTransferGrid(16, 16);

void DrawFolderBack(GlyphPainter& g)
{
    g.Box(1, 3, 7, 6); // the tab
    g.Box(1, 5, 13, 14);
}

void DrawNewFolder(GlyphPainter& g)
{
    DrawFolderBack(g);
    g.HLine(11, 16, 2);
    g.VLine(13, 0, 5);
}

void DrawOpenFolder(GlyphPainter& g)
{
    DrawFolderBack(g);
    QPainterPath flap;
    flap.addPolygon(QPolygonF({QPointF(4.5, 8.5), QPointF(15.5, 8.5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
    flap.closeSubpath();
    g.ClearPath(flap);
    g.FillPath(flap, 0.3);
    g.Stroke(flap);
}

// Two strokes crossing each other: from a to b, and from c to d.
QPainterPath CrossingStrokes(QPointF a, QPointF b, QPointF c, QPointF d)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.moveTo(c);
    path.lineTo(d);
    return path;
}

void DrawScissors(GlyphPainter& g)
{
    g.Stroke(CrossingStrokes({11.5, 0.5}, {5.5, 9.5}, {4.5, 0.5}, {10.5, 9.5}));
    QPainterPath rings;
    rings.addEllipse(QPointF(4.5, 11.5), 2.5, 2.5);
    rings.addEllipse(QPointF(11.5, 11.5), 2.5, 2.5);
    g.Stroke(rings);
}

void DrawLines(GlyphPainter& g, qreal x0, qreal x1, std::initializer_list<qreal> rows)
{
    for (qreal y : rows) g.HLine(x0, x1, y);
}

void DrawCopy(GlyphPainter& g)
{
    g.Box(1, 1, 10, 11);
    g.Clear(5, 3, 16, 15);
    g.Box(6, 4, 15, 15);
    DrawLines(g, 8, 13, {7, 9, 11});
}

void DrawPaste(GlyphPainter& g)
{
    g.Box(1, 2, 12, 15);
    g.Fill(4, 0, 9, 4); // the clip
    g.Clear(6, 5, 16, 15);
    g.Box(7, 6, 16, 15);
    DrawLines(g, 9, 14, {9, 11});
}

void DrawSelectAll(GlyphPainter& g)
{
    // A dashed frame round the whole text.
    for (int x = 0; x < 16; x += 3) {
        g.HLine(x, std::min(x + 2, 16), 0);
        g.HLine(x, std::min(x + 2, 16), 14);
    }
    for (int y = 0; y < 15; y += 3) {
        g.VLine(0, y, std::min(y + 2, 15));
        g.VLine(15, y, std::min(y + 2, 15));
    }
    g.Fill(3, 3, 13, 5);
    g.Fill(3, 6, 13, 8);
    g.Fill(3, 9, 10, 11);
}

void DrawCard(GlyphPainter& g)
{
    g.Box(1, 1, 11, 15);
    DrawLines(g, 3, 9, {4, 6, 8});
}

void DrawEditEntry(GlyphPainter& g)
{
    DrawCard(g);
    QPainterPath pencil;
    pencil.addPolygon(QPolygonF({QPointF(13.5, 1), QPointF(15.5, 3), QPointF(8, 10.5), QPointF(5, 12),
                                 QPointF(6, 8.5)}));
    pencil.closeSubpath();
    g.ClearPath(pencil);
    g.Stroke(pencil);
}

void DrawAddEntry(GlyphPainter& g)
{
    DrawCard(g);
    g.Clear(8, 7, 16, 15);
    g.HLine(9, 16, 11);
    g.VLine(12, 8, 15);
}

void DrawDelete(GlyphPainter& g)
{
    g.Stroke(CrossingStrokes({3.5, 3}, {12.5, 12}, {12.5, 3}, {3.5, 12}), 2);
}

void DrawAbout(GlyphPainter& g)
{
    QPainterPath ring;
    ring.addEllipse(QPointF(7.5, 7.5), 6.5, 6.5);
    g.Stroke(ring);
    QPainterPath hook;
    hook.arcMoveTo(QRectF(5.5, 3.5, 4, 4), 160);
    hook.arcTo(QRectF(5.5, 3.5, 4, 4), 160, -250);
    hook.lineTo(7.5, 9);
    g.Stroke(hook);
    g.Fill(7, 10, 8, 11);
}

// 143: the arrow to the telephone points left; 144 is its mirror image.
QPainterPath LeftArrow()
{
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF({QPointF(1, 8), QPointF(7, 2), QPointF(7, 5), QPointF(15, 5), QPointF(15, 11),
                                QPointF(7, 11), QPointF(7, 14)}));
    arrow.closeSubpath();
    return arrow;
}

void DrawArrowToPhone(GlyphPainter& g)
{
    g.FillPath(LeftArrow());
}

void DrawArrowToAddressBook(GlyphPainter& g)
{
    g.FillPath(QTransform(-1, 0, 0, 1, kTransferGrid.width(), 0).map(LeftArrow()));
}

struct ToolbarPicture {
    int commandId;
    GlyphIconEngine::Draw draw;
};

const ToolbarPicture kToolbarPictures[] = {
    {ID_FILE_NEW_FOLDER, DrawNewFolder}, {ID_FILE_OPEN_FOLDER, DrawOpenFolder}, {ID_EDIT_CUT, DrawScissors},
    {ID_EDIT_COPY, DrawCopy},            {ID_EDIT_PASTE, DrawPaste},            {ID_EDIT_SELECT_ALL, DrawSelectAll},
    {ID_EDIT_ENTRY, DrawEditEntry},      {ID_ADD_ENTRY, DrawAddEntry},          {ID_EDIT_CLEAR, DrawDelete},
    {ID_APP_ABOUT, DrawAbout},
};

GlyphIconEngine::Draw FindToolbarPicture(int commandId)
{
    for (const ToolbarPicture& picture : kToolbarPictures)
        if (picture.commandId == commandId) return picture.draw;
    return nullptr;
}

// Button text for the picture; the disabled group's for a disabled button, highlighted text on a selection.
GlyphIconEngine::Inks InksOf(const QPalette& palette)
{
    return {palette.color(QPalette::Active, QPalette::ButtonText),
            palette.color(QPalette::Disabled, QPalette::ButtonText),
            palette.color(QPalette::Active, QPalette::HighlightedText)};
}

// A square picture drawn on a grid of `grid` units, scaled to `size` pixels and smoothed.
template <class Draw>
QPixmap ScaledPicture(int size, qreal grid, Draw draw)
{
    QPixmap pixmap = Blank(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / grid, size / grid);
    draw(p);
    return pixmap;
}

// A handset over a book, the program's two halves.
void DrawProgram(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBookBlue);
    p.drawRoundedRect(QRectF(12, 3, 18, 26), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(15, 6, 12, 8));
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(2, 8, 12, 22), 3, 3);
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(QRectF(4, 11, 8, 5));
    p.setBrush(kLightGrey);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(4 + col * 3, 18 + row * 3.5, 2, 2));
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(11, 8), QPointF(11, 3));
}

void DrawBook(QPainter& p, const QRect& r, const QColor& colour)
{
    DrawOutlined(p, r, colour);
    p.setPen(colour.lighter(160));
    p.drawLine(r.left() + 1, r.top() + 2, r.right() - 1, r.top() + 2);
    p.drawLine(r.left() + 1, r.bottom() - 2, r.right() - 1, r.bottom() - 2);
}

QColor Shade(const QColor& colour, bool disabled)
{
    return disabled ? QColor(kLightGrey) : colour;
}
// The program icon at 16 and 32 pixels, drawn pixel by pixel rather than scaled down from the large picture,
// so that its edges stay sharp: the same handset and card box, with fewer details. The launcher's small icons
// (desktop/*-16.svg, *-32.svg) are the same rectangles.
struct PixelRect {
    int x, y, w, h;
    QRgb colour;
};

const PixelRect kProgramIcon16[] = {
    {5, 1, 10, 14, 0x0f2a66}, {6, 2, 8, 12, 0x1e46a0}, {8, 3, 5, 6, 0xffffff},  {9, 5, 3, 1, 0x7a8cb8},
    {9, 7, 3, 1, 0x7a8cb8},   {15, 3, 1, 3, 0xaa2828}, {15, 7, 1, 3, 0x1e783c}, {15, 11, 1, 3, 0xe6be3c},
    {5, 1, 2, 4, 0x000000},   {0, 4, 7, 12, 0x000000}, {1, 5, 5, 10, 0x3c3c3c}, {1, 6, 5, 3, 0xaadcaa},
    {1, 10, 1, 1, 0xc0c0c0},  {3, 10, 1, 1, 0xc0c0c0}, {5, 10, 1, 1, 0xc0c0c0}, {1, 12, 1, 1, 0xc0c0c0},
    {3, 12, 1, 1, 0xc0c0c0},  {5, 12, 1, 1, 0xc0c0c0},
};

const PixelRect kProgramIcon32[] = {
    {10, 2, 20, 28, 0x0f2a66}, {11, 3, 18, 26, 0x1e46a0}, {15, 5, 12, 15, 0x0f2a66}, {16, 6, 10, 13, 0xffffff},
    {17, 8, 8, 1, 0x7a8cb8},   {17, 11, 8, 1, 0x7a8cb8},  {17, 14, 8, 1, 0x7a8cb8},  {17, 17, 5, 1, 0x7a8cb8},
    {29, 5, 2, 5, 0x6e1616},   {29, 12, 2, 5, 0x0f4a22},  {29, 19, 2, 5, 0x9a7a16},  {30, 6, 2, 3, 0xaa2828},
    {30, 13, 2, 3, 0x1e783c},  {30, 20, 2, 3, 0xe6be3c},  {11, 2, 3, 8, 0x000000},   {1, 7, 14, 24, 0x000000},
    {2, 8, 12, 22, 0x3c3c3c},  {3, 10, 10, 7, 0x000000},  {4, 11, 8, 5, 0xaadcaa},   {3, 19, 2, 2, 0xc0c0c0},
    {7, 19, 2, 2, 0xc0c0c0},   {11, 19, 2, 2, 0xc0c0c0},  {3, 23, 2, 2, 0xc0c0c0},   {7, 23, 2, 2, 0xc0c0c0},
    {11, 23, 2, 2, 0xc0c0c0},  {3, 27, 2, 2, 0xc0c0c0},   {7, 27, 2, 2, 0xc0c0c0},   {11, 27, 2, 2, 0xc0c0c0},
};

template <size_t N>
QPixmap PixelPicture(int size, const PixelRect (&rects)[N])
{
    QPixmap pixmap = Blank(size, size);
    QPainter p(&pixmap);
    for (const PixelRect& r : rects) p.fillRect(r.x, r.y, r.w, r.h, QColor::fromRgb(r.colour));
    return pixmap;
}
}

namespace Artwork {
QIcon ProgramIcon()
{
    QIcon icon;
    icon.addPixmap(PixelPicture(16, kProgramIcon16));
    icon.addPixmap(PixelPicture(32, kProgramIcon32));
    for (int size : {48, 64, 128, 256})
        icon.addPixmap(ScaledPicture(size, 32, DrawProgram));
    return icon;
}

QIcon ToolbarIcon(int commandId, const QPalette& palette)
{
    const GlyphIconEngine::Draw draw = FindToolbarPicture(commandId);
    if (!draw)
        return QIcon();
    return QIcon(new GlyphIconEngine(kToolbarGrid, draw, InksOf(palette)));
}

QIcon TransferIcon(int iconId, const QPalette& palette)
{
    if (iconId != 143 && iconId != 144)
        return QIcon();
    return QIcon(new GlyphIconEngine(kTransferGrid, iconId == 143 ? DrawArrowToPhone : DrawArrowToAddressBook,
                                     InksOf(palette)));
}

QPixmap FolderImage(int kind, bool disabled)
{
    QPixmap pixmap = Blank(kFolderImageSize, kFolderImageSize);
    QPainter p(&pixmap);
    if (kind == FOLDER_MAIN) {
        const QColor colours[] = {kBookBlue, kBookRed, kBookGreen, kBookBlue};
        for (int i = 0; i < 4; ++i)
            DrawBook(p, QRect(1 + i * 4, 2 + (i % 2), 3, 14 - (i % 2)), Shade(colours[i], disabled));
    } else if (kind == FOLDER_SUB) {
        DrawBook(p, QRect(4, 2, 9, 14), Shade(kBookRed, disabled));
        p.setPen(disabled ? kGrey : kInk);
        p.drawLine(6, 6, 11, 6);
    }
    return pixmap;
}

QCursor SplitCursor()
{
    // A double bar with arrows to both sides: the column border can be moved left or right.
    QPixmap pixmap = Blank(32, 32);
    QPainter p(&pixmap);
    const QPolygon arrows({QPoint(2, 16), QPoint(8, 10), QPoint(8, 14), QPoint(14, 14), QPoint(14, 4),
                           QPoint(18, 4), QPoint(18, 14), QPoint(24, 14), QPoint(24, 10), QPoint(30, 16),
                           QPoint(24, 22), QPoint(24, 18), QPoint(18, 18), QPoint(18, 28), QPoint(14, 28),
                           QPoint(14, 18), QPoint(8, 18), QPoint(8, 22)});
    p.setPen(kPaper);
    p.setBrush(kInk);
    p.drawPolygon(arrows);
    return QCursor(pixmap, 16, 16);
}
}
