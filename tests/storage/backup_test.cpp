// Backups after saves: names, the interval, generations, silent failures.
#include "storage/backup.h"

#include "platform/utf_convert.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillpane {
namespace {

using quillpane::testing::TempDir;

platform::LocalTime At(int hour, int minute, int second, int day = 21) {
    platform::LocalTime time;
    time.year = 2026;
    time.month = 8;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

// A memo file and the backup folder beside it, in one temporary folder.
class BackupTest : public ::testing::Test {
protected:
    BackupTest() {
        dir.Write("Note.txt", "\xEF\xBB\xBFmemo");
        memoPath = dir.File("Note.txt");
        backupFolder = BackupFolderOf(dir.Path());
    }

    void Save(const platform::LocalTime& now) { BackupAfterSave(settings, memoPath, backupFolder, now, record); }

    // Places a file in the backup folder, creating it when needed.
    void Place(std::string_view name, std::string_view bytes = "old") {
        (void)platform::CreateDirectoryAt(backupFolder);
        ASSERT_TRUE(platform::WriteWholeFile(backupFolder + AsciiToUtf16(name), bytes));
    }

    std::string ReadBackup(std::string_view name) const {
        return platform::ReadWholeFile(backupFolder + AsciiToUtf16(name), UINT64_MAX).bytes;
    }

    // Names in the backup folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : platform::ListDirectory(backupFolder)) names.push_back(Utf16ToUtf8(entry.name));
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    std::u16string memoPath;
    std::u16string backupFolder;
    BackupSettings settings {true, 10, 30};
    BackupRecord record;
};

TEST(LocalTimeToFileTime, ValidatesFieldsLikeSystemTimeToFileTime) {
    const auto make = [](int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
        return platform::LocalTime {y, mo, d, h, mi, s, ms, 0};
    };
    EXPECT_EQ(LocalTimeToFileTime(make(1601, 1, 1)), 0u);
    EXPECT_EQ(LocalTimeToFileTime(make(1970, 1, 1)), 116'444'736'000'000'000u);
    EXPECT_EQ(LocalTimeToFileTime(make(2026, 8, 21, 14, 30, 5, 250)),
              *LocalTimeToFileTime(make(2026, 8, 21)) + ((14 * 60 + 30) * 60 + 5) * 10'000'000ull + 2'500'000u);
    EXPECT_EQ(*LocalTimeToFileTime(make(2024, 3, 1)) - *LocalTimeToFileTime(make(2024, 2, 28)),
              2 * 864'000'000'000ull);
    EXPECT_TRUE(LocalTimeToFileTime(make(30827, 12, 31, 23, 59, 59, 999)).has_value());
    EXPECT_TRUE(LocalTimeToFileTime(make(2000, 2, 29)).has_value());

    const platform::LocalTime invalid[] = {
        make(1600, 12, 31), make(30828, 1, 1), make(2026, 0, 1),  make(2026, 13, 1),
        make(2026, 4, 31),  make(2025, 2, 29), make(2100, 2, 29), make(2026, 1, 0),
        make(2026, 1, 1, 24), make(2026, 1, 1, 0, 60), make(2026, 1, 1, 0, 0, 60),
        make(2026, 1, 1, 0, 0, 0, 1000), make(2026, 1, 1, -1),
    };
    for (const auto& time : invalid) {
        EXPECT_FALSE(LocalTimeToFileTime(time).has_value()) << time.year << "-" << time.month << "-" << time.day;
    }
}

TEST(BackupFileName, CarriesTheLocalTimeBetweenStemAndExtension) {
    EXPECT_EQ(BackupFileName(u"Note", u".txt", At(14, 30, 5)), u"Note20260821143005.txt");
    platform::LocalTime early {2026, 1, 2, 3, 4, 5, 678, 5};
    EXPECT_EQ(BackupFileName(u"notes", u"", early), u"notes20260102030405");
}

TEST_F(BackupTest, ListKeepsOnlyThisMemosNamesOldestFirst) {
    Place("Note20260821120000.txt");
    Place("Note20250101000000.txt");
    Place("Note2026082112000x.txt");   // a non-digit in the stamp
    Place("Note202608211200000.txt");  // 15 digits
    Place("Note20260821120000.md");
    Place("Other20260821120000.txt");
    Place("note20260821120000.txt");   // other case: not ours
    Place("Note20260821120000.txt.bak");
    ASSERT_TRUE(platform::CreateDirectoryAt(backupFolder + u"Note20260821130000.txt"));
    const std::vector<std::u16string> expected = {backupFolder + u"Note20250101000000.txt",
                                                  backupFolder + u"Note20260821120000.txt"};
    EXPECT_EQ(ListBackups(backupFolder, u"Note", u".txt"), expected);
    EXPECT_TRUE(ListBackups(dir.File("missing"), u"Note", u".txt").empty());
}

TEST_F(BackupTest, CopiesTheMemoUnderItsTimeStamp) {
    Save(At(14, 30, 5));
    EXPECT_EQ(Names(), std::vector<std::string> {"Note20260821143005.txt"});
    EXPECT_EQ(ReadBackup("Note20260821143005.txt"), "\xEF\xBB\xBFmemo");
    EXPECT_EQ(record.lastBackupPath, memoPath);
    EXPECT_EQ(record.lastBackupTime, *LocalTimeToFileTime(At(14, 30, 5)));
}

TEST_F(BackupTest, IntervalZeroBacksUpEverySaveAndASecondCountsOnce) {
    settings = {true, 0, 2};
    Place("Note20260821100000.txt");
    Save(At(12, 0, 0));
    dir.Write("Note.txt", "second");
    Save(At(12, 0, 0));
    // Same second: replaced, and still one of the two generations.
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20260821100000.txt", "Note20260821120000.txt"}));
    EXPECT_EQ(ReadBackup("Note20260821120000.txt"), "second");
    Save(At(12, 0, 1));
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20260821120000.txt", "Note20260821120001.txt"}));
}

TEST_F(BackupTest, IntervalCountsWholeMinutesSinceTheLastBackup) {
    Save(At(12, 0, 0));
    Save(At(12, 9, 59));
    EXPECT_EQ(Names().size(), 1u);
    Save(At(12, 10, 0));
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20260821120000.txt", "Note20260821121000.txt"}));
}

TEST_F(BackupTest, AfterRestartTheNewestFileIsTheReference) {
    Place("Note20260821115500.txt");
    Place("Note20260821090000.txt");
    Save(At(12, 0, 0));
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(record.lastBackupTime, *LocalTimeToFileTime(At(11, 55, 0)));
    Save(At(12, 5, 0));
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(BackupTest, RecordOfAnotherMemoIsIgnored) {
    Place("Note20260821115500.txt");
    record = {dir.File("Other.txt"), *LocalTimeToFileTime(At(9, 0, 0)), {}};
    Save(At(12, 0, 0));
    EXPECT_EQ(Names().size(), 1u);  // the file on disk is only five minutes old
}

TEST_F(BackupTest, ClockSetBackMakesABackup) {
    Save(At(12, 0, 0));
    Save(At(11, 0, 0));
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20260821110000.txt", "Note20260821120000.txt"}));
    // Newest file on disk lies in the future: no reason to wait either.
    record = {};
    Save(At(11, 1, 0));
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(BackupTest, ClockSetBackOntoAnExistingNameKeepsTheNewCopy) {
    settings = {true, 0, 1};
    Place("Note20260821110000.txt");
    Place("Note20260821120000.txt");
    Save(At(11, 0, 0));
    EXPECT_EQ(Names(), std::vector<std::string> {"Note20260821110000.txt"});
    EXPECT_EQ(ReadBackup("Note20260821110000.txt"), "\xEF\xBB\xBFmemo");
}

TEST_F(BackupTest, GenerationLimitKeepsTheNewestAndSparesOtherFiles) {
    settings = {true, 0, 3};
    for (const char* name : {"Note20260101000000.txt", "Note20260102000000.txt", "Note20260103000000.txt",
                             "Note20260104000000.txt", "Note20260105000000.txt", "Other20200101000000.txt",
                             "Note2020010100000x.txt", "Note20200101000000.md"}) {
        Place(name);
    }
    Save(At(12, 0, 0));
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20200101000000.md", "Note2020010100000x.txt",
                                                  "Note20260104000000.txt", "Note20260105000000.txt",
                                                  "Note20260821120000.txt", "Other20200101000000.txt"}));
}

TEST_F(BackupTest, GenerationLimitBelowOneKeepsOne) {
    settings = {true, 0, 0};
    Place("Note20260101000000.txt");
    Save(At(12, 0, 0));
    EXPECT_EQ(Names(), std::vector<std::string> {"Note20260821120000.txt"});
}

TEST_F(BackupTest, StemAndExtensionComeFromTheLastDot) {
    settings.intervalMinutes = 0;
    for (const char* name : {"notes", "my.notes.md", ".txt"}) dir.Write(name, "x");
    memoPath = dir.File("notes");
    Save(At(12, 0, 0));
    memoPath = dir.File("my.notes.md");
    Save(At(12, 0, 0));
    memoPath = dir.File(".txt");
    Save(At(12, 0, 0));
    EXPECT_EQ(Names(), (std::vector<std::string> {"my.notes20260821120000.md", "notes20260821120000"}));
}

TEST_F(BackupTest, DisabledOrEmptyPathDoesNothing) {
    settings.enabled = false;
    Save(At(12, 0, 0));
    settings.enabled = true;
    memoPath.clear();
    Save(At(12, 0, 0));
    EXPECT_FALSE(dir.Exists("Backup"));
    EXPECT_EQ(record.lastBackupTime, 0u);
}

TEST_F(BackupTest, UnusableBackupFolderFailsSilentlyAndRetriesNextTime) {
    dir.Write("Backup", "a file where the folder should be");
    Save(At(12, 0, 0));
    EXPECT_EQ(record.lastBackupTime, 0u);
    EXPECT_EQ(dir.Read("Backup"), "a file where the folder should be");

    ASSERT_TRUE(platform::DeleteFileAt(dir.File("Backup")));
    Save(At(12, 0, 1));
    EXPECT_EQ(Names(), std::vector<std::string> {"Note20260821120001.txt"});
}

TEST_F(BackupTest, MissingMemoFileMakesNoBackupAndNoRecord) {
    memoPath = dir.File("absent.txt");
    Save(At(12, 0, 0));
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(record.lastBackupTime, 0u);
}

// A version kept before a save is one generation, never replaced, and not
// overwritten by the backup of the save that follows in the same second.
TEST_F(BackupTest, KeptVersionSurvivesTheSaveThatFollows) {
    settings.intervalMinutes = 0;
    settings.maxGenerations = 2;
    Place("Note20250101000000.txt");
    Place("Note20250102000000.txt");
    ASSERT_TRUE(KeepInBackup(settings, memoPath, backupFolder, At(12, 0, 0), record));
    EXPECT_FALSE(KeepInBackup(settings, memoPath, backupFolder, At(12, 0, 0), record));
    dir.Write("Note.txt", "\xEF\xBB\xBFmine");
    Save(At(12, 0, 0));
    EXPECT_EQ(ReadBackup("Note20260821120000.txt"), "\xEF\xBB\xBFmemo");
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note20250102000000.txt", "Note20260821120000.txt"}));
}

TEST_F(BackupTest, UnsavedCopiesNeverShareAName) {
    const std::u16string first = WriteUnsavedCopy(memoPath, backupFolder, At(12, 0, 0), "one");
    const std::u16string second = WriteUnsavedCopy(memoPath, backupFolder, At(12, 0, 0), "two");
    EXPECT_EQ(Names(), (std::vector<std::string> {"Note-unsaved-20260821120000-1.txt",
                                                   "Note-unsaved-20260821120000.txt"}));
    EXPECT_EQ(ReadBackup("Note-unsaved-20260821120000.txt"), "one");
    EXPECT_NE(first, second);
    // Not taken for generations: pruning leaves them alone.
    EXPECT_TRUE(ListBackups(backupFolder, u"Note", u".txt").empty());
}

}  // namespace
}  // namespace quillpane
