// The merge journal: its text form, torn and corrupted files, and the
// decision for each inbox entry.
#include "phone/merge_journal.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillpane {
namespace {

using namespace std::string_view_literals;

InboxEntry Entry(std::u16string name, std::uint64_t size, std::uint64_t time) {
    return InboxEntry {std::move(name), false, size, time};
}

JournalRecord Record(std::u16string name, std::uint64_t size, std::uint64_t time) {
    return JournalRecord {std::move(name), size, time};
}

TEST(MergeJournal, EveryWindowsNameComesBackUnitForUnit) {
    const std::vector<JournalRecord> records {
        Record(u"20260101T070000Z_a.txt", 12, 134000000000000000u),
        Record(u"with space and \\back\\slash.md", 0, 0),
        Record(u"line\nbreak\rand\ttab\x01.txt", 1, 2),
        Record(u"lone \xD800 high and \xDC00 low \U0001F600.txt", 3, 4),
        Record(u"\\u0041 looks escaped.txt", 5, 18446744073709551615u),
        Record(u"\u65E5\u672C.txt", 6, 7),
    };
    const std::string text = SerializeMergeJournal(records);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    EXPECT_EQ(ParseMergeJournal(text), records);
}

TEST(MergeJournal, DamagedLinesAreLeftOutAndTheRestKept) {
    const JournalRecord good = Record(u"a.txt", 5, 6);
    const std::string goodLine = "5 6 a.txt\n";
    struct Case {
        std::string bytes;
        std::size_t records;
    };
    const Case cases[] = {
        {"", 0},
        {"\xEF\xBB\xBF", 0},
        {std::string("\0\0\0\0\n", 5) + goodLine, 1},           // zeroed blocks after a crash
        {goodLine + "7 8 b.txt", 1},                           // torn: no final line break
        {goodLine + "7 8", 1},
        {goodLine + "7 8 \n", 1},                              // no name
        {goodLine + "x 8 b.txt\n", 1},
        {goodLine + "7  b.txt\n", 1},
        {goodLine + "18446744073709551616 8 b.txt\n", 1},     // past 64 bits
        {goodLine + "7 8 b\xFF.txt\n", 1},                     // not UTF-8
        {goodLine + "7 8 b\\q.txt\n", 1},                      // unknown escape
        {goodLine + "7 8 b\\u00G1.txt\n", 1},
        {goodLine + "7 8 b\\u00\n", 1},
        {goodLine + std::string("7 8 b\0.txt\n", 11), 1},
        {goodLine + goodLine, 1},                              // duplicates once
        {"Quillpane inbox journal 99\r\n5 6 a.txt\r\n", 1},      // other header, CR LF
    };
    for (const Case& c : cases) {
        const auto records = ParseMergeJournal(c.bytes);
        ASSERT_EQ(records.size(), c.records) << c.bytes;
        if (!records.empty()) {
            EXPECT_EQ(records.front(), good) << c.bytes;
        }
    }
}

TEST(MergeJournal, AnyTruncationParsesToARecordedPrefix) {
    const std::vector<JournalRecord> records {Record(u"x.md", 1, 2), Record(u"x.md.txt", 3, 4),
                                              Record(u"y \\ \n.txt", 5, 6)};
    const std::string text = SerializeMergeJournal(records);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const auto parsed = ParseMergeJournal(std::string_view(text).substr(0, cut));
        ASSERT_LE(parsed.size(), records.size());
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            EXPECT_EQ(parsed[i], records[i]) << cut;
        }
    }
}

TEST(MergeJournal, DecisionForEachEntry) {
    std::vector<JournalRecord> journal {Record(u"20260101T070000Z_a.txt", 10, 100)};
    RecordPending(journal, Entry(u"20260101T070000Z_p.txt", 4, 5));
    // Written to disk and read back, as the next pass finds it.
    journal = ParseMergeJournal(SerializeMergeJournal(journal));
    struct Case {
        InboxEntry entry;
        InboxAction action;
    };
    const Case cases[] = {
        {Entry(u"20260101T070000Z_a.txt", 10, 100), InboxAction::DeleteOnly},
        {Entry(u"20260101t070000z_A.TXT", 10, 100), InboxAction::DeleteOnly},
        {Entry(u"20260101T070000Z_a.txt", 11, 100), InboxAction::Merge},  // rewritten since
        {Entry(u"20260101T070000Z_a.txt", 10, 101), InboxAction::Merge},
        {Entry(u"20260101T070000Z_b.txt", 10, 100), InboxAction::Merge},
        {Entry(u"20260101T070000Z_p.txt", 4, 5), InboxAction::MergeUnlessInMemo},
        {Entry(u"20260101T070000Z_a.txt.bak", 10, 100), InboxAction::Skip},
        {Entry(u"big.txt", kInboxMaxBytes + 1, 100), InboxAction::Skip},
        {InboxEntry {u"20260101T070000Z_a.txt", true, 10, 100}, InboxAction::Skip},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideInboxEntry(c.entry, journal), c.action)
            << std::string(c.entry.name.begin(), c.entry.name.end());
    }
}

TEST(MergeJournal, RecordForgetAndPrune) {
    std::vector<JournalRecord> journal;
    const InboxEntry a = Entry(u"a.txt", 1, 1);
    const InboxEntry b = Entry(u"b.txt", 2, 2);
    RecordPending(journal, a);
    RecordMerged(journal, a);
    RecordMerged(journal, b);
    EXPECT_EQ(journal.size(), 2u);
    EXPECT_EQ(DecideInboxEntry(a, journal), InboxAction::DeleteOnly);
    ForgetMerged(journal, a);
    EXPECT_FALSE(JournalHolds(journal, a));
    EXPECT_TRUE(JournalHolds(journal, b));

    RecordMerged(journal, a);
    const std::vector<InboxEntry> listing {Entry(u"B.TXT", 2, 2), InboxEntry {u"a.txt", true, 1, 1},
                                           Entry(u"c.txt", 3, 3)};
    EXPECT_EQ(PruneMergeJournal(journal, listing), std::vector<JournalRecord> {Record(u"b.txt", 2, 2)});
}

TEST(MergeJournal, GrowthIsBoundedByDroppingTheOldest) {
    std::vector<JournalRecord> journal;
    for (std::uint64_t i = 0; i <= kMaxJournalRecords; ++i) RecordMerged(journal, Entry(u"f.txt", i, i));
    ASSERT_EQ(journal.size(), kMaxJournalRecords);
    EXPECT_FALSE(JournalHolds(journal, Entry(u"f.txt", 0, 0)));
    EXPECT_TRUE(JournalHolds(journal, Entry(u"f.txt", kMaxJournalRecords, kMaxJournalRecords)));

    std::string text = SerializeMergeJournal(journal);
    text += "999999 1 g.txt\n";
    const auto parsed = ParseMergeJournal(text);
    ASSERT_EQ(parsed.size(), kMaxJournalRecords);
    EXPECT_EQ(parsed.back(), Record(u"g.txt", 999999, 1));
}

}  // namespace
}  // namespace quillpane
