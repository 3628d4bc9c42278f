// The search engine: case-insensitive matching, the capped match list, counts, replace-all and history.
#include "search/search_engine.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(SearchMatching, CaseInsensitiveWithoutOverlapOrWrapAround) {
    const std::u16string text = u"aaaa Ärger ÄRGER Straße ΣΊΣΥΦΟΣ ｆｕｌｌ";
    EXPECT_EQ(FindAllMatches(text, u"aa"), (std::vector<std::size_t> {0, 2}));
    EXPECT_EQ(FindAllMatches(text, u"ärger"), (std::vector<std::size_t> {5, 11}));
    EXPECT_EQ(FindAllMatches(text, u"σίσυφο").size(), 1u);
    EXPECT_EQ(FindAllMatches(text, u"ＦＵＬＬ").size(), 1u);
    EXPECT_TRUE(FindAllMatches(text, u"").empty());

    // Forward from the selection's end, backward before its start, never around.
    EXPECT_EQ(FindNext(text, u"ÄRGER", 5), std::optional<std::size_t>(5));
    EXPECT_EQ(FindNext(text, u"ärger", 6), std::optional<std::size_t>(11));
    EXPECT_EQ(FindNext(text, u"aaaa", 1), std::nullopt);
    EXPECT_EQ(FindPrevious(text, u"ärger", 11), std::optional<std::size_t>(5)) << "not the selected match";
    EXPECT_EQ(FindPrevious(text, u"aa", 3), std::optional<std::size_t>(2)) << "may overlap the selection";
    EXPECT_EQ(FindPrevious(text, u"aa", 0), std::nullopt);

    // Long texts go through the block scan: a match across a block edge and at the very end.
    std::u16string longText(200, u'x');
    longText.replace(63, 2, u"Ab");
    longText += u"AB";
    EXPECT_EQ(FindAllMatches(longText, u"ab"), (std::vector<std::size_t> {63, 200}));
    EXPECT_EQ(FindAllMatches(longText, u"b"), (std::vector<std::size_t> {64, 201}));
}

TEST(SearchMatching, ListIsCappedAndCountedPerMemo) {
    std::u16string text;
    for (int i = 0; i < 6000; ++i) text += u"ab ";
    EXPECT_EQ(FindAllMatches(text, u"AB").size(), kMatchCap);

    const std::vector<std::size_t> matches {2, 10, 11, 30};
    EXPECT_EQ(CountPerRange(matches, {5, 11, 20}), (std::vector<unsigned> {1, 1, 1})) << "2 lies before any memo";
    EXPECT_TRUE(CountPerRange(matches, {}).empty());

    EXPECT_EQ(CurrentMatchIndex(matches, 2, 10, 12), std::optional<std::size_t>(2));
    EXPECT_EQ(CurrentMatchIndex(matches, 2, 10, 11), std::nullopt) << "a selection must equal the match";
    EXPECT_EQ(CurrentMatchIndex(matches, 2, 31, 31), std::optional<std::size_t>(4)) << "the caret inside a match";
    EXPECT_EQ(CurrentMatchIndex(matches, 2, 32, 32), std::nullopt);
}

TEST(SearchEdits, ReplaceAllHistoryAndHighlightTerms) {
    const ReplaceAllResult replaced = ReplaceAllMatches(u"aaaa", u"aa", u"b");
    EXPECT_EQ(replaced.text, u"bb");
    EXPECT_EQ(replaced.count, 2u);
    EXPECT_EQ(ReplaceAllMatches(u"Cat cat", u"CAT", u"dog").text, u"dog dog") << "taken literally";
    EXPECT_EQ(ReplaceAllMatches(u"abc", u"x", u"y").count, 0u);

    std::vector<std::u16string> history;
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(AddToHistory(history, std::u16string(1, static_cast<char16_t>(u'a' + i))));
    EXPECT_EQ(history.size(), kSearchHistorySize);
    EXPECT_EQ(history.front(), u"i");
    EXPECT_EQ(history.back(), u"b") << "the oldest is gone";
    EXPECT_TRUE(AddToHistory(history, u"e"));
    EXPECT_EQ(history.front(), u"e");
    EXPECT_EQ(std::count(history.begin(), history.end(), u"e"), 1);
    EXPECT_FALSE(AddToHistory(history, u""));

    EXPECT_EQ(FirstLineOf(u"one\ntwo"), u"one");
    EXPECT_EQ(FirstLineOf(u"one\rtwo"), u"one");
    EXPECT_EQ(HighlightTermFrom(u" \tfirst line \r\nsecond", u"word"), u"first line");
    EXPECT_EQ(HighlightTermFrom(u"", u"word"), u"word");
    EXPECT_EQ(HighlightTermFrom(std::u16string(300, u'x'), u"word").size(), kMaxSearchTerm);
    EXPECT_EQ(HighlightTermFrom(u"  ", u""), u"");

    // A new search box: the selection's first line, else (too long, or
    // nothing selected) the word at the caret.
    EXPECT_EQ(InitialSearchText(u"first\r\nsecond", u"word"), u"first");
    EXPECT_EQ(InitialSearchText(std::u16string(300, u'x'), u"word"), u"word");
    EXPECT_EQ(InitialSearchText(u"\r\nsecond", u"word"), u"word");
    EXPECT_EQ(InitialSearchText(u"", std::u16string(300, u'w')).size(), kMaxSearchTerm);
}

}  // namespace
}  // namespace quillpane
