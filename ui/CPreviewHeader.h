#pragma once
#include <QAbstractButton>

#include <array>

class CPreviewRow;

// The headings above the preview row, one per preview column, separated by raised borders. The three borders
// can be dragged with the mouse; the widths live in the preview row, which lines its edits up after each step.
class CPreviewHeader : public QAbstractButton {
    Q_OBJECT
public:
    explicit CPreviewHeader(QWidget* parent = nullptr);
    // The row whose four column widths (pixels) the header shows and changes.
    void SetRow(CPreviewRow* row) { m_pRow = row; }

    // One drag step of border 0, 1 or 2 to position x, for a row of width rowWidth: the widths the step leaves.
    static std::array<int, 4> DraggedWidths(const std::array<int, 4>& widths, int rowWidth, int border, int x);
    // The border within 10 pixels of x (borders tested from the left), or -1 when none is that close.
    static int BorderNear(const std::array<int, 4>& widths, int x);

    bool IsOverBorder() const { return m_bOverBorder != 0; }
    int DragBorder() const { return m_nDragBorder; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int RowWidth() const;
    void SetOverBorder(int over);
    void DrawHeading(QPainter& painter, int stringId, int left, int right);
    void DrawBorder(QPainter& painter, int x);

    CPreviewRow* m_pRow = nullptr;
    int m_bOverBorder = 0;   // 1 while the pointer is near a border or a border is being dragged
    int m_nDragBorder = -1;  // the border being dragged, -1 when none
};
