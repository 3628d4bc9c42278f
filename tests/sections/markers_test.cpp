// Divider and heading recognition, heading texts, line kinds and the marker scan.
#include "sections/markers.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

const std::u16string kThirtyHyphens(30, u'-');

struct LineCase {
    const char* name;
    std::u16string line;
    bool expected;
};

TEST(IsDividerLine, OnlyTheExactTextWithTrailingWhitespaceCounts) {
    const LineCase cases[] = {
        {"exact", kThirtyHyphens, true},
        {"trailing spaces", kThirtyHyphens + u"   ", true},
        {"trailing tab and ideographic space", kThirtyHyphens + u"\t\u3000", true},
        {"trailing line break", kThirtyHyphens + u"\r\n", true},
        {"29 hyphens", std::u16string(29, u'-'), false},
        {"31 hyphens", std::u16string(31, u'-'), false},
        {"indented", u"  " + kThirtyHyphens, false},
        {"text after", kThirtyHyphens + u" x", false},
        {"empty line", u"", false},
        {"whitespace only", u"   ", false},
    };
    for (const LineCase& c : cases) EXPECT_EQ(IsDividerLine(c.line, kThirtyHyphens), c.expected) << c.name;
}

TEST(IsDividerLine, IsCaseSensitiveAndNeedsADividerText) {
    EXPECT_TRUE(IsDividerLine(u"Memo", u"Memo"));
    EXPECT_FALSE(IsDividerLine(u"memo", u"Memo"));
    EXPECT_FALSE(IsDividerLine(u"", u""));
    EXPECT_FALSE(IsDividerLine(u"anything", u""));
}

struct HeadingCase {
    const char* name;
    std::u16string prefix;
    std::u16string line;
    bool isHeading;
    std::u16string text;  // heading text when it is one
};

TEST(IsHeadingLine, FollowsThePrefixRules) {
    const HeadingCase cases[] = {
        {"space then text", u"##", u"## A", true, u"A"},
        {"prefix alone", u"##", u"##", true, u"##"},
        {"prefix and trailing spaces", u"##", u"##   ", true, u"##"},
        {"tab after number signs", u"##", u"##\tPlan", true, u"Plan"},
        {"ideographic space after number signs", u"##", u"##\u3000Plan", true, u"Plan"},
        {"text trimmed at both ends", u"##", u"##   A b  ", true, u"A b"},
        {"three number signs", u"##", u"###", false, u""},
        {"three number signs and text", u"##", u"### A", false, u""},
        {"no space after number signs", u"##", u"##Plan", false, u""},
        {"indented", u"##", u" ## A", false, u""},
        {"too short", u"##", u"#", false, u""},
        {"single sign prefix", u"#", u"# x", true, u"x"},
        {"single sign prefix runs on", u"#", u"## x", false, u""},
        {"word prefix", u"Note:", u"Note:x", true, u"x"},
        {"word prefix alone", u"Note:", u"Note:  ", true, u"Note:"},
        {"word prefix is case-sensitive", u"Note:", u"note:x", false, u""},
        {"other prefix takes anything after", u"Q:", u"Q:abc", true, u"abc"},
        {"repeated hyphens run on", u"--", u"---", false, u""},
        {"mixed prefix may repeat its first char", u"-=", u"-=-", true, u"-"},
        {"empty prefix", u"", u"## A", false, u""},
    };
    for (const HeadingCase& c : cases) {
        EXPECT_EQ(IsHeadingLine(c.line, c.prefix), c.isHeading) << c.name;
        if (c.isHeading) {
            EXPECT_EQ(HeadingText(c.line, c.prefix), c.text) << c.name;
        }
    }
}

TEST(IsMarkerLine, UsesTheRoleInForceAndIgnoresTheLineBreak) {
    MarkerSettings settings;
    const std::u16string text = u"x\r\n" + kThirtyHyphens + u"\r\n## A\r\n";
    const std::size_t dividerStart = 3;
    const std::size_t dividerEnd = dividerStart + 32;
    EXPECT_TRUE(IsMarkerLine(text, dividerStart, dividerEnd, settings));
    EXPECT_FALSE(IsMarkerLine(text, dividerEnd, text.size(), settings));
    settings.role = SectionMarkerRole::Heading;
    EXPECT_FALSE(IsMarkerLine(text, dividerStart, dividerEnd, settings));
    EXPECT_TRUE(IsMarkerLine(text, dividerEnd, text.size(), settings));
    EXPECT_EQ(HeadingText(text, dividerEnd, text.size(), settings.headingLine), u"A");
    EXPECT_FALSE(IsMarkerLine(text, text.size() + 5, text.size() + 9, settings));
}

