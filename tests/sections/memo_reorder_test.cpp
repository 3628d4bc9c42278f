// Moving memos: the rebuilt text, the one replacement, the caret, and every refusal.
#include "sections/memo_reorder.h"

#include "sections/section_list.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

MarkerSettings Dividers() {
    MarkerSettings settings;
    settings.separatorLine = u"---";
    return settings;
}

MarkerSettings Headings() {
    MarkerSettings settings;
    settings.role = SectionMarkerRole::Heading;
    return settings;
}

std::u16string Apply(std::u16string_view text, const TextEdit& edit) {
    std::u16string result(text);
    result.replace(edit.replaced.start, edit.replaced.Length(), edit.replacement);
    return result;
}

// Moves with the count and start index the text itself gives.
MemoMove Move(std::u16string_view text, const MarkerSettings& settings, int from, int to) {
    const SectionList list = BuildSections(text, settings, 0).entries;
    const std::size_t start = from >= 0 && from < static_cast<int>(list.size())
                                  ? list[static_cast<std::size_t>(from)].startIndex
                                  : 0;
    return MoveMemo(text, settings, from, to, static_cast<int>(list.size()), start);
}

const std::u16string kABC = u"---\r\nA\r\n---\r\nB\r\n---\r\nC\r\n";

TEST(MoveMemo, LastMemoToTheTopTakesItsDividerAlong) {
    const MemoMove move = Move(kABC, Dividers(), 2, 0);
    ASSERT_EQ(move.result, 0);
    EXPECT_EQ(move.newText, u"---\r\nC\r\n---\r\nA\r\n---\r\nB\r\n");
    EXPECT_EQ(Apply(kABC, move.edit), move.newText);
    EXPECT_EQ(move.edit.replaced, (TextRange {0, kABC.size()}));
    // The caret goes to the memo's first line, below its divider.
    EXPECT_EQ(move.edit.selectionAfter, (Selection {5, 5}));
}

TEST(MoveMemo, ReplacesOnlyTheBlocksThatChangePlace) {
    const std::u16string text = kABC + u"---\r\nD\r\n";
    const MemoMove move = Move(text, Dividers(), 1, 3);
    ASSERT_EQ(move.result, 2);
    EXPECT_EQ(move.newText, u"---\r\nA\r\n---\r\nC\r\n---\r\nB\r\n---\r\nD\r\n");
    EXPECT_EQ(move.edit.replaced, (TextRange {8, 24}));
    EXPECT_EQ(move.edit.replacement, u"---\r\nC\r\n---\r\nB\r\n");
    EXPECT_EQ(move.edit.selectionAfter.caret, 21u);
}

TEST(MoveMemo, MovingBackRestoresTheTextExactly) {
    const std::u16string text = u"Top\r\n---\r\nA\r\na\r\n---\r\n\r\n---\r\nB\r\n---\r\nC\r\nc";
    for (int from = 1; from < 4; ++from) {
        for (int to = 1; to <= 4; ++to) {
            const MemoMove move = Move(text, Dividers(), from, to);
            if (move.result < 0) continue;
            EXPECT_EQ(Apply(text, move.edit), move.newText);
            EXPECT_EQ(move.newText.size(), text.size());
            const int back = from > move.result ? from + 1 : from;
            const MemoMove undo = Move(move.newText, Dividers(), move.result, back);
            ASSERT_GE(undo.result, 0) << from << " -> " << to;
            EXPECT_EQ(undo.newText, text) << from << " -> " << to;
        }
    }
}

TEST(MoveMemo, OwnPlaceOrRightAfterItNeedsNothing) {
    EXPECT_EQ(Move(kABC, Dividers(), 1, 1).result, kMoveNothingToDo);
    EXPECT_EQ(Move(kABC, Dividers(), 1, 2).result, kMoveNothingToDo);
    EXPECT_EQ(Move(kABC, Dividers(), 2, 99).result, kMoveNothingToDo);  // clamped to the end
}

TEST(MoveMemo, ClampsTheTarget) {
    EXPECT_EQ(Move(kABC, Dividers(), 2, -5).result, 0);
    EXPECT_EQ(Move(kABC, Dividers(), 0, 99).result, 2);
}

