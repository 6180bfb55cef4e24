#pragma once
// Lays a dialog out as its template describes it: the dialog font, the template's fixed size and the places of
// its controls, all in dialog units of that font, so that every dialog converts units in the same way.
#include "ui/DialogUnits.h"

class QDialog;
class QPushButton;
class QString;

class DialogPlacement {
public:
    // Gives `dialog` the dialog font and the fixed size of a template widthUnits by heightUnits large.
    DialogPlacement(QDialog* dialog, int widthUnits, int heightUnits);

    const DialogUnits& Units() const { return m_units; }
    // A push button of the dialog at its template place; its text is also its accessible name, and
    // `objectName` names it after its control id, as the tests find it.
    QPushButton* AddButton(const QString& text, const char* objectName, int x, int y, int width, int height) const;

private:
    QDialog* m_pDialog;
    DialogUnits m_units;
};
