#include "app/heading_list_rules.h"

#include "app/search_dialog_rules.h"

#include "platform/dpi.h"

#include <algorithm>
#include <charconv>

namespace quillpane {
namespace {

Rect Box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

}  // namespace

Size HeadingListDefaultSize(int dpi) {
    return {Scale(460, dpi), Scale(246, dpi)};
}

Size HeadingListMinSize(int dpi) {
    return {Scale(248, dpi), Scale(158, dpi)};
}

Size HeadingListSize(Size stored, int dpi) {
    const Size fallback = HeadingListDefaultSize(dpi);
    const Size least = HeadingListMinSize(dpi);
    return {std::max(stored.width > 0 ? stored.width : fallback.width, least.width),
            std::max(stored.height > 0 ? stored.height : fallback.height, least.height)};
}

Rect PlaceHeadingList(Point panelTopLeft, Size size, const Rect& work, int dpi) {
    return PlaceNearOwner(panelTopLeft, {24, 64}, size, work, dpi);
}

HeadingListLayout LayoutHeadingList(Size client, int dpi) {
    const auto s = [dpi](int px) { return Scale(px, dpi); };
    HeadingListLayout layout;
    layout.list = Box(s(12), s(22), client.width - s(24), std::max(client.height - s(78), s(80)));
    const int top = client.height - s(12) - s(32);
    layout.cancel = Box(client.width - s(12) - s(96), top, s(96), s(32));
    layout.jump = Box(layout.cancel.left - s(8) - s(96), top, s(96), s(32));
    return layout;
}

int HeadingRowHeight(int dpi) {
    return Scale(26, dpi);
}

HeadingListEdge HeadingListEdgeAt(Point point, Size window, int dpi) {
    const int strip = Scale(6, dpi);
    const bool left = point.x < strip;
    const bool right = point.x >= window.width - strip;
    const bool top = point.y < strip;
    const bool bottom = point.y >= window.height - strip;
    if (top && left) return HeadingListEdge::TopLeft;
    if (top && right) return HeadingListEdge::TopRight;
    if (bottom && left) return HeadingListEdge::BottomLeft;
    if (bottom && right) return HeadingListEdge::BottomRight;
    if (left) return HeadingListEdge::Left;
    if (right) return HeadingListEdge::Right;
    if (top) return HeadingListEdge::Top;
    if (bottom) return HeadingListEdge::Bottom;
    return HeadingListEdge::None;
}

std::u16string LineNumberText(int line) {
    char digits[16] {};
    const auto end = std::to_chars(digits, digits + sizeof(digits), line).ptr;
    return std::u16string(digits, end);
}

std::u16string HeadingRowText(int titleLine, std::u16string_view title) {
    std::u16string row = LineNumberText(titleLine);
    row += u"  ";
    row += title;
    return row;
}

HeadingRowLayout LayoutHeadingRow(const Rect& row, int dpi) {
    HeadingRowLayout layout;
    layout.number = {row.left + Scale(8, dpi), row.top, row.left + Scale(8 + 48, dpi), row.bottom};
    layout.title = {layout.number.right + Scale(6, dpi), row.top, row.right - Scale(8, dpi), row.bottom};
    return layout;
}

int HeadingListSelection(int index, int count) {
    return count > 0 ? std::clamp(index, 0, count - 1) : -1;
}

int FirstVisibleLineForJump(int visualLine, int linesOnScreen) {
    return std::max(0, visualLine - linesOnScreen / 2);
}

HeadingListPalette HeadingListColours(bool dark) {
    if (dark) {
        return {HexColour(0x202124), HexColour(0x5A5A64), HexColour(0x2B2D32), HexColour(0xE6E6EB),
                HexColour(0x374B69), HexColour(0x9698A0), HexColour(0x78A9E8)};
    }
    return {HexColour(0xFFFFFF), HexColour(0xB4B4BE), HexColour(0xF3F4F6), HexColour(0x000000),
            HexColour(0xC8DCF5), HexColour(0x6E7078), HexColour(0x0072C6)};
}

}  // namespace quillpane
