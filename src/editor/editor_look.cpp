// The editor's look as pure rules: palettes, font size, margin widths, the
// fold chevrons, the program-drawn caret and underline, the inset strips and
// the view-keeping decisions of a layout.
#include "editor/editor_look.h"

#include "platform/dpi.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr Palette kLightPalette {
    .text = HexColour(0x141414),
    .background = HexColour(0xFFFFFF),
    .gutter = HexColour(0xECEEF2),
    .lineNumberText = HexColour(0x32363E),
    .underlineImeOff = HexColour(0xC4C4C4),
    .scrollCorner = HexColour(0xF1F1F1),
    .bandImeOff = HexColour(0xE8ECF4),
    .bandImeOn = HexColour(0xFFECD2),
    .underlineImeOn = HexColour(0xDC7828),
    .selectionText = HexColour(0x000000),
    .selectionBack = HexColour(0xB4D2FF),
    .foldMark = HexColour(0xA8ACB4),
    .foldDisplayText = HexColour(0x505864),
    .statusCounts = HexColour(0x969696),
    .statusPosition = HexColour(0x787878),
    .statusPointer = HexColour(0x464646),
};

constexpr Palette kDarkPalette {
    .text = HexColour(0xE0E0E0),
    .background = HexColour(0x1E1E1E),
    .gutter = HexColour(0x2E3036),
    .lineNumberText = HexColour(0xCDD1D8),
    .underlineImeOff = HexColour(0x6C6C6C),
    .scrollCorner = HexColour(0x171717),
    .bandImeOff = HexColour(0x3E4E6C),
    .bandImeOn = HexColour(0x58462A),
    .underlineImeOn = HexColour(0xDCA050),
    .selectionText = HexColour(0x101012),
    .selectionBack = HexColour(0xFFD648),
    .foldMark = HexColour(0x787C84),
    .foldDisplayText = HexColour(0xAAB0BA),
    .statusCounts = HexColour(0xBEBEBE),
    .statusPosition = HexColour(0xAAAAAA),
    .statusPointer = HexColour(0xEBEBEB),
};

// MulDiv as Windows rounds it: half away from zero.
int MulDivRound(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return {};
    return r;
}

Span ClipSpan(Span span, int clientHeight) {
    span.top = std::max(span.top, 0);
    span.bottom = std::min(span.bottom, clientHeight);
    if (span.bottom < span.top) span.bottom = span.top;
    return span;
}

}  // namespace

const Palette& PaletteFor(bool dark) {
    return dark ? kDarkPalette : kLightPalette;
}

std::array<IndicatorLook, 4> IndicatorLooks(bool dark) {
    return {{
        {0, kIndicRoundBox, dark ? HexColour(0x70501A) : HexColour(0xFFE250), dark ? 210 : 140, dark ? 220 : 160, true,
         -1, 0},
        {1, kIndicRoundBox, dark ? HexColour(0xFFCE40) : HexColour(0xFFA828), 255, 255, true, -1, 0},
        {3, kIndicTextFore, HexColour(0x181208), -1, -1, false, -1, 0},
        {2, kIndicPlain, dark ? HexColour(0x78B4FF) : HexColour(0x005AB4), -1, -1, true, kIndicPlain,
         dark ? HexColour(0xB4DCFF) : HexColour(0x0046A0)},
    }};
}

std::u16string_view ControlThemeName(bool dark) {
    return dark ? u"DarkMode_Explorer" : u"Explorer";
}

int ClampFontStep(int step) {
    return std::clamp(step, kMinFontStep, kMaxFontStep);
}

int FontPointSize(int step) {
    return std::clamp(step, kMinFontStep, kMaxFontStep) + kFontPointsAtStepZero;
}

int FontHeightFor(int points, int dpi) {
    return -MulDivRound(points, dpi, 72);
}

std::u16string_view FontFaceFor(bool fixedPitch, bool fixedFaceInstalled) {
    if (!fixedPitch) return kProportionalFace;
    return fixedFaceInstalled ? kFixedFace : kFixedFallbackFace;
}

