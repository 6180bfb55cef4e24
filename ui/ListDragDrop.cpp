#include "ui/ListDragDrop.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

ListDragDrop::ListDragDrop(QAbstractItemView* phoneList, QAbstractItemView* abList, QObject* parent)
    : QObject(parent), m_lists{phoneList, abList}, m_viewports{phoneList->viewport(), abList->viewport()}
{
    for (QAbstractItemView* list : m_lists) {
        // Drag enabled keeps a multiple selection when the press lands on a selected row; the drag itself is
        // started here, with the program's own data, never by the view.
        list->setDragEnabled(true);
        list->setAcceptDrops(true);
        list->setDropIndicatorShown(false);
        list->viewport()->installEventFilter(this);
    }
}

QMimeData* ListDragDrop::MakeMimeData(int sourceList)
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(kMimeType),
                  QStringLiteral("%1 %2").arg(QCoreApplication::applicationPid()).arg(sourceList).toLatin1());
    return data;
}

int ListDragDrop::SourceListOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(QLatin1String(kMimeType))) return 0;
    const QList<QByteArray> parts = data->data(QLatin1String(kMimeType)).split(' ');
    // The rows' preview copies live in this process: a drag from another copy of the program carries nothing.
    if (parts.size() != 2 || parts[0].toLongLong() != QCoreApplication::applicationPid()) return 0;
    const int list = parts[1].toInt();
    return list == 1 || list == 2 ? list : 0;
}

int ListDragDrop::ListOfViewport(const QObject* watched) const
{
    for (int k = 0; k < 2; ++k)
        if (watched == m_viewports[k]) return k + 1;
    return 0;
}

bool ListDragDrop::eventFilter(QObject* watched, QEvent* event)
{
    const int list = ListOfViewport(watched);
    if (!list) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
        return HandleMouse(list, event);
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        const int source = SourceListOf(drag->mimeData());
        if (source && source != list) drag->acceptProposedAction();
        else drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const int source = SourceListOf(drop->mimeData());
        if (!source || source == list) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (m_onDrop) m_onDrop(source);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool ListDragDrop::HandleMouse(int list, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    QAbstractItemView* view = m_lists[list - 1];
    if (event->type() == QEvent::MouseButtonPress) {
        const bool onRow = mouse->button() == Qt::LeftButton && view->indexAt(mouse->position().toPoint()).isValid();
        m_nPressedList = onRow ? list : 0;
        m_pressAt = mouse->position().toPoint();
        return false;
    }
    if (m_nPressedList != list || !(mouse->buttons() & Qt::LeftButton)) return false;
    if ((mouse->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance()) return false;
    m_nPressedList = 0;
    StartDrag(list);
    return true; // the view starts no drag of its own
}

void ListDragDrop::StartDrag(int list)
{
    if (m_onDragStart) m_onDragStart(list);
    QAbstractItemView* view = m_lists[list - 1];
    if (view->selectionModel() && !view->selectionModel()->hasSelection()) return;
    auto* drag = new QDrag(view->viewport());
    drag->setMimeData(MakeMimeData(list));
    drag->exec(Qt::CopyAction);
}
