// Line commands: the lines a selection covers, the edits and the caret after.
#include "editor/line_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

std::u16string Apply(std::u16string_view text, const TextEdit& edit) {
    EXPECT_LE(edit.replaced.start, edit.replaced.end);
    EXPECT_LE(edit.replaced.end, text.size());
    std::u16string out(text.substr(0, edit.replaced.start));
    out += edit.replacement;
    out += text.substr(edit.replaced.end);
    EXPECT_LE(edit.selectionAfter.anchor, out.size());
    EXPECT_LE(edit.selectionAfter.caret, out.size());
    return out;
}

Selection Caret(std::size_t at) { return {at, at}; }

std::string Show(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c == u'\r') out += "\\r";
        else if (c == u'\n') out += "\\n";
        else out += static_cast<char>(c);
    }
    return out;
}

struct RangeCase {
    std::u16string_view text;
    Selection selection;
    LineRange expected;
};

TEST(LineRange, CoversTheSelectedLines) {
    const RangeCase cases[] = {
        {u"ab\r\ncd\r\nef", Caret(4), {4, 6, 8, 1, 1}},
        {u"ab\r\ncd\r\nef", Caret(6), {4, 6, 8, 1, 1}},
        {u"ab\r\ncd\r\nef", Caret(9), {8, 10, 10, 2, 2}},
        {u"ab\r\ncd\r\nef", {1, 9}, {0, 10, 10, 0, 2}},
        // Ending at a line start leaves that line out, from either direction.
        {u"ab\r\ncd\r\nef", {0, 8}, {0, 6, 8, 0, 1}},
        {u"ab\r\ncd\r\nef", {8, 4}, {4, 6, 8, 1, 1}},
        {u"ab\r\ncd\r\nef", {2, 4}, {0, 2, 4, 0, 0}},
        // A collapsed selection at a line start is that line.
        {u"ab\r\ncd\r\nef", Caret(4), {4, 6, 8, 1, 1}},
        // Between CR and LF belongs to the line the CR ends.
        {u"ab\r\ncd", Caret(3), {0, 2, 4, 0, 0}},
        {u"ab\r\ncd", {0, 3}, {0, 2, 4, 0, 0}},
        // Lone CR and LF end lines too.
        {u"a\nb\rc", Caret(2), {2, 3, 4, 1, 1}},
        {u"a\nb\rc", Caret(5), {4, 5, 5, 2, 2}},
        // The empty line after a final break.
        {u"ab\r\n", Caret(4), {4, 4, 4, 1, 1}},
        {u"", Caret(0), {0, 0, 0, 0, 0}},
        {u"ab", Caret(99), {0, 2, 2, 0, 0}},
    };
    for (const RangeCase& c : cases) {
        EXPECT_EQ(LineRangeOf(c.text, c.selection), c.expected)
            << Show(c.text) << " sel " << c.selection.anchor << "," << c.selection.caret;
    }
}

TEST(DuplicateLines, CopiesTheLineBelowAndSelectsTheCopy) {
    const std::u16string text = u"a\r\nb";
    const auto edit = DuplicateLines(text, Caret(0));
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"a\r\na\r\nb");
    EXPECT_EQ(edit->replaced, (TextRange {3, 3}));
    EXPECT_EQ(edit->selectionAfter, (Selection {3, 6}));
}

TEST(DuplicateLines, LastLineWithoutBreakStaysWithoutBreak) {
    const std::u16string text = u"a\r\nb";
    const auto edit = DuplicateLines(text, Caret(4));
    ASSERT_TRUE(edit);
    const std::u16string after = Apply(text, *edit);
    EXPECT_EQ(after, u"a\r\nb\r\nb");
    EXPECT_EQ(edit->replaced, (TextRange {4, 4}));
    EXPECT_EQ(edit->selectionAfter, (Selection {6, 7}));  // the copy, not the CR LF before it
    // Only the copy's line is marked changed.
    const LineRange marked = LineRangeOf(after, edit->selectionAfter);
    EXPECT_EQ(marked.firstLine, 2u);
    EXPECT_EQ(marked.lastLine, 2u);
    EXPECT_FALSE(MarksByLineMatching(LineCommand::DuplicateLines));
    EXPECT_TRUE(MarksByLineMatching(LineCommand::MoveLinesDown));
}

