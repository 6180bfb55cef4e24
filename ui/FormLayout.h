#pragma once
// Where the form's controls stand for a given size of the form. At the template's size (369 by 199 dialog units)
// every control stands where the template puts it; extra room goes to the lists, which share the extra width
// evenly and take all the extra height, and to the preview row, which takes the extra width. The transfer
// buttons stay centred between the lists, and the buttons keep their places relative to the bottom edge and
// to their list. Plain geometry: no widgets, so that it can be checked without a window.
#include "ui/DialogUnits.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

class FormLayout {
public:
    struct Placement {
        QString name; // the control's object name
        QRect rect;   // pixels, in form coordinates
    };

    explicit FormLayout(const DialogUnits& units) : m_units(units) {}

    // The template's size in pixels: the smallest the form may be.
    QSize TemplateSize() const;
    // Every control's rectangle for a form of this size (a smaller size counts as the template's).
    std::vector<Placement> Place(QSize formSize) const;
    // The preview columns (name, number, index, status) in pixels at the template's size.
    std::array<int, 4> TemplatePreviewColumns() const;
    // The preview columns after the preview row grew (or shrank) by delta pixels: the name and number columns
    // take the change, half each, and keep at least 2 pixels.
    static std::array<int, 4> GrowPreviewColumns(std::array<int, 4> widths, int delta);

private:
    DialogUnits m_units;
};
