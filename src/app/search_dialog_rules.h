// The search dialog's rules: where every control sits, where the dialog, its
// history list and a found match go, its colours, and what Enter does.
#pragma once

#include "editor/editor_look.h"
#include "platform/geometry.h"

#include <string>
#include <string_view>

namespace quillpane {

// Lengths at the dialog's DPI; buttonWidth is the measured text-button width.
struct SearchDialogLayout {
    Rect toggle;
    Rect searchFrame;
    Rect searchEdit;
    Rect searchText;  // the edit's text rectangle, in its client coordinates
    Rect searchButton;
    Rect clearSearch;
    Rect next;
    Rect previous;
    Rect close;
    // The replace row; empty rectangles while it is hidden.
    Rect replaceFrame;
    Rect replaceEdit;
    Rect replaceText;
    Rect clearReplace;
    Rect replace;
    Rect replaceAll;
};

[[nodiscard]] SearchDialogLayout LayoutSearchDialog(int width, int dpi, int buttonWidth, bool replaceRow,
                                                    bool searchHasText, bool replaceHasText);
[[nodiscard]] int SearchDialogHeight(int dpi, bool replaceRow);
[[nodiscard]] int SearchDialogMinWidth(int dpi, int buttonWidth);
// The text buttons' width: 20 px beside the widest label.
[[nodiscard]] int SearchButtonWidth(int dpi, int labelWidth);

// A floating dialog at the owner's top-left plus an offset (96-DPI pixels),
// kept 8 px inside the work area: right edge, bottom, left, top.
[[nodiscard]] Rect PlaceNearOwner(Point ownerTopLeft, Point offset, Size size, const Rect& work, int dpi);
// A new search dialog: 24 px from the owner's top-left corner.
[[nodiscard]] Rect PlaceSearchDialog(Point ownerTopLeft, Size size, const Rect& work, int dpi);

// The history list under the search box's edit (screen coordinates), or
// above it when it would leave the work area.
[[nodiscard]] Rect PlaceHistoryList(const Rect& edit, int entries, const Rect& work, int dpi);
inline constexpr int kHistoryVisibleRows = 6;
[[nodiscard]] int HistoryRowHeight(int dpi);
// Up/Down in the search box: the highlight moves, clamped.
[[nodiscard]] int MoveHistoryHighlight(int current, int delta, int count);

// One step of keeping a found match visible and out from under the dialog,
// all in editor client coordinates.
struct MatchView {
    int matchTop = 0;
    int lineHeight = 16;
    int clientTop = 0;
    int clientBottom = 0;
    bool dialogOpen = false;
    int dialogTop = 0;
    int dialogBottom = 0;
    int firstVisibleLine = 0;
};
enum class MatchMove { Done, Scroll, MoveDialog };
struct MatchStep {
    MatchMove move = MatchMove::Done;
    int lines = 0;  // Scroll: positive moves the text up (later lines in view)
};
[[nodiscard]] MatchStep NextMatchStep(const MatchView& view);
inline constexpr int kMaxMatchSteps = 50;
// The dialog's new top when the text cannot move: below the match (screen
// coordinates), else above it, kept 8 px inside the work area.
[[nodiscard]] int DialogTopClearOf(int matchTop, int matchBottom, int dialogTop, int dialogHeight, const Rect& work,
                                   int dpi);

// A label without its accelerator: "(&F)" suffix removed, else the first "&".
[[nodiscard]] std::u16string StripAccelerator(std::u16string_view label);

struct SearchDialogPalette {
    Colour background;
    Colour border;
    Colour text;
    Colour boxFill;
    Colour boxFrame;
    Colour accent;
    Colour cue;
    Colour glyphHover;
    Colour glyphFocus;
    Colour clearGlyph;
    Colour buttonFocusHover;
    Colour buttonFocus;
    Colour buttonHover;
    Colour buttonBorder;
};
[[nodiscard]] SearchDialogPalette SearchDialogColours(bool dark);

// The controls Enter can act by.
enum class SearchControl { SearchBox, ReplaceBox, Next, Previous, Replace, ReplaceAll, Other };
enum class SearchEnter { PickHistory, FindForward, FindBackward, FindLast, Replace, ReplaceAll };
[[nodiscard]] SearchEnter EnterActionFor(SearchControl focus, bool historyHighlighted);

}  // namespace quillpane
