#include "ui/ListFilter.h"

#include "model/TextMatch.h"

#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>

ListFilter::ListFilter(QLineEdit* field, std::vector<QTreeWidget*> lists, QObject* parent)
    : QObject(parent), m_field(field), m_lists(std::move(lists))
{
    connect(m_field, &QLineEdit::textChanged, this, [this] { Apply(); });
    m_field->installEventFilter(this);
    for (QTreeWidget* list : m_lists) {
        // Whatever selects rows (a range, select all, a refill), the hidden ones drop out at once.
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list](const QItemSelection& selected) {
                    for (const QModelIndex& index : selected.indexes())
                        if (index.column() == 0 && list->isRowHidden(index.row(), QModelIndex())) {
                            DeselectHidden(list);
                            return;
                        }
                });
    }
}

QString ListFilter::Text() const
{
    return m_field->text();
}

bool ListFilter::RowMatches(const QString& name, const QString& number, const QString& text)
{
    return TextMatch::Contains(name, text) || TextMatch::Contains(number, text);
}

void ListFilter::Apply()
{
    for (QTreeWidget* list : m_lists) Apply(list);
}

void ListFilter::Apply(QTreeWidget* list)
{
    const QString text = Text();
    bool pruned = false;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        const bool hide = !RowMatches(item->text(0), item->text(1), text);
        if (hide && item->isSelected()) {
            item->setSelected(false);
            pruned = true;
        }
        item->setHidden(hide);
    }
    if (pruned) emit selectionPruned(list);
}

void ListFilter::DeselectHidden(QTreeWidget* list)
{
    QItemSelection hidden;
    const QAbstractItemModel* model = list->model();
    const int lastColumn = model->columnCount() - 1;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        if (list->isRowHidden(index.row(), QModelIndex()))
            hidden.select(model->index(index.row(), 0), model->index(index.row(), lastColumn));
    if (hidden.isEmpty()) return;
    list->selectionModel()->select(hidden, QItemSelectionModel::Deselect);
    emit selectionPruned(list);
}

bool ListFilter::eventFilter(QObject* watched, QEvent* event)
{
    // Escape in the field clears it, and only then: an empty field leaves Escape to the window.
    if (watched == m_field && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !m_field->text().isEmpty()) {
        m_field->clear();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
