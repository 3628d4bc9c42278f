// Which line the go-to-line field means, and where the dialog goes.
#include "app/goto_line_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace quillpane {
namespace {

TEST(GoToLineRules, FieldTextGivesALineOrABeep) {
    constexpr std::int64_t kLines = 100;
    constexpr std::int64_t kBeep = -1;
    struct Case {
        std::u16string field;
        std::int64_t line;  // one-based, or kBeep
    };
    const Case cases[] = {
        {u"", 1},
        {u" \t ", 1},
        {u"0", 1},
        {u"-0", 1},
        {u"5", 5},
        {u"  7", 7},
        {u"\t+4", 4},
        {u"12abc", 12},
        {u"０１２", 12},  // full-width, as an IME types them
        {u"100", 100},
        {u"101", kBeep},
        {u"-3", kBeep},
        {u"- 3", kBeep},
        {u"abc", kBeep},
        // Huge numbers are past the end, not what they wrap to in 32 or 64 bits.
        {u"4294967301", kBeep},
        {u"9223372036854775807", kBeep},
        {u"18446744073709551621", kBeep},
        {u"99999999999999999999999999999", kBeep},
    };
    for (const Case& c : cases) {
        const std::optional<std::int64_t> line = LineToGoTo(c.field, kLines);
        const std::string shown(c.field.begin(), c.field.end());
        if (c.line == kBeep) {
            EXPECT_FALSE(line.has_value()) << shown;
        } else {
            EXPECT_EQ(line, c.line - 1) << shown;
        }
    }
    EXPECT_EQ(LineToGoTo(u"9223372036854775807", INT64_MAX), INT64_MAX - 1) << "the largest number is read exactly";
}

TEST(GoToLineRules, DialogSitsOverTheEditorsTextInsideTheWorkArea) {
    const Rect work {0, 0, 1920, 1040};
    struct Case {
        const char* what;
        std::optional<Rect> editor;
        int textOffset;
        int dpi;
        Rect expected;
    };
    const Case cases[] = {
        {"below the owner's top-left", std::nullopt, 0, 96, {124, 164, 344, 214}},
        {"at the editor's bottom, in line with the text", Rect {110, 140, 490, 690}, 40, 96, {150, 632, 370, 682}},
        {"scaled", Rect {200, 100, 1000, 800}, 60, 144, {260, 713, 590, 788}},
        {"the work area's bottom wins over the editor's", Rect {100, 500, 500, 1200}, 10, 96, {110, 982, 330, 1032}},
        {"pushed off the left screen edge, pulled back inside the editor", Rect {-100, 140, 200, 690}, 10, 96,
         {-28, 632, 192, 682}},
        {"never over the margins of a narrow editor", Rect {100, 140, 250, 690}, 40, 96, {140, 632, 360, 682}},
    };
    for (const Case& c : cases) {
        GoToLineAnchor anchor;
        anchor.owner = {100, 100, 500, 700};
        anchor.editor = c.editor;
        anchor.textOffset = c.textOffset;
        anchor.work = work;
        EXPECT_EQ(PlaceGoToLine(anchor, c.dpi), c.expected) << c.what;
    }
    GoToLineAnchor corner;
    corner.owner = {1800, 1000, 2200, 1600};
    corner.work = work;
    EXPECT_EQ(PlaceGoToLine(corner, 96), (Rect {1692, 982, 1912, 1032})) << "8 px inside the work area";
}

TEST(GoToLineRules, FieldAndCloseButtonFitTheirPlacesAtEveryDpi) {
    for (const int dpi : {96, 120, 144, 192}) {
        const Size size = GoToLineSize(dpi);
        const GoToLineLayout layout = LayoutGoToLine(size.width, dpi);
        EXPECT_LT(layout.frame.right, layout.close.left) << dpi;
        EXPECT_LE(layout.close.right, size.width) << dpi;
        EXPECT_LE(layout.frame.bottom, size.height) << dpi;
        // The text rectangle is centred in the field, inside it.
        EXPECT_GE(layout.text.top, 0) << dpi;
        EXPECT_LE(layout.text.bottom, layout.edit.Height()) << dpi;
        EXPECT_LE(std::abs(layout.text.top - (layout.edit.Height() - layout.text.bottom)), 1) << dpi;
        EXPECT_LT(layout.text.right, layout.edit.Width()) << dpi;
    }
}

}  // namespace
}  // namespace quillpane
