// The memo file and config.ini as they land on disk.
#include "e2e_fixture.h"

#include <thread>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr unsigned kSciGetReadOnly = 2140;

std::string Utf8Memo(const std::string& text) {
    return std::string(kBom) + text;
}

// Names in the program's Backup folder matching a pattern.
std::vector<std::wstring> BackupNames(const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data {};
    HANDLE find = ::FindFirstFileW((ProgramFolder() + L"Backup\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(data.cFileName);
    while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

class Memo : public AppScenario {
protected:
    // Writes config.ini and the memo before the program starts.
    void Arrange(const std::string& memoBytes, const std::string& extraConfig = "") {
        WriteConfig(extraConfig);
        WriteMemo(memoBytes);
    }

    HWND StartShown() {
        Start();
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
        EXPECT_NE(editor_, nullptr);
        return editor_;
    }

    [[nodiscard]] std::wstring MemoPath() const { return ProgramFile(L"Note.txt"); }
    [[nodiscard]] std::string MemoOnDisk() const { return ReadFileBytes(MemoPath()).value_or("<unreadable>"); }
    bool WaitForMemo(const std::string& expected, Duration timeout) {
        return WaitUntil([&] { return MemoOnDisk() == expected; }, timeout);
    }
    bool EditorReadOnly() const { return ::SendMessageW(editor_, kSciGetReadOnly, 0, 0) != 0; }

    HWND editor_ = nullptr;
};

TEST_F(Memo, FirstRunCreatesConfigAndWelcomeMemo) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(WaitForFile(ProgramFile(L"Note.txt"), 10s));
    // LastRunVersion makes the first start rewrite config.ini in the program's own format.
    ASSERT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Application", L"LastRunVersion").value_or(L"") != L""; }, 10s));
    const std::string config = ReadFileBytes(ProgramFile(L"config.ini")).value_or("");
    EXPECT_EQ(config.substr(0, 3), kBom);
    EXPECT_EQ(config.find(';'), std::string::npos) << "comments survive the rewrite";
    EXPECT_NE(config.find("[Shortcut]\r\nKey=VK_F1\r\n"), std::string::npos);
    EXPECT_EQ(ReadConfigValue(L"Window", L"WExcludesSidebar"), L"1");
    EXPECT_EQ(ReadConfigValue(L"Search", L"History7"), L"");

    EXPECT_EQ(MemoOnDisk(), Utf8Memo("Welcome to Quillpane\r\n"
                                     "Write your notes here. They are saved automatically and will still be here next time.\r\n"
                                     "Open Settings from the \xE2\x8B\xAE at the top right (to the left of \xC3\x97).\r\n"
                                     "You can delete this text.\r\n"));
    EXPECT_FALSE(::IsWindowVisible(panel_));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, OddConfigValuesComeBackNormalised) {
    Arrange(Utf8Memo("memo"),
            "[UI]\r\nOpacity=150\r\nTheme=dark\r\n"
            "[Editor]\r\nFontSizeStep=99\r\nWordWrap=0\r\nShowLineNumbers=yes\r\nSeparatorLine=###\r\nshowlinenumbers=0\r\n"
            "[Backup]\r\nMaxGenerations=0\r\nIntervalMinutes=-5\r\n"
            "[Window]\r\nPosValid=1\r\nWExcludesSidebar=1\r\nW=100\r\n"
            "[Shortcut]\r\nKey=ctrl + alt + m\r\n"
            "[Sidebar]\r\nFolded=00ff:1,0g:2,ab:x,cd:3\r\n"
            "[Custom]\r\nKeep=me\r\n");
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Application", L"LastRunVersion").value_or(L"") != L""; }, 10s));
    EXPECT_EQ(ReadConfigValue(L"UI", L"Opacity"), L"100");
    EXPECT_EQ(ReadConfigValue(L"UI", L"Theme"), L"Dark");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"FontSizeStep"), L"20");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"WordWrap"), L"NoWrap");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"ShowLineNumbers"), L"true");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"SectionMarkerRole"), L"Heading");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"HeadingLine"), L"###");
    EXPECT_EQ(ReadConfigValue(L"Editor", L"SeparatorLine"), L"------------------------------");
    EXPECT_EQ(ReadConfigValue(L"Backup", L"MaxGenerations"), L"1");
    EXPECT_EQ(ReadConfigValue(L"Backup", L"IntervalMinutes"), L"0");
    EXPECT_EQ(ReadConfigValue(L"Window", L"W"), L"240");
    EXPECT_EQ(ReadConfigValue(L"Shortcut", L"Key"), L"Ctrl+Alt+VK_M");
    EXPECT_EQ(ReadConfigValue(L"Sidebar", L"Folded"), L"00ff:1,cd:3");
    EXPECT_EQ(ReadConfigValue(L"Custom", L"Keep"), L"me");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, Utf16AndAnsiMemosAreSavedAsUtf8AfterOneTypedCharacter) {
    // "Aé あ" in UTF-16LE with a byte-order mark, lone LF line ends.
    Arrange(std::string("\xFF\xFE" "A\0\xE9\0 \0\x42\x30\n\0", 12));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"A\u00E9 \u3042\r\n"; }, 5s)) << "loaded text";
    std::this_thread::sleep_for(2500ms);
    EXPECT_EQ(MemoOnDisk().substr(0, 2), "\xFF\xFE") << "merely loading rewrote the file";
    PostChars(editor_, L"x");
    EXPECT_TRUE(WaitForMemo(Utf8Memo("xA\xC3\xA9 \xE3\x81\x82\r\n"), 6s)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));

    // An ANSI memo (code page 1252): "café" with CR line ends.
    Arrange("caf\xE9\r");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"caf\u00E9\r\n"; }, 5s)) << "loaded text";
    PostChars(editor_, L"!");
    EXPECT_TRUE(WaitForMemo(Utf8Memo("!caf\xC3\xA9\r\n"), 6s)) << MemoOnDisk();
    Screenshot("ansi-memo-edited");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, OversizedMemoIsReadOnlyUntilItShrinks) {
    std::string huge(64u * 1024u * 1024u + 1u, 'a');
    Arrange(huge);
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_).find(L"64 MB") != std::wstring::npos; }, 10s));
    EXPECT_TRUE(EditorReadOnly());
    PostChars(editor_, L"z");
    Screenshot("oversized-read-only");
    std::this_thread::sleep_for(2500ms);
    const auto onDisk = ReadFileBytes(MemoPath());
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_TRUE(*onDisk == huge) << "the oversized file was written";
    huge.clear();

    ASSERT_TRUE(WriteFileBytes(MemoPath(), Utf8Memo("small again")));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"small again"; }, 4s)) << "not reloaded in time";
    EXPECT_FALSE(EditorReadOnly());
    PostChars(editor_, L"!");
    EXPECT_TRUE(WaitForMemo(Utf8Memo("!small again"), 6s)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, OutsideRewriteIsReloaded) {
    Arrange(Utf8Memo("before"));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"before"; }, 5s));
    ASSERT_TRUE(WriteFileBytes(MemoPath(), Utf8Memo("after\nthe rewrite")));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"after\r\nthe rewrite"; }, 4s))
        << "not reloaded within about 2 s";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, LockedMemoIsRetriedAndSavedOnceReleased) {
    Arrange(Utf8Memo("old"));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"old"; }, 5s));
    // Another program holds the file open without sharing.
    HANDLE lock = ::CreateFileW(MemoPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PostChars(editor_, L"n");
    std::this_thread::sleep_for(4s);
    ::CloseHandle(lock);
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("old")) << "the old content changed while locked";
    EXPECT_EQ(::GetFileAttributesW((MemoPath() + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(WaitForMemo(Utf8Memo("nold"), 8s)) << "not saved after the lock was released: " << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Memo, EndOfSessionAndExitSaveAPendingEditAtOnce) {
    Arrange(Utf8Memo("memo"));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"memo"; }, 5s));
    PostChars(editor_, L"1");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"1memo"; }, 2s));
    // Well inside the 1.5 s autosave delay.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(panel_, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("1memo"));
    EXPECT_FALSE(::IsWindowVisible(panel_)) << "the end of the session hides a shown panel";
    EXPECT_TRUE(app_.Running()) << "the end of the session destroys nothing";

    PostChars(editor_, L"2");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"12memo"; }, 2s));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("12memo"));
}

