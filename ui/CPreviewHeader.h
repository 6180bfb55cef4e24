#pragma once
#include <QAbstractButton>

#include <array>

// The headings above the preview row, one per preview column, separated by raised borders.
class CPreviewHeader : public QAbstractButton {
    Q_OBJECT
public:
    // widths: the four preview column widths in pixels, owned by the form.
    CPreviewHeader(const std::array<int, 4>* widths, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::array<int, 4>* m_pWidths;
};
