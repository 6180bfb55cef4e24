#pragma once
// The message line, pane 0 of the status bar. Assistive tools find it under a fixed name ("Status") and read
// what it says as its value; every change of the text is announced to them, so that a result such as
// "3 entries exported" reaches someone who cannot see it.
#include <QLabel>

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);
    // Shows the text and announces it when it differs from the one shown.
    void SetText(const QString& text);

signals:
    // After each announcement; the accessibility event itself reaches only a running assistive tool.
    void Announced(const QString& text);
};
