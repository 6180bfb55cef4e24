#pragma once
#include <string>

// Pane 0 of the main frame's status bar: progress and results of the program's work.
class IStatusLine {
public:
    virtual ~IStatusLine() = default;
    // Shown and redrawn at once. Text in code page 1252.
    virtual void SetStatusText(const std::string& text) = 0;
};
