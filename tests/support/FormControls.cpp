#include "FormControls.h"

#include <QtGlobal>

namespace FormControls {
QWidget* Control(const QWidget* form, const char* objectName)
{
    QWidget* control = form ? form->findChild<QWidget*>(QLatin1String(objectName), Qt::FindDirectChildrenOnly) : nullptr;
    if (!control) qFatal("The form has no control named %s", objectName);
    return control;
}

void WrongKind(const char* objectName)
{
    qFatal("The form's control %s is not of the kind the test expects", objectName);
}
}
