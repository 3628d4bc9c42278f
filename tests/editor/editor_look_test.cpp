// The editor's look rules: fonts, margins, chevrons, caret, cues, strips, layout.
#include "editor/editor_look.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

TEST(EditorLook, ColoursAreStoredWithRedInTheLowByte) {
    EXPECT_EQ(HexColour(0x123456), 0x563412u);
    EXPECT_EQ(PaletteFor(false).gutter, 0xF2EEECu);
    EXPECT_EQ(PaletteFor(true).background, 0x1E1E1Eu);
    EXPECT_EQ(PaletteFor(true).selectionBack, 0x48D6FFu);
    EXPECT_EQ(RedOf(HexColour(0xAABBCC)), 0xAA);
    EXPECT_EQ(BlueOf(HexColour(0xAABBCC)), 0xCC);
}

TEST(EditorLook, IndicatorsFollowTheTheme) {
    const auto light = IndicatorLooks(false);
    const auto dark = IndicatorLooks(true);
    EXPECT_EQ(light[0].indicator, 0);
    EXPECT_EQ(light[0].alpha, 140);
    EXPECT_EQ(dark[0].outlineAlpha, 220);
    EXPECT_EQ(dark[1].fore, HexColour(0xFFCE40));
    EXPECT_EQ(light[2].indicator, 3);
    EXPECT_EQ(light[2].style, kIndicTextFore);
    EXPECT_FALSE(light[2].under);
    EXPECT_EQ(light[3].indicator, 2);
    EXPECT_EQ(light[3].hoverFore, HexColour(0x0046A0));
    EXPECT_EQ(dark[3].hoverFore, HexColour(0xB4DCFF));
}

TEST(EditorLook, FontSizeFollowsTheStepWithinItsRange) {
    struct Case {
        int step;
        int points;
    };
    for (const Case c : {Case {0, 11}, Case {-8, 3}, Case {20, 31}, Case {-9, 3}, Case {99, 31}, Case {5, 16}}) {
        EXPECT_EQ(FontPointSize(c.step), c.points) << c.step;
    }
    EXPECT_EQ(FontHeightFor(11, 96), -15);   // 14.67 rounds to 15
    EXPECT_EQ(FontHeightFor(11, 144), -22);
    EXPECT_EQ(FontHeightFor(3, 120), -5);
    EXPECT_EQ(FontHeightFor(31, 192), -83);  // 82.67
}

TEST(EditorLook, FixedPitchFallsBackWhenItsFaceIsMissing) {
    EXPECT_EQ(FontFaceFor(false, true), u"Yu Gothic UI");
    EXPECT_EQ(FontFaceFor(true, true), u"BIZ UDGothic");
    EXPECT_EQ(FontFaceFor(true, false), u"MS Gothic");
    EXPECT_EQ(UsableAverageCharWidth(0), 8);
    EXPECT_EQ(UsableAverageCharWidth(-3), 8);
    EXPECT_EQ(UsableAverageCharWidth(7), 7);
}

TEST(EditorLook, NumberMarginGrowsWithTheDigitsOfTheLineCount) {
    EXPECT_EQ(DecimalDigits(0), 1);
    EXPECT_EQ(DecimalDigits(9), 1);
    EXPECT_EQ(DecimalDigits(10), 2);
    EXPECT_EQ(DecimalDigits(99), 2);
    EXPECT_EQ(DecimalDigits(100), 3);
    EXPECT_EQ(NumberMarginWidth(true, 9, 7, 96), 8 + 3 * 7);
    EXPECT_EQ(NumberMarginWidth(true, 10, 7, 96), 8 + 4 * 7);
    EXPECT_EQ(NumberMarginWidth(true, 1, 0, 96), 8 + 3 * 8);
    EXPECT_EQ(NumberMarginWidth(true, 100000, 10, 144), 12 + 8 * 10);
    EXPECT_EQ(NumberMarginWidth(false, 100, 7, 96), 0);
    EXPECT_EQ(TextMarginWidth(true, 96), 6);
    EXPECT_EQ(TextMarginWidth(false, 96), 10);
    EXPECT_EQ(TextMarginWidth(true, 144), 9);
    EXPECT_EQ(TextMarginWidth(false, 120), 13);  // 12.5 rounds up
}

