// The heading sidebar's rules: drop positions, what a rebuild redraws, row layout, wheel and keys.
#include "sections/heading_sidebar.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

SectionList Rows(std::initializer_list<bool> startsAtMarker) {
    SectionList rows;
    for (const bool marker : startsAtMarker) {
        SectionEntry entry;
        entry.startIndex = rows.size() * 10;
        entry.startsAtMarker = marker;
        entry.title = u"memo";
        rows.push_back(entry);
    }
    return rows;
}

TEST(SidebarDrop, TheNearestPositionThatKeepsTextBeforeTheFirstDividerInPlace) {
    const SectionList withInbox = Rows({false, true, true, true});
    const SectionList allMarked = Rows({true, true, true});
    struct Case {
        const SectionList* rows;
        int source;
        int wanted;
        int expected;
    };
    const Case cases[] = {
        {&withInbox, 3, 0, 1},  // nothing goes in front of the inbox
        {&withInbox, 3, 1, 1},
        {&withInbox, 1, 4, 4},
        {&withInbox, 0, 3, 1},  // the inbox itself never moves: just below itself is nearest
        {&withInbox, 0, 1, 1},  // just below itself: allowed, moves nothing
        {&allMarked, 2, 0, 0},
        {&allMarked, 0, 9, 3},  // clamped to the end
        {&allMarked, 5, 1, 5},  // no such source
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllowedDropPosition(*c.rows, c.source, c.wanted), c.expected) << c.source << " to " << c.wanted;
    }
    EXPECT_FALSE(MovesSomething(2, 2));
    EXPECT_FALSE(MovesSomething(2, 3));
    EXPECT_TRUE(MovesSomething(2, 4));
    EXPECT_EQ(DropPositionFor(2, true, 3), 3);
    EXPECT_EQ(DropPositionFor(2, false, 3), 2);
}

TEST(SidebarUpdatePlan, RefillsOnlyForANewCountAndRepaintsOnlyForVisibleChanges) {
    const SectionList three = Rows({false, true, true});
    SectionList moved = three;
    for (SectionEntry& entry : moved) entry.startIndex += 5;  // typing above: nothing visible changed

    SidebarUpdate update = PlanSidebarUpdate(three, moved, 1, -1);
    EXPECT_FALSE(update.refill);
    EXPECT_FALSE(update.repaint);
    EXPECT_EQ(update.select, 1);

    SectionList counted = three;
    counted[2].hitCount = 4;
    update = PlanSidebarUpdate(three, counted, 0, 2);  // the focused list keeps its row
    EXPECT_FALSE(update.refill);
    EXPECT_TRUE(update.repaint);
    EXPECT_EQ(update.select, 2);

    update = PlanSidebarUpdate(three, Rows({false, true}), 1, 2);  // the kept row is gone
    EXPECT_TRUE(update.refill);
    EXPECT_EQ(update.select, 1);
    EXPECT_EQ(PlanSidebarUpdate(three, {}, 0, -1).select, -1);
}

