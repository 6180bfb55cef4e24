#pragma once
#include <QComboBox>

#include <array>

class CPreviewRow;
struct DirEntry;

// The preview combo box: one item per working copy of a selected entry; item k carries slot k of the copies.
// Its open list shows each copy in the four preview columns. The preview edits cover its text field, so a press
// there goes to the edit under the pointer; only the arrow beyond the row opens the list.
class CPreviewCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 15;

    explicit CPreviewCombo(QWidget* parent = nullptr);
    void AddCopy(const QString& name, DirEntry* copy);
    DirEntry* Copy(int item) const;
    // The row whose edits cover the text field; its column widths lay out the open list.
    void SetRow(CPreviewRow* row) { m_pRow = row; }
    // The preview row's column widths, or null when the combo box belongs to no row.
    const std::array<int, 4>* ColumnWidths() const;

    // The open list: opening and closing it, even without a choice, shows the current copy again.
    void showPopup() override;
    void hidePopup() override;

signals:
    void focusEntered();
    void droppedDown();
    void closedUp();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CPreviewRow* m_pRow = nullptr;
};