TEST(EditorLook, FoldMarginScalesAndKeepsAMinimumWidth) {
    EXPECT_EQ(FoldMarginFor(30, 96), (FoldMarginGeometry {9, 13, 4}));
    EXPECT_EQ(FoldMarginFor(0, 96), (FoldMarginGeometry {9, 13, 0}));
    EXPECT_EQ(FoldMarginFor(30, 144), (FoldMarginGeometry {14, 20, 6}));
    EXPECT_EQ(FoldMarginFor(30, 192), (FoldMarginGeometry {18, 26, 8}));
    // Below 96 DPI the marks shrink to 7 px and the margin stays 12 px wide.
    EXPECT_EQ(FoldMarginFor(0, 72), (FoldMarginGeometry {7, 12, 0}));
}

std::string Draw(const std::array<bool, 81>& grid) {
    std::string rows;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) rows += grid[static_cast<std::size_t>(y * 9 + x)] ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

TEST(EditorLook, ChevronsPointDownWhenOpenAndRightWhenFolded) {
    EXPECT_EQ(Draw(ChevronGrid(Chevron::Open)),
              ".........\n"
              ".........\n"
              ".#.....#.\n"
              ".##...##.\n"
              "..##.##..\n"
              "...###...\n"
              "....#....\n"
              ".........\n"
              ".........\n");
    EXPECT_EQ(Draw(ChevronGrid(Chevron::Folded)),
              ".........\n"
              "..##.....\n"
              "...##....\n"
              "....##...\n"
              ".....##..\n"
              "....##...\n"
              "...##....\n"
              "..##.....\n"
              ".........\n");
}

TEST(EditorLook, ChevronImageIsTheGridScaledByNearestNeighbour) {
    const Colour colour = HexColour(0xA8ACB4);
    const std::vector<std::uint8_t> at9 = ChevronImage(Chevron::Open, 9, colour);
    ASSERT_EQ(at9.size(), 9u * 9u * 4u);
    const auto pixel = [](const std::vector<std::uint8_t>& image, int size, int x, int y) {
        return &image[static_cast<std::size_t>((y * size + x) * 4)];
    };
    const std::uint8_t* on = pixel(at9, 9, 1, 2);
    EXPECT_EQ(on[0], 0xA8);
    EXPECT_EQ(on[1], 0xAC);
    EXPECT_EQ(on[2], 0xB4);
    EXPECT_EQ(on[3], 0xFF);
    EXPECT_EQ(pixel(at9, 9, 0, 0)[3], 0);
    EXPECT_EQ(pixel(at9, 9, 4, 4)[3], 0);

    // At 14 px every destination pixel takes grid pixel (x*9/14, y*9/14).
    const std::vector<std::uint8_t> at14 = ChevronImage(Chevron::Folded, 14, colour);
    const std::array<bool, 81> grid = ChevronGrid(Chevron::Folded);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const bool expected = grid[static_cast<std::size_t>((y * 9 / 14) * 9 + x * 9 / 14)];
            EXPECT_EQ(pixel(at14, 14, x, y)[3] == 0xFF, expected) << x << "," << y;
        }
    }
    EXPECT_TRUE(ChevronImage(Chevron::Open, 0, colour).empty());
}

TEST(EditorLook, CaretKindsAndTheirSettings) {
    EXPECT_EQ(CaretKindOf(CaretStyle::Line), 1);
    EXPECT_EQ(CaretKindOf(CaretStyle::Block), 2);
    EXPECT_EQ(CaretKindOf(CaretStyle::Dos), 3);
    const CaretSettings line = CaretSettingsFor(1, 96);
    EXPECT_FALSE(line.block);
    EXPECT_FALSE(line.invisible);
    EXPECT_EQ(line.width, 2);
    EXPECT_EQ(line.period, 500);
    EXPECT_EQ(CaretSettingsFor(1, 192).width, 4);
    EXPECT_TRUE(CaretSettingsFor(2, 96).block);
    EXPECT_EQ(CaretSettingsFor(2, 96).width, -1);
    const CaretSettings dos = CaretSettingsFor(3, 96);
    EXPECT_TRUE(dos.invisible);
    EXPECT_EQ(dos.period, 0);
}