TEST(SidebarRowLayout, CountTriangleAndHandleShareTheRow) {
    const SidebarMetrics m = ComputeSidebarMetrics(96, 0);
    EXPECT_EQ(m.rowHeight, 48);
    EXPECT_EQ(ComputeSidebarMetrics(144, 0).rowHeight, 72);
    EXPECT_EQ(ComputeSidebarMetrics(96, 11).rowHeight, 96);  // 22 pt
    EXPECT_EQ(SidebarPointSize(-30), 3);
    EXPECT_EQ(SidebarSubtitlePointSize(-8), 8);

    SidebarRowInput input;
    input.row = {0, 0, 200, 48};
    input.visibleRight = 200;
    input.handlesShown = true;
    input.startsAtMarker = true;
    input.showTriangle = true;
    input.countWidth = 20;
    const SidebarRowLayout layout = LayoutSidebarRow(input, m);
    EXPECT_TRUE(layout.handle);
    EXPECT_EQ(layout.handleCentre, (Point {16, 24}));
    EXPECT_EQ(layout.triangleCentre, (Point {184, 24}));
    EXPECT_EQ(layout.title, (Rect {32, 7, 142, 24}));   // 8 px and the count before the text's end
    EXPECT_EQ(layout.count, (Rect {146, 7, 170, 24}));  // the text ends at the fold column
    EXPECT_EQ(layout.subtitle, (Rect {32, 24, 170, 41}));

    input.handlesShown = false;
    input.showTriangle = false;
    input.countWidth = 0;
    const SidebarRowLayout plain = LayoutSidebarRow(input, m);
    EXPECT_FALSE(plain.handle);
    EXPECT_FALSE(plain.triangle);
    EXPECT_EQ(plain.title, (Rect {10, 7, 190, 24}));

    EXPECT_EQ(HitCountText(0), u"");
    EXPECT_EQ(HitCountText(999), u"999");
    EXPECT_EQ(HitCountText(1000), u"999+");
    EXPECT_FALSE(HandlesShown(Rows({false, true})));
    EXPECT_TRUE(HandlesShown(Rows({true, true})));
}

TEST(SidebarInput, WheelNotchesAndKeys) {
    EXPECT_EQ(ScrollForWheel(-240, 3, 5).rows, 6);
    EXPECT_EQ(ScrollForWheel(120, 3, 5).rows, -3);
    const WheelScroll partial = ScrollForWheel(-200, 3, 5);
    EXPECT_EQ(partial.rows, 3);
    EXPECT_EQ(partial.remainder, -80);
    EXPECT_EQ(ScrollForWheel(-120, 0xFFFFFFFF, 7).rows, 7);  // a page

    struct Case {
        unsigned key;
        KeyModifiers modifiers;
        SidebarKey expected;
    };
    const Case cases[] = {
        {0x28, {}, SidebarKey::List},                       // Down moves the selection only
        {0x0D, {}, SidebarKey::JumpAndFocus},               // Enter
        {0x1B, {}, SidebarKey::FocusEditor},                // Esc
        {0x71, {}, SidebarKey::JumpThenPass},               // F2
        {0x71, {false, false, true}, SidebarKey::List},     // Shift+F2
        {0x75, {false, false, true}, SidebarKey::JumpThenPass},  // Shift+F6
        {'Z', {true, false, false}, SidebarKey::Pass},      // Ctrl+Z undoes without a jump
        {'B', {true, false, false}, SidebarKey::JumpThenPass},
        {0x11, {true, false, false}, SidebarKey::List},     // Ctrl alone
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifySidebarKey(c.key, c.modifiers), c.expected) << c.key;
}

TEST(SidebarEntries, FoldStatesOnlyWithMemoFolding) {
    const MarkerSettings settings {SectionMarkerRole::Separator, u"---", u"##"};
    const std::u16string text = u"inbox\r\n---\r\nfirst\r\nbody\r\n---\r\nsecond\r\n";
    const auto contracted = [](int line) { return line == 1; };  // the fold at the first divider is closed
    const SidebarEntries off = BuildSidebarEntries(text, settings, 14, false, contracted);
    ASSERT_EQ(off.entries.size(), 3u);
    EXPECT_EQ(off.caretEntry, 1);
    EXPECT_FALSE(off.entries[1].canFold);
    EXPECT_FALSE(off.entries[1].folded);
    const SidebarEntries on = BuildSidebarEntries(text, settings, 0, true, contracted);
    EXPECT_FALSE(on.entries[0].canFold) << "no divider above the inbox";
    EXPECT_TRUE(on.entries[1].canFold);
    EXPECT_TRUE(on.entries[1].folded);
    EXPECT_TRUE(on.entries[2].canFold);
    EXPECT_FALSE(on.entries[2].folded);
}

}  // namespace
}  // namespace quillpane
