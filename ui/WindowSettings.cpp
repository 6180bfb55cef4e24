#include "ui/WindowSettings.h"

#include <QSettings>
#include <QVariant>

namespace {
const QString kGroup = QStringLiteral("Window");
constexpr int kLeastColumn = 4;      // narrower columns are taken as damage, not a choice
constexpr int kWidestColumn = 5000;
constexpr int kLargestSide = 20000;  // no screen is this big: a stored size beyond it is damage
constexpr int kTitleGrip = 24;       // the height of the title area that must stay reachable

std::optional<int> IntIn(const QVariant& value, int low, int high)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!value.isValid() || !ok || number < low || number > high) return std::nullopt;
    return number;
}

ListState ReadList(QSettings& settings, const QString& prefix)
{
    ListState list;
    const QStringList widths = settings.value(prefix + QStringLiteral("Columns")).toStringList();
    if (widths.size() == 4) {
        std::array<int, 4> columns{};
        bool good = true;
        for (int i = 0; i < 4 && good; ++i) {
            const std::optional<int> width = IntIn(widths[i], kLeastColumn, kWidestColumn);
            good = width.has_value();
            if (good) columns[static_cast<size_t>(i)] = *width;
        }
        if (good) list.columnWidths = columns;
    }
    list.sortColumn = IntIn(settings.value(prefix + QStringLiteral("SortColumn")), 0, 3);
    return list;
}

void WriteList(QSettings& settings, const QString& prefix, const ListState& list)
{
    if (list.columnWidths) {
        QStringList widths;
        for (int width : *list.columnWidths) widths << QString::number(width);
        settings.setValue(prefix + QStringLiteral("Columns"), widths);
    } else {
        settings.remove(prefix + QStringLiteral("Columns"));
    }
    if (list.sortColumn) settings.setValue(prefix + QStringLiteral("SortColumn"), *list.sortColumn);
    else settings.remove(prefix + QStringLiteral("SortColumn"));
}
}

WindowState WindowSettings::Read(QSettings& settings)
{
    WindowState state;
    settings.beginGroup(kGroup);
    const QRect geometry = settings.value(QStringLiteral("Geometry")).toRect();
    if (geometry.isValid() && geometry.width() <= kLargestSide && geometry.height() <= kLargestSide
        && qAbs(geometry.x()) <= kLargestSide && qAbs(geometry.y()) <= kLargestSide)
        state.geometry = geometry;
    state.maximized = settings.value(QStringLiteral("Maximized")).toBool();
    state.phoneList = ReadList(settings, QStringLiteral("Phone"));
    state.abList = ReadList(settings, QStringLiteral("AddressBook"));
    state.directory = IntIn(settings.value(QStringLiteral("Directory")), 0, 6);
    const QVariant folder = settings.value(QStringLiteral("Folder"));
    if (folder.isValid() && !folder.toString().isEmpty()) state.folder = folder.toString();
    settings.endGroup();
    return state;
}

void WindowSettings::Write(QSettings& settings, const WindowState& state)
{
    settings.beginGroup(kGroup);
    if (state.geometry) settings.setValue(QStringLiteral("Geometry"), *state.geometry);
    else settings.remove(QStringLiteral("Geometry"));
    settings.setValue(QStringLiteral("Maximized"), state.maximized);
    WriteList(settings, QStringLiteral("Phone"), state.phoneList);
    WriteList(settings, QStringLiteral("AddressBook"), state.abList);
    if (state.directory) settings.setValue(QStringLiteral("Directory"), *state.directory);
    else settings.remove(QStringLiteral("Directory"));
    if (state.folder) settings.setValue(QStringLiteral("Folder"), *state.folder);
    else settings.remove(QStringLiteral("Folder"));
    settings.endGroup();
}

WindowSettings::Placement WindowSettings::Fit(const QRect& stored, QSize minimum, const QList<QRect>& screens)
{
    Placement placement;
    placement.size = stored.size().expandedTo(minimum);
    // The frame must be reachable by its title: the strip along its top edge meets some screen's free area
    // by at least the grip's height.
    const QRect title(stored.topLeft(), QSize(placement.size.width(), kTitleGrip));
    for (const QRect& screen : screens) {
        const QRect shared = screen.intersected(title);
        if (shared.height() >= kTitleGrip / 2 && shared.width() >= kTitleGrip * 2) {
            placement.position = stored.topLeft();
            break;
        }
    }
    return placement;
}
