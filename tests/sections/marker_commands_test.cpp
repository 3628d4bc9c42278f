// The marker commands: inserting a marker, selecting the memo at the caret, changing the role.
#include "sections/marker_commands.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

MarkerSettings Settings(SectionMarkerRole role, std::u16string divider, std::u16string prefix) {
    return MarkerSettings {role, std::move(divider), std::move(prefix)};
}

TEST(MarkerInsertText, DividerGetsALineBreakAndNumberSignsASpace) {
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Separator, u"---", u"##")), u"---\r\n");
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Heading, u"---", u"##")), u"## ");
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Heading, u"---", u"Note:")), u"Note:");
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Heading, u"---", u"## ")), u"## ");
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Separator, u"", u"##")), u"");
    EXPECT_EQ(MarkerInsertText(Settings(SectionMarkerRole::Heading, u"---", u"")), u"");
}

TEST(InsertMarker, ReplacesTheSelectionAndLeavesTheCaretAfterTheMarker) {
    const MarkerSettings heading = Settings(SectionMarkerRole::Heading, u"---", u"##");
    const std::optional<TextEdit> atCaret = InsertMarker(heading, Selection {4, 4});
    ASSERT_TRUE(atCaret.has_value());
    EXPECT_EQ(atCaret->replaced, (TextRange {4, 4}));
    EXPECT_EQ(atCaret->replacement, u"## ");
    EXPECT_EQ(atCaret->selectionAfter, (Selection {7, 7}));

    const MarkerSettings divider = Settings(SectionMarkerRole::Separator, u"---", u"##");
    const std::optional<TextEdit> backwards = InsertMarker(divider, Selection {9, 2});
    ASSERT_TRUE(backwards.has_value());
    EXPECT_EQ(backwards->replaced, (TextRange {2, 9}));
    EXPECT_EQ(backwards->replacement, u"---\r\n");
    EXPECT_EQ(backwards->selectionAfter, (Selection {7, 7}));

    EXPECT_FALSE(InsertMarker(Settings(SectionMarkerRole::Separator, u"", u"##"), Selection {}).has_value());
}

struct SelectCase {
    const char* name;
    std::size_t caret;
    Selection expected;
};

TEST(SelectThisNote, DividerRoleSelectsTheMemoWithoutItsDivider) {
    // "Top" 0-2, "---" 5-7, "A" 10, "---" 13-15, "B" 18.
    const std::u16string text = u"Top\r\n---\r\nA\r\n---\r\nB\r\n";
    const MarkerSettings settings = Settings(SectionMarkerRole::Separator, u"---", u"##");
    const SelectCase cases[] = {
        {"before the first divider", 1, {0, 5}},
        {"at the start of the first divider", 5, {10, 13}},
        {"at the end of a divider line", 8, {10, 13}},
        {"inside a memo", 10, {10, 13}},
        {"on the last divider", 14, {18, 21}},
        {"at the end of the text", 21, {18, 21}},
        {"past the end", 99, {18, 21}},
    };
    for (const SelectCase& c : cases) EXPECT_EQ(SelectThisNote(text, settings, c.caret), c.expected) << c.name;
    EXPECT_EQ(SelectThisNote(u"No dividers", settings, 3), (Selection {0, 11}));
    EXPECT_EQ(SelectThisNote(u"---", settings, 3), (Selection {3, 3}));
}

TEST(SelectThisNote, HeadingRoleIncludesTheHeadingLine) {
    // "Top" 0-2, "## A" 5-8, "a" 11, "## B" 14-17.
    const std::u16string text = u"Top\r\n## A\r\na\r\n## B";
    const MarkerSettings settings = Settings(SectionMarkerRole::Heading, u"---", u"##");
    const SelectCase cases[] = {
        {"above the first heading", 0, {0, 5}},
        {"on a heading", 6, {5, 14}},
        {"in a memo", 11, {5, 14}},
        {"in the last memo without break", 18, {14, 18}},
    };
    for (const SelectCase& c : cases) EXPECT_EQ(SelectThisNote(text, settings, c.caret), c.expected) << c.name;
    EXPECT_EQ(SelectThisNote(u"## x", Settings(SectionMarkerRole::Heading, u"---", u""), 1), (Selection {0, 4}));
}

TEST(RoleForCommand, MapsTheTwoMenuCommands) {
    EXPECT_EQ(RoleForCommand(1167), std::optional<SectionMarkerRole>(SectionMarkerRole::Separator));
    EXPECT_EQ(RoleForCommand(1168), std::optional<SectionMarkerRole>(SectionMarkerRole::Heading));
    EXPECT_FALSE(RoleForCommand(1166).has_value());
}

TEST(SetRole, ReportsOnlyARealChange) {
    EditorSettings editor;
    EXPECT_FALSE(SetRole(editor, SectionMarkerRole::Separator));
    EXPECT_TRUE(SetRole(editor, SectionMarkerRole::Heading));
    EXPECT_EQ(editor.sectionMarkerRole, SectionMarkerRole::Heading);
    EXPECT_FALSE(SetRole(editor, SectionMarkerRole::Heading));
}

}  // namespace
}  // namespace quillpane
