// Showing, hiding, placing and toggling the panel.
#include "e2e_fixture.h"

#include <thread>

namespace quillpane::e2e {
namespace {

// The heading sidebar is shown by default; the window adds its width to [Window] W.
constexpr int kSidebarWidth = 220;

class Panel : public AppScenario {
protected:
    void SetUp() override {
        AppScenario::SetUp();
        // An existing memo: no first-run flow.
        WriteMemo("\xEF\xBB\xBFline one\r\nline two");
    }

    bool Visible() const { return ::IsWindowVisible(panel_) != FALSE; }
    bool WaitVisible(bool visible) {
        return WaitUntil([&] { return Visible() == visible; }, 5s);
    }
    void Toggle(WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(panel_, ToggleMessage(), wParam, lParam); }

    static RECT WorkArea() {
        RECT work {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
};

TEST_F(Panel, SecondLaunchShowsItCentredAndFocusedAndTypingReachesTheEditor) {
    ASSERT_NE(Start(), nullptr);
    AppProcess second = LaunchApp();
    EXPECT_EQ(second.WaitForExit(20s), std::optional<DWORD>(0));
    ASSERT_TRUE(WaitVisible(true));
    const RECT work = WorkArea();
    const RECT rect = WindowRect(panel_);
    EXPECT_EQ(rect.right - rect.left, 640 + kSidebarWidth);
    EXPECT_EQ(rect.bottom - rect.top, 440);
    EXPECT_EQ(rect.left, (work.left + work.right) / 2 - (640 + kSidebarWidth) / 2);
    EXPECT_EQ(rect.top, (work.top + work.bottom) / 2 - 220);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == panel_; }, 3s));
    HWND editor = FindChildByClass(panel_, L"Scintilla");
    // The focus follows the activation within the same show; ask until then.
    const auto focus = [&] {
        GUITHREADINFO info {};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(panel_, nullptr), &info);
        return info.hwndFocus;
    };
    EXPECT_TRUE(WaitUntil([&] { return focus() == editor; }, 3s));
    EXPECT_EQ(focus(), editor);

    // A click gives the Wine window the X focus; then keys arrive.
    ClickAt(rect.left + 200, rect.top + 200);
    PressKey(VK_HOME, true);
    TypeText(L"typed ");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor).rfind(L"typed ", 0) == 0; }, 3s)) << ControlText(editor).c_str();
    Screenshot("shown-centred-after-typing");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, TwoTogglesWithin250MillisecondsShowOnce) {
    WriteConfig("");
    ASSERT_NE(Start(), nullptr);
    Toggle();
    std::this_thread::sleep_for(200ms);
    Toggle();
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(Visible());
    Toggle();
    EXPECT_TRUE(WaitVisible(false)) << "a toggle after 250 ms hides";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, MovedPanelIsRememberedAndReopensThere) {
    WriteConfig("");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    ::SetWindowPos(panel_, nullptr, 200, 150, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    std::this_thread::sleep_for(300ms);
    Toggle();
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_EQ(ReadConfigValue(L"Window", L"X"), L"200");
    EXPECT_EQ(ReadConfigValue(L"Window", L"Y"), L"150");
    EXPECT_EQ(ReadConfigValue(L"Window", L"W"), L"480") << "the editor column only: 700 less the sidebar";
    EXPECT_EQ(ReadConfigValue(L"Window", L"H"), L"500");
    EXPECT_EQ(ReadConfigValue(L"Window", L"PosValid"), L"1");
    std::this_thread::sleep_for(300ms);
    Toggle();
    ASSERT_TRUE(WaitVisible(true));
    const RECT rect = WindowRect(panel_);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.right - rect.left, 700);
    Screenshot("reopened-at-remembered-place");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, StoredPlaceOutsideTheScreenIsPulledInside) {
    WriteConfig("[Window]\r\nPosValid=1\r\nX=5000\r\nY=-3000\r\nW=640\r\nH=440\r\nWExcludesSidebar=1\r\n");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    const RECT work = WorkArea();
    const RECT rect = WindowRect(panel_);
    EXPECT_EQ(rect.right, work.right);
    EXPECT_EQ(rect.top, work.top);
    EXPECT_EQ(rect.right - rect.left, 640 + kSidebarWidth);
    Screenshot("pulled-inside");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, ShowAtPointGrowsUpAndLeftAndIsNotRemembered) {
    WriteConfig("[Window]\r\nPosValid=1\r\nX=100\r\nY=100\r\nW=640\r\nH=440\r\nWExcludesSidebar=1\r\n");
    ASSERT_NE(Start(), nullptr);
    const RECT work = WorkArea();
    const int x = work.right - 100;
    const int y = work.bottom - 80;
    Toggle(1, MAKELPARAM(x, y));
    ASSERT_TRUE(WaitVisible(true));
    const RECT rect = WindowRect(panel_);
    EXPECT_EQ(rect.right, x);
    EXPECT_EQ(rect.bottom, y);
    Screenshot("shown-at-point");
    std::this_thread::sleep_for(300ms);
    Toggle();
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_EQ(ReadConfigValue(L"Window", L"X"), L"100");
    EXPECT_EQ(ReadConfigValue(L"Window", L"Y"), L"100");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, HotkeyTogglesWhileAWineWindowHasTheFocus) {
    WriteConfig("[Shortcut]\r\nKey=Ctrl+Shift+VK_F11\r\n");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    const RECT rect = WindowRect(panel_);
    ClickAt(rect.left + 200, rect.top + 200);
    std::this_thread::sleep_for(300ms);
    PressKey(VK_F11, true, true);
    EXPECT_TRUE(WaitVisible(false)) << "the hotkey did not hide the panel";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Panel, HotkeyHeldByAnotherProgramLeavesTheProgramRunningWithoutIt) {
    ASSERT_TRUE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, VK_F11));
    WriteConfig("[Shortcut]\r\nKey=Ctrl+Shift+VK_F11\r\n");
    ASSERT_NE(Start(), nullptr);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(app_.Running());
    // The stored key stays; the panel still answers the other ways in.
    EXPECT_EQ(ReadConfigValue(L"Shortcut", L"Key"), L"Ctrl+Shift+VK_F11");
    Toggle(2);
    EXPECT_TRUE(WaitVisible(true));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    ::UnregisterHotKey(nullptr, 7);
}