TEST(DuplicateLines, SeveralLinesAndSelectionEndingAtLineStart) {
    const std::u16string text = u"a\r\nb\r\nc";
    const auto edit = DuplicateLines(text, {0, 6});  // a and b, not c
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"a\r\nb\r\na\r\nb\r\nc");
    EXPECT_EQ(edit->selectionAfter, (Selection {6, 12}));
    const LineRange marked = LineRangeOf(Apply(text, *edit), edit->selectionAfter);
    EXPECT_EQ(marked.firstLine, 2u);
    EXPECT_EQ(marked.lastLine, 3u);

    const auto whole = DuplicateLines(text, {0, 7});
    ASSERT_TRUE(whole);
    EXPECT_EQ(Apply(text, *whole), u"a\r\nb\r\nc\r\na\r\nb\r\nc");
}

TEST(DeleteLines, RemovesLinesWithTheirBreak) {
    const std::u16string text = u"a\r\nb\r\nc";
    const auto middle = DeleteLines(text, Caret(3));
    ASSERT_TRUE(middle);
    EXPECT_EQ(Apply(text, *middle), u"a\r\nc");
    EXPECT_EQ(middle->selectionAfter, Caret(3));

    // The last line: the break before it stays.
    const auto last = DeleteLines(text, Caret(7));
    ASSERT_TRUE(last);
    EXPECT_EQ(Apply(text, *last), u"a\r\nb\r\n");

    // A selection ending at the start of c leaves c alone.
    const auto two = DeleteLines(text, {0, 6});
    ASSERT_TRUE(two);
    EXPECT_EQ(Apply(text, *two), u"c");

    EXPECT_FALSE(DeleteLines(u"a\r\n", Caret(3)));  // the empty last line
}

TEST(JoinLines, TrimsBlanksAtTheSeam) {
    const std::u16string text = u"  x  \r\n   y";
    const auto edit = JoinLines(text, Caret(2));
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"  x y");
    EXPECT_EQ(edit->selectionAfter, Caret(5));
}

TEST(JoinLines, KeepsTheBreakAfterTheRangeAndSkipsBlankPieces) {
    const std::u16string text = u"a\r\n \t \r\nb \r\nc";
    const auto edit = JoinLines(text, {0, 10});  // a, the blank line, b
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"a b \r\nc");
    EXPECT_EQ(edit->replaced, (TextRange {0, 12}));
    EXPECT_EQ(edit->selectionAfter, Caret(4));  // before the kept CR LF

    // One line with a following line that ends in a break.
    const std::u16string three = u"a\r\nb\r\nc";
    const auto one = JoinLines(three, Caret(0));
    ASSERT_TRUE(one);
    EXPECT_EQ(Apply(three, *one), u"a b\r\nc");
    EXPECT_EQ(one->selectionAfter, Caret(3));
}

TEST(JoinLines, NothingOnTheLastLine) {
    EXPECT_FALSE(JoinLines(u"a\r\nb", Caret(4)));
    EXPECT_FALSE(JoinLines(u"a", Caret(0)));
    // The only following line is the empty one after the final break.
    EXPECT_FALSE(JoinLines(u"a\r\n", Caret(0)));
}

TEST(DeleteToLineEnd, StopsBeforeTheBreak) {
    const std::u16string text = u"abc\r\nd";
    const auto edit = DeleteToLineEnd(text, Caret(1));
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"a\r\nd");
    EXPECT_EQ(edit->selectionAfter, Caret(1));
    EXPECT_FALSE(DeleteToLineEnd(text, Caret(3)));
    EXPECT_FALSE(DeleteToLineEnd(text, Caret(6)));
    // The caret end of a selection decides, not its start.
    const auto fromCaret = DeleteToLineEnd(text, {0, 2});
    ASSERT_TRUE(fromCaret);
    EXPECT_EQ(Apply(text, *fromCaret), u"ab\r\nd");
}

struct MoveCase {
    std::u16string_view text;
    Selection selection;
    int direction;
    std::u16string_view expected;  // empty: nothing to do
    Selection selected;
};

