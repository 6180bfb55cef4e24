#pragma once
// Dragging selected rows from one list onto the other. The drag carries no entries: it says which list it came
// from (and that it came from this process), and the drop hands over to the form, which runs the transfer the
// arrow button between the lists runs, on the preview copies of the selection. A drop onto the list it came
// from, or from another program, does nothing.
#include <QObject>
#include <QPoint>

#include <functional>

class QAbstractItemView;
class QMimeData;

class ListDragDrop : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kMimeType = "application/x-korvane-telephone-directory-rows";

    // list kinds as the form numbers them: 1 the telephone list, 2 the address-book list.
    ListDragDrop(QAbstractItemView* phoneList, QAbstractItemView* abList, QObject* parent);

    // Runs before the drag starts, for the list it starts from (the form fills the preview from its selection).
    void SetDragStartHandler(std::function<void(int sourceList)> handler) { m_onDragStart = std::move(handler); }
    // Runs for a drop of rows of sourceList onto the other list.
    void SetDropHandler(std::function<void(int sourceList)> handler) { m_onDrop = std::move(handler); }

    // What a drag from that list carries.
    static QMimeData* MakeMimeData(int sourceList);
    // The list a drag came from, 0 when it is none of this process's drags.
    static int SourceListOf(const QMimeData* data);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    int ListOfViewport(const QObject* watched) const;
    bool HandleMouse(int list, QEvent* event);
    void StartDrag(int list);

    QAbstractItemView* m_lists[2];
    // Kept apart from the lists: a viewport's last events arrive while its list is half destroyed, when asking
    // the list for its viewport is no longer allowed.
    const QObject* m_viewports[2];
    std::function<void(int)> m_onDragStart;
    std::function<void(int)> m_onDrop;
    QPoint m_pressAt;
    int m_nPressedList = 0;
};
