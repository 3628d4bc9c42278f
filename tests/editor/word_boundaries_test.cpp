// Word boundaries: character classes, word moves and deletions, word selection.
#include "editor/word_boundaries.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

struct ClassCase {
    char16_t unit;
    CharKind kind;
};

TEST(CharClass, ClassifiesScripts) {
    const ClassCase cases[] = {
        {u'\t', CharKind::Space}, {u'\n', CharKind::Space}, {u'\r', CharKind::Space},
        {u' ', CharKind::Space}, {0x3000, CharKind::Space},
        {u'a', CharKind::Word}, {u'Z', CharKind::Word}, {u'5', CharKind::Word}, {u'_', CharKind::Word},
        {0x00E9, CharKind::Word}, {0x03A9, CharKind::Word}, {0x0416, CharKind::Word},
        {0x0301, CharKind::Word},  // a combining accent stays with its letter
        {0xAC00, CharKind::Word}, {0xD7A3, CharKind::Word}, {0x1100, CharKind::Word}, {0x3131, CharKind::Word},
        {0xFF21, CharKind::Word}, {0xFF10, CharKind::Word},
        {0x3041, CharKind::Hiragana}, {0x309D, CharKind::Hiragana},
        {0x30A2, CharKind::Katakana}, {0x30FC, CharKind::Katakana}, {0xFF66, CharKind::Katakana},
        {0xFF9D, CharKind::Katakana}, {0xFF9E, CharKind::Katakana},
        // Small katakana for Ainu (U+31F0-31FF) next to the CJK strokes.
        {0x31F0, CharKind::Katakana}, {0x31F7, CharKind::Katakana}, {0x31FF, CharKind::Katakana},
        {0x31EF, CharKind::Other},
        {0x4E00, CharKind::Ideograph}, {0x9FFF, CharKind::Ideograph}, {0x3400, CharKind::Ideograph},
        {0x3005, CharKind::Ideograph}, {0xFA11, CharKind::Ideograph},
        {u'.', CharKind::Other}, {u'-', CharKind::Other}, {0x00D7, CharKind::Other}, {0x00A0, CharKind::Other},
        {0x3001, CharKind::Other}, {0x300C, CharKind::Other}, {0xFF01, CharKind::Other},
        {0xD83D, CharKind::Other}, {0xDE00, CharKind::Other}, {0x0000, CharKind::Other},
    };
    for (const ClassCase& c : cases) {
        EXPECT_EQ(CharClass(c.unit), c.kind) << std::hex << static_cast<unsigned>(c.unit);
    }
    // The class numbers are part of the contract.
    EXPECT_EQ(static_cast<int>(CharKind::Ideograph), 4);
}

struct MoveCase {
    std::u16string_view text;
    std::size_t index;
    std::size_t left;
    std::size_t right;
};

TEST(WordBoundary, SkipsSpacesThenOneClassRun) {
    const MoveCase cases[] = {
        {u"foo bar", 0, 0, 3},
        {u"foo bar", 3, 0, 7},
        {u"foo bar", 5, 4, 7},
        {u"foo  ", 5, 0, 5},
        {u"foo.bar", 3, 0, 4},
        {u"カタカナ漢字", 0, 0, 4},
        {u"ひらがなカタカナ", 8, 4, 8},
        {u"漢字かな", 2, 0, 4},
        {u"\u3000語", 0, 0, 2},
        // Line breaks count as spaces.
        {u"foo\r\nbar", 5, 0, 8},
        // Surrogate halves share a class: never a stop inside a pair.
        {u"a\U0001F600\U0001F600b", 1, 0, 5},
        {u"a\U0001F600\U0001F600b", 5, 1, 6},
        {u"ab", 99, 0, 2},
        {u"", 0, 0, 0},
    };
    for (const MoveCase& c : cases) {
        EXPECT_EQ(WordLeft(c.text, c.index), c.left) << "left at " << c.index;
        EXPECT_EQ(WordRight(c.text, c.index), c.right) << "right at " << c.index;
    }
}

TEST(DeleteWord, RemovesSpacesAndTheWordBeforeTheCaret) {
    EXPECT_EQ(DeleteWordLeftRange(u"x foo  ", {7, 7}), (TextRange {2, 7}));
    EXPECT_EQ(DeleteWordRightRange(u"カナ漢字", {0, 0}), (TextRange {0, 2}));
    EXPECT_EQ(DeleteWordRightRange(u"ab  cd", {2, 2}), (TextRange {2, 6}));
    EXPECT_FALSE(DeleteWordLeftRange(u"abc", {0, 0}));
    EXPECT_FALSE(DeleteWordRightRange(u"abc", {3, 3}));
    // A selection is deleted as it is, in either direction.
    EXPECT_EQ(DeleteWordLeftRange(u"abc def", {5, 1}), (TextRange {1, 5}));
    EXPECT_EQ(DeleteWordRightRange(u"abc def", {1, 5}), (TextRange {1, 5}));
}