TEST(MoveLines, SwapsWithTheNeighbourLine) {
    const MoveCase cases[] = {
        {u"a\r\nb\r\nc", Caret(3), -1, u"b\r\na\r\nc", {0, 3}},
        {u"a\r\nb\r\nc", Caret(3), +1, u"a\r\nc\r\nb", {6, 7}},
        // The last line has no break: the text still ends without one.
        {u"a\r\nb", Caret(4), -1, u"b\r\na", {0, 1}},
        {u"a\r\nb", Caret(0), +1, u"b\r\na", {3, 4}},
        {u"a\r\nb\r\n", Caret(0), +1, u"b\r\na\r\n", {3, 6}},
        // From the start of line 2 to the start of line 4: lines 2 and 3 only.
        {u"1\r\n2\r\n3\r\n4\r\n5", {3, 9}, -1, u"2\r\n3\r\n1\r\n4\r\n5", {0, 6}},
        {u"1\r\n2\r\n3\r\n4\r\n5", {3, 9}, +1, u"1\r\n4\r\n2\r\n3\r\n5", {6, 12}},
        // At the edges nothing moves.
        {u"a\r\nb", Caret(1), -1, u"", {}},
        {u"a\r\nb", Caret(4), +1, u"", {}},
        {u"a\r\nb\r\n", Caret(3), +1, u"", {}},
        {u"a", Caret(0), -1, u"", {}},
    };
    for (const MoveCase& c : cases) {
        const auto edit = MoveLines(c.text, c.selection, c.direction);
        EXPECT_EQ(CanMoveLines(c.text, c.selection, c.direction), !c.expected.empty()) << Show(c.text);
        if (c.expected.empty()) {
            EXPECT_FALSE(edit) << Show(c.text);
            continue;
        }
        ASSERT_TRUE(edit) << Show(c.text);
        EXPECT_EQ(Apply(c.text, *edit), c.expected) << Show(c.text);
        EXPECT_EQ(edit->selectionAfter, c.selected) << Show(c.text);
    }
}

TEST(MoveLines, ReplacesOnlyTheTwoLinesAndMovesBack) {
    const std::u16string text = u"1\r\n2\r\n3\r\n4";
    const auto up = MoveLines(text, Caret(6), -1);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->replaced, (TextRange {3, 9}));
    const std::u16string moved = Apply(text, *up);
    const auto down = MoveLines(moved, up->selectionAfter, +1);
    ASSERT_TRUE(down);
    EXPECT_EQ(Apply(moved, *down), text);

    // The last line up and down again: the break never goes missing.
    const auto lastUp = MoveLines(text, Caret(10), -1);
    ASSERT_TRUE(lastUp);
    const std::u16string lastMoved = Apply(text, *lastUp);
    EXPECT_EQ(lastMoved, u"1\r\n2\r\n4\r\n3");
    const auto back = MoveLines(lastMoved, lastUp->selectionAfter, +1);
    ASSERT_TRUE(back);
    EXPECT_EQ(Apply(lastMoved, *back), text);
}

TEST(LineListRange, FromLineStartToTheLineEndBeforeTheBreak) {
    const std::u16string text = u"ab\r\ncd\r\nef\r\n";
    EXPECT_EQ(LineListRange(text, {5, 9}), (TextRange {4, 10}));
    EXPECT_EQ(LineListRange(text, {5, 8}), (TextRange {4, 6}));  // ends right after a CR LF
    EXPECT_EQ(LineListRange(text, {4, 5}), (TextRange {4, 6}));
    EXPECT_EQ(LineListRange(text, {1, 7}), (TextRange {0, 6}));  // ends between CR and LF
    // Without a selection, the whole text but its final line break.
    EXPECT_EQ(LineListRange(text, Caret(3)), (TextRange {0, 10}));
    EXPECT_EQ(LineListRange(u"ab\r\ncd", Caret(0)), (TextRange {0, 6}));
    // A lone LF does not split.
    EXPECT_EQ(LineListRange(u"a\nb\r\nc", {2, 3}), (TextRange {0, 3}));
}

TEST(SortLines, OrdersByCodeUnits) {
    const std::u16string text = u"b\r\na\r\nB";
    const auto up = SortLines(text, Caret(4), false);
    ASSERT_TRUE(up);
    EXPECT_EQ(Apply(text, *up), u"B\r\na\r\nb");
    EXPECT_EQ(up->selectionAfter, Caret(0));
    EXPECT_FALSE(SortLines(text, Caret(4), true));  // already descending
    const std::u16string ascending = u"B\r\na\r\nb";
    const auto down = SortLines(ascending, Caret(4), true);
    ASSERT_TRUE(down);
    EXPECT_EQ(Apply(ascending, *down), u"b\r\na\r\nB");

    // A prefix first; a surrogate pair (U+1F600) before U+E000 as code units.
    const std::u16string mixed = u"ab\r\n\uE000\r\n\U0001F600\r\na";
    const auto sorted = SortLines(mixed, Caret(0), false);
    ASSERT_TRUE(sorted);
    EXPECT_EQ(Apply(mixed, *sorted), u"a\r\nab\r\n\U0001F600\r\n\uE000");
}

