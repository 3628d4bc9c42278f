// The panel's title strip as a user meets it: the nine buttons beside the
// title, the pin, translucency, the unsaved dot, and the status label.
#include "e2e_fixture.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr UINT kCommandTranslucent = 1165;
constexpr UINT kCommandOpacity70 = 1163;

struct ButtonSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectButton(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ButtonSearch*>(lParam);
    wchar_t name[32] {};
    ::GetClassNameW(window, name, 32);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process && std::wstring_view(name) == L"Quillpn.TitleIconBtn") search->found.push_back(window);
    return TRUE;
}

class Chrome : public AppScenario {
protected:
    void StartShown(const std::string& config) {
        WriteConfig(config);
        WriteMemo("\xEF\xBB\xBF" "first line\r\nsecond line");
        ASSERT_NE(Start(), nullptr);
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
    }

    // The visible buttons, from right to left.
    std::vector<RECT> Buttons() const {
        ButtonSearch search {app_.ProcessId(), {}};
        ::EnumWindows(CollectButton, reinterpret_cast<LPARAM>(&search));
        std::vector<RECT> rects;
        for (HWND button : search.found) {
            if (::IsWindowVisible(button)) rects.push_back(WindowRect(button));
        }
        std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.left > b.left; });
        return rects;
    }

    // Whether the unsaved dot's orange shows in the title strip, left of the buttons.
    bool DotShown(const RECT& firstButton) const {
        const RECT panel = WindowRect(panel_);
        HDC screen = ::GetDC(nullptr);
        bool found = false;
        const int y = (firstButton.top + firstButton.bottom) / 2;
        for (int x = panel.left + 10; x < firstButton.left && !found; ++x) {
            for (int dy = -2; dy <= 2 && !found; ++dy) found = ::GetPixel(screen, x, y + dy) == RGB(224, 150, 40);
        }
        ::ReleaseDC(nullptr, screen);
        return found;
    }

    BYTE Alpha() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!::GetLayeredWindowAttributes(panel_, nullptr, &alpha, &flags)) return 0;
        return alpha;
    }

    HWND editor_ = nullptr;
};

TEST_F(Chrome, ButtonsPinAndTranslucencyFollowTheUser) {
    StartShown("[UI]\r\nTheme=Light\r\n");
    std::vector<RECT> buttons;
    ASSERT_TRUE(WaitUntil([&] { return (buttons = Buttons()).size() == 9; }, 5s)) << buttons.size();
    const RECT panel = WindowRect(panel_);
    EXPECT_EQ(buttons[0].right, panel.right - 8) << "close button 8 px from the right edge";
    const int gaps[] = {8, 8, 2, 2, 2, 2, 2, 2};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].right - buttons[i].left, 22);
        EXPECT_EQ(buttons[i].bottom - buttons[i].top, 22);
        EXPECT_EQ(buttons[i].top, panel.top + 5);
        if (i > 0) {
            EXPECT_EQ(buttons[i - 1].left - buttons[i].right, gaps[i - 1]) << i;
        }
    }

    // Typing leaves an unsaved edit: the dot shows until the autosave.
    EXPECT_FALSE(DotShown(buttons[8]));
    ClickAt(panel.left + 100, WindowRect(editor_).top + 10);
    TypeText(L"x");
    EXPECT_TRUE(WaitUntil([&] { return DotShown(buttons[8]); }, 1s));
    Screenshot("light-unsaved-dot");
    EXPECT_TRUE(WaitUntil([&] { return !DotShown(buttons[8]); }, 5s)) << "the autosave clears it";

    // The pin (fifth from the right) keeps the panel on top, and says so on disk.
    const RECT pin = buttons[4];
    ClickAt((pin.left + pin.right) / 2, (pin.top + pin.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return (::GetWindowLongW(panel_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"General", L"AlwaysOnTop") == L"1"; }, 3s));

    // Alt+P: translucent at the stored 80 %; a preset sets 70 %.
    PressKey('P', false, false, true);
    EXPECT_TRUE(WaitUntil([&] { return (::GetWindowLongW(panel_, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 && Alpha() == 204; },
                          3s))
        << int(Alpha());
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"UI", L"Translucent") == L"1"; }, 3s));
    ::PostMessageW(panel_, WM_COMMAND, kCommandOpacity70, 0);
    EXPECT_TRUE(WaitUntil([&] { return Alpha() == 179; }, 3s)) << int(Alpha());
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"UI", L"Opacity") == L"70"; }, 3s));
    std::this_thread::sleep_for(300ms);
    Screenshot("light-pinned-translucent");
    ::PostMessageW(panel_, WM_COMMAND, kCommandTranslucent, 0);
    EXPECT_TRUE(WaitUntil([&] { return (::GetWindowLongW(panel_, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 3s));

    // Alt+S: the settings menu under the ⋮ button.
    ClickAt(panel.left + 100, WindowRect(editor_).top + 10);
    PressKey('S', false, false, true);
    EXPECT_TRUE(WaitUntil([&] { return FindTopWindow(L"#32768", app_.ProcessId()) != nullptr; }, 3s));
    std::this_thread::sleep_for(300ms);
    Screenshot("light-more-menu");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return FindTopWindow(L"#32768", app_.ProcessId()) == nullptr; }, 3s));

    // Hidden with the panel.
    ::PostMessageW(panel_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Buttons().empty(); }, 3s));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Chrome, DarkAt144DpiScalesTheStrip) {
    SetSystemDpi(144);
    StartShown("[UI]\r\nTheme=Dark\r\n");
    std::vector<RECT> buttons;
    ASSERT_TRUE(WaitUntil([&] { return (buttons = Buttons()).size() == 9; }, 5s)) << buttons.size();
    EXPECT_EQ(buttons[0].right - buttons[0].left, 33);
    EXPECT_EQ(buttons[0].right, WindowRect(panel_).right - 12);
    ::SendMessageW(editor_, EM_SETSEL, 0, 10);
    HWND label = FindTopWindow(L"QuillpnCharCountLabel", app_.ProcessId());
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(label) != FALSE; }, 3s));
    const RECT labelRect = WindowRect(label);
    const RECT editorRect = WindowRect(editor_);
    EXPECT_EQ(labelRect.top, editorRect.bottom);
    EXPECT_EQ(labelRect.bottom - labelRect.top, 36);
    std::this_thread::sleep_for(300ms);
    Screenshot("dark-144");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