DosCaretInput CaretAt(Point caret, std::optional<Point> next, int height = 20) {
    DosCaretInput input;
    input.caret = caret;
    input.textHeight = height;
    input.next = next;
    input.averageCharWidth = 7;
    input.client = {400, 300};
    return input;
}

TEST(EditorLook, DosCaretCoversTheLowerHalfOfTheCharacter) {
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {59, 40})), (Rect {50, 50, 59, 60}));
    // Short lines still get at least 4 px.
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {59, 40}, 6)), (Rect {50, 42, 59, 46}));
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {59, 40}, 3)), std::nullopt);
}

TEST(EditorLook, DosCaretUsesTheAverageWidthWithoutACharacterToMeasure) {
    // End of the text, a line end (next position on the next row), a
    // zero-width step and a wrapped continuation to the left.
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, std::nullopt))->Width(), 7);
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {10, 60}))->Width(), 7);
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {51, 40}))->Width(), 7);
    EXPECT_EQ(DosCaretRect(CaretAt({50, 40}, Point {20, 40}))->Width(), 7);
    DosCaretInput tiny = CaretAt({50, 40}, std::nullopt);
    tiny.averageCharWidth = 1;
    EXPECT_EQ(DosCaretRect(tiny)->Width(), 8);
}

TEST(EditorLook, DosCaretIsClippedToTheClient) {
    EXPECT_EQ(DosCaretRect(CaretAt({395, 40}, Point {405, 40})), (Rect {395, 50, 400, 60}));
    EXPECT_EQ(DosCaretRect(CaretAt({50, 285}, Point {59, 285})), (Rect {50, 295, 59, 300}));
    EXPECT_EQ(DosCaretRect(CaretAt({50, 290}, Point {59, 290})), std::nullopt);
    EXPECT_EQ(DosCaretRect(CaretAt({50, -30}, Point {59, -30})), std::nullopt);
    EXPECT_EQ(DosCaretRect(CaretAt({-20, 40}, Point {-12, 40})), std::nullopt);
}

TEST(EditorLook, UnionOfCaretRectanglesIgnoresEmptyOnes) {
    EXPECT_EQ(UnionRect({0, 0, 5, 5}, {10, 10, 20, 20}), (Rect {0, 0, 20, 20}));
    EXPECT_EQ(UnionRect({}, {10, 10, 20, 20}), (Rect {10, 10, 20, 20}));
}

TEST(EditorLook, SelectionHidesBandAndUnderline) {
    EXPECT_TRUE(BandWanted(true, true));
    EXPECT_FALSE(BandWanted(true, false));
    EXPECT_FALSE(BandWanted(false, true));
    EXPECT_TRUE(UnderlineWanted(true, true, false));
    EXPECT_FALSE(UnderlineWanted(true, false, false));
    EXPECT_FALSE(UnderlineWanted(true, true, true));
}

TEST(EditorLook, ImeOnColoursComeFromTheThemesKeysOrTheTable) {
    EditorSettings settings;
    EXPECT_EQ(CurrentLineCueColours(false, false, settings), (CueColours {HexColour(0xE8ECF4), HexColour(0xC4C4C4)}));
    EXPECT_EQ(CurrentLineCueColours(false, true, settings), (CueColours {HexColour(0xFFECD2), HexColour(0xDC7828)}));
    EXPECT_EQ(CurrentLineCueColours(true, true, settings), (CueColours {HexColour(0x58462A), HexColour(0xDCA050)}));
    settings.imeOnHighlightLight = u"255,0,0";
    settings.imeOnUnderlineLight = u"#00ff00";
    settings.imeOnHighlightDark = u"nonsense";
    settings.imeOnUnderlineDark = u"";
    EXPECT_EQ(CurrentLineCueColours(false, true, settings), (CueColours {0x0000FFu, 0x00FF00u}));
    // The light keys do not leak into the dark theme; a bad value means built-in.
    EXPECT_EQ(CurrentLineCueColours(true, true, settings), (CueColours {HexColour(0x58462A), HexColour(0xDCA050)}));
    // With the input method closed the overrides do not apply.
    EXPECT_EQ(CurrentLineCueColours(false, false, settings).band, HexColour(0xE8ECF4));
}

