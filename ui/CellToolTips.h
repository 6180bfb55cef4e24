#pragma once
// Tooltips for list cells too narrow for their text: pointing at a cut cell shows its whole text; a cell that
// shows all of its text has no tooltip.
#include <QObject>
#include <QString>

class QModelIndex;
class QTreeView;

class CellToolTips : public QObject {
    Q_OBJECT
public:
    // Watches the list's viewport for tooltip requests; owned by the list.
    static void Install(QTreeView* list);
    // The cell's whole text when the cell cuts it, else an empty text.
    static QString TipFor(const QTreeView* list, const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CellToolTips(QTreeView* list);
    QTreeView* m_list;
};
