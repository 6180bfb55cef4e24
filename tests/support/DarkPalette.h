#pragma once
// A dark palette such as a dark desktop theme (Breeze Dark, GNOME's dark style) gives the program: light text
// on dark window and list backgrounds, a light blue highlight.
#include <QPalette>

inline QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(0x2d, 0x2d, 0x30), base(0x1e, 0x1e, 0x1e), text(0xf0, 0xf0, 0xf0);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Text, text);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, text);
        dark.setColor(group, QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        dark.setColor(group, QPalette::HighlightedText, QColor(0x10, 0x10, 0x10));
        dark.setColor(group, QPalette::ToolTipBase, window);
        dark.setColor(group, QPalette::ToolTipText, text);
    }
    const QColor greyed(0x80, 0x80, 0x80);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, greyed);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        dark.setColor(QPalette::Disabled, role, window);
    return dark;
}