TEST(EditorLook, UnderlineSitsTwoPixelsAboveTheLineBottomInsideTheClient) {
    EXPECT_EQ(UnderlineY(40, 20, 300, 96), 58);
    EXPECT_EQ(UnderlineY(40, 30, 300, 144), 67);
    EXPECT_EQ(UnderlineY(40, 1, 300, 96), std::nullopt);
    EXPECT_EQ(UnderlineY(290, 20, 300, 96), std::nullopt);
    EXPECT_EQ(UnderlineY(-30, 20, 300, 96), std::nullopt);
    EXPECT_EQ(UnderlineY(-18, 20, 300, 96), 0);
}

TEST(EditorLook, InvalidationSpansAreClippedToTheClient) {
    EXPECT_EQ(UnderlineBand(58, 20, 300), (Span {39, 60}));
    EXPECT_EQ(UnderlineBand(5, 20, 300), (Span {0, 7}));
    EXPECT_EQ(UnderlineBand(299, 20, 300), (Span {280, 300}));
    EXPECT_TRUE(UnderlineBand(-1, 20, 300).Empty());
    EXPECT_EQ(ImeCueSpan(58, 20, 300), (Span {38, 61}));
    EXPECT_EQ(ImeCueSpan(-1, 20, 300), (Span {0, 300}));
}

TEST(EditorLook, InsetsLeaveNoBottomStripAboveAHorizontalScrollBar) {
    EXPECT_EQ(InsetsFor(false, 96), (Insets {8, 10}));
    EXPECT_EQ(InsetsFor(true, 96), (Insets {8, 0}));
    EXPECT_EQ(InsetsFor(false, 144), (Insets {12, 15}));
    EXPECT_EQ(InsetsFor(false, 120), (Insets {10, 13}));
    EXPECT_EQ(InsetClient({0, 0, 300, 200}, {8, 10}), (Rect {0, 8, 300, 190}));
    // A window too low for both strips keeps an empty client, never an inverted one.
    EXPECT_EQ(InsetClient({0, 0, 300, 12}, {8, 10}), (Rect {0, 8, 300, 8}));
    EXPECT_EQ(InsetClient({0, 0, 300, 5}, {8, 10}), (Rect {0, 5, 300, 5}));
}

TEST(EditorLook, StripsSplitIntoGutterTextAndScrollBarColumn) {
    // A 400 x 300 window with a 17 px scroll bar and a 40 px gutter.
    const StripRects wrapped = StripRectsFor({400, 300}, {0, 8, 383, 290}, 40, true);
    EXPECT_EQ(wrapped.topGutter, (Rect {0, 0, 40, 8}));
    EXPECT_EQ(wrapped.topText, (Rect {40, 0, 383, 8}));
    EXPECT_EQ(wrapped.topScroll, (Rect {383, 0, 400, 8}));
    EXPECT_EQ(wrapped.bottomGutter, (Rect {0, 290, 40, 300}));
    EXPECT_EQ(wrapped.bottomText, (Rect {40, 290, 383, 300}));
    EXPECT_EQ(wrapped.bottomScroll, (Rect {383, 290, 400, 300}));
    EXPECT_EQ(wrapped.corner, Rect {});

    // Without wrap the horizontal bar sits below the client: only the corner is ours.
    const StripRects unwrapped = StripRectsFor({400, 300}, {0, 8, 383, 283}, 40, false);
    EXPECT_EQ(unwrapped.bottomText, Rect {});
    EXPECT_EQ(unwrapped.corner, (Rect {383, 283, 400, 300}));

    // No vertical scroll bar: no scroll column; a gutter wider than the client is cut.
    const StripRects narrow = StripRectsFor({30, 300}, {0, 8, 30, 290}, 40, true);
    EXPECT_EQ(narrow.topGutter, (Rect {0, 0, 30, 8}));
    EXPECT_EQ(narrow.topText, Rect {});
    EXPECT_EQ(narrow.topScroll, Rect {});
}

