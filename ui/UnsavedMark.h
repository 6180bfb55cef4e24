#pragma once
// Keeps the window's caption telling whether work is unsaved: "Telephone Directory*" while either side holds
// changes not yet saved, "Telephone Directory" once both are saved. The edits that make changes are many and
// spread over both layers, so the mark follows the state on the program's idle beat, as the frame's commands do.
#include <QObject>
#include <QString>

#include <functional>

class QTimer;

class UnsavedMark : public QObject {
    Q_OBJECT
public:
    // unsaved tells the state; showTitle sets the caption. Starts at once, owned by parent.
    UnsavedMark(std::function<bool()> unsaved, std::function<void(const QString&)> showTitle, QObject* parent);

    // The caption for the state: the program's name, with "*" appended while work is unsaved.
    static QString Title(bool unsaved);
    // Looks at the state now and sets the caption when it changed.
    void Refresh();

private:
    std::function<bool()> m_unsaved;
    std::function<void(const QString&)> m_showTitle;
    QTimer* m_timer;
    int m_shown = -1; // -1 before the first look, else the state the caption shows
};
