// Editor keys driven through real input: undo, line commands and saving as
// they land in the memo file.
#include "e2e_fixture.h"

#include <thread>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

std::string Utf8Memo(const std::string& text) {
    return std::string(kBom) + text;
}

class Editor : public AppScenario {
protected:
    void SetUp() override {
        AppScenario::SetUp();
        WriteConfig("");
        WriteMemo(Utf8Memo("alpha\r\nbeta"));
    }

    // Shows the panel and clicks into the editor so that keys reach it.
    void StartAndFocus() {
        ASSERT_NE(Start(), nullptr);
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
        ASSERT_NE(editor_, nullptr);
        const RECT rect = WindowRect(editor_);
        ClickAt(rect.left + 200, rect.top + 60);
    }

    [[nodiscard]] std::wstring MemoPath() const { return ProgramFile(L"Note.txt"); }
    [[nodiscard]] std::string MemoOnDisk() const { return ReadFileBytes(MemoPath()).value_or("<unreadable>"); }
    bool WaitForMemo(const std::string& expected, Duration timeout) {
        return WaitUntil([&] { return MemoOnDisk() == expected; }, timeout);
    }
    bool WaitForEditor(const std::wstring& expected, Duration timeout = 3s) {
        return WaitUntil([&] { return ControlText(editor_) == expected; }, timeout);
    }
    [[nodiscard]] FILETIME MemoWriteTime() const {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        ::GetFileAttributesExW(MemoPath().c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }

    HWND editor_ = nullptr;
};

TEST_F(Editor, TypingUndoneBackToTheSavedTextIsNotSaved) {
    StartAndFocus();
    const FILETIME before = MemoWriteTime();
    PressKey(VK_END, true);
    TypeText(L"xyz");
    ASSERT_TRUE(WaitForEditor(L"alpha\r\nbetaxyz")) << ControlText(editor_).c_str();
    for (int i = 0; i < 3; ++i) PressKey('Z', true);
    ASSERT_TRUE(WaitForEditor(L"alpha\r\nbeta")) << "three typed characters, three undo steps";
    std::this_thread::sleep_for(3s);
    const FILETIME after = MemoWriteTime();
    EXPECT_EQ(::CompareFileTime(&before, &after), 0) << "the pending save was cancelled";
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("alpha\r\nbeta"));
    PressKey('Y', true);
    EXPECT_TRUE(WaitForEditor(L"alpha\r\nbetax")) << "and redone";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    EXPECT_EQ(MemoOnDisk(), Utf8Memo("alpha\r\nbetax")) << "Exit saves the pending edit";
}

TEST_F(Editor, CtrlDDuplicatesALineAndTheResultIsSaved) {
    StartAndFocus();
    PressKey(VK_HOME, true);
    PressKey('D', true);
    EXPECT_TRUE(WaitForEditor(L"alpha\r\nalpha\r\nbeta")) << ControlText(editor_).c_str();
    EXPECT_TRUE(WaitForMemo(Utf8Memo("alpha\r\nalpha\r\nbeta"), 8s)) << "saved after the autosave delay";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Editor, CtrlShiftUpMovesALineAndUndoPutsItBack) {
    StartAndFocus();
    PressKey(VK_END, true);
    PressKey(VK_UP, true, true);
    EXPECT_TRUE(WaitForEditor(L"beta\r\nalpha")) << ControlText(editor_).c_str();
    PressKey(VK_UP, true, true);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(ControlText(editor_), L"beta\r\nalpha") << "the first line stays";
    PressKey('Z', true);
    EXPECT_TRUE(WaitForEditor(L"alpha\r\nbeta")) << "one undo step";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Editor, CtrlSSavesAtOnce) {
    StartAndFocus();
    PressKey(VK_HOME, true);
    TypeText(L"!");
    PressKey('S', true);
    // Well inside the 1.5 s autosave delay after the last keystroke.
    EXPECT_TRUE(WaitForMemo(Utf8Memo("!alpha\r\nbeta"), 1000ms)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