TEST(WordMove, MovesFromTheSelectionEndsAndKeepsTheOtherEnd) {
    const std::u16string_view text = u"one two three";
    EXPECT_EQ(WordMove(text, {5, 5}, true, false), (Selection {7, 7}));
    EXPECT_EQ(WordMove(text, {5, 5}, false, false), (Selection {4, 4}));
    EXPECT_EQ(WordMove(text, {4, 7}, true, true), (Selection {4, 13}));
    EXPECT_EQ(WordMove(text, {7, 4}, true, true), (Selection {4, 13}));
    EXPECT_EQ(WordMove(text, {4, 7}, false, true), (Selection {7, 0}));
    EXPECT_EQ(WordMove(text, {4, 7}, false, false), (Selection {0, 0}));
}

TEST(WordRangeAt, ClassRunWithoutSegmenter) {
    EXPECT_EQ(WordRangeAt(u"ab 漢字漢字かな", 4), (TextRange {3, 7}));
    EXPECT_EQ(WordRangeAt(u"ab  cd", 2), (TextRange {2, 4}));  // a run of spaces
    // A space run ends at the line break on both sides.
    EXPECT_EQ(WordRangeAt(u"a  \r\n  b", 1), (TextRange {1, 3}));
    EXPECT_EQ(WordRangeAt(u"a  \r\n  b", 5), (TextRange {5, 7}));
    EXPECT_FALSE(WordRangeAt(u"ab\r\ncd", 2));  // on the CR
    EXPECT_FALSE(WordRangeAt(u"ab\r\ncd", 3));
    EXPECT_EQ(WordRangeAt(u"abc", 3), (TextRange {0, 3}));  // clamped to the last unit
    EXPECT_FALSE(WordRangeAt(u"", 0));
    EXPECT_FALSE(WordRangeAt(u"ab\r\n", 9));
}

TEST(WordRangeAt, UsesAValidSegmentWithoutLineBreaks) {
    const std::u16string_view text = u"東京都に\r\n住む";
    std::size_t askedIndex = 99;
    const SegmentLookup segmenter = [&](std::u16string_view, std::size_t index) -> std::optional<TextRange> {
        askedIndex = index;
        return TextRange {0, 2};
    };
    EXPECT_EQ(WordRangeAt(text, 1, segmenter), (TextRange {0, 2}));
    EXPECT_EQ(askedIndex, 1u);

    const SegmentLookup withBreaks = [](std::u16string_view, std::size_t) -> std::optional<TextRange> {
        return TextRange {4, 8};
    };
    EXPECT_EQ(WordRangeAt(text, 6, withBreaks), (TextRange {6, 8}));

    // Tokens that miss the index or leave the text fall back to the class rule.
    const SegmentLookup elsewhere = [](std::u16string_view, std::size_t) -> std::optional<TextRange> {
        return TextRange {0, 1};
    };
    EXPECT_EQ(WordRangeAt(text, 2, elsewhere), (TextRange {0, 3}));
    const SegmentLookup beyond = [](std::u16string_view, std::size_t) -> std::optional<TextRange> {
        return TextRange {6, 40};
    };
    EXPECT_EQ(WordRangeAt(text, 7, beyond), (TextRange {7, 8}));  // kana after kanji
    const SegmentLookup failed = [](std::u16string_view, std::size_t) -> std::optional<TextRange> { return {}; };
    EXPECT_EQ(WordRangeAt(text, 0, failed), (TextRange {0, 3}));
}

TEST(WordAtCaret, NeedsAWordThatDoesNotStartWithASpace) {
    EXPECT_EQ(WordAtCaret(u"ab cd", 3), (TextRange {3, 5}));
    EXPECT_FALSE(WordAtCaret(u"ab  cd", 2));
    EXPECT_FALSE(WordAtCaret(u"ab\r\ncd", 2));
    EXPECT_EQ(WordAtCaret(u"ab", 2), (TextRange {0, 2}));
}

TEST(DoubleClickMarks, ClearAtALineEndMarkAWordWithMoreThanSpaces) {
    struct Case {
        std::u16string_view text;
        std::size_t index;
        DoubleClickMarks marks;
    };
    const Case cases[] = {
        {u"", 0, DoubleClickMarks::Clear},
        {u"ab\r\n\r\ncd", 2, DoubleClickMarks::Clear},
        {u"ab\r\n\r\ncd", 4, DoubleClickMarks::Clear},  // an empty line
        {u"ab cd", 5, DoubleClickMarks::Clear},          // the end of the text
        {u"ab cd", 4, DoubleClickMarks::MarkWord},
        {u"ab   cd", 3, DoubleClickMarks::Keep},
        {u"\u3000\u3000x", 0, DoubleClickMarks::Keep},    // ideographic spaces
    };
    for (const Case& c : cases) {
        const std::optional<TextRange> word = WordRangeAt(c.text, c.index);
        EXPECT_EQ(DoubleClickMarksAt(c.text, c.index, word), c.marks) << c.index;
    }
}

}  // namespace
}  // namespace quillpane