TEST(MoveMemo, TextAboveTheFirstDividerNeverMoves) {
    const std::u16string text = u"Intro\r\n---\r\nA\r\n---\r\nB\r\n";
    EXPECT_EQ(Move(text, Dividers(), 2, 0).result, kMoveRefused);
    EXPECT_EQ(Move(text, Dividers(), 0, 2).result, kMoveRefused);
    const MemoMove inside = Move(text, Dividers(), 2, 1);
    ASSERT_EQ(inside.result, 1);
    EXPECT_EQ(inside.newText, u"Intro\r\n---\r\nB\r\n---\r\nA\r\n");
}

TEST(MoveMemo, RefusesWhenTheCallersViewIsStale) {
    const SectionList list = BuildSections(kABC, Dividers(), 0).entries;
    EXPECT_EQ(MoveMemo(kABC, Dividers(), 2, 0, 4, list[2].startIndex).result, kMoveRefused);
    EXPECT_EQ(MoveMemo(kABC, Dividers(), 2, 0, 3, list[2].startIndex + 1).result, kMoveRefused);
    EXPECT_EQ(MoveMemo(kABC, Dividers(), 3, 0, 3, 0).result, kMoveRefused);
    EXPECT_EQ(MoveMemo(kABC, Dividers(), -1, 0, 3, 0).result, kMoveRefused);
    EXPECT_EQ(Move(u"---\r\nA\r\n", Dividers(), 0, 1).result, kMoveRefused);  // one memo only
}

TEST(MoveMemo, RefusesATextWithNul) {
    const std::u16string text = u"---\r\nA\r\n---\r\nB" + std::u16string(1, u'\0') + u"\r\n";
    EXPECT_EQ(Move(text, Dividers(), 1, 0).result, kMoveRefused);
}

TEST(MoveMemo, SwappingIdenticalMemosChangesNothing) {
    EXPECT_EQ(Move(u"---\r\nA\r\n---\r\nA\r\n", Dividers(), 1, 0).result, kMoveNothingToDo);
}

TEST(MoveMemo, HeadingsTravelWithTheirMemos) {
    const std::u16string text = u"Notes\r\n## One\r\n1\r\n## Two\r\n2\r\n";
    const MemoMove move = Move(text, Headings(), 1, 0);
    ASSERT_EQ(move.result, 0);
    EXPECT_EQ(move.newText, u"Notes\r\n## Two\r\n2\r\n## One\r\n1\r\n");
    EXPECT_EQ(move.edit.selectionAfter.caret, 7u);  // the heading's start
}

TEST(MoveMemo, LastMemoWithoutFinalBreakMovesWithABorrowedBreak) {
    const std::u16string text = u"---\r\nA\r\n---\r\nB";
    const MemoMove up = Move(text, Dividers(), 1, 0);
    ASSERT_EQ(up.result, 0);
    EXPECT_EQ(up.newText, u"---\r\nB\r\n---\r\nA");
    EXPECT_EQ(Apply(text, up.edit), up.newText);

    const MemoMove down = Move(text, Dividers(), 0, 2);
    ASSERT_EQ(down.result, 1);
    EXPECT_EQ(down.newText, u"---\r\nB\r\n---\r\nA");
    EXPECT_EQ(down.edit.selectionAfter.caret, 13u);

    const std::u16string lfOnly = u"## A\na\n## B\n## C";
    const MemoMove mixed = Move(lfOnly, Headings(), 2, 0);
    ASSERT_EQ(mixed.result, 0);
    EXPECT_EQ(mixed.newText, u"## C\n## A\na\n## B");
}

TEST(MoveMemo, UntitledDividerMemosStayInPlace) {
    const std::u16string text = u"---\r\nA\r\n---\r\n\r\n---\r\nB\r\n";
    const MemoMove move = Move(text, Dividers(), 1, 0);
    ASSERT_EQ(move.result, 0);
    EXPECT_EQ(move.newText, u"---\r\nB\r\n---\r\n\r\n---\r\nA\r\n");
}

}  // namespace
}  // namespace quillpane
