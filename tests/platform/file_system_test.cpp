// File services: the same expectations hold for the Win32 and POSIX forms.
#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quillpane::platform {
namespace {

using quillpane::testing::TempDir;

TEST(FileSystem, ReadReportsMissingTooLargeAndExactLimit) {
    TempDir dir;
    EXPECT_EQ(ReadWholeFile(dir.File("absent.txt"), 100).status, ReadStatus::NotFound);
    dir.Write("ten.txt", "0123456789");
    EXPECT_EQ(ReadWholeFile(dir.File("ten.txt"), 9).status, ReadStatus::TooLarge);
    const ReadResult exact = ReadWholeFile(dir.File("ten.txt"), 10);
    EXPECT_EQ(exact.status, ReadStatus::Ok);
    EXPECT_EQ(exact.bytes, "0123456789");
    dir.Write("empty.txt", "");
    const ReadResult empty = ReadWholeFile(dir.File("empty.txt"), 10);
    EXPECT_EQ(empty.status, ReadStatus::Ok);
    EXPECT_TRUE(empty.bytes.empty());
}

TEST(FileSystem, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
    TempDir dir;
    dir.Write("memo.txt", "old");
    ASSERT_TRUE(WriteFileAtomic(dir.File("memo.txt"), std::string_view("new\0bytes", 9), true));
    EXPECT_EQ(dir.Read("memo.txt"), std::string("new\0bytes", 9));
    EXPECT_FALSE(dir.Exists("memo.txt.tmp"));
}

TEST(FileSystem, AtomicWriteIntoMissingFolderFailsCleanly) {
    TempDir dir;
    std::u16string path = dir.File("no-such-folder");
    path.push_back(kPathSeparator);
    path += u"memo.txt";
    EXPECT_FALSE(WriteFileAtomic(path, "x", false));
    EXPECT_FALSE(GetAttributes(path).has_value());
}

TEST(FileSystem, CreateNewFileNeverOverwrites) {
    TempDir dir;
    ASSERT_TRUE(CreateNewFile(dir.File("a.txt"), "first"));
    EXPECT_FALSE(CreateNewFile(dir.File("a.txt"), "second"));
    EXPECT_EQ(dir.Read("a.txt"), "first");
}

TEST(FileSystem, CopyDeleteAttributesAndListing) {
    TempDir dir;
    dir.Write("a.txt", "abc");
    ASSERT_TRUE(CopyFileReplacing(dir.File("a.txt"), dir.File("b.txt")));
    dir.Write("c.txt", "zzzz");
    ASSERT_TRUE(CopyFileReplacing(dir.File("a.txt"), dir.File("c.txt")));
    EXPECT_EQ(dir.Read("c.txt"), "abc");
    EXPECT_TRUE(CreateDirectoryAt(dir.File("sub")));
    EXPECT_FALSE(CreateDirectoryAt(dir.File("sub")));

    const auto file = GetAttributes(dir.File("b.txt"));
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(file->isDirectory);
    EXPECT_EQ(file->size, 3u);
    EXPECT_NE(file->lastWriteTime, 0u);
    const auto folder = GetAttributes(dir.File("sub"));
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->isDirectory);

    auto entries = ListDirectory(dir.Path());
    std::sort(entries.begin(), entries.end(), [](const auto& l, const auto& r) { return l.name < r.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, u"a.txt");
    EXPECT_EQ(entries[3].name, u"sub");
    EXPECT_TRUE(entries[3].isDirectory);

    EXPECT_TRUE(DeleteFileAt(dir.File("b.txt")));
    EXPECT_FALSE(DeleteFileAt(dir.File("b.txt")));
}

TEST(FileSystem, NonAsciiFileNamesRoundTrip) {
    TempDir dir;
    const std::u16string name = dir.File(std::u16string_view(u"メモ\U0001F600.txt"));
    ASSERT_TRUE(WriteFileAtomic(name, "x", false));
    const auto entries = ListDirectory(dir.Path());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, u"メモ\U0001F600.txt");
}

TEST(FileSystem, LocalTimeIsPlausible) {
    const LocalTime now = LocalTimeNow();
    EXPECT_GE(now.year, 2020);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.second, 60);
}

TEST(FileSystem, AnsiCodePageMapsWesternBytes) {
    // Wine and the POSIX build both default to code page 1252.
    if (AnsiCodePage() != 1252) GTEST_SKIP() << "ANSI code page " << AnsiCodePage();
    EXPECT_EQ(AnsiToUtf16("caf\xE9 \x80"), u"café €");
}

#ifndef _WIN32
// A memo reached through a link is saved to the file the link names.
TEST(FileSystem, FinalPathResolvesLinks) {
    TempDir dir;
    dir.Write("real.txt", "x");
    ASSERT_EQ(::symlink(Utf16ToUtf8(dir.File("real.txt")).c_str(), Utf16ToUtf8(dir.File("link.txt")).c_str()), 0);
    const std::optional<std::u16string> real = FinalPathOf(dir.File("real.txt"));
    ASSERT_TRUE(real.has_value());
    EXPECT_EQ(FinalPathOf(dir.File("link.txt")), real);
    EXPECT_FALSE(FinalPathOf(dir.File("missing.txt")).has_value());
}
#endif

}  // namespace
}  // namespace quillpane::platform
