#include "res/Artwork.h"

#include "res/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kFolderYellow(230, 190, 60);
const QColor kBookBlue(30, 70, 160);
const QColor kBookRed(170, 40, 40);
const QColor kBookGreen(30, 120, 60);
const QColor kArrowGreen(20, 140, 40);
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

void DrawPage(QPainter& p, const QRect& r)
{
    DrawOutlined(p, r, kPaper);
    p.setPen(kGrey);
    for (int y = r.top() + 3; y < r.bottom() - 1; y += 2)
        p.drawLine(r.left() + 2, y, r.right() - 2, y);
}

void DrawFolder(QPainter& p, bool open)
{
    DrawOutlined(p, QRect(1, 4, 12, 9), kFolderYellow);
    p.drawRect(1, 2, 5, 2);
    if (open) {
        p.setBrush(kFolderYellow.lighter(120));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    }
}

void DrawPlus(QPainter& p, int cx, int cy)
{
    p.setPen(QPen(kArrowGreen, 2));
    p.drawLine(cx - 3, cy, cx + 3, cy);
    p.drawLine(cx, cy - 3, cx, cy + 3);
}

void DrawScissors(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.drawLine(5, 1, 10, 9);
    p.drawLine(10, 1, 5, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBookRed, 1));
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void DrawClipboard(QPainter& p)
{
    DrawOutlined(p, QRect(1, 2, 9, 12), QColor(150, 100, 50));
    p.setBrush(kLightGrey);
    p.drawRect(3, 1, 5, 2);
    DrawPage(p, QRect(6, 5, 8, 9));
}

void DrawSelectAll(QPainter& p)
{
    DrawOutlined(p, QRect(1, 1, 13, 12), kPaper);
    p.fillRect(2, 3, 12, 8, QColor(0, 0, 128));
    p.setPen(kPaper);
    for (int y = 4; y <= 10; y += 3)
        p.drawLine(3, y, 12, y);
}

void DrawPencil(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(QColor(240, 200, 40));
    p.drawPolygon(QPolygon({QPoint(14, 2), QPoint(15, 3), QPoint(8, 10), QPoint(6, 11), QPoint(7, 9)}));
}

void DrawCross(QPainter& p)
{
    p.setPen(QPen(kBookRed, 2));
    p.drawLine(3, 3, 12, 11);
    p.drawLine(12, 3, 3, 11);
}

void DrawQuestionMark(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(1, 0, 13, 13);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kBookBlue);
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

// The toolbar pictures by command; a command not listed has none.
struct ToolbarPicture {
    int commandId;
    void (*draw)(QPainter&);
};

const ToolbarPicture kToolbarPictures[] = {
    {ID_FILE_NEW_FOLDER,
     [](QPainter& p) {
         DrawFolder(p, false);
         DrawPlus(p, 12, 4);
     }},
    {ID_FILE_OPEN_FOLDER, [](QPainter& p) { DrawFolder(p, true); }},
    {ID_EDIT_CUT, DrawScissors},
    {ID_EDIT_COPY,
     [](QPainter& p) {
         DrawPage(p, QRect(1, 1, 8, 9));
         DrawPage(p, QRect(6, 5, 8, 9));
     }},
    {ID_EDIT_PASTE, DrawClipboard},
    {ID_EDIT_SELECT_ALL, DrawSelectAll},
    {ID_EDIT_ENTRY,
     [](QPainter& p) {
         DrawPage(p, QRect(1, 1, 10, 13));
         DrawPencil(p);
     }},
    {ID_ADD_ENTRY,
     [](QPainter& p) {
         DrawPage(p, QRect(1, 1, 10, 13));
         DrawPlus(p, 12, 10);
     }},
    {ID_EDIT_CLEAR, DrawCross},
    {ID_APP_ABOUT, DrawQuestionMark},
};

const ToolbarPicture* FindToolbarPicture(int commandId)
{
    for (const ToolbarPicture& picture : kToolbarPictures)
        if (picture.commandId == commandId) return &picture;
    return nullptr;
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

void DrawLeftArrow(QPainter& p)
{
    QPolygonF arrow({QPointF(1, 8), QPointF(7, 2), QPointF(7, 5), QPointF(15, 5), QPointF(15, 11),
                     QPointF(7, 11), QPointF(7, 14)});
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kArrowGreen);
    p.drawPolygon(arrow);
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
}

namespace Artwork {
QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(ScaledPicture(size, 32, DrawProgram));
    return icon;
}

QPixmap ToolbarImage(int commandId)
{
    const ToolbarPicture* picture = FindToolbarPicture(commandId);
    if (!picture)
        return QPixmap();
    QPixmap pixmap = Blank(kToolbarImageWidth, kToolbarImageHeight);
    QPainter p(&pixmap);
    picture->draw(p);
    return pixmap;
}

QIcon TransferIcon(int iconId)
{
    QIcon icon;
    if (iconId != 143 && iconId != 144)
        return icon;
    for (int size : {16, 32}) {
        // The two arrows are one picture and its mirror, so that neither looks heavier than the other.
        const QPixmap left = ScaledPicture(size, 16, DrawLeftArrow);
        icon.addPixmap(iconId == 143 ? left : QPixmap::fromImage(left.toImage().mirrored(true, false)));
    }
    return icon;
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
