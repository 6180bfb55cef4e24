#pragma once
// What the form needs from the window it sits in and from the application around it: the message line,
// the frame's size and caption, and the application's input block. The shell implements it; the form never
// sees the frame or the application classes themselves.
#include <QString>

class IFormFrame {
public:
    virtual ~IFormFrame() = default;
    // Pane 0 of the status bar, redrawn at once.
    virtual void SetMessageText(const QString& text) = 0;
    // Resizes the frame to fit the form exactly (the frame has no sizing border of its own).
    virtual void FitToView() = 0;
    // The application's input block (m_bInputBlocked): while it is set, left clicks and key presses inside
    // message boxes, dialogs and menus are discarded.
    virtual void SetInputBlocked(bool blocked) = 0;
    // The frame's caption.
    virtual void SetWindowTitle(const QString& title) = 0;
    // Closes the frame for good, once the way out has asked its questions. Any other close of the frame (its
    // close box, the window manager, a logout) runs the way out first.
    virtual void Leave() = 0;
};
