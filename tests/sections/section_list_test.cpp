// Section lists: which memos get entries, their titles, subtitles, lines and starts, and the current entry.
#include "sections/section_list.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

MarkerSettings Dividers(std::u16string divider = u"---") {
    MarkerSettings settings;
    settings.separatorLine = std::move(divider);
    return settings;
}

MarkerSettings Headings(std::u16string prefix = u"##") {
    MarkerSettings settings;
    settings.role = SectionMarkerRole::Heading;
    settings.headingLine = std::move(prefix);
    return settings;
}

SectionList Entries(std::u16string_view text, const MarkerSettings& settings) {
    return BuildSections(text, settings, 0).entries;
}

TEST(BuildSections, DateLineBecomesTheSubtitleOfTheFirstOrdinaryLine) {
    const SectionList list = Entries(u"---\r\n2026-08-21 14:30\r\nBuy milk\r\n", Dividers());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].title, u"Buy milk");
    EXPECT_EQ(list[0].subtitle, u"2026-08-21 14:30");
    EXPECT_EQ(list[0].titleLine, 3);
    EXPECT_EQ(list[0].firstLine, 2);
    EXPECT_EQ(list[0].startIndex, 5u);
    EXPECT_TRUE(list[0].startsAtMarker);
}

TEST(BuildSections, MemosWithoutAnOrdinaryLineHaveNoEntry) {
    EXPECT_TRUE(Entries(u"---\r\n2026-08-21\r\n", Dividers()).empty());
    EXPECT_TRUE(Entries(u"---\r\n\r\n14:30\r\n \t\r\n---\r\n---", Dividers()).empty());
    EXPECT_TRUE(Entries(u"", Dividers()).empty());
}

struct SubtitleCase {
    const char* name;
    std::u16string memo;
    std::u16string title;
    std::u16string subtitle;
};

TEST(BuildSections, SubtitleRulesWithoutHeading) {
    const SubtitleCase cases[] = {
        {"second ordinary line", u"A\r\nB\r\nC", u"A", u"B"},
        {"blank lines skipped", u"\r\n  A  \r\n\r\n\tB\r\n", u"A", u"B"},
        {"date before the title wins", u"2026-01-02\r\nA\r\nB", u"A", u"2026-01-02"},
        {"date between the lines wins", u"A\r\n2026/01/02\r\nB", u"A", u"2026/01/02"},
        {"date after the second line is not looked at", u"A\r\nB\r\n2026-01-02", u"A", u"B"},
        {"time when there is no date", u"14:30\r\nA\r\nB", u"A", u"14:30"},
        {"date beats an earlier time", u"14:30\r\n2026-01-02 09:00\r\nA", u"A", u"2026-01-02 09:00"},
        {"first date of two", u"2026-01-02\r\n2026-01-03\r\nA", u"A", u"2026-01-02"},
        {"title only", u"A", u"A", u""},
        {"ordinary lines that look almost like dates", u"2026-8-21\r\n24:00", u"2026-8-21", u"24:00"},
    };
    for (const SubtitleCase& c : cases) {
        const SectionList list = Entries(u"---\r\n" + c.memo, Dividers());
        ASSERT_EQ(list.size(), 1u) << c.name;
        EXPECT_EQ(list[0].title, c.title) << c.name;
        EXPECT_EQ(list[0].subtitle, c.subtitle) << c.name;
    }
}

TEST(BuildSections, MemoAboveTheFirstDividerStartsAtLineOne) {
    const SectionList list = Entries(u"\r\nIntro\r\n---\r\n\r\nSecond\r\n", Dividers());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].title, u"Intro");
    EXPECT_EQ(list[0].titleLine, 2);
    EXPECT_EQ(list[0].firstLine, 1);
    EXPECT_EQ(list[0].startIndex, 0u);
    EXPECT_FALSE(list[0].startsAtMarker);
    // The first line after the divider is blank but still starts the memo.
    EXPECT_EQ(list[1].firstLine, 4);
    EXPECT_EQ(list[1].titleLine, 5);
    EXPECT_EQ(list[1].startIndex, 14u);
}

TEST(BuildSections, EmptyDividerTextMakesTheWholeTextOneMemo) {
    const SectionList list = Entries(u"A\r\n---\r\nB", Dividers(u""));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].title, u"A");
    EXPECT_EQ(list[0].subtitle, u"---");
}

