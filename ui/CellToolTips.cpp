#include "ui/CellToolTips.h"

#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <QTreeView>

CellToolTips::CellToolTips(QTreeView* list) : QObject(list), m_list(list) {}

void CellToolTips::Install(QTreeView* list)
{
    list->viewport()->installEventFilter(new CellToolTips(list));
}

QString CellToolTips::TipFor(const QTreeView* list, const QModelIndex& index)
{
    if (!index.isValid()) return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) return {};
    // The room the style leaves for the text inside the cell, margins taken off on both sides.
    const QRect cell = list->visualRect(index);
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int room = cell.width() - 2 * margin;
    const int needed = list->fontMetrics().horizontalAdvance(text);
    return needed > room ? text : QString();
}

bool CellToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = TipFor(m_list, m_list->indexAt(help->pos()));
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, m_list->viewport(), m_list->visualRect(m_list->indexAt(help->pos())));
    return true;
}
