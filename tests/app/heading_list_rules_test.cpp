// The heading list dialog's sizes, place, layout, rows and jump scrolling.
#include "app/heading_list_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(HeadingListRules, StoredSizeFallsBackToTheDefaultAndNeverGoesBelowTheMinimum) {
    struct Case {
        Size stored;
        int dpi;
        Size expected;
    };
    const Case cases[] = {
        {{0, 0}, 96, {460, 246}},       // never resized
        {{600, 400}, 96, {600, 400}},   // kept as stored
        {{100, 50}, 96, {248, 158}},    // raised to the minimum
        {{0, 500}, 96, {460, 500}},     // each side on its own
        {{0, 0}, 144, {690, 369}},
        {{300, 200}, 144, {372, 237}},  // the minimum scales too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HeadingListSize(c.stored, c.dpi), c.expected) << c.stored.width << "x" << c.stored.height;
    }
}

TEST(HeadingListRules, OpensBelowThePanelsTopLeftAndStaysInsideTheWorkArea) {
    const Rect work {0, 0, 1000, 800};
    const Size size {460, 246};
    EXPECT_EQ(PlaceHeadingList({100, 100}, size, work, 96), (Rect {124, 164, 584, 410}));
    EXPECT_EQ(PlaceHeadingList({900, 700}, size, work, 96), (Rect {532, 546, 992, 792}));
    EXPECT_EQ(PlaceHeadingList({-600, -400}, size, work, 96), (Rect {8, 8, 468, 254}));
    EXPECT_EQ(PlaceHeadingList({100, 100}, size, work, 144).top, 196);
}

TEST(HeadingListRules, ControlsFollowTheClientSize) {
    const HeadingListLayout normal = LayoutHeadingList({460, 246}, 96);
    EXPECT_EQ(normal.list, (Rect {12, 22, 448, 190}));
    EXPECT_EQ(normal.jump, (Rect {248, 202, 344, 234}));
    EXPECT_EQ(normal.cancel, (Rect {352, 202, 448, 234}));
    // Below the minimum height the list keeps 80 px.
    EXPECT_EQ(LayoutHeadingList({248, 120}, 96).list.Height(), 80);
    const HeadingListLayout large = LayoutHeadingList({690, 369}, 144);
    EXPECT_EQ(large.cancel, (Rect {528, 303, 672, 351}));
    EXPECT_EQ(large.jump.right, large.cancel.left - 12);
    EXPECT_EQ(HeadingRowHeight(144), 39);
}

TEST(HeadingListRules, EdgesSizeTheWindowAndTheInsideDoesNot) {
    const Size window {460, 246};
    struct Case {
        Point at;
        HeadingListEdge expected;
    };
    const Case cases[] = {
        {{2, 100}, HeadingListEdge::Left},        {{457, 100}, HeadingListEdge::Right},
        {{200, 0}, HeadingListEdge::Top},         {{200, 245}, HeadingListEdge::Bottom},
        {{1, 1}, HeadingListEdge::TopLeft},       {{459, 245}, HeadingListEdge::BottomRight},
        {{459, 0}, HeadingListEdge::TopRight},    {{0, 245}, HeadingListEdge::BottomLeft},
        {{6, 6}, HeadingListEdge::None},          {{453, 239}, HeadingListEdge::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HeadingListEdgeAt(c.at, window, 96), c.expected) << c.at.x << "," << c.at.y;
    }
    EXPECT_EQ(HeadingListEdgeAt({8, 100}, window, 144), HeadingListEdge::Left);
}

TEST(HeadingListRules, RowsShowTheLineNumberThenTheTitle) {
    EXPECT_EQ(HeadingRowText(1, u"Inbox"), u"1  Inbox");
    EXPECT_EQ(HeadingRowText(12345, u"日本語"), u"12345  日本語");
    EXPECT_EQ(HeadingRowText(7, u""), u"7  ");
    const HeadingRowLayout row = LayoutHeadingRow({0, 26, 400, 52}, 96);
    EXPECT_EQ(row.number, (Rect {8, 26, 56, 52}));
    EXPECT_EQ(row.title, (Rect {62, 26, 392, 52}));
}

TEST(HeadingListRules, SelectionAndJumpScrollAreClamped) {
    EXPECT_EQ(HeadingListSelection(2, 5), 2);
    EXPECT_EQ(HeadingListSelection(9, 5), 4);
    EXPECT_EQ(HeadingListSelection(-1, 5), 0);
    EXPECT_EQ(HeadingListSelection(0, 0), -1);
    EXPECT_EQ(FirstVisibleLineForJump(100, 30), 85);
    EXPECT_EQ(FirstVisibleLineForJump(10, 31), 0);
}

}  // namespace
}  // namespace quillpane
