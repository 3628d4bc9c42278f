// The title strip's arithmetic and the status label's texts.
#include "app/chrome_rules.h"
#include "app/status_text.h"
#include "search/search_engine.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(ChromeRules, ButtonsTitleAndDotFitTheStrip) {
    const ChromeMetrics at150 = ComputeChromeMetrics(144);
    EXPECT_EQ(at150.button, 33);
    EXPECT_EQ(at150.titleHeight, 38);
    const ChromeMetrics at96 = ComputeChromeMetrics(96);
    const auto buttons = TitleButtonPositions({100, 50, 740, 490}, at96);
    EXPECT_EQ(buttons[0], (Point {710, 55}));
    EXPECT_EQ(buttons[1].x, 680) << "wide gap";
    EXPECT_EQ(buttons[2].x, 650) << "wide gap";
    EXPECT_EQ(buttons[3].x, 626) << "narrow gap";
    EXPECT_EQ(buttons[8].x, 506);

    // The title gives way to the buttons; the dot only where it fits.
    const Rect title = TitleTextRect({640, 440}, at96);
    EXPECT_EQ(title.left, 11);
    EXPECT_EQ(title.right, 640 - 3 - (7 * 22 + 8 + 8 + 16 + 10));
    ASSERT_TRUE(UnsavedDotRect(title, 60, at96));
    EXPECT_EQ(UnsavedDotRect(title, 60, at96)->left, 11 + 60 + 6);
    EXPECT_FALSE(UnsavedDotRect(title, title.Width() - 8, at96));
    EXPECT_EQ(TitleTextRect({200, 440}, at96), Rect {});

    EXPECT_EQ(OpacityAlpha(80), 204);
    EXPECT_EQ(OpacityAlpha(40), 153) << "kept at 60 %";
    EXPECT_EQ(OpacityAlpha(90), 230);
}

TEST(StatusText, CountsCharactersBytesAndTheSearch) {
    // "a", CR LF, "b": three characters, four bytes.
    EXPECT_EQ(CountsText(u"", {4, 1, 4}, u" chars", u" bytes"), u"3 chars (4 bytes)");
    StatusCounts selected {8, 2, 12, true, 3, 1, 5};
    EXPECT_EQ(CountsText(u"Highlight 1/2  ", selected, u" chars", u" bytes"), u"Highlight 1/2  2/6 chars (5/12 bytes)");
    EXPECT_EQ(PositionText(12, 3), u"12:3");

    EXPECT_EQ(SearchCountText(u"Highlight", 3, 17), u"Highlight 3/17  ");
    EXPECT_EQ(SearchCountText(u"Highlight", std::nullopt, 17), u"Highlight -/17  ");
    EXPECT_EQ(SearchCountText(u"Highlight", std::nullopt, 0), u"Highlight 0/0  ");
    EXPECT_EQ(SearchCountText(u"Highlight", 5000, kMatchCap), u"Highlight 5000/5000+  ");
}

}  // namespace
}  // namespace quillpane
