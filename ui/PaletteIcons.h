#pragma once
// Icons drawn in the colours of a palette (the toolbar pictures, the transfer arrows) must be drawn again when
// the palette changes: a dark theme chosen while the program runs, or a palette set on the application. These
// give a button or an action its icon for the palette it is shown with now, and again on every change.
#include <QIcon>
#include <QPalette>

#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

namespace PaletteIcons {
using Maker = std::function<QIcon(const QPalette&)>;

void Follow(QAbstractButton* button, Maker make);
// An action shown on `shownOn` (a toolbar) takes that widget's palette.
void Follow(QWidget* shownOn, QAction* action, Maker make);
}
