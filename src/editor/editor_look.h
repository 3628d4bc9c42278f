// The editor's look as pure rules: palettes, font size, margin widths, the
// fold chevrons, the program-drawn caret and underline, the inset strips and
// the view-keeping decisions of a layout.
#pragma once

#include "platform/geometry.h"
#include "settings/config.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillpane {

// Font size steps that Ctrl+wheel and the zoom keys may reach.
inline constexpr int kMinFontStep = -8;
inline constexpr int kMaxFontStep = 20;
[[nodiscard]] int ClampFontStep(int step);

// The visual style that gives scroll bars and lists the theme's look.
[[nodiscard]] std::u16string_view ControlThemeName(bool dark);

// A colour as the component and GDI take it: red in the low byte (0x00BBGGRR).
using Colour = std::uint32_t;

// #RRGGBB written as 0xRRGGBB, turned into 0x00BBGGRR.
[[nodiscard]] constexpr Colour HexColour(std::uint32_t rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}
[[nodiscard]] constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
[[nodiscard]] constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
[[nodiscard]] constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Palette {
    Colour text;
    Colour background;
    Colour gutter;
    Colour lineNumberText;
    Colour underlineImeOff;
    Colour scrollCorner;
    Colour bandImeOff;
    Colour bandImeOn;
    Colour underlineImeOn;
    Colour selectionText;
    Colour selectionBack;
    Colour foldMark;
    Colour foldDisplayText;
    Colour statusCounts;
    Colour statusPosition;
    Colour statusPointer;
};

[[nodiscard]] const Palette& PaletteFor(bool dark);

// The component's indicator styles the program uses (checked against
// Scintilla.h where that header is available).
inline constexpr int kIndicPlain = 0;
inline constexpr int kIndicRoundBox = 7;
inline constexpr int kIndicTextFore = 17;

struct IndicatorLook {
    int indicator;
    int style;
    Colour fore;
    int alpha;         // -1: not set
    int outlineAlpha;  // -1: not set
    bool under;
    int hoverStyle;    // -1: not set
    Colour hoverFore;
};

// Search matches (0), the current match (1), the current match's text in the
// dark theme (3) and links (2), in the order they are sent.
[[nodiscard]] std::array<IndicatorLook, 4> IndicatorLooks(bool dark);

// Styles of the component the program sets.
inline constexpr int kStyleDefault = 32;
inline constexpr int kStyleLineNumber = 33;
inline constexpr int kStyleFoldDisplayText = 39;
inline constexpr int kStyleChangedLineNumber = 40;

// ---- Font ----

inline constexpr int kFontPointsAtStepZero = 11;
inline constexpr std::u16string_view kProportionalFace = u"Yu Gothic UI";
inline constexpr std::u16string_view kFixedFace = u"BIZ UDGothic";
inline constexpr std::u16string_view kFixedFallbackFace = u"MS Gothic";

// Step -8..+20 gives 3..31 pt; steps outside the range are held at its ends.
[[nodiscard]] int FontPointSize(int step);
// The LOGFONT height of a point size: -MulDiv(points, dpi, 72).
[[nodiscard]] int FontHeightFor(int points, int dpi);
[[nodiscard]] std::u16string_view FontFaceFor(bool fixedPitch, bool fixedFaceInstalled);
// tmAveCharWidth as the margins use it: 8 when the font reports nothing usable.
[[nodiscard]] int UsableAverageCharWidth(int measured);

// ---- Margins ----

[[nodiscard]] int DecimalDigits(std::int64_t value);
// 0 when hidden; else 2 x 4 px + (digits of the line count + 2) character widths.
[[nodiscard]] int NumberMarginWidth(bool shown, std::int64_t lineCount, int averageCharWidth, int dpi);
// The text's left and right margins: 6 px beside line numbers, else 10 px.
[[nodiscard]] int TextMarginWidth(bool numbersShown, int dpi);
inline constexpr int kExtraAscentDescent = 2;

struct FoldMarginGeometry {
    int markSize = 0;     // the chevron images are markSize x markSize
    int foldWidth = 0;    // margin 2
    int spacerWidth = 0;  // margin 1, between the numbers and the chevrons
    bool operator==(const FoldMarginGeometry&) const = default;
};
[[nodiscard]] FoldMarginGeometry FoldMarginFor(int numberWidth, int dpi);

enum class Chevron { Open, Folded };
// The 9 x 9 design: true where the chevron has a pixel; row-major.
[[nodiscard]] std::array<bool, 81> ChevronGrid(Chevron chevron);
// size x size RGBA pixels (red, green, blue, alpha per pixel, rows from the
// top), the grid scaled by nearest neighbour; transparent off the chevron.
[[nodiscard]] std::vector<std::uint8_t> ChevronImage(Chevron chevron, int size, Colour colour);

// ---- Caret ----

// Kinds as the cache remembers them: 0 none yet, 1 Line, 2 Block, 3 Dos.
[[nodiscard]] int CaretKindOf(CaretStyle style);
struct CaretSettings {
    bool invisible = false;  // drawn by the program (Dos)
    bool block = false;
    int width = -1;          // -1: not sent
    int period = 500;
};
[[nodiscard]] CaretSettings CaretSettingsFor(int kind, int dpi);

struct DosCaretInput {
    Point caret;                    // client point of the caret position
    int textHeight = 0;             // height of the caret's line
    std::optional<Point> next;      // client point of the next position, if any
    int averageCharWidth = 0;
    Size client;
    int dpi = 96;
};
// The inverted block over the lower part of the caret's character, clipped
// to the client area; nothing when there is nothing to draw.
[[nodiscard]] std::optional<Rect> DosCaretRect(const DosCaretInput& input);
[[nodiscard]] Rect UnionRect(const Rect& a, const Rect& b);

