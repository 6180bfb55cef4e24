#pragma once
// A field of the preview row. The four fields stand edge to edge; under a dark theme some styles (Fusion) draw
// a field's frame in a shade of the window that is as dark as the field itself, and the four merge into one
// strip. The field then draws its frame again in a line that stands out (ItemColours::FrameLine).
#include <QLineEdit>

class CPreviewEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CPreviewEdit(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
