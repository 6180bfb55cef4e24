#include "ui/DialogPlacement.h"

#include <QDialog>
#include <QPushButton>

namespace {
// The units depend on the font, so the font is set before they are measured.
const QFont& WithDialogFont(QDialog* dialog)
{
    dialog->setFont(DialogUnits::DialogFont());
    return dialog->font();
}
}

DialogPlacement::DialogPlacement(QDialog* dialog, int widthUnits, int heightUnits)
    : m_pDialog(dialog), m_units(WithDialogFont(dialog))
{
    dialog->setFixedSize(m_units.X(widthUnits), m_units.Y(heightUnits));
}

QPushButton* DialogPlacement::AddButton(const QString& text, const char* objectName, int x, int y, int width,
                                        int height) const
{
    auto* button = new QPushButton(text, m_pDialog);
    button->setObjectName(QLatin1String(objectName));
    button->setAccessibleName(text);
    button->setGeometry(m_units.Rect(x, y, width, height));
    return button;
}