// ---- Current-line cues ----

[[nodiscard]] bool BandWanted(bool showHighlight, bool selectionEmpty);
[[nodiscard]] bool UnderlineWanted(bool showUnderline, bool selectionEmpty, bool suppressed);

struct CueColours {
    Colour band;
    Colour underline;
    bool operator==(const CueColours&) const = default;
};
// With the input method open the configured colours of the theme win over
// the built-in ones; an empty or unparsable setting means built-in.
[[nodiscard]] CueColours CurrentLineCueColours(bool dark, bool imeOpen, const EditorSettings& settings);

// Client y of the underline, when it falls inside a client of that height.
[[nodiscard]] std::optional<int> UnderlineY(int caretLineTop, int textHeight, int clientHeight, int dpi);

struct Span {
    int top = 0;
    int bottom = 0;
    [[nodiscard]] bool Empty() const { return bottom <= top; }
    bool operator==(const Span&) const = default;
};
// Rows to repaint when the underline at y moves away or arrives.
[[nodiscard]] Span UnderlineBand(int underlineY, int textHeight, int clientHeight);
// Rows to repaint when the IME cue changes colour: the whole client when no
// underline is known.
[[nodiscard]] Span ImeCueSpan(int underlineY, int textHeight, int clientHeight);

// ---- Inset strips ----

struct Insets {
    int top = 0;
    int bottom = 0;
    bool operator==(const Insets&) const = default;
};
// 8 px above the text; 10 px below it unless a horizontal scroll bar is there.
[[nodiscard]] Insets InsetsFor(bool hasHorizontalScrollBar, int dpi);
// The client rectangle moved in by the insets; bottom never passes top.
[[nodiscard]] Rect InsetClient(Rect proposed, Insets insets);

struct StripRects {
    Rect topGutter;
    Rect topText;
    Rect topScroll;     // the scroll-bar column of the top strip
    Rect bottomGutter;
    Rect bottomText;
    Rect bottomScroll;
    Rect corner;        // below the client in the scroll-bar column, without a bottom strip
};
// In window coordinates; client is the client rectangle in window
// coordinates, gutterWidth the width of all margins.
[[nodiscard]] StripRects StripRectsFor(Size window, Rect client, int gutterWidth, bool bottomStrip);

enum class StripHit { None, TopText, TopScrollBar, BottomText, BottomScrollBar };
[[nodiscard]] StripHit HitTestStrips(Point windowPoint, Size window, Rect client, bool bottomStrip);

// ---- Layout and the resize anchor ----

// Client x whose character marks the top of the view.
[[nodiscard]] int AnchorX(bool numbersShownAndMeasured, int numberWidth, int dpi);

struct ViewSnapshot {
    int firstVisibleLine = 0;
    int topPosition = -1;  // character position at the anchor point, -1 unknown
    int clientWidth = 0;
    bool operator==(const ViewSnapshot&) const = default;
};

struct ResizeAnchor {
    bool active = false;          // inside a move or size loop
    bool restorePending = false;  // one final restore after the loop
    ViewSnapshot recorded;
};

struct LayoutPlan {
    ViewSnapshot source;         // the view to restore
    bool widthChanged = false;
    bool keepDocumentLine = false;  // wrapped text: keep the top line of the document
    bool suspendRedraw = false;
    bool scrollCaretIntoView = false;
    bool operator==(const LayoutPlan&) const = default;
};

[[nodiscard]] LayoutPlan PlanLayout(const ResizeAnchor& anchor, const ViewSnapshot& current, int newClientWidth,
                                    bool wrap, bool inSizeMove);
// After the move: re-records the anchor from the new view and settles a
// pending final restore.
void FinishLayout(ResizeAnchor& anchor, const LayoutPlan& plan, const ViewSnapshot& after, bool wrap, bool inSizeMove);

// ---- Line numbers of the lines on screen ----

// The lines that carry a number in the margin: [first, first + shown.size()),
// each with the number and style it was given. Other lines have no margin
// text, so keeping the margin current costs the lines on screen.
struct NumberedLine {
    long long number = 0;  // 0: not known to carry the right text
    bool changed = false;
    bool operator==(const NumberedLine&) const = default;
};
struct NumberedLines {
    long long first = 0;
    std::vector<NumberedLine> shown;
    // Margin texts travel with their lines when lines are added or removed,
    // in ways that depend on where the change began: after such a change any
    // line of [looseFirst, looseEnd) may carry a text.
    long long looseFirst = 0;
    long long looseEnd = 0;
    [[nodiscard]] long long End() const { return first + static_cast<long long>(shown.size()); }
};

// `linesAdded` lines were inserted (or removed, when negative) at line `line`.
void ShiftNumberedLines(NumberedLines& numbered, long long line, long long linesAdded);

// What to send for the lines [first, end) to be numbered with their marks:
// the lines whose text goes, the lines whose text goes if they have one, and
// the lines whose text and style are (re)set.
struct NumberingPlan {
    std::vector<long long> clear;
    std::vector<long long> clearIfAny;
    std::vector<long long> set;
};
[[nodiscard]] NumberingPlan PlanLineNumbers(NumberedLines& numbered, long long first, long long end,
                                            long long lineCount, const std::vector<std::uint8_t>& marks);

// The lines to number for a view: the lines on screen and as many again
// above and below, so that a small scroll needs nothing new.
struct NumberedSpan {
    long long first = 0;
    long long end = 0;
};
[[nodiscard]] NumberedSpan NumberedSpanFor(long long firstShownLine, long long lastShownLine, long long lineCount);

}  // namespace quillpane
