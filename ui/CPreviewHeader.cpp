#include "ui/CPreviewHeader.h"

#include "res/Artwork.h"
#include "res/StringTable.h"
#include "ui/CPreviewRow.h"
#include "ui/ItemColours.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kNarrowest = 2;      // a squeezed column keeps this width, so its border stays grabbable
constexpr int kGrabDistance = 10;  // the pointer is on a border when closer than this


struct Borders {
    int b0, b1, b2;
    explicit Borders(const std::array<int, 4>& w) : b0(w[0]), b1(w[0] + w[1]), b2(w[0] + w[1] + w[2]) {}
};

void DragNameBorder(std::array<int, 4>& w, const std::array<int, 4>& old, int W, int x)
{
    const Borders b(old);
    if (x > kNarrowest && x < b.b1 - 2) {
        w[0] = x;
        w[1] = b.b1 - x;
    } else if (x >= b.b1 - 2) {
        // The number column is squeezed first, then the index column; the status column takes the rest.
        w[0] = x;
        w[1] = kNarrowest;
        w[2] = (x + 4 >= b.b2) ? kNarrowest : W - old[3] - x - 2;
        if (x > W - 6) {
            w[0] = W - 6;
            w[1] = kNarrowest;
            w[2] = kNarrowest;
        }
        w[3] = W - w[0] - w[2] - 2;
    } else {
        w[1] = old[1] + old[0] - kNarrowest;
        w[0] = kNarrowest;
    }
}

void DragNumberBorder(std::array<int, 4>& w, const std::array<int, 4>& old, int W, int x)
{
    const Borders b(old);
    const int d = x - b.b0;
    if (d > kNarrowest && d < old[1] + old[2] - 2) {
        w[1] = d;
        w[2] = b.b2 - x;
    } else if (d >= old[1] + old[2] - 2) {
        w[1] = d;
        w[2] = kNarrowest;
        if (d > W - b.b0 - 4) w[1] = W - b.b0 - 4;
        w[3] = W - w[0] - w[1] - 2;
    } else {
        // Pushed into the name column: the number column stays narrow and shoves border 0 ahead of it.
        w[1] = kNarrowest;
        w[0] = x - 4;
        w[2] = b.b2 - x + 2;
        if (x - 4 < kNarrowest) {
            w[0] = kNarrowest;
            w[2] = b.b2 - 4;
        }
        w[3] = W - w[0] - w[2] - 2;
    }
}

void DragIndexBorder(std::array<int, 4>& w, const std::array<int, 4>& old, int W, int x)
{
    const Borders b(old);
    const int e = x - b.b1;
    if (e > kNarrowest) {
        w[2] = e;
        w[3] = old[3] + b.b2 - x;
        if (e > W - b.b1 - 2) {
            w[2] = W - b.b1 - 2;
            w[3] = kNarrowest;
        }
        return;
    }
    w[2] = kNarrowest;
    // A number column that would end up narrower than the minimum (the pointer went past border 0) is squeezed
    // to the minimum like an already narrow one: a negative width would put border 1 left of border 0.
    if (old[1] > kNarrowest && x - b.b0 - 2 >= kNarrowest) {
        w[1] = x - b.b0 - 2;
    } else {
        w[1] = kNarrowest;
        w[0] = x - 4;
    }
    if (w[0] < kNarrowest) w[0] = w[1] = w[2] = kNarrowest;
    w[3] = W - w[0] - w[1] - 2;
}
}

CPreviewHeader::CPreviewHeader(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // Moves without a button pressed must arrive too, to show the split cursor over a border.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // the drawing paints the whole control
}

std::array<int, 4> CPreviewHeader::DraggedWidths(const std::array<int, 4>& widths, int rowWidth, int border, int x)
{
    std::array<int, 4> result = widths;
    switch (border) {
    case 0: DragNameBorder(result, widths, rowWidth, x); break;
    case 1: DragNumberBorder(result, widths, rowWidth, x); break;
    case 2: DragIndexBorder(result, widths, rowWidth, x); break;
    default: break;
    }
    return result;
}

int CPreviewHeader::BorderNear(const std::array<int, 4>& widths, int x)
{
    const Borders b(widths);
    const int borders[3] = {b.b0, b.b1, b.b2};
    for (int k = 0; k < 3; ++k) {
        if (x > borders[k] - kGrabDistance && x < borders[k] + kGrabDistance) return k;
    }
    return -1;
}

int CPreviewHeader::RowWidth() const
{
    return m_pRow ? m_pRow->PreviewRowWidth() : 0;
}

void CPreviewHeader::SetOverBorder(int over)
{
    if (over == m_bOverBorder) return;
    m_bOverBorder = over;
    if (over)
        setCursor(Artwork::SplitCursor());
    else
        unsetCursor();
}

void CPreviewHeader::mouseMoveEvent(QMouseEvent* event)
{
    const int x = qRound(event->position().x());
    const int W = RowWidth();
    if (!m_pRow || x < 2 || x > W - 2) return; // outside the row: no state change, no default handling
    if ((event->buttons() & Qt::LeftButton) && m_nDragBorder >= 0) {
        SetOverBorder(1);
        m_pRow->PreviewColumnWidths() = DraggedWidths(m_pRow->PreviewColumnWidths(), W, m_nDragBorder, x);
        m_pRow->LayoutPreviewRow();
        update();
    } else if (const int border = BorderNear(m_pRow->PreviewColumnWidths(), x); border >= 0) {
        if (event->buttons() & Qt::LeftButton) m_nDragBorder = border;
        SetOverBorder(1);
    } else {
        m_nDragBorder = -1;
        SetOverBorder(0);
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CPreviewHeader::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_nDragBorder = -1;
    QAbstractButton::mouseReleaseEvent(event);
}

void CPreviewHeader::DrawHeading(QPainter& painter, int stringId, int left, int right)
{
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(left, 0, std::max(0, right - left), height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     StringTable::LoadQString(stringId));
}

void CPreviewHeader::DrawBorder(QPainter& painter, int x)
{
    const int bottom = height() - 1;
    painter.setPen(ItemColours::EtchShadow(palette()));
    painter.drawLine(x, bottom, x, 0);
    painter.setPen(ItemColours::EtchLight(palette()));
    painter.drawLine(x + 1, bottom, x + 1, 0);
}

void CPreviewHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The button's pressed or focused state leaves the drawing as it is: this is a heading, not a push button.
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!m_pRow) return;
    const std::array<int, 4>& w = m_pRow->PreviewColumnWidths();
    const Borders b(w);
    DrawHeading(painter, Ids::IDS_COL_NAME, 5, b.b0);
    DrawBorder(painter, b.b0);
    DrawHeading(painter, Ids::IDS_COL_NUMBER, 5 + w[0], b.b1);
    DrawBorder(painter, b.b1);
    DrawHeading(painter, Ids::IDS_COL_INDEX, 5 + w[0] + w[1], b.b2);
    DrawBorder(painter, b.b2);
    DrawHeading(painter, Ids::IDS_COL_STATUS, 5 + w[0] + w[1] + w[2], b.b2 + w[3]);
}