struct KindCase {
    std::u16string line;
    LineKind kind;
};

TEST(LineKindOf, RecognisesTheInsertedDateAndTimeForms) {
    const KindCase cases[] = {
        {u"", LineKind::Blank},
        {u" \t\u3000", LineKind::Blank},
        {u"2026-08-21", LineKind::Date},
        {u"2026/08/21", LineKind::Date},
        {u"  2026-08-21\t", LineKind::Date},
        {u"0001-01-01", LineKind::Date},
        {u"9999-12-31", LineKind::Date},
        {u"2026-02-31", LineKind::Date},
        {u"2026-08-21 14:30", LineKind::DateTime},
        {u"2026/08/21 00:00", LineKind::DateTime},
        {u"14:30", LineKind::Time},
        {u"00:00", LineKind::Time},
        {u"23:59", LineKind::Time},
        {u"2026-8-21", LineKind::Ordinary},
        {u"0000-01-01", LineKind::Ordinary},
        {u"2026-13-01", LineKind::Ordinary},
        {u"2026-00-10", LineKind::Ordinary},
        {u"2026-12-32", LineKind::Ordinary},
        {u"2026-12-00", LineKind::Ordinary},
        {u"2026-08/21", LineKind::Ordinary},
        {u"2026.08.21", LineKind::Ordinary},
        {u"24:00", LineKind::Ordinary},
        {u"23:60", LineKind::Ordinary},
        {u"1:30", LineKind::Ordinary},
        {u"2026-08-21  14:30", LineKind::Ordinary},
        {u"2026-08-21T14:30", LineKind::Ordinary},
        {u"2026-08-21 24:00", LineKind::Ordinary},
        {u"2026-08-21 14:30:15", LineKind::Ordinary},
        {u"\uFF11\uFF14:\uFF13\uFF10", LineKind::Ordinary},
        {u"Buy milk", LineKind::Ordinary},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(LineKindOf(c.line), c.kind) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(IsWhiteSpace, MatchesTheUnicodeSpaceSet) {
    for (const char16_t c : {u' ', u'\t', u'\n', u'\v', u'\f', u'\r', u'\u0085', u'\u00A0', u'\u1680', u'\u2000',
                             u'\u200A', u'\u2028', u'\u2029', u'\u202F', u'\u205F', u'\u3000'}) {
        EXPECT_TRUE(IsWhiteSpace(c)) << static_cast<int>(c);
    }
    for (const char16_t c : {u'\0', u'\b', u'\x0E', u'a', u'\u0084', u'\u200B', u'\uFEFF', u'\u3001'}) {
        EXPECT_FALSE(IsWhiteSpace(c)) << static_cast<int>(c);
    }
}

TEST(FindMarkers, WalksEveryLineEndAndTheLastLineWithoutBreak) {
    MarkerSettings settings;
    settings.separatorLine = u"--";
    // Lines: "--" CR LF, "a" CR, "--" LF, "b" CR LF, "--" (no break).
    const std::u16string text = u"--\r\na\r--\nb\r\n--";
    const std::vector<MarkerLine> expected = {{0, 4, 0}, {6, 9, 2}, {12, 14, 4}};
    EXPECT_EQ(FindMarkers(text, settings), expected);
    EXPECT_EQ(CountMarkers(text, settings), 3u);
    EXPECT_TRUE(FindMarkers(u"", settings).empty());
    settings.separatorLine.clear();
    EXPECT_TRUE(FindMarkers(text, settings).empty());
}

TEST(CountLines, CountsAnEmptyLastLineAfterAFinalBreak) {
    EXPECT_EQ(CountLines(u""), 1);
    EXPECT_EQ(CountLines(u"a"), 1);
    EXPECT_EQ(CountLines(u"a\r\n"), 2);
    EXPECT_EQ(CountLines(u"a\r\nb"), 2);
    EXPECT_EQ(CountLines(u"a\rb\nc\r\n\r\n"), 5);
}

TEST(LineOfIndex, CountsBreaksBeforeTheIndex) {
    const std::u16string text = u"ab\r\ncd\ne";
    EXPECT_EQ(LineOfIndex(text, 0), 0);
    EXPECT_EQ(LineOfIndex(text, 2), 0);
    EXPECT_EQ(LineOfIndex(text, 3), 0);  // between CR and LF
    EXPECT_EQ(LineOfIndex(text, 4), 1);
    EXPECT_EQ(LineOfIndex(text, 7), 2);
    EXPECT_EQ(LineOfIndex(text, 8), 2);
    EXPECT_EQ(LineOfIndex(text, 99), 2);
    EXPECT_EQ(LineOfIndex(u"a\r\n", 3), 1);
}

}  // namespace
}  // namespace quillpane
