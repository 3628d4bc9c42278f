// The heading sidebar's rules: sizes, the layout of a row, what a rebuild
// must redraw, where a dragged memo may land, and what a key in the list does.
#pragma once

#include "editor/editor_look.h"
#include "platform/geometry.h"
#include "sections/section_list.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// The editor's point size for a font size step (steps clamp to 3..31 pt).
[[nodiscard]] int SidebarPointSize(int sizeStep);
[[nodiscard]] int SidebarSubtitlePointSize(int sizeStep);

struct SidebarPalette {
    Colour background;
    Colour text;
    Colour line;        // left edge and row separators
    Colour selection;   // selected row, and the source of an armed drag
    Colour accent;      // focus bar and drop bar
    Colour title;       // title and hit count
    Colour subtitle;
    Colour handleActive;
    Colour handle;
    Colour triangle;
};
[[nodiscard]] SidebarPalette SidebarColours(bool dark);

// Lengths in device pixels at one DPI and font size step.
struct SidebarMetrics {
    int rowHeight = 48;
    int handleColumn = 32;     // when handles are shown
    int textInset = 10;        // text start without handles, and the right margin
    int foldColumn = 28;
    int foldInset = 2;         // the fold column's right end inside the visible width
    int triangleHalf = 5;
    int triangleHitHalf = 5;
    int handleLineHalf = 7;    // half the length of a handle line
    int handleLineGap = 3;
    int titleGap = 7;          // title above, subtitle below, from the row's edges
    int countGap = 8;          // title end to the right edge, beside a hit count
    int countPad = 4;
    int focusBar = 3;
    int dropBar = 2;
    int listLeft = 5;          // resize strip and border line
    int listMargin = 6;
    int resizeStrip = 4;
    int dragThreshold = 4;
    int autoScrollBand = 16;
};
[[nodiscard]] SidebarMetrics ComputeSidebarMetrics(int dpi, int sizeStep);

// Where one row's parts go, in list client coordinates.
struct SidebarRowLayout {
    Rect title;
    Rect subtitle;
    Rect count;               // empty without a hit count
    bool handle = false;
    Point handleCentre;
    bool triangle = false;
    Point triangleCentre;
};
struct SidebarRowInput {
    Rect row;
    int visibleRight = 0;  // the list's client width (without a scroll bar)
    bool handlesShown = false;
    bool startsAtMarker = false;
    bool showTriangle = false;  // memo folding on and the row can fold
    int countWidth = 0;         // text width of the hit count, 0 for none
};
[[nodiscard]] SidebarRowLayout LayoutSidebarRow(const SidebarRowInput& input, const SidebarMetrics& metrics);

// "%d" below 1000, "999+" from there on, nothing for 0.
[[nodiscard]] std::u16string HitCountText(unsigned count);

// The rows of the sidebar for a text: the section list with its fold
// states (memo folding on), and the entry holding the selection start.
// `contracted` tells whether the editor shows the fold that starts at a
// 0-based line closed; the editor's folds follow the folded set, and asking
// it spares hashing every memo on each rebuild.
struct SidebarEntries {
    SectionList entries;
    int caretEntry = -1;
};
[[nodiscard]] SidebarEntries BuildSidebarEntries(std::u16string_view text, const MarkerSettings& settings,
                                                 std::size_t selectionStart, bool memoFold,
                                                 const std::function<bool(int line)>& contracted);

// More than one entry starts at a marker.
[[nodiscard]] bool HandlesShown(const SectionList& entries);

// What a rebuild must do to the list control.
struct SidebarUpdate {
    bool refill = false;   // the row count changed
    bool repaint = false;  // a row's visible content changed
    int select = -1;       // the row to select, -1 for none
};
// keepRow: the selected row while the list has the focus, -1 otherwise.
[[nodiscard]] SidebarUpdate PlanSidebarUpdate(const SectionList& before, const SectionList& after, int caretEntry,
                                              int keepRow);

// The drop position for a pointer over `row` (lower half: below it),
// clamped to 0..rowCount.
[[nodiscard]] int DropPositionFor(int row, bool lowerHalf, int rowCount);
// The nearest position the memo at `source` may be dropped at: one that
// leaves every entry without a marker where it is (else the source).
[[nodiscard]] int AllowedDropPosition(const SectionList& entries, int source, int wanted);
// A drop that changes the order.
[[nodiscard]] bool MovesSomething(int source, int target);

// Rows to scroll for accumulated wheel units; the remainder stays.
struct WheelScroll {
    int rows = 0;      // positive: towards the end
    int remainder = 0;
};
// linesSetting: SPI_GETWHEELSCROLLLINES (WHEEL_PAGESCROLL for a page).
[[nodiscard]] WheelScroll ScrollForWheel(int accumulated, unsigned linesSetting, int visibleRows);

// What a key pressed in the list does.
enum class SidebarKey {
    List,          // the list's own (arrows, pages, Home, End) or nothing
    JumpAndFocus,  // Enter: unfold, jump, focus the editor
    FocusEditor,   // Esc
    JumpThenPass,  // jump (no unfold, focus stays), then give the key to the editor
    Pass,          // give the key to the editor as it is
};
struct KeyModifiers {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};
[[nodiscard]] SidebarKey ClassifySidebarKey(unsigned virtualKey, KeyModifiers modifiers);

}  // namespace quillpane