TEST(EditorLook, StripHitTestSendsTheScrollColumnToTheScrollBar) {
    const Rect client {0, 8, 383, 290};
    const Size window {400, 300};
    struct Case {
        Point point;
        bool bottomStrip;
        StripHit hit;
    };
    const Case cases[] = {
        {{100, 3}, true, StripHit::TopText},       {{390, 3}, true, StripHit::TopScrollBar},
        {{100, 295}, true, StripHit::BottomText},  {{390, 295}, true, StripHit::BottomScrollBar},
        {{100, 100}, true, StripHit::None},        {{390, 100}, true, StripHit::None},
        {{100, 295}, false, StripHit::None},       {{100, 3}, false, StripHit::TopText},
        {{-1, 3}, true, StripHit::None},           {{100, 300}, true, StripHit::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitTestStrips(c.point, window, client, c.bottomStrip), c.hit) << c.point.x << "," << c.point.y;
    }
}

TEST(EditorLook, AnchorPointIsTheTextsLeftEdge) {
    EXPECT_EQ(AnchorX(false, 0, 96), 10);
    EXPECT_EQ(AnchorX(true, 29, 96), 35);
    EXPECT_EQ(AnchorX(true, 40, 144), 49);
    EXPECT_EQ(AnchorX(false, 40, 144), 15);
}

TEST(EditorLook, PlainLayoutKeepsTheFirstLineAndShowsTheCaret) {
    const ResizeAnchor idle;
    const ViewSnapshot now {12, 500, 400};
    const LayoutPlan same = PlanLayout(idle, now, 400, true, false);
    EXPECT_EQ(same.source, now);
    EXPECT_FALSE(same.widthChanged);
    EXPECT_FALSE(same.keepDocumentLine);
    EXPECT_FALSE(same.suspendRedraw);
    EXPECT_TRUE(same.scrollCaretIntoView);

    const LayoutPlan wider = PlanLayout(idle, now, 500, true, false);
    EXPECT_TRUE(wider.keepDocumentLine);
    EXPECT_FALSE(wider.suspendRedraw) << "redraw is suspended only inside a size loop";
    // Without wrap the display lines do not move: the first line is restored.
    EXPECT_FALSE(PlanLayout(idle, now, 500, false, false).keepDocumentLine);
    // Without a known top position there is no document line to keep.
    EXPECT_FALSE(PlanLayout(idle, {12, -1, 400}, 500, true, false).keepDocumentLine);
}

TEST(EditorLook, ResizeLoopUsesTheAnchorAndReRecordsAfterAWrappedWidthChange) {
    ResizeAnchor anchor;
    anchor.active = true;
    anchor.recorded = {12, 500, 400};
    // The view read now is whatever the last live layout left; the anchor wins.
    const ViewSnapshot drifted {15, 640, 420};
    const LayoutPlan plan = PlanLayout(anchor, drifted, 420, true, true);
    EXPECT_EQ(plan.source, anchor.recorded);
    EXPECT_TRUE(plan.widthChanged);
    EXPECT_TRUE(plan.keepDocumentLine);
    EXPECT_TRUE(plan.suspendRedraw);
    EXPECT_FALSE(plan.scrollCaretIntoView);
    const ViewSnapshot after {14, 500, 420};
    FinishLayout(anchor, plan, after, true, true);
    EXPECT_EQ(anchor.recorded, after);

    // An unchanged width keeps the recorded line and position.
    const LayoutPlan same = PlanLayout(anchor, {20, 900, 420}, 420, true, true);
    EXPECT_FALSE(same.widthChanged);
    FinishLayout(anchor, same, {20, 900, 420}, true, true);
    EXPECT_EQ(anchor.recorded, after);
}

TEST(EditorLook, ResizeLoopWithoutWrapRecordsOnlyTheWidth) {
    ResizeAnchor anchor;
    anchor.active = true;
    anchor.recorded = {12, 500, 400};
    const LayoutPlan plan = PlanLayout(anchor, {12, 500, 400}, 450, false, true);
    EXPECT_FALSE(plan.suspendRedraw);
    FinishLayout(anchor, plan, {13, 520, 450}, false, true);
    EXPECT_EQ(anchor.recorded, (ViewSnapshot {12, 500, 450}));
}