int UsableAverageCharWidth(int measured) {
    return measured > 0 ? measured : 8;
}

int DecimalDigits(std::int64_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

int NumberMarginWidth(bool shown, std::int64_t lineCount, int averageCharWidth, int dpi) {
    if (!shown) return 0;
    return 2 * Scale(4, dpi) + (DecimalDigits(lineCount) + 2) * UsableAverageCharWidth(averageCharWidth);
}

int TextMarginWidth(bool numbersShown, int dpi) {
    return Scale(numbersShown ? 6 : 10, dpi);
}

FoldMarginGeometry FoldMarginFor(int numberWidth, int dpi) {
    FoldMarginGeometry geometry;
    geometry.markSize = Scale(9, dpi);
    if (geometry.markSize < 8) geometry.markSize = 7;
    geometry.foldWidth = std::max(12, geometry.markSize + Scale(4, dpi));
    geometry.spacerWidth = numberWidth > 0 ? Scale(4, dpi) : 0;
    return geometry;
}

std::array<bool, 81> ChevronGrid(Chevron chevron) {
    std::array<bool, 81> grid {};
    auto set = [&](int column, int row) {
        if (chevron == Chevron::Folded) std::swap(column, row);
        grid[static_cast<std::size_t>(row * 9 + column)] = true;
    };
    for (int j = 0; j <= 3; ++j) {
        for (int row : {j + 2, j + 3}) {
            set(j + 1, row);
            set(7 - j, row);
        }
    }
    return grid;
}

std::vector<std::uint8_t> ChevronImage(Chevron chevron, int size, Colour colour) {
    if (size <= 0) return {};
    const std::array<bool, 81> grid = ChevronGrid(chevron);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int gx = x * 9 / size;
            const int gy = y * 9 / size;
            if (!grid[static_cast<std::size_t>(gy * 9 + gx)]) continue;
            const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)) * 4;
            pixels[at] = static_cast<std::uint8_t>(RedOf(colour));
            pixels[at + 1] = static_cast<std::uint8_t>(GreenOf(colour));
            pixels[at + 2] = static_cast<std::uint8_t>(BlueOf(colour));
            pixels[at + 3] = 0xFF;
        }
    }
    return pixels;
}

int CaretKindOf(CaretStyle style) {
    switch (style) {
    case CaretStyle::Block: return 2;
    case CaretStyle::Dos: return 3;
    case CaretStyle::Line: break;
    }
    return 1;
}

CaretSettings CaretSettingsFor(int kind, int dpi) {
    CaretSettings settings;
    switch (kind) {
    case 2:
        settings.block = true;
        break;
    case 3:
        settings.invisible = true;
        settings.period = 0;  // the program's caret never blinks
        break;
    default:
        settings.width = Scale(2, dpi);
        break;
    }
    return settings;
}

std::optional<Rect> DosCaretRect(const DosCaretInput& input) {
    const int h = input.textHeight;
    if (h <= 3) return std::nullopt;
    int width = 0;
    // The character's own width when the next position follows on the same row;
    // at a line end or the end of the text there is no character to measure.
    if (input.next && input.next->y == input.caret.y && input.next->x - input.caret.x > 1) {
        width = input.next->x - input.caret.x;
    } else {
        width = input.averageCharWidth >= 2 ? input.averageCharWidth : 8;
    }
    const int bottom = input.caret.y + h;
    const Rect block {input.caret.x, bottom - std::max(Scale(4, input.dpi), h / 2), input.caret.x + width, bottom};
    const Rect clipped = Intersect(block, Rect {0, 0, input.client.width, input.client.height});
    if (clipped.Width() <= 0 || clipped.Height() <= 0) return std::nullopt;
    return clipped;
}