// A plain window of the driver's own that can take the foreground.
HWND CreateOtherWindow() {
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QpE2eOther";
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_HIGHLIGHT);
    ::RegisterClassW(&windowClass);
    return ::CreateWindowExW(0, L"QpE2eOther", L"Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900, 100, 400, 300,
                             nullptr, nullptr, windowClass.hInstance, nullptr);
}

void PumpFor(Duration duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        std::this_thread::sleep_for(20ms);
    }
}

TEST_F(Panel, CloseOnFocusLostHidesUnlessAlwaysOnTop) {
    WriteConfig("[General]\r\nCloseOnFocusLost=1\r\nAlwaysOnTop=1\r\n");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    // Shown and in front: another window taking the foreground before the
    // show has finished would only lose it again.
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == panel_; }, 5s));
    HWND other = CreateOtherWindow();
    ASSERT_NE(other, nullptr);
    ::SetForegroundWindow(other);
    ClickAt(1000, 200);
    PumpFor(1500ms);
    EXPECT_TRUE(Visible()) << "AlwaysOnTop must keep the panel";
    EXPECT_NE(::GetWindowLongPtrW(panel_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    Screenshot("always-on-top-kept");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    ::DestroyWindow(other);

    WriteConfig("[General]\r\nCloseOnFocusLost=1\r\n");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == panel_; }, 5s));
    other = CreateOtherWindow();
    PumpFor(300ms);
    ::SetForegroundWindow(other);
    ClickAt(1000, 200);
    PumpFor(200ms);
    // On a busy machine the click can come before the other window is up:
    // click it again, as a user would.
    bool hidden = false;
    for (int attempt = 0; attempt < 3 && !hidden; ++attempt) {
        if (attempt > 0) ClickAt(1000, 200);
        hidden = WaitUntil([&] { PumpFor(50ms); return !Visible(); }, 3s);
    }
    EXPECT_TRUE(hidden) << "focus loss did not hide the panel";
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    ::DestroyWindow(other);
}

TEST_F(Panel, At144DpiTheDefaultEditorColumnIs960By660) {
    SetSystemDpi(144);
    WriteConfig("");
    ASSERT_NE(Start(), nullptr);
    Toggle(2);
    ASSERT_TRUE(WaitVisible(true));
    const RECT rect = WindowRect(panel_);
    EXPECT_EQ(rect.right - rect.left, 960 + kSidebarWidth * 3 / 2);
    EXPECT_EQ(rect.bottom - rect.top, 660);
    Screenshot("shown-at-144-dpi");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
