#include "ui/CTemplateDialog.h"

#include <QShowEvent>

void CTemplateDialog::showEvent(QShowEvent* event)
{
    // A spontaneous show is the window system restoring an open dialog, not a new opening.
    if (!event->spontaneous()) OnInitDialog();
    QDialog::showEvent(event);
}
