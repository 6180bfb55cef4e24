#include "ui/CPreviewCombo.h"

#include "model/DirEntry.h"
#include "ui/CPreviewRow.h"
#include "ui/ItemColours.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
// Draws a working copy of the open list in the preview columns: each text starts a little right of its column
// border (2, 4 and 6 pixels), so that it lines up with the preview edit above it.
class PreviewItemDelegate : public QStyledItemDelegate {
public:
    explicit PreviewItemDelegate(CPreviewCombo* combo) : QStyledItemDelegate(combo), m_pCombo(combo) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), CPreviewCombo::kItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        const QColor text = selected ? ItemColours::SelectedText(pal) : ItemColours::ItemText(pal);
        painter->fillRect(option.rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        const DirEntry* copy = m_pCombo->Copy(index.row());
        const std::array<int, 4>* widths = m_pCombo->ColumnWidths();
        if (!copy || !widths) return;
        const std::array<int, 4>& w = *widths;
        painter->save();
        painter->setPen(text);
        const int left = option.rect.left();
        DrawColumn(painter, option.rect, left, w[0], QString::fromStdString(copy->m_strName));
        DrawColumn(painter, option.rect, w[0] + 2, w[0] + w[1], QString::fromStdString(copy->m_strNumber));
        DrawColumn(painter, option.rect, w[0] + w[1] + 4, w[0] + w[1] + w[2], QString::number(copy->m_nIndex));
        DrawColumn(painter, option.rect, w[0] + w[1] + w[2] + 6, w[0] + w[1] + w[2] + w[3],
                   QString::fromStdString(copy->m_strStatus));
        painter->restore();
    }

private:
    static void DrawColumn(QPainter* painter, const QRect& row, int left, int right, const QString& text)
    {
        if (right <= left) return;
        painter->drawText(QRect(left, row.top(), right - left, row.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

    CPreviewCombo* m_pCombo;
};
}

CPreviewCombo::CPreviewCombo(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new PreviewItemDelegate(this));
    // A press on the text strip belongs to the edit under it: the combo box takes the focus only from the
    // keyboard and from a press on its arrow (mousePressEvent).
    setFocusPolicy(Qt::TabFocus);
}

void CPreviewCombo::showPopup()
{
    emit droppedDown();
    QComboBox::showPopup();
}

void CPreviewCombo::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}

void CPreviewCombo::AddCopy(const QString& name, DirEntry* copy)
{
    addItem(name, QVariant::fromValue(reinterpret_cast<quintptr>(copy)));
}

DirEntry* CPreviewCombo::Copy(int item) const
{
    if (item < 0 || item >= count()) return nullptr;
    return reinterpret_cast<DirEntry*>(itemData(item).value<quintptr>());
}

const std::array<int, 4>* CPreviewCombo::ColumnWidths() const
{
    return m_pRow ? &m_pRow->PreviewColumnWidths() : nullptr;
}

void CPreviewCombo::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    emit focusEntered();
}

void CPreviewCombo::mousePressEvent(QMouseEvent* event)
{
    if (!m_pRow) return;
    const int x = qRound(event->position().x());
    if (event->button() == Qt::LeftButton && x < m_pRow->PreviewRowWidth()) {
        // The text field lies under the preview edits: the press belongs to the edit there, and the list stays shut.
        m_pRow->FocusPreviewField(x);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    QComboBox::mousePressEvent(event);
}
