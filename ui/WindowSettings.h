#pragma once
// What the window remembers between runs, in settings group "Window": the frame's place, size and maximised
// state, each list's column widths and sort column, the last telephone directory shown and the last
// address-book folder. Read checks every value: what is missing, damaged or off every screen is left out,
// and the window takes its defaults for it.
#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class QSettings;

struct ListState {
    std::optional<std::array<int, 4>> columnWidths; // pixels
    std::optional<int> sortColumn;                   // 0..3
};

struct WindowState {
    std::optional<QRect> geometry; // the frame's normal (not maximised) geometry
    bool maximized = false;
    ListState phoneList;
    ListState abList;
    std::optional<int> directory; // 0..6
    std::optional<QString> folder; // the folder's name
};

class WindowSettings {
public:
    static WindowState Read(QSettings& settings);
    // Writes what the state holds; values it leaves out are removed.
    static void Write(QSettings& settings, const WindowState& state);
    // Where and how big to make a frame of at least minimum size, on screens with these available areas: the
    // stored size grown to the minimum; the stored position only when the frame's title strip lies on a screen
    // (a position off every screen is left to the window system).
    struct Placement {
        QSize size;
        std::optional<QPoint> position;
    };
    static Placement Fit(const QRect& stored, QSize minimum, const QList<QRect>& screens);
};
