#pragma once
// A control of a dialog under test by its object name. A missing one ends the run: every later step of the
// test would only fail in its own, less telling way.
#include <QWidget>

template <typename T>
T* FindControl(QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QLatin1String(name));
    if (!widget) qFatal("control %s missing", name);
    return widget;
}
