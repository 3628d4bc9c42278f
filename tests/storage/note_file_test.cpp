// Resolving, creating, reading and writing the memo file on real folders.
#include "storage/note_file.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "settings/paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillpane {
namespace {

using quillpane::testing::TempDir;

constexpr std::u16string_view kWelcome = u"Welcome \u22EE\r\nLine two\r\n";
const std::string kBom = "\xEF\xBB\xBF";

std::string ReadBytes(std::u16string_view path) {
    return platform::ReadWholeFile(path, UINT64_MAX).bytes;
}

std::u16string DefaultNotePath(const TempDir& dir) {
    return ProgramFolderOf(dir.Path()) + u"Note.txt";
}

std::u16string InFolder(const TempDir& dir, std::string_view folder, std::u16string_view name) {
    std::u16string path = dir.File(folder);
    path.push_back(platform::kPathSeparator);
    path += name;
    return path;
}

TEST(ResolveNoteFile, FirstRunCreatesDefaultFileWithWelcomeText) {
    TempDir dir;
    const ResolvedNote note = ResolveNoteFile(u"", dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
    EXPECT_TRUE(note.created);
    EXPECT_EQ(ReadBytes(note.path), kBom + Utf16ToUtf8(kWelcome));
}

TEST(ResolveNoteFile, ExistingDefaultFileIsKept) {
    TempDir dir;
    (void)ResolveNoteFile(u"", dir.Path(), kWelcome);
    ASSERT_TRUE(platform::WriteWholeFile(DefaultNotePath(dir), "mine"));
    const ResolvedNote note = ResolveNoteFile(u"", dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
    EXPECT_FALSE(note.created);
    EXPECT_EQ(ReadBytes(note.path), "mine");
}

TEST(ResolveNoteFile, ConfiguredFileInMissingFolderFallsBackWithoutCreatingIt) {
    TempDir dir;
    const std::u16string configured = InFolder(dir, "missing", u"memo.txt");
    const ResolvedNote note = ResolveNoteFile(configured, dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
    EXPECT_TRUE(note.created);
    EXPECT_FALSE(dir.Exists("missing"));
}

TEST(ResolveNoteFile, ConfiguredPathNamingAFileAsFolderFallsBack) {
    TempDir dir;
    dir.Write("plain", "x");
    const ResolvedNote note = ResolveNoteFile(InFolder(dir, "plain", u"memo.txt"), dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
}

TEST(ResolveNoteFile, ConfiguredFolderCountsAsMissing) {
    TempDir dir;
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("notes")));
    const ResolvedNote note = ResolveNoteFile(dir.File("notes"), dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
    EXPECT_TRUE(note.created);
}

TEST(ResolveNoteFile, MissingConfiguredFileInExistingFolderGetsOnlyAByteOrderMark) {
    TempDir dir;
    const std::u16string configured = dir.File("memo.txt");
    const ResolvedNote note = ResolveNoteFile(configured, dir.Path(), kWelcome);
    EXPECT_EQ(note.path, configured);
    EXPECT_FALSE(note.created);
    EXPECT_EQ(ReadBytes(configured), kBom);
    EXPECT_FALSE(platform::GetAttributes(DefaultNotePath(dir)).has_value());
}

TEST(ResolveNoteFile, ExistingConfiguredFileIsUsedAsIs) {
    TempDir dir;
    dir.Write("memo.txt", "notes");
    const ResolvedNote note = ResolveNoteFile(dir.File("memo.txt"), dir.Path(), kWelcome);
    EXPECT_EQ(note.path, dir.File("memo.txt"));
    EXPECT_FALSE(note.created);
    EXPECT_EQ(dir.Read("memo.txt"), "notes");
}

TEST(ResolveNoteFile, DefaultPathInOtherCaseGetsWelcomeText) {
    TempDir dir;
    CreatePathFolders(ProgramFolderOf(dir.Path()));
    const std::u16string configured = ProgramFolderOf(dir.Path()) + u"NOTE.txt";
    const ResolvedNote note = ResolveNoteFile(configured, dir.Path(), kWelcome);
    EXPECT_EQ(note.path, configured);
    EXPECT_TRUE(note.created);
    EXPECT_EQ(ReadBytes(configured), kBom + Utf16ToUtf8(kWelcome));
}

TEST(ResolveNoteFile, ConfiguredFileThatCannotBeCreatedFallsBackToDefault) {
    TempDir dir;
    // A name longer than any file system allows: the folder exists, the
    // file can never be created.
    const std::u16string configured = dir.File(std::u16string(300, u'n'));
    const ResolvedNote note = ResolveNoteFile(configured, dir.Path(), kWelcome);
    EXPECT_EQ(note.path, DefaultNotePath(dir));
    EXPECT_TRUE(note.created);
    EXPECT_EQ(ReadBytes(note.path), kBom + Utf16ToUtf8(kWelcome));
}

TEST(ResolveNoteFile, ValueWithoutSeparatorIsRelativeToCurrentFolder) {
    TempDir dir;
    struct RestoreCurrentFolder {
        std::filesystem::path saved = std::filesystem::current_path();
        ~RestoreCurrentFolder() { std::filesystem::current_path(saved); }
    } restore;
    std::filesystem::current_path(std::filesystem::path(dir.Path()));
    const ResolvedNote note = ResolveNoteFile(u"relative.txt", dir.Path(), kWelcome);
    EXPECT_EQ(note.path, u"relative.txt");
    EXPECT_FALSE(note.created);
    EXPECT_EQ(dir.Read("relative.txt"), kBom);
}

TEST(CreateNoteFile, NeverOverwritesAnExistingFile) {
    TempDir dir;
    dir.Write("memo.txt", "keep me");
    EXPECT_FALSE(CreateNoteFile(dir.File("memo.txt"), kWelcome));
    EXPECT_FALSE(CreateNoteFile(dir.File("memo.txt"), std::nullopt));
    EXPECT_EQ(dir.Read("memo.txt"), "keep me");
}

TEST(CreateNoteFile, WritesByteOrderMarkAndOptionalWelcome) {
    TempDir dir;
    ASSERT_TRUE(CreateNoteFile(dir.File("a.txt"), std::nullopt));
    ASSERT_TRUE(CreateNoteFile(dir.File("b.txt"), kWelcome));
    EXPECT_EQ(dir.Read("a.txt"), kBom);
    EXPECT_EQ(dir.Read("b.txt"), kBom + Utf16ToUtf8(kWelcome));
    EXPECT_FALSE(CreateNoteFile(InFolder(dir, "missing", u"c.txt"), std::nullopt));
}

TEST(ReadNoteFile, DecodesNormalisesAndLeavesTheFileAlone) {
    TempDir dir;
    const std::string utf16 = std::string("\xFF\xFE" "a\0\n\0b\0\r\0", 10);
    dir.Write("memo.txt", utf16);
    const NoteReadResult read = ReadNoteFile(dir.File("memo.txt"));
    ASSERT_EQ(read.status, NoteReadStatus::Ok);
    EXPECT_EQ(read.text, u"a\r\nb\r\n");
    EXPECT_EQ(read.writeTime, platform::GetAttributes(dir.File("memo.txt"))->lastWriteTime);
    EXPECT_EQ(dir.Read("memo.txt"), utf16);
}

TEST(ReadNoteFile, ExactlySixtyFourMebibytesLoadsOneMoreByteDoesNot) {
    TempDir dir;
    // The figure itself, not the constant: a changed limit must fail here.
    std::string bytes(64 * 1024 * 1024, 'a');
    bytes.back() = '\n';
    dir.Write("exact.txt", bytes);
    bytes.push_back('a');
    dir.Write("over.txt", bytes);
    bytes = std::string();

    NoteReadResult read = ReadNoteFile(dir.File("exact.txt"));
    ASSERT_EQ(read.status, NoteReadStatus::Ok);
    EXPECT_EQ(read.text.size(), 64u * 1024 * 1024 + 1);
    EXPECT_EQ(read.text.substr(read.text.size() - 3), u"a\r\n");
    read = NoteReadResult();

    const NoteReadResult over = ReadNoteFile(dir.File("over.txt"));
    EXPECT_EQ(over.status, NoteReadStatus::TooLarge);
    EXPECT_TRUE(over.text.empty());
    EXPECT_EQ(over.writeTime, platform::GetAttributes(dir.File("over.txt"))->lastWriteTime);
}

TEST(ReadNoteFile, MissingFileOrFolderIsUnreadable) {
    TempDir dir;
    const NoteReadResult missing = ReadNoteFile(dir.File("absent.txt"));
    EXPECT_EQ(missing.status, NoteReadStatus::Unreadable);
    EXPECT_EQ(missing.writeTime, 0u);
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("folder")));
    EXPECT_EQ(ReadNoteFile(dir.File("folder")).status, NoteReadStatus::Unreadable);
}

TEST(WriteNoteFile, ReplacesTheFileWithUtf8AndAByteOrderMark) {
    TempDir dir;
    dir.Write("memo.txt", "\xFF\xFEold");
    ASSERT_TRUE(WriteNoteFile(dir.File("memo.txt"), u"\u3042\r\nb"));
    EXPECT_EQ(dir.Read("memo.txt"), kBom + "\xE3\x81\x82\r\nb");
    EXPECT_FALSE(dir.Exists("memo.txt.tmp"));
    ASSERT_TRUE(WriteNoteFile(dir.File("memo.txt"), u""));
    EXPECT_EQ(dir.Read("memo.txt"), kBom);
}

TEST(WriteNoteFile, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
    TempDir dir;
    EXPECT_FALSE(WriteNoteFile(InFolder(dir, "missing", u"memo.txt"), u"x"));
    EXPECT_FALSE(dir.Exists("missing"));

    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("folder")));
    EXPECT_FALSE(WriteNoteFile(dir.File("folder"), u"x"));
    EXPECT_TRUE(platform::GetAttributes(dir.File("folder"))->isDirectory);
    EXPECT_FALSE(dir.Exists("folder.tmp"));