TEST(SortLines, KeepsTheFinalBreakAndTheLinesOutsideTheSelection) {
    const std::u16string text = u"z\r\nc\r\nb\r\na\r\n";
    const auto whole = SortLines(text, Caret(12), false);
    ASSERT_TRUE(whole);
    EXPECT_EQ(Apply(text, *whole), u"a\r\nb\r\nc\r\nz\r\n");

    const auto part = SortLines(text, {4, 9}, false);  // c and b
    ASSERT_TRUE(part);
    EXPECT_EQ(Apply(text, *part), u"z\r\nb\r\nc\r\na\r\n");
    EXPECT_EQ(part->replaced, (TextRange {3, 7}));
    EXPECT_EQ(part->selectionAfter, Caret(3));

    EXPECT_FALSE(SortLines(u"a\r\nb", Caret(0), false));  // already sorted: no undo step
}

TEST(RemoveDuplicateLines, KeepsFirstOccurrences) {
    const std::u16string text = u"a\r\nb\r\na\r\nB\r\nb";
    const auto edit = RemoveDuplicateLines(text, Caret(13));
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"a\r\nb\r\nB");
    EXPECT_EQ(edit->selectionAfter, Caret(7));  // the block end, not beyond it
    const auto early = RemoveDuplicateLines(text, {3, 7});
    EXPECT_FALSE(early);  // b and a differ
    const auto early2 = RemoveDuplicateLines(text, Caret(2));
    ASSERT_TRUE(early2);
    EXPECT_EQ(early2->selectionAfter, Caret(2));
}

struct EmptyCase {
    std::u16string_view text;
    std::size_t caret;
    std::u16string_view expected;
    std::size_t caretAfter;
};

TEST(RemoveEmptyLines, PlacesTheCaretOnTheNearestSurvivor) {
    const EmptyCase cases[] = {
        {u"a\r\n\r\nbc", 7, u"a\r\nbc", 5},           // its own line survives, column kept
        {u"a\r\n  \r\nbc", 4, u"a\r\nbc", 3},         // blank line: start of the next survivor
        {u"a\r\n \t\r\n", 4, u"a\r\n", 1},             // no next survivor: end of the previous
        {u"a\r\n \r\n\r\n", 9, u"a\r\n", 3},           // on the line after the range
        {u" \r\n\t", 4, u"", 0},                        // none: the range start
    };
    for (const EmptyCase& c : cases) {
        const auto edit = RemoveEmptyLines(c.text, Caret(c.caret));
        ASSERT_TRUE(edit) << Show(c.text);
        EXPECT_EQ(Apply(c.text, *edit), c.expected) << Show(c.text);
        EXPECT_EQ(edit->selectionAfter, Caret(c.caretAfter)) << Show(c.text);
    }
    EXPECT_FALSE(RemoveEmptyLines(u"a\r\nb\r\n", Caret(0)));
}

TEST(TrimTrailingWhitespace, KeepsTheCaretColumnClamped) {
    const std::u16string text = u"ab  \r\nc\t\r\nd";
    const auto edit = TrimTrailingWhitespace(text, Caret(4));
    ASSERT_TRUE(edit);
    EXPECT_EQ(Apply(text, *edit), u"ab\r\nc\r\nd");
    EXPECT_EQ(edit->selectionAfter, Caret(2));
    const auto second = TrimTrailingWhitespace(text, Caret(8));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->selectionAfter, Caret(5));
    const auto last = TrimTrailingWhitespace(text, Caret(11));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->selectionAfter, Caret(8));
    EXPECT_FALSE(TrimTrailingWhitespace(u"a\r\nb", Caret(0)));
}

TEST(LineCommands, DoNothingOnAnEmptyText) {
    for (int command = 0; command <= static_cast<int>(LineCommand::TrimTrailingWhitespace); ++command) {
        EXPECT_FALSE(RunLineCommand(static_cast<LineCommand>(command), u"", Caret(0))) << command;
    }
    EXPECT_FALSE(CanMoveLines(u"", Caret(0), -1));
    EXPECT_FALSE(CanMoveLines(u"", Caret(0), +1));
}

}  // namespace
}  // namespace quillpane
