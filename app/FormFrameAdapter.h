#pragma once
// The shell's answer to what the form asks of its surroundings: the main frame's message line, size and
// caption, and the input block of the application object.
#include "ui/IFormFrame.h"

class CMainFrame;

class FormFrameAdapter final : public IFormFrame {
public:
    explicit FormFrameAdapter(CMainFrame& frame) : m_frame(frame) {}

    void SetMessageText(const QString& text) override;
    void FitToView() override;
    // Sets m_bInputBlocked of the application object; does nothing where there is none (form tests run on a
    // plain QApplication).
    void SetInputBlocked(bool blocked) override;
    void SetWindowTitle(const QString& title) override;
    void Leave() override;

private:
    CMainFrame& m_frame;
};