    // Something in the way of the temporary file: the memo stays as it was.
    dir.Write("memo.txt", "old");
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("memo.txt.tmp")));
    EXPECT_FALSE(WriteNoteFile(dir.File("memo.txt"), u"new"));
    EXPECT_EQ(dir.Read("memo.txt"), "old");
}

TEST(PathEqualsIgnoreCase, FoldsAsciiAndSimpleLatinOnly) {
    struct Case {
        std::u16string_view a;
        std::u16string_view b;
        bool equal;
    };
    const Case cases[] = {
        {u"C:\\Users\\Note.txt", u"c:\\users\\NOTE.TXT", true},
        {u"Note.txt", u"Note.txt ", false},
        {u"\u00C9t\u00E9", u"\u00E9T\u00C9", true},        // É é
        {u"\u00D7", u"\u00F7", false},                     // multiplication and division signs
        {u"\u0100\u0139\u014A\u0179", u"\u0101\u013A\u014B\u017A", true},
        {u"\u0178", u"\u00FF", true},                      // Ÿ ÿ
        {u"\u0138", u"\u0139", false},                     // kra has no partner
        {u"[", u"{", false},                               // not letters
        {u"\u0391", u"\u03B1", false},                     // Greek is not folded
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathEqualsIgnoreCase(c.a, c.b), c.equal) << ::testing::PrintToString(std::u16string(c.a));
        EXPECT_EQ(PathEqualsIgnoreCase(c.b, c.a), c.equal);
    }
}

}  // namespace
}  // namespace quillpane