Rect UnionRect(const Rect& a, const Rect& b) {
    if (a.Width() <= 0 || a.Height() <= 0) return b;
    if (b.Width() <= 0 || b.Height() <= 0) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool BandWanted(bool showHighlight, bool selectionEmpty) {
    return showHighlight && selectionEmpty;
}

bool UnderlineWanted(bool showUnderline, bool selectionEmpty, bool suppressed) {
    return showUnderline && selectionEmpty && !suppressed;
}

CueColours CurrentLineCueColours(bool dark, bool imeOpen, const EditorSettings& settings) {
    const Palette& palette = PaletteFor(dark);
    if (!imeOpen) return {palette.bandImeOff, palette.underlineImeOff};
    const auto band = ParseColor(dark ? settings.imeOnHighlightDark : settings.imeOnHighlightLight);
    const auto underline = ParseColor(dark ? settings.imeOnUnderlineDark : settings.imeOnUnderlineLight);
    return {band.value_or(palette.bandImeOn), underline.value_or(palette.underlineImeOn)};
}

std::optional<int> UnderlineY(int caretLineTop, int textHeight, int clientHeight, int dpi) {
    if (textHeight < 2) return std::nullopt;
    const int y = caretLineTop - Scale(2, dpi) + textHeight;
    if (y < 0 || y >= clientHeight) return std::nullopt;
    return y;
}

Span UnderlineBand(int underlineY, int textHeight, int clientHeight) {
    if (underlineY < 0) return {};
    return ClipSpan({underlineY - textHeight + 1, underlineY + 2}, clientHeight);
}

Span ImeCueSpan(int underlineY, int textHeight, int clientHeight) {
    if (underlineY < 0) return {0, std::max(clientHeight, 0)};
    return ClipSpan({underlineY - textHeight, underlineY + 3}, clientHeight);
}

Insets InsetsFor(bool hasHorizontalScrollBar, int dpi) {
    return {Scale(8, dpi), hasHorizontalScrollBar ? 0 : Scale(10, dpi)};
}

Rect InsetClient(Rect proposed, Insets insets) {
    proposed.top = std::min(proposed.top + insets.top, proposed.bottom);
    proposed.bottom = std::max(proposed.bottom - insets.bottom, proposed.top);
    return proposed;
}

StripRects StripRectsFor(Size window, Rect client, int gutterWidth, bool bottomStrip) {
    StripRects strips;
    const int gutterRight = std::clamp(client.left + gutterWidth, client.left, client.right);
    const Rect whole {0, 0, window.width, window.height};
    const int scrollRight = window.width;
    if (client.top > 0) {
        strips.topGutter = Intersect({client.left, 0, gutterRight, client.top}, whole);
        strips.topText = Intersect({gutterRight, 0, client.right, client.top}, whole);
        strips.topScroll = Intersect({client.right, 0, scrollRight, client.top}, whole);
    }
    if (client.bottom < window.height) {
        if (bottomStrip) {
            strips.bottomGutter = Intersect({client.left, client.bottom, gutterRight, window.height}, whole);
            strips.bottomText = Intersect({gutterRight, client.bottom, client.right, window.height}, whole);
            strips.bottomScroll = Intersect({client.right, client.bottom, scrollRight, window.height}, whole);
        } else {
            strips.corner = Intersect({client.right, client.bottom, scrollRight, window.height}, whole);
        }
    }
    return strips;
}

StripHit HitTestStrips(Point windowPoint, Size window, Rect client, bool bottomStrip) {
    if (windowPoint.x < 0 || windowPoint.y < 0 || windowPoint.x >= window.width || windowPoint.y >= window.height) {
        return StripHit::None;
    }
    const bool inClientColumns = windowPoint.x < client.right;
    if (windowPoint.y < client.top) return inClientColumns ? StripHit::TopText : StripHit::TopScrollBar;
    if (bottomStrip && windowPoint.y >= client.bottom) {
        return inClientColumns ? StripHit::BottomText : StripHit::BottomScrollBar;
    }
    return StripHit::None;
}

int AnchorX(bool numbersShownAndMeasured, int numberWidth, int dpi) {
    return numbersShownAndMeasured ? numberWidth + Scale(6, dpi) : Scale(10, dpi);
}

LayoutPlan PlanLayout(const ResizeAnchor& anchor, const ViewSnapshot& current, int newClientWidth, bool wrap,
                      bool inSizeMove) {
    LayoutPlan plan;
    const bool finalRestore = anchor.restorePending && !inSizeMove;
    plan.source = (anchor.active || finalRestore) ? anchor.recorded : current;
    plan.widthChanged = newClientWidth != plan.source.clientWidth;
    plan.keepDocumentLine = wrap && plan.widthChanged && plan.source.topPosition >= 0;
    plan.suspendRedraw = wrap && plan.widthChanged && inSizeMove;
    plan.scrollCaretIntoView = !inSizeMove && !finalRestore;
    return plan;
}

void FinishLayout(ResizeAnchor& anchor, const LayoutPlan& plan, const ViewSnapshot& after, bool wrap, bool inSizeMove) {
    if (anchor.active) {
        if (wrap && plan.widthChanged) {
            anchor.recorded = after;
        } else {
            anchor.recorded.clientWidth = after.clientWidth;
        }
    }
    if (anchor.restorePending && !inSizeMove) anchor.restorePending = false;
}

void ShiftNumberedLines(NumberedLines& numbered, long long line, long long linesAdded) {
    if (linesAdded == 0 || numbered.shown.empty()) return;
    const bool loose = numbered.looseEnd > numbered.looseFirst;
    const long long low = std::min({numbered.first, line, loose ? numbered.looseFirst : numbered.first});
    const long long high = std::max({numbered.End(), line + 1, loose ? numbered.looseEnd : numbered.End()});
    numbered.looseFirst = std::max<long long>(0, low);
    numbered.looseEnd = high + std::max<long long>(0, linesAdded);
    for (NumberedLine& shown : numbered.shown) shown = {};
}

NumberingPlan PlanLineNumbers(NumberedLines& numbered, long long first, long long end, long long lineCount,
                              const std::vector<std::uint8_t>& marks) {
    NumberingPlan plan;
    end = std::clamp<long long>(end, 0, lineCount);
    first = std::clamp<long long>(first, 0, end);
    const auto outside = [&](long long line) { return line < first || line >= end; };
    if (numbered.looseEnd > numbered.looseFirst) {
        // A paste of many lines widens this by its own size: the cost
        // follows the change, once.
        for (long long line = numbered.looseFirst; line < std::min(numbered.looseEnd, lineCount); ++line) {
            if (outside(line)) plan.clearIfAny.push_back(line);
        }
    } else {
        for (long long line = numbered.first; line < numbered.End(); ++line) {
            if (outside(line)) plan.clear.push_back(line);
        }
    }
    std::vector<NumberedLine> shown(static_cast<std::size_t>(end - first));
    for (long long line = first; line < end; ++line) {
        const auto index = static_cast<std::size_t>(line);
        const NumberedLine wanted {line + 1, index < marks.size() && marks[index] != 0};
        shown[static_cast<std::size_t>(line - first)] = wanted;
        const bool had = line >= numbered.first && line < numbered.End();
        if (!had || numbered.shown[static_cast<std::size_t>(line - numbered.first)] != wanted) plan.set.push_back(line);
    }
    numbered.first = first;
    numbered.shown = std::move(shown);
    numbered.looseFirst = numbered.looseEnd = 0;
    return plan;
}

NumberedSpan NumberedSpanFor(long long firstShownLine, long long lastShownLine, long long lineCount) {
    const long long shown = std::max<long long>(1, lastShownLine - firstShownLine + 1);
    NumberedSpan span;
    span.first = std::max<long long>(0, firstShownLine - shown);
    span.end = std::min(lineCount, lastShownLine + 1 + shown);
    return span;
}

}  // namespace quillpane
