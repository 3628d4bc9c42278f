// Inbox selection and order, inbox decoding, merged blocks and section.json.
#include "phone/phone_bridge.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

using namespace std::string_view_literals;

InboxEntry File(std::u16string name, std::uint64_t size = 10) {
    return InboxEntry {std::move(name), false, size, 0};
}

TEST(InboxMerge, OnlyTextAndMarkdownFilesWithinTheLimitQualify) {
    struct Case {
        InboxEntry entry;
        bool qualifies;
    };
    const Case cases[] = {
        {File(u"a.txt"), true},
        {File(u"a.MD"), true},
        {File(u"20260101T070000Z_x.Txt"), true},
        {File(u"a.TXT.bak"), false},
        {File(u".txt"), false},
        {File(u".hidden.md"), false},
        {File(u"a."), false},
        {File(u"txt"), false},
        {File(u"a.markdown"), false},
        {File(u""), false},
        {InboxEntry {u"folder.txt", true, 0, 0}, false},
        {File(u"big.txt", kInboxMaxBytes), true},
        {File(u"big.txt", kInboxMaxBytes + 1), false},
        {File(u"huge.txt", 3 * 1048576), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QualifiesForMerge(c.entry), c.qualifies) << std::string(c.entry.name.begin(), c.entry.name.end());
    }
}

TEST(InboxMerge, StampedNamesComeOldestFirstWhateverTheirCase) {
    std::vector<InboxEntry> listing {
        File(u"20260101t080000z_b.txt"), File(u"notes.bak"), File(u"20260101T070000Z_a.md"),
        File(u"20251231T235959Z_c.txt", kInboxMaxBytes + 1), File(u"20251231T230000Z_d.TXT"),
    };
    const auto order = InboxMergeOrder(listing);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].name, u"20251231T230000Z_d.TXT");
    EXPECT_EQ(order[1].name, u"20260101T070000Z_a.md");
    EXPECT_EQ(order[2].name, u"20260101t080000z_b.txt");
}

TEST(InboxMerge, OrderDoesNotDependOnTheListing) {
    const std::vector<InboxEntry> a {File(u"X.txt"), File(u"x.txt")};
    const std::vector<InboxEntry> b {File(u"x.txt"), File(u"X.txt")};
    EXPECT_EQ(InboxMergeOrder(a), InboxMergeOrder(b));
}

TEST(InboxMerge, NameStampNeedsTheWholeForm) {
    const auto stamp = InboxNameStamp(u"20260305t235960z_note.txt");
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->year, 2026);
    EXPECT_EQ(stamp->month, 3);
    EXPECT_EQ(stamp->day, 5);
    EXPECT_EQ(stamp->hour, 23);
    EXPECT_EQ(stamp->minute, 59);
    EXPECT_EQ(stamp->second, 60);
    for (const auto name : {u"20260305T235960Z.txt"sv, u"20261305T000000Z_a.txt"sv, u"20260300T000000Z_a.txt"sv,
                            u"20260332T000000Z_a.txt"sv, u"20260305T240000Z_a.txt"sv, u"20260305T006000Z_a.txt"sv,
                            u"20260305T000061Z_a.txt"sv, u"20260305X000000Z_a.txt"sv, u"2026030_T000000Z_a.txt"sv,
                            u"20260305T000000Z"sv, u"note.txt"sv}) {
        EXPECT_FALSE(InboxNameStamp(name)) << std::string(name.begin(), name.end());
    }
}

TEST(InboxMerge, BytesDecodeByTheirMark) {
    struct Case {
        std::string_view bytes;
        std::u16string_view text;
    };
    const Case cases[] = {
        {""sv, u""sv},
        {"\xEF\xBB\xBF" "a\xFF" "b"sv, u"a\uFFFDb"sv},
        {"\xFF\xFE" "h\0i\0"sv, u"hi"sv},
        {"\xFF\xFE" "h\0i"sv, u"h"sv},  // an odd last byte
        {"caf\xC3\xA9"sv, u"caf\u00E9"sv},
        {"caf\xE9"sv, u"caf\u00E9"sv},  // not UTF-8: the code page
        {"\xFE\xFF\0h"sv, u"\u00FE\u00FF\0h"sv},  // no UTF-16BE here
        // UTF-16LE without a mark is valid UTF-8: every unit arrives.
        {"h\0i\0\n\0"sv, u"h\0i\0\n\0"sv},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeInboxBytes(c.bytes), c.text) << c.bytes;
    }
}