TEST_F(Memo, BackupAfterEverySaveWithIntervalZeroIsPruned) {
    Arrange(Utf8Memo("v"), "[Backup]\r\nEnabled=1\r\nIntervalMinutes=0\r\nMaxGenerations=2\r\n");
    ASSERT_NE(StartShown(), nullptr);
    for (int i = 0; i < 3; ++i) {
        PostChars(editor_, L"+");
        const std::string expected = Utf8Memo(std::string(static_cast<std::size_t>(i) + 1, '+') + "v");
        ASSERT_TRUE(WaitForMemo(expected, 6s)) << MemoOnDisk();
        std::this_thread::sleep_for(1100ms);  // a new second, so a new backup name
    }
    EXPECT_EQ(BackupNames(L"Note??????????????.txt").size(), 2u);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

// Exit with a memo another program holds: the program stays and saves once
// the file is free; when the user insists, the text goes to the backups and
// the next start reports it once.
TEST_F(Memo, ExitWaitsForAHeldMemoUnlessTheUserInsists) {
    Arrange(Utf8Memo("old"));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"old"; }, 5s));
    HANDLE lock = ::CreateFileW(MemoPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PostChars(editor_, L"n");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"nold"; }, 2s));
    ::PostMessageW(panel_, WM_COMMAND, 1003, 0);
    std::this_thread::sleep_for(2s);
    EXPECT_TRUE(app_.Running()) << "Exit ended the program with the edit unsaved";
    ::CloseHandle(lock);
    EXPECT_TRUE(WaitForMemo(Utf8Memo("nold"), 8s)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));

    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"nold"; }, 5s));
    lock = ::CreateFileW(MemoPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PostChars(editor_, L"2");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"2nold"; }, 2s));
    ::PostMessageW(panel_, WM_COMMAND, 1003, 0);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0)) << "a second Exit did not end the program";
    ::CloseHandle(lock);
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("nold"));
    const std::vector<std::wstring> kept = BackupNames(L"Note-unsaved-*.txt");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadFileBytes(ProgramFolder() + L"Backup\\" + kept[0]), Utf8Memo("2nold"));
    EXPECT_NE(ReadConfigValue(L"Application", L"UnsavedCopy").value_or(L""), L"");

    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Application", L"UnsavedCopy") == L""; }, 10s))
        << "the kept text is reported again at every start";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

