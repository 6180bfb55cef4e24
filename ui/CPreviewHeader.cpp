#include "ui/CPreviewHeader.h"

#include "res/StringTable.h"

#include <QPainter>

CPreviewHeader::CPreviewHeader(const std::array<int, 4>* widths, QWidget* parent)
    : QAbstractButton(parent), m_pWidths(widths)
{
    setFocusPolicy(Qt::NoFocus);
}

void CPreviewHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().button());
    const int headings[4] = {Ids::IDS_COL_NAME, Ids::IDS_COL_NUMBER, Ids::IDS_COL_INDEX, Ids::IDS_COL_STATUS};
    int left = 0;
    for (int column = 0; column < 4; ++column) {
        const int border = left + (*m_pWidths)[static_cast<size_t>(column)];
        painter.setPen(palette().buttonText().color());
        painter.drawText(QRect(left + 5, r.top(), border - left - 5, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         StringTable::LoadQString(headings[column]));
        if (column < 3) {
            painter.setPen(QColor(128, 128, 128));
            painter.drawLine(border, r.bottom(), border, r.top());
            painter.setPen(QColor(223, 223, 223));
            painter.drawLine(border + 1, r.bottom(), border + 1, r.top());
        }
        left = border;
    }
}
