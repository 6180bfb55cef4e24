#include "ui/FormLayout.h"

#include <algorithm>

namespace {
constexpr int kTemplateWidth = 369;
constexpr int kTemplateHeight = 199;
constexpr int kMinColumn = 2;

// How a control moves and grows with the extra room. The extra width is shared by the lists: the left list
// takes left = dx / 2, the right list the rest; the preview row splits dx between its name and number columns.
enum class Anchor {
    LeftList,        // grows with the left list's share
    RightList,       // moves with the left share, grows with the right share
    LeftCaption,     // stays centred over the left list
    RightCaption,    // stays centred over the right list
    Between,         // stays centred between the lists, in the lists' vertical middle
    BetweenTop,      // stays centred between the lists, at the top
    BetweenBottom,   // stays centred between the lists, under them
    PreviewRow,      // under the lists, takes all the extra width
    PreviewName,     // under the lists, takes the name column's share
    PreviewNumber,   // under the lists, moves by the name's share and takes the number's
    PreviewRight,    // under the lists, moves by all the extra width (index and status columns)
    BottomLeft,      // keeps its place under the left list
    BottomRightList, // keeps its place under the right list's left edge
    BottomRight,     // keeps its place at the right list's right edge
};

struct Control {
    const char* name;
    int x, y, w, h; // dialog units
    Anchor anchor;
    bool growsDown; // takes the extra height
};

// Combo boxes are given the height of their selection field; their lists drop down below it.
constexpr Control kControls[] = {
    {"combo1003", 15, 20, 149, 12, Anchor::LeftList, false},
    {"list1006", 15, 40, 148, 92, Anchor::LeftList, true},
    {"combo1004", 204, 20, 149, 12, Anchor::RightList, false},
    {"list1007", 204, 40, 148, 92, Anchor::RightList, true},
    {"combo1005", 66, 157, 238, 14, Anchor::PreviewRow, false},
    {"edit1022", 179, 159, 82, 12, Anchor::PreviewNumber, false},
    {"edit1023", 261, 159, 20, 12, Anchor::PreviewRight, false},
    {"edit1024", 281, 159, 10, 12, Anchor::PreviewRight, false},
    {"button1010", 15, 178, 75, 14, Anchor::BottomLeft, false},
    {"button1011", 204, 178, 82, 14, Anchor::BottomRightList, false},
    {"button1012", 301, 178, 50, 14, Anchor::BottomRight, false},
    {"button1014", 176, 60, 16, 15, Anchor::Between, false},
    {"button1013", 176, 87, 16, 15, Anchor::Between, false},
    {"header1025", 66, 143, 225, 13, Anchor::PreviewRow, false},
    {"staticTelephone", 60, 4, 59, 8, Anchor::LeftCaption, false},
    {"staticAddressBook", 230, 4, 93, 8, Anchor::RightCaption, false},
    {"static1027", 168, 130, 31, 8, Anchor::BetweenBottom, false},
    {"edit1021", 67, 159, 112, 12, Anchor::PreviewName, false},
    // The filter stands in the caption row, in the room between the two captions.
    {"editFilter", 124, 2, 102, 14, Anchor::BetweenTop, false},
};

struct Shift {
    int dx = 0, dy = 0, dw = 0;
};

Shift ShiftFor(Anchor anchor, int extraWidth, int extraHeight)
{
    const int left = extraWidth / 2;
    const int right = extraWidth - left;
    const int name = extraWidth / 2;
    switch (anchor) {
    case Anchor::LeftList: return {0, 0, left};
    case Anchor::RightList: return {left, 0, right};
    case Anchor::LeftCaption: return {left / 2, 0, 0};
    case Anchor::RightCaption: return {left + right / 2, 0, 0};
    case Anchor::Between: return {left, extraHeight / 2, 0};
    case Anchor::BetweenTop: return {left, 0, 0};
    case Anchor::BetweenBottom: return {left, extraHeight, 0};
    case Anchor::PreviewRow: return {0, extraHeight, extraWidth};
    case Anchor::PreviewName: return {0, extraHeight, name};
    case Anchor::PreviewNumber: return {name, extraHeight, extraWidth - name};
    case Anchor::PreviewRight: return {extraWidth, extraHeight, 0};
    case Anchor::BottomLeft: return {0, extraHeight, 0};
    case Anchor::BottomRightList: return {left, extraHeight, 0};
    case Anchor::BottomRight: return {extraWidth, extraHeight, 0};
    }
    return {};
}
}

QSize FormLayout::TemplateSize() const
{
    return {m_units.X(kTemplateWidth), m_units.Y(kTemplateHeight)};
}

std::vector<FormLayout::Placement> FormLayout::Place(QSize formSize) const
{
    const QSize base = TemplateSize();
    const int extraWidth = std::max(0, formSize.width() - base.width());
    const int extraHeight = std::max(0, formSize.height() - base.height());
    std::vector<Placement> placements;
    placements.reserve(std::size(kControls));
    for (const Control& c : kControls) {
        const Shift shift = ShiftFor(c.anchor, extraWidth, extraHeight);
        QRect rect = m_units.Rect(c.x, c.y, c.w, c.h);
        rect.translate(shift.dx, shift.dy);
        rect.setWidth(rect.width() + shift.dw);
        if (c.growsDown) rect.setHeight(rect.height() + extraHeight);
        placements.push_back({QString::fromLatin1(c.name), rect});
    }
    return placements;
}

std::array<int, 4> FormLayout::TemplatePreviewColumns() const
{
    return {m_units.X(112), m_units.X(82), m_units.X(20), m_units.X(10)};
}

std::array<int, 4> FormLayout::GrowPreviewColumns(std::array<int, 4> widths, int delta)
{
    const int nameShare = delta / 2;
    widths[0] += nameShare;
    widths[1] += delta - nameShare;
    // A column squeezed below its least width hands the shortfall to the other one.
    for (int i : {0, 1}) {
        const int other = 1 - i;
        if (widths[static_cast<size_t>(i)] < kMinColumn) {
            widths[static_cast<size_t>(other)] -= kMinColumn - widths[static_cast<size_t>(i)];
            widths[static_cast<size_t>(i)] = kMinColumn;
        }
    }
    widths[0] = std::max(widths[0], kMinColumn);
    widths[1] = std::max(widths[1], kMinColumn);
    return widths;
}
