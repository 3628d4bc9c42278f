// The heading list dialog's rules: its sizes, where it opens, where its
// controls sit, what a row says and shows, where a jump scrolls, its colours.
#pragma once

#include "editor/editor_look.h"
#include "platform/geometry.h"

#include <string>
#include <string_view>

namespace quillpane {

// The dialog draws its own 1 px border and has no system frame, so these
// client sizes are also its window sizes.
[[nodiscard]] Size HeadingListDefaultSize(int dpi);
[[nodiscard]] Size HeadingListMinSize(int dpi);
// The stored size (0 = never resized), else the default, at least the minimum.
[[nodiscard]] Size HeadingListSize(Size stored, int dpi);

// At the panel's top-left plus (24, 64) px, kept 8 px inside the work area.
[[nodiscard]] Rect PlaceHeadingList(Point panelTopLeft, Size size, const Rect& work, int dpi);

struct HeadingListLayout {
    Rect list;
    Rect jump;
    Rect cancel;
};
[[nodiscard]] HeadingListLayout LayoutHeadingList(Size client, int dpi);
[[nodiscard]] int HeadingRowHeight(int dpi);

// Where the mouse can size the dialog, in window coordinates.
enum class HeadingListEdge { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
[[nodiscard]] HeadingListEdge HeadingListEdgeAt(Point point, Size window, int dpi);

// A row's string, which the list's type-to-select reads: "12  Title".
[[nodiscard]] std::u16string HeadingRowText(int titleLine, std::u16string_view title);
[[nodiscard]] std::u16string LineNumberText(int line);

struct HeadingRowLayout {
    Rect number;  // the line number, right-aligned
    Rect title;
};
[[nodiscard]] HeadingRowLayout LayoutHeadingRow(const Rect& row, int dpi);

// The row to select: index clamped to the rows, -1 without rows.
[[nodiscard]] int HeadingListSelection(int index, int count);

// A jumped-to line goes to the middle of the editor, never above the text.
[[nodiscard]] int FirstVisibleLineForJump(int visualLine, int linesOnScreen);

struct HeadingListPalette {
    Colour background;
    Colour border;
    Colour listBackground;
    Colour text;
    Colour selectedFill;
    Colour lineNumber;
    Colour focusRing;
};
[[nodiscard]] HeadingListPalette HeadingListColours(bool dark);

}  // namespace quillpane