TEST(InboxMerge, FileTextHasCrLfAndNoTrailingBreaks) {
    struct Case {
        std::string_view bytes;
        std::u16string_view text;
    };
    const Case cases[] = {
        {"a\nb\rc\r\n\r\n\n\r"sv, u"a\r\nb\r\nc"sv},
        {"\r\n\n\r"sv, u""sv},
        {"\xEF\xBB\xBF\n"sv, u""sv},
        {"\xFF\xFE\n\0a\0\r\0"sv, u"\r\na"sv},
        {"\xFE\xFF\n"sv, u"\u00FE\u00FF"sv},
        {"a\0\nb\0"sv, u"a\0\r\nb\0"sv},
        {"  x  \n"sv, u"  x  "sv},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InboxFileText(c.bytes), c.text) << c.bytes;
    }
    EXPECT_EQ(WithoutNulCharacters(u"\0h\0i\0\r\0\n\0"sv), u"hi\r\n");
}

TEST(InboxMerge, BlocksAndTheMemoTheyJoin) {
    const platform::LocalTime local {.year = 2026, .month = 1, .day = 2, .hour = 3, .minute = 4, .second = 59};

    EXPECT_EQ(MergeBlock(u"##", local, u"a\0b"sv), u"##\r\n2026-01-02 03:04\r\na\0b\r\n"sv);

    EXPECT_EQ(AppendMergedText(u"", u"B"), u"B");
    EXPECT_EQ(AppendMergedText(u"memo", u"B"), u"memo\r\nB");
    EXPECT_EQ(AppendMergedText(u"memo\r\n", u"B"), u"memo\r\nB");
    EXPECT_EQ(AppendMergedText(u"memo\n", u"B"), u"memo\nB");
    EXPECT_EQ(AppendMergedText(u"memo\r", u"B"), u"memo\r\r\nB");
    EXPECT_EQ(AppendMergedText(u"a\0b"sv, u"B"), u"a\0b\r\nB"sv);
}

TEST(InboxMerge, MarkerFollowsTheRoleAndFallsBackWhenEmpty) {
    EditorSettings editor;
    editor.separatorLine = u"===";
    editor.headingLine = u"#";
    EXPECT_EQ(MergeMarker(editor), u"===");
    editor.sectionMarkerRole = SectionMarkerRole::Heading;
    EXPECT_EQ(MergeMarker(editor), u"#");
    editor.headingLine.clear();
    EXPECT_EQ(MergeMarker(editor), kFallbackMergeMarker);
    EXPECT_EQ(kFallbackMergeMarker.size(), 30u);
}

TEST(PhoneBridge, SectionJsonOfTheDefaultsAndOfEscapes) {
    EditorSettings editor;
    EXPECT_EQ(SectionJsonText(editor),
              u"{\"role\":\"Separator\",\"separator\":\"------------------------------\",\"heading\":\"##\"}");
    editor.sectionMarkerRole = SectionMarkerRole::Heading;
    editor.separatorLine = u"\"a\tb\\\r\n\x01\x1F \u00E9\U0001F600";
    editor.headingLine = u"";
    EXPECT_EQ(SectionJsonText(editor),
              u"{\"role\":\"Heading\",\"separator\":\"\\\"a\\tb\\\\\\r\\n\\u0001\\u001f \u00E9\U0001F600\","
              u"\"heading\":\"\"}");
}

TEST(PhoneBridge, FocusChecksWaitTenSecondsAndAMinuteAfterAMerge) {
    struct Case {
        std::uint64_t now, lastMerge, lastCheck;
        bool due;
    };
    const Case cases[] = {
        {5, 0, 0, true},
        {20000, 0, 10001, false},
        {20001, 0, 10001, true},
        {70000, 10001, 0, false},
        {70001, 10001, 0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InboxCheckDue(c.now, c.lastMerge, c.lastCheck), c.due) << c.now << " " << c.lastMerge << " " << c.lastCheck;
    }
}

TEST(PhoneBridge, ShareFileNameIsTheMemoNameMadeSafe) {
    struct Case {
        std::u16string_view path;
        std::u16string_view name;
    };
    const Case cases[] = {
        {u"C:\\Users\\me\\Note.txt", u"Note.txt"},
        {u"D:/memos/a:b?c.md", u"a_b_c.md"},
        {u"C:\\x\\tab\there \"q\" *|<>.txt. . ", u"tab_here _q_ ____.txt"},
        {u"C:\\x\\...", u"Quillpane.txt"},
        {u"C:\\x\\ .", u"Quillpane.txt"},
        {u"plain", u"plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShareFileName(c.path), c.name) << std::string(c.path.begin(), c.path.end());
    }
}

}  // namespace
}  // namespace quillpane