TEST(BuildSections, HeadingRoleTakesTheHeadingAsTitle) {
    const std::u16string text =
        u"Above\r\n## Plan\r\n\r\nfirst\r\nsecond\r\n## \u3000\r\n##\r\n2026-08-21\r\nx\r\n";
    const SectionList list = Entries(text, Headings());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].title, u"Plan");
    EXPECT_EQ(list[0].subtitle, u"first");
    EXPECT_EQ(list[0].titleLine, 2);
    EXPECT_EQ(list[0].firstLine, 2);
    EXPECT_EQ(list[0].startIndex, 7u);
    EXPECT_EQ(list[1].title, u"##");  // only the prefix and whitespace
    EXPECT_EQ(list[1].subtitle, u"");
    EXPECT_EQ(list[2].title, u"##");
    EXPECT_EQ(list[2].subtitle, u"2026-08-21");
    for (const SectionEntry& entry : list) EXPECT_TRUE(entry.startsAtMarker);
}

TEST(BuildSections, HeadingRoleWithoutHeadingsOrPrefixHasNoEntries) {
    EXPECT_TRUE(Entries(u"Text\r\nmore\r\n", Headings()).empty());
    EXPECT_TRUE(Entries(u"## A\r\n", Headings(u"")).empty());
}

TEST(BuildSections, EveryLineEndCountsAndTheLastLineNeedsNoBreak) {
    const SectionScan scan = BuildSections(u"---\rA\n---\nB\r\n---\r\nC", Dividers(), 0);
    ASSERT_EQ(scan.entries.size(), 3u);
    EXPECT_EQ(scan.entries[0].firstLine, 2);
    EXPECT_EQ(scan.entries[1].firstLine, 4);
    EXPECT_EQ(scan.entries[2].title, u"C");
    EXPECT_EQ(scan.entries[2].firstLine, 6);
    EXPECT_EQ(scan.lineCount, 6);
    EXPECT_EQ(BuildSections(u"---\r\nC\r\n", Dividers(), 0).lineCount, 3);
    EXPECT_EQ(BuildSections(u"", Dividers(), 0).lineCount, 1);
}

TEST(BuildSections, RecordsEachEntrysOpeningMarker) {
    const SectionScan scan = BuildSections(u"A\r\n---\r\n\r\n---\r\nB\r\n", Dividers(), 0);
    ASSERT_EQ(scan.entries.size(), 2u);
    EXPECT_EQ(scan.markers.size(), 2u);
    EXPECT_EQ(scan.entryMarker, (std::vector<int> {-1, 1}));
}

TEST(CurrentSection, CaretOnADividerBelongsToTheMemoBelow) {
    // Lines: 1 Intro, 2 ---, 3 A, 4 ---, 5 B.
    const std::u16string text = u"Intro\r\n---\r\nA\r\n---\r\nB";
    const MarkerSettings settings = Dividers();
    EXPECT_EQ(BuildSections(text, settings, 0).current, 0);
    EXPECT_EQ(BuildSections(text, settings, 7).current, 1);   // on the first divider
    EXPECT_EQ(BuildSections(text, settings, 12).current, 1);  // in A
    EXPECT_EQ(BuildSections(text, settings, 16).current, 2);  // on the second divider
    EXPECT_EQ(BuildSections(text, settings, 999).current, 2);
}

TEST(CurrentSection, BeforeTheFirstEntryIsZeroAndAnEmptyListIsMinusOne) {
    EXPECT_EQ(BuildSections(u"Above\r\n## A\r\n", Headings(), 0).current, 0);
    EXPECT_EQ(BuildSections(u"Above", Headings(), 0).current, -1);
    EXPECT_EQ(CurrentSection(SectionList {}, 5, false), -1);
}

TEST(CurrentSection, FromTheTextAgreesWithBuildSectionsAtEveryIndex) {
    const std::u16string texts[] = {
        u"Intro\r\n---\r\nA\r\n\r\n---\r\n---\r\nB\r\n",
        u"---\rA\n---\nB\r\n---",
        u"x\r\n## A\r\nbody\r\n## B",
    };
    for (const MarkerSettings& settings : {Dividers(), Headings()}) {
        for (const std::u16string& text : texts) {
            const SectionList list = Entries(text, settings);
            for (std::size_t i = 0; i <= text.size(); ++i) {
                EXPECT_EQ(CurrentSection(text, settings, list, i), BuildSections(text, settings, i).current)
                    << "index " << i;
            }
        }
    }
}

TEST(BuildSections, SelectionLineFollowsTheCaret) {
    EXPECT_EQ(BuildSections(u"a\r\nb\r\n", Dividers(), 4).selectionLine, 1);
    EXPECT_EQ(BuildSections(u"a\r\nb\r\n", Dividers(), 6).selectionLine, 2);
    EXPECT_EQ(BuildSections(u"a\r\nb", Dividers(), 4).selectionLine, 1);
}

}  // namespace
}  // namespace quillpane
