// The bridge's files on a real folder: the OneDrive value, the exported
// files left alone when unchanged, and the journal beside a merge.
#include "phone/phone_files.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quillpane {
namespace {

using testing::TempDir;

std::string Native(const std::u16string& path) {
    return std::string(path.begin(), path.end());
}

// A replaced file has a new inode, a file left alone keeps its own.
long long FileIdentity(const std::u16string& path) {
    struct stat info {};
    if (::stat(Native(path).c_str(), &info) != 0) return -1;
    return static_cast<long long>(info.st_ino);
}

TEST(PhoneFiles, OneDriveValueMustNameAnExistingFolder) {
    const TempDir temp;
    const std::u16string folder = temp.Path().substr(0, temp.Path().size() - 1);
    EXPECT_EQ(UsableFolder(temp.Path() + u"//"), folder);
    EXPECT_EQ(UsableFolder(folder), folder);
    EXPECT_FALSE(UsableFolder(u""));
    EXPECT_FALSE(UsableFolder(u"/"));
    EXPECT_FALSE(UsableFolder(temp.File("missing")));
    temp.Write("file", "x");
    EXPECT_FALSE(UsableFolder(temp.File("file")));
    EXPECT_FALSE(UsableFolder(folder + u"/" + std::u16string(260, u'a')));
}

TEST(PhoneFiles, ExportWritesOnlyWhatChanged) {
#ifdef _WIN32
    GTEST_SKIP() << "file identities are POSIX inodes";
#endif
    const TempDir temp;
    const PhonePaths paths = PhonePathsUnder(temp.Path());
    ASSERT_TRUE(EnsurePhoneFolders(paths));
    EditorSettings editor;
    ASSERT_TRUE(ExportNotes(paths, u"memo \u00E9\r\n", editor));
    const std::u16string current = paths.notes + u"/current.txt";
    const std::u16string json = paths.notes + u"/section.json";
    const long long currentFile = FileIdentity(current);
    const long long jsonFile = FileIdentity(json);
    ASSERT_TRUE(ExportNotes(paths, u"memo \u00E9\r\n", editor));
    EXPECT_EQ(FileIdentity(current), currentFile);
    EXPECT_EQ(FileIdentity(json), jsonFile);
    editor.separatorLine = u"\t\"";
    ASSERT_TRUE(ExportNotes(paths, u"memo \u00E9\r\nmore\r\n", editor));
    EXPECT_NE(FileIdentity(current), currentFile);
    EXPECT_NE(FileIdentity(json), jsonFile);
    EXPECT_EQ(temp.Read("Quillpn/notes/current.txt"), "\xEF\xBB\xBFmemo \xC3\xA9\r\nmore\r\n");
    EXPECT_EQ(temp.Read("Quillpn/notes/section.json"),
              "\xEF\xBB\xBF{\"role\":\"Separator\",\"separator\":\"\\t\\\"\",\"heading\":\"##\"}");
}

// A file the memo already holds from a merge whose end was never recorded
// is deleted; the other pending one, whose memo write did not happen, is
// merged; an empty file only goes.
TEST(PhoneFiles, PendingRecordsAreSettledByTheMemo) {
    const TempDir temp;
    const PhonePaths paths = PhonePathsUnder(temp.Path());
    ASSERT_TRUE(EnsurePhoneFolders(paths));
    temp.Write("Quillpn/inbox/20260101T070000Z_in.txt", "already in");
    temp.Write("Quillpn/inbox/20260101T080000Z_out.txt", "not yet");
    temp.Write("Quillpn/inbox/20260101T090000Z_empty.txt", "\n\n");
    const std::u16string journal = temp.File("journal.txt");
    std::vector<JournalRecord> records;
    const std::vector<InboxEntry> listing = ListInbox(paths.inbox).value_or(std::vector<InboxEntry> {});
    ASSERT_EQ(listing.size(), 3u);
    for (const InboxEntry& entry : listing) RecordPending(records, entry);
    ASSERT_TRUE(SaveMergeJournal(journal, records));

    std::u16string memoText = u"old\r\n" + MergeBlock(u"--", *platform::LocalTimeOfUtc({2026, 1, 1, 7}), u"already in");
    MemoAccess memo;
    memo.holds = [&](std::u16string_view block) { return memoText.find(block) != std::u16string::npos; };
    memo.append = [&](std::u16string_view blocks) {
        memoText += blocks;
        return true;
    };
    EXPECT_EQ(MergeInbox(paths, journal, u"--", memo, 1, [] {}), MergeOutcome::Merged);
    EXPECT_EQ(memoText, u"old\r\n" + MergeBlock(u"--", *platform::LocalTimeOfUtc({2026, 1, 1, 7}), u"already in") +
                            MergeBlock(u"--", *platform::LocalTimeOfUtc({2026, 1, 1, 8}), u"not yet"));
    EXPECT_TRUE(ListInbox(paths.inbox)->empty());
    EXPECT_FALSE(temp.Exists("journal.txt"));
}

}  // namespace
}  // namespace quillpane