TEST(EditorLook, EndOfTheLoopLeavesOneFinalRestoreWithoutCaretScroll) {
    ResizeAnchor anchor;
    anchor.recorded = {12, 500, 450};
    anchor.restorePending = true;
    const LayoutPlan last = PlanLayout(anchor, {30, 2000, 450}, 450, true, false);
    EXPECT_EQ(last.source, anchor.recorded);
    EXPECT_FALSE(last.scrollCaretIntoView);
    FinishLayout(anchor, last, {12, 500, 450}, true, false);
    EXPECT_FALSE(anchor.restorePending);
    // The next layout reads the view afresh and shows the caret again.
    const LayoutPlan next = PlanLayout(anchor, {30, 2000, 450}, 450, true, false);
    EXPECT_EQ(next.source, (ViewSnapshot {30, 2000, 450}));
    EXPECT_TRUE(next.scrollCaretIntoView);
}

}  // namespace
}  // namespace quillpane

namespace quillpane {
namespace {

// Margin texts for the lines on screen: what is sent after scrolling, after
// lines were added or removed (the texts moved with their lines), after a
// large paste, and after a mark changed.
TEST(VisibleLineNumbers, SendsOnlyWhatChangedOnScreen) {
    NumberedLines numbered;
    const std::vector<std::uint8_t> none(200000, 0);
    NumberingPlan plan = PlanLineNumbers(numbered, 10, 20, 1000, none);
    EXPECT_EQ(plan.set.size(), 10u);
    EXPECT_TRUE(plan.clear.empty());

    // Nothing moved: nothing to send.
    plan = PlanLineNumbers(numbered, 10, 20, 1000, none);
    EXPECT_TRUE(plan.set.empty() && plan.clear.empty() && plan.clearIfAny.empty());

    // Scrolled by two lines: two texts go, two come.
    plan = PlanLineNumbers(numbered, 12, 22, 1000, none);
    EXPECT_EQ(plan.clear, (std::vector<long long> {10, 11}));
    EXPECT_EQ(plan.set, (std::vector<long long> {20, 21}));

    // A line break typed on line 15: every number on screen is set again and
    // the one line a text may have moved to below the screen is checked.
    ShiftNumberedLines(numbered, 15, 1);
    plan = PlanLineNumbers(numbered, 12, 22, 1001, none);
    EXPECT_EQ(plan.set.size(), 10u);
    EXPECT_EQ(plan.clearIfAny, (std::vector<long long> {22}));
    EXPECT_TRUE(plan.clear.empty());

    // Lines removed above the block: the texts may have moved up into the
    // lines just above the screen.
    ShiftNumberedLines(numbered, 2, -3);
    plan = PlanLineNumbers(numbered, 9, 19, 998, none);
    EXPECT_EQ(plan.clearIfAny, (std::vector<long long> {2, 3, 4, 5, 6, 7, 8, 19, 20, 21}));

    // A paste of many lines: checked once, in proportion to the paste.
    NumberedLines pasted;
    (void)PlanLineNumbers(pasted, 0, 10, 10, none);
    ShiftNumberedLines(pasted, 0, 100000);
    plan = PlanLineNumbers(pasted, 0, 10, 100010, none);
    EXPECT_EQ(plan.clearIfAny.size(), 100000u);
    plan = PlanLineNumbers(pasted, 0, 10, 100010, none);
    EXPECT_TRUE(plan.clearIfAny.empty() && plan.set.empty());

    // A changed mark restyles just its line.
    numbered = {};
    std::vector<std::uint8_t> marks(100, 0);
    (void)PlanLineNumbers(numbered, 0, 10, 100, marks);
    marks[4] = 1;
    plan = PlanLineNumbers(numbered, 0, 10, 100, marks);
    EXPECT_EQ(plan.set, (std::vector<long long> {4}));

    // The view is clamped to the document.
    (void)PlanLineNumbers(numbered, 95, 120, 100, marks);
    EXPECT_EQ(numbered.End(), 100);
}

TEST(VisibleLineNumbers, NumbersAScreenAboveAndBelow) {
    const NumberedSpan span = NumberedSpanFor(100, 139, 10000);
    EXPECT_EQ(span.first, 60);
    EXPECT_EQ(span.end, 180);
    const NumberedSpan top = NumberedSpanFor(0, 39, 30);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.end, 30);
}

}  // namespace
}  // namespace quillpane
