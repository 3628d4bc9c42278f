// Drop rules: dropped file names as text, and text moved or copied in the editor.
#include "editor/drop_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

std::u16string Apply(std::u16string_view text, const TextEdit& edit) {
    std::u16string out(text.substr(0, edit.replaced.start));
    out += edit.replacement;
    out += text.substr(edit.replaced.end);
    return out;
}

TEST(DropRules, QuotesPathsWithBlanks) {
    EXPECT_EQ(QuoteDroppedPath(u"C:\\a\\b.txt"), u"C:\\a\\b.txt");
    EXPECT_EQ(QuoteDroppedPath(u"C:\\My Files\\b.txt"), u"\"C:\\My Files\\b.txt\"");
    EXPECT_EQ(QuoteDroppedPath(u"C:\\a\tb"), u"\"C:\\a\tb\"");
    EXPECT_EQ(QuoteDroppedPath(u"\"C:\\My Files\""), u"\"C:\\My Files\"");
    EXPECT_EQ(QuoteDroppedPath(u"\" x"), u"\"\" x\"");  // one quote is not a quoted path
}

TEST(DropRules, FilesBecomeLinesAtTheDropPoint) {
    const std::u16string text = u"ab";
    const DropOutcome outcome = FileDrop(text, 1, {u"C:\\one.txt", u"", u"C:\\two files.txt"});
    ASSERT_TRUE(outcome.edit);
    EXPECT_EQ(Apply(text, *outcome.edit), u"aC:\\one.txt\r\n\"C:\\two files.txt\"b");
    EXPECT_EQ(outcome.edit->selectionAfter, (Selection {31, 31}));
    EXPECT_EQ(outcome.effect, DropEffect::Copy);

    EXPECT_FALSE(FileDrop(text, 1, {u""}).edit);
    EXPECT_EQ(FileDrop(text, 99, {u"x"}).edit->replaced, (TextRange {2, 2}));
}

struct TextDropCase {
    Selection selection;
    std::size_t drop;
    std::u16string_view dropped;
    bool ctrl;
    std::u16string_view expected;
    std::size_t caret;
};

TEST(DropRules, TextIsMovedCopiedOrLeftAlone) {
    const std::u16string text = u"abcXYZdef";
    const TextDropCase cases[] = {
        {{3, 6}, 8, u"XYZ", false, u"abcdeXYZf", 8},   // moved right
        {{6, 3}, 1, u"XYZ", false, u"aXYZbcdef", 4},   // moved left
        {{3, 6}, 9, u"XYZ", false, u"abcdefXYZ", 9},   // to the end
        {{3, 6}, 8, u"XYZ", true, u"abcXYZdeXYZf", 11},  // copied with Ctrl
        {{3, 6}, 3, u"XYZ", false, u"abcXYZdef", 0},   // onto its own selection: no edit
        {{3, 6}, 6, u"XYZ", true, u"abcXYZdef", 0},
        {{3, 6}, 1, u"XY", false, u"aXYbcXYZdef", 3},  // other text: inserted
        {{0, 0}, 0, u"Q", false, u"QabcXYZdef", 1},
        // Another program's line ends become CR LF, as in a loaded memo.
        {{0, 0}, 3, u"1\n2\r3\r\n", false, u"abc1\r\n2\r\n3\r\nXYZdef", 12},
    };
    for (const TextDropCase& c : cases) {
        const DropOutcome outcome = TextDrop(text, c.selection, c.drop, c.dropped, c.ctrl);
        EXPECT_EQ(outcome.effect, DropEffect::Copy);
        if (c.expected == text) {
            EXPECT_FALSE(outcome.edit) << c.drop;
            continue;
        }
        ASSERT_TRUE(outcome.edit) << c.drop;
        EXPECT_EQ(Apply(text, *outcome.edit), c.expected) << c.drop;
        EXPECT_EQ(outcome.edit->selectionAfter, (Selection {c.caret, c.caret})) << c.drop;
    }
    EXPECT_EQ(TextDrop(text, {0, 0}, 1, u"", false).effect, DropEffect::None);
}

TEST(DropRules, DragEffects) {
    EXPECT_EQ(DragEffect(true, true, false, false), DropEffect::Copy);
    EXPECT_EQ(DragEffect(false, true, false, false), DropEffect::Move);
    EXPECT_EQ(DragEffect(false, true, true, false), DropEffect::Copy);
    EXPECT_EQ(DragEffect(false, false, false, false), DropEffect::None);
    EXPECT_EQ(DragEffect(true, true, false, true), DropEffect::None);
}

}  // namespace
}  // namespace quillpane