// Written by someone else while an edit waits for its autosave: the outside
// version lands in the backups, the edit in the memo.
TEST_F(Memo, OutsideRewriteDuringTheAutosaveDelayIsKeptInTheBackups) {
    Arrange(Utf8Memo("mine"), "[Backup]\r\nEnabled=1\r\nIntervalMinutes=10\r\n");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"mine"; }, 5s));
    PostChars(editor_, L"x");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"xmine"; }, 2s));
    ASSERT_TRUE(WriteFileBytes(MemoPath(), Utf8Memo("theirs")));
    EXPECT_TRUE(WaitForMemo(Utf8Memo("xmine"), 6s)) << MemoOnDisk();
    bool outsideKept = false;
    for (const std::wstring& name : BackupNames(L"Note??????????????.txt")) {
        outsideKept = outsideKept || ReadFileBytes(ProgramFolder() + L"Backup\\" + name) == Utf8Memo("theirs");
    }
    EXPECT_TRUE(outsideKept) << "the outside version is lost";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

// A config.ini another program holds at start is neither replaced by
// defaults nor moved.
TEST_F(Memo, ConfigHeldOpenAtStartIsLeftAlone) {
    Arrange(Utf8Memo("memo"), "[UI]\r\nOpacity=70\r\n");
    const std::string original = ReadFileBytes(ProgramFile(L"config.ini")).value_or("");
    HANDLE lock = ::CreateFileW(ProgramFile(L"config.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_NE(Start(), nullptr);
    std::this_thread::sleep_for(3s);
    ::CloseHandle(lock);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadFileBytes(ProgramFile(L"config.ini")), original);
}

// An outside rewrite that another program then holds: the editor waits
// read-only and takes the new text as soon as the file is free.
TEST_F(Memo, HeldRewriteIsLoadedOnceReleased) {
    Arrange(Utf8Memo("before"));
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"before"; }, 5s));
    // Rewritten through a handle that shares nothing and stays open.
    HANDLE lock = ::CreateFileW(MemoPath().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const std::string after = Utf8Memo("after");
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(lock, after.data(), static_cast<DWORD>(after.size()), &written, nullptr));
    EXPECT_TRUE(WaitUntil([&] { return EditorReadOnly(); }, 5s)) << "the held file was not reported";
    Screenshot("held-rewrite");
    ::CloseHandle(lock);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"after" && !EditorReadOnly(); }, 5s))
        << "still locked after the file was released";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
