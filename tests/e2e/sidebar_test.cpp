// The heading sidebar as a user meets it: rows, clicks, folds, memo drags,
// Ctrl+B and the splitter, on screen and on disk.
#include "e2e_fixture.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <thread>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kDivider[] = "------------------------------";
constexpr unsigned kSciGetLineVisible = 2228;

std::string Memo(std::initializer_list<std::string_view> memos) {
    std::string text = kBom;
    text += "Inbox\r\nquick note\r\n";
    for (const std::string_view memo : memos) {
        text.append(kDivider).append("\r\n").append(memo).append("\r\n");
    }
    return text;
}

class Sidebar : public AppScenario {
protected:
    void StartShown(const std::string& config, const std::string& memo) {
        WriteConfig(config);
        WriteMemo(memo);
        Start();
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
        sidebar_ = FindChildByClass(panel_, L"Quillpn.HeadingSidebar");
        ASSERT_NE(sidebar_, nullptr);
        list_ = FindChildByClass(sidebar_, L"ListBox");
        ASSERT_NE(list_, nullptr);
    }

    int Rows() const { return static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0)); }
    int Caret() const { return LOWORD(static_cast<DWORD>(::SendMessageW(editor_, EM_GETSEL, 0, 0))); }
    int Width(HWND window) const {
        const RECT rect = WindowRect(window);
        return rect.right - rect.left;
    }
    std::string MemoOnDisk() const { return ReadFileBytes(ProgramFile(L"Note.txt")).value_or("<unreadable>"); }

    // A point in a row, in screen coordinates: x from the row's left or,
    // when negative, from its right.
    POINT InRow(int row, int x, bool lower = false) const {
        RECT rect {};
        ::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        POINT point {x >= 0 ? rect.left + x : rect.right + x, lower ? rect.bottom - 4 : rect.top + 6};
        ::ClientToScreen(list_, &point);
        return point;
    }
    POINT Handle(int row) const { return InRow(row, 14, false); }
    POINT Triangle(int row) const {
        RECT client {};
        ::GetClientRect(list_, &client);
        RECT rect {};
        ::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        POINT point {client.right - 2 - 14, (rect.top + rect.bottom) / 2};
        ::ClientToScreen(list_, &point);
        return point;
    }

    HWND editor_ = nullptr;
    HWND sidebar_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(Sidebar, RowsFollowTheTextAndTheCaretAndMoveWholeMemos) {
    const std::string memo = Memo({"Shopping list\r\nmilk", "Meeting notes\r\nrelease plan", "Ideas\r\ntray panel",
                                   "Books\r\nPragmatic Programmer"});
    StartShown("[UI]\r\nTheme=Light\r\n[Editor]\r\nMemoFold=1\r\n", memo);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 5; }, 5s)) << Rows();
    Screenshot("light");

    // The caret's memo is selected.
    const std::wstring text = ControlText(editor_);
    const int ideas = static_cast<int>(text.find(L"Ideas"));
    ::SendMessageW(editor_, EM_SETSEL, ideas + 2, ideas + 2);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 3; }, 3s)) << Selected();

    // A click on a row puts the caret at its title.
    ClickAt(InRow(1, 60).x, InRow(1, 60).y);
    EXPECT_TRUE(WaitUntil([&] { return Caret() == static_cast<int>(text.find(L"Shopping")); }, 3s)) << Caret();
    EXPECT_EQ(Selected(), 1);

    // A new memo pasted at the end gets its row shortly after.
    const auto end = static_cast<WPARAM>(::SendMessageW(editor_, WM_GETTEXTLENGTH, 0, 0));
    ::SendMessageW(editor_, EM_SETSEL, end, static_cast<LPARAM>(end));
    const std::wstring late = std::wstring(30, L'-') + L"\r\nLate memo";
    ::SendMessageW(editor_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(late.c_str()));
    EXPECT_TRUE(WaitUntil([&] { return Rows() == 6; }, 5s)) << Rows();

    // The fold triangle folds the memo and remembers it.
    ClickAt(Triangle(2).x, Triangle(2).y);
    const int meetingBody = 7;  // "release plan"
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciGetLineVisible, meetingBody, 0) == 0; }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return !ReadConfigValue(L"Sidebar", L"Folded").value_or(L"").empty(); }, 3s));
    Screenshot("folded");
    std::this_thread::sleep_for(700ms);  // not a double click, which does nothing more
    ClickAt(Triangle(2).x, Triangle(2).y);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciGetLineVisible, meetingBody, 0) != 0; }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Sidebar", L"Folded").value_or(L"x").empty(); }, 3s));

    // Dragging "Books" by its handle above "Shopping list" moves the whole memo.
    ASSERT_TRUE(WaitUntil([&] { return MemoOnDisk().find("Late memo") != std::string::npos; }, 6s));
    const std::string before = MemoOnDisk();
    DragMouse(Handle(4), InRow(1, 60), 400ms, [] { Screenshot("dragging"); });
    std::string moved = Memo({"Books\r\nPragmatic Programmer", "Shopping list\r\nmilk",
                              "Meeting notes\r\nrelease plan", "Ideas\r\ntray panel"});
    moved.append(kDivider).append("\r\nLate memo");
    EXPECT_TRUE(WaitUntil([&] { return MemoOnDisk() == moved; }, 6s)) << MemoOnDisk();
    EXPECT_EQ(Selected(), 1) << "the moved memo stays selected";

    // Dropped just below itself: nothing changes.
    DragMouse(Handle(2), InRow(2, 60, true), 400ms);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(ControlText(editor_), std::wstring(moved.begin() + 3, moved.end()));

    // One Ctrl+Z in the list undoes the move in the editor.
    PressKey('Z', true);
    EXPECT_TRUE(WaitUntil([&] { return MemoOnDisk() == before; }, 6s)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Sidebar, CtrlBAndTheSplitterResizeThePanel) {
    StartShown("[UI]\r\nTheme=Dark\r\n[Sidebar]\r\nWidth=1000\r\n", Memo({"First\r\nbody", "Second\r\nbody"}));
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 3; }, 5s));
    EXPECT_EQ(Width(sidebar_), 400) << "a stored 1000 is clamped to 400";
    const int panelWidth = Width(panel_);
    Screenshot("dark-wide");

    // Ctrl+B from the editor hides the sidebar and narrows the panel.
    const RECT editor = WindowRect(editor_);
    ClickAt(editor.left + 80, editor.top + 10);
    PressKey('B', true);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(sidebar_); }, 3s));
    EXPECT_EQ(Width(panel_), panelWidth - 400);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Sidebar", L"Visible") == L"0"; }, 3s));
    PressKey('B', true);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(sidebar_) != FALSE; }, 3s));
    EXPECT_EQ(Width(panel_), panelWidth);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Sidebar", L"Visible") == L"1"; }, 3s));

    // The splitter at the sidebar's left edge: 100 px to the right narrows it.
    const RECT sidebar = WindowRect(sidebar_);
    DragMouse({sidebar.left + 1, sidebar.top + 40}, {sidebar.left + 101, sidebar.top + 40}, 100ms);
    EXPECT_TRUE(WaitUntil([&] { return Width(sidebar_) == 300; }, 3s)) << Width(sidebar_);
    EXPECT_EQ(Width(panel_), panelWidth - 100);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Sidebar", L"Width") == L"300"; }, 3s));
    Screenshot("dark-narrowed");

    // Ctrl+F3 on a word marks it everywhere and counts it per memo; the
    // first Esc clears the marks, the second hides the panel.
    ClickAt(editor.left + 80, editor.top + 10);
    const std::wstring text = ControlText(editor_);
    const auto body = static_cast<WPARAM>(text.find(L"body") + 1);
    ::SendMessageW(editor_, EM_SETSEL, body, static_cast<LPARAM>(body));
    PressKey(VK_F3, true);
    constexpr unsigned kSciIndicatorValueAt = 2507;
    const auto bodyByte = static_cast<WPARAM>(text.rfind(L"body"));
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciIndicatorValueAt, 0, bodyByte) != 0; }, 3s));
    std::this_thread::sleep_for(300ms);
    Screenshot("dark-highlighted-with-counts");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciIndicatorValueAt, 0, bodyByte) == 0; }, 3s));
    EXPECT_TRUE(::IsWindowVisible(panel_));
    EXPECT_EQ(ReadConfigValue(L"Search", L"History0"), L"body");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel_); }, 3s));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
