#pragma once
// The frame's resources as data: menu 128, toolbar 128 and accelerator table 128.
#include <QKeySequence>
#include <QString>

#include <vector>

namespace FrameResources {
constexpr int kSeparator = 0;

struct MenuItem {
    int id;       // kSeparator for a separator
    QString text; // shown as it stands; the part after "\t" is the shortcut label
};

struct Popup {
    QString title;
    std::vector<MenuItem> items;
};

struct Accelerator {
    QKeySequence keys;
    int id;
};

const std::vector<Popup>& Menu();
// Left to right; kSeparator between groups.
const std::vector<int>& Toolbar();
const std::vector<Accelerator>& Accelerators();
// Command ids of the status bar's key indicators, left to right after pane 0.
const std::vector<int>& Indicators();
}
