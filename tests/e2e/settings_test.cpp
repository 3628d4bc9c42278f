// The settings window, the hotkey capture, run at startup and the About card
// as a user meets them, with what lands in config.ini and the Startup folder.
#include "e2e_fixture.h"

#include "app/settings_rules.h"

#include <objbase.h>
#include <shlobj.h>

#include <thread>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr UINT kCommandSettings = 1169;
constexpr UINT kCommandAboutTray = 1036;
constexpr wchar_t kSettingsClass[] = L"Quillpn.Settings";
constexpr wchar_t kBodyClass[] = L"Quillpn.SettingsBody";
constexpr wchar_t kAboutClass[] = L"Quillpn.AboutWindow";

template <typename Function>
Function Procedure(HMODULE module, const char* name) {
    // Through void(*)(): the one function-pointer cast GCC takes without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The shell's own link object; ole32 is loaded here because the driver does not link it.
class ShellLink {
public:
    ShellLink() {
        HMODULE ole = ::LoadLibraryW(L"ole32.dll");
        const auto initialize = Procedure<HRESULT(WINAPI*)(LPVOID, DWORD)>(ole, "CoInitializeEx");
        const auto create =
            Procedure<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(ole, "CoCreateInstance");
        uninitialize_ = Procedure<void(WINAPI*)()>(ole, "CoUninitialize");
        if (initialize == nullptr || create == nullptr || uninitialize_ == nullptr) return;
        initialize(nullptr, COINIT_APARTMENTTHREADED);
        // {00021401-0000-0000-C000-000000000046}
        constexpr CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        if (FAILED(create(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                          reinterpret_cast<void**>(&link_)))) {
            link_ = nullptr;
            return;
        }
        if (FAILED(link_->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file_)))) file_ = nullptr;
    }
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;
    ~ShellLink() {
        if (file_ != nullptr) file_->Release();
        if (link_ != nullptr) link_->Release();
        if (uninitialize_ != nullptr) uninitialize_();
    }

    std::wstring TargetOf(const std::wstring& path) {
        wchar_t target[MAX_PATH] {};
        if (file_ == nullptr || FAILED(file_->Load(path.c_str(), STGM_READ)) ||
            FAILED(link_->GetPath(target, MAX_PATH, nullptr, 0))) {
            return L"<unreadable>";
        }
        return target;
    }

    bool Write(const std::wstring& path, const std::wstring& target) {
        return file_ != nullptr && SUCCEEDED(link_->SetPath(target.c_str())) &&
               SUCCEEDED(file_->Save(path.c_str(), TRUE));
    }

private:
    IShellLinkW* link_ = nullptr;
    IPersistFile* file_ = nullptr;
    void(WINAPI* uninitialize_)() = nullptr;
};

std::wstring ShortcutTarget(const std::wstring& path) {
    return ShellLink().TargetOf(path);
}

std::wstring StartupShortcut() {
    return KnownFolder(FOLDERID_Startup) + L"\\Quillpn.lnk";
}

// The program under test as a full path, the way the shortcut holds it.
std::wstring AppPath() {
    wchar_t path[MAX_PATH] {};
    ::GetEnvironmentVariableW(L"QP_APP", path, MAX_PATH);
    wchar_t full[MAX_PATH] {};
    ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return full;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

POINT Centre(HWND window) {
    const RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickCentre(HWND window) {
    const POINT at = Centre(window);
    ClickAt(at.x, at.y);
}

// A plain window of the driver's own: a Wine window must hold the X focus
// for a global hotkey to arrive.
HWND CreateFocusWindow() {
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QpE2eSettingsFocus";
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_HIGHLIGHT);
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"focus", WS_POPUP | WS_VISIBLE, 40, 40, 200, 120,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
    return window;
}

class Settings : public AppScenario {
protected:
    void StartWithMemo(const std::string& config) {
        WriteConfig(config);
        WriteMemo("\xEF\xBB\xBF" "memo");
        ASSERT_NE(Start(), nullptr);
    }

    std::vector<HWND> Windows(const wchar_t* className) const { return TopWindows(className, app_.ProcessId()); }

    HWND WaitForSettings() {
        HWND window = WaitForTopWindow(kSettingsClass, app_.ProcessId(), 10s);
        EXPECT_NE(window, nullptr) << "no settings window";
        if (window != nullptr) {
            EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5s));
        }
        settings_ = window;
        body_ = window != nullptr ? ::FindWindowExW(window, nullptr, kBodyClass, nullptr) : nullptr;
        return window;
    }

    HWND OpenSettings() {
        ::PostMessageW(panel_, WM_COMMAND, kCommandSettings, 0);
        return WaitForSettings();
    }

    bool WaitSettingsClosed() {
        return WaitUntil([&] { return Windows(kSettingsClass).empty(); }, 10s);
    }

    HWND Control(SettingsControl control) const {
        const int id = SettingsControlId(control);
        if (control == SettingsControl::Ok || control == SettingsControl::Cancel) return ::GetDlgItem(settings_, id);
        return ::GetDlgItem(body_, id);
    }

    void PressOk() {
        ClickCentre(Control(SettingsControl::Ok));
        ASSERT_TRUE(WaitSettingsClosed()) << "OK did not close the settings window";
    }

    // The window closes before its values are applied and saved.
    static ::testing::AssertionResult WaitConfig(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        if (WaitUntil([&] { return ReadConfigValue(section, key) == std::optional<std::wstring>(value); }, 5s)) {
            return ::testing::AssertionSuccess();
        }
        const std::wstring found = ReadConfigValue(section, key).value_or(L"<none>");
        return ::testing::AssertionFailure() << std::string(found.begin(), found.end());
    }

    bool WaitVisible(bool visible) {
        return WaitUntil([&] { return (::IsWindowVisible(panel_) != FALSE) == visible; }, 5s);
    }

    HWND settings_ = nullptr;
    HWND body_ = nullptr;
};

TEST_F(Settings, FirstRunOpensBeforeThePanelAndEscLeavesItInTheTray) {
    // No config.ini and no memo: the defaults, RunAtStartup=1 among them.
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(WaitForSettings(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(panel_));
    EXPECT_TRUE(FileExists(ProgramFile(L"Note.txt")));
    EXPECT_EQ(Lower(ShortcutTarget(StartupShortcut())), Lower(AppPath())) << "the start-up shortcut";
    std::this_thread::sleep_for(500ms);
    Screenshot("first-run");

    // A click for the X focus, on the button bar's empty left part.
    const RECT window = WindowRect(settings_);
    ClickAt(window.left + 40, window.bottom - 30);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitSettingsClosed()) << "Esc did not close the settings window";
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(app_.Running());
    EXPECT_FALSE(::IsWindowVisible(panel_));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Settings, NumbersAreClampedAndTheLanguageReachesTheTooltips) {
    StartWithMemo("[UI]\r\nTheme=Light\r\n[Sidebar]\r\nVisible=0\r\n");
    ASSERT_NE(OpenSettings(), nullptr);
    HWND interval = Control(SettingsControl::Interval);
    HWND generations = Control(SettingsControl::Generations);
    EXPECT_EQ(ControlText(interval), L"10");
    // The list shows the Windows display language while none is chosen.
    EXPECT_EQ(::SendMessageW(Control(SettingsControl::Language), CB_GETCURSEL, 0, 0), 0);

    ClickCentre(interval);
    ::SendMessageW(interval, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    TypeText(L"50000");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(interval) == L"5000"; }, 3s)) << ControlText(interval);
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(interval) == L"1440"; }, 3s)) << ControlText(interval);
    ::SendMessageW(generations, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ::SendMessageW(Control(SettingsControl::Language), CB_SETCURSEL, 7, 0);  // Deutsch
    Screenshot("values-entered");
    PressOk();
    EXPECT_TRUE(WaitConfig(L"Backup", L"IntervalMinutes", L"1440"));
    EXPECT_TRUE(WaitConfig(L"Backup", L"MaxGenerations", L"30"));
    EXPECT_TRUE(WaitConfig(L"UI", L"Language", L"de"));
    EXPECT_TRUE(WaitConfig(L"UI", L"Theme", L"Light"));

    // The close button's tooltip now speaks German.
    ::PostMessageW(panel_, ToggleMessage(), 2, 0);
    ASSERT_TRUE(WaitVisible(true));
    std::vector<HWND> buttons;
    ASSERT_TRUE(WaitUntil([&] { return (buttons = Windows(L"Quillpn.TitleIconBtn")).size() == 9; }, 5s));
    HWND tip = nullptr;
    bool shown = false;
    // On a busy machine the buttons may still be moving into place, or the
    // hover missed: find the rightmost button again and move onto it again.
    for (int attempt = 0; attempt < 4 && !shown; ++attempt) {
        std::this_thread::sleep_for(300ms);
        HWND close = buttons.front();
        for (HWND button : buttons) {
            if (WindowRect(button).left > WindowRect(close).left) close = button;
        }
        const POINT at = Centre(close);
        ::SetCursorPos(at.x - 3, at.y);
        std::this_thread::sleep_for(100ms);
        ::SetCursorPos(at.x, at.y);
        shown = WaitUntil(
            [&] {
                for (HWND candidate : Windows(L"tooltips_class32")) {
                    if (::IsWindowVisible(candidate)) tip = candidate;
                }
                return tip != nullptr;
            },
            3s);
    }
    ASSERT_TRUE(shown) << "no tooltip";
    EXPECT_EQ(ControlText(tip), L"Panel schließen");
    Screenshot("german-tooltip");

    // Reopened, the window is German and still shows what was stored.
    ASSERT_NE(OpenSettings(), nullptr);
    EXPECT_EQ(WindowText(settings_), L"Quillpane-Einstellungen");
    EXPECT_EQ(::SendMessageW(Control(SettingsControl::Language), CB_GETCURSEL, 0, 0), 7);
    EXPECT_EQ(ControlText(Control(SettingsControl::Generations)), L"30");
    ::PostMessageW(settings_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitSettingsClosed());
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Settings, CapturedHotkeyReplacesTheOldOne) {
    StartWithMemo("[UI]\r\nTheme=Light\r\n[Shortcut]\r\nKey=Ctrl+VK_F1\r\n");
    ASSERT_NE(OpenSettings(), nullptr);
    HWND capture = Control(SettingsControl::Hotkey);
    const std::wstring before = ControlText(capture);
    EXPECT_NE(before.find(L"F1"), std::wstring::npos) << before;

    ClickCentre(capture);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(capture) == L"Hold Ctrl or Alt, then a key"; }, 3s))
        << ControlText(capture);
    // Shift alone is refused; Esc brings the old value back and keeps the window open.
    PressKey(VK_F5, false, true);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(capture) == L"Ctrl or Alt is required"; }, 3s));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(capture) == before; }, 3s)) << ControlText(capture);
    EXPECT_TRUE(::IsWindow(settings_));

    ClickCentre(capture);
    PressKey('K', true, true);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(capture) == L"Ctrl + Shift + K"; }, 3s)) << ControlText(capture);
    Screenshot("captured");
    PressOk();
    EXPECT_TRUE(WaitConfig(L"Shortcut", L"Key", L"Ctrl+Shift+VK_K"));

    HWND focus = CreateFocusWindow();
    ClickCentre(focus);
    PressKey('K', true, true);
    EXPECT_TRUE(WaitVisible(true)) << "the new hotkey did not show the panel";
    ClickCentre(focus);
    std::this_thread::sleep_for(300ms);
    PressKey(VK_F1, true);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(::IsWindowVisible(panel_)) << "the old hotkey still toggles";
    ::DestroyWindow(focus);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Settings, StartWithWindowsWritesAndRemovesTheShortcut) {
    // A shortcut left by a copy elsewhere is pointed at this executable at the start.
    const std::wstring shortcut = StartupShortcut();
    ASSERT_TRUE(ShellLink().Write(shortcut, L"C:\\windows\\notepad.exe"));
    StartWithMemo("[General]\r\nRunAtStartup=1\r\n");
    EXPECT_EQ(Lower(ShortcutTarget(shortcut)), Lower(AppPath()));

    ASSERT_NE(OpenSettings(), nullptr);
    HWND check = Control(SettingsControl::RunAtStartup);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickCentre(check);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PressOk();
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(shortcut); }, 5s)) << "the shortcut stayed";
    EXPECT_TRUE(WaitConfig(L"General", L"RunAtStartup", L"0"));

    ASSERT_NE(OpenSettings(), nullptr);
    check = Control(SettingsControl::RunAtStartup);
    ClickCentre(check);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    PressOk();
    EXPECT_TRUE(WaitUntil([&] { return FileExists(shortcut); }, 5s)) << "no shortcut";
    EXPECT_EQ(Lower(ShortcutTarget(shortcut)), Lower(AppPath()));
    EXPECT_TRUE(WaitConfig(L"General", L"RunAtStartup", L"1"));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Settings, AboutCardShowsTheVersionOnceAndClosesOnAClick) {
    StartWithMemo("");
    ::PostMessageW(panel_, WM_COMMAND, kCommandAboutTray, 0);
    HWND card = WaitForTopWindow(kAboutClass, app_.ProcessId(), 10s);
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(card) != FALSE; }, 5s));
    std::wstring version;
    for (HWND child = ::GetWindow(card, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = ControlText(child);
        if (text.rfind(L"Version ", 0) == 0) version = text.substr(8);
    }
    // The executable's own ProductVersion; version.dll is loaded here because the driver does not link it.
    HMODULE versionDll = ::LoadLibraryW(L"version.dll");
    ASSERT_NE(versionDll, nullptr);
    const auto infoSize = Procedure<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(versionDll, "GetFileVersionInfoSizeW");
    const auto info = Procedure<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(versionDll, "GetFileVersionInfoW");
    const auto query = Procedure<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>(versionDll, "VerQueryValueW");
    ASSERT_TRUE(infoSize != nullptr && info != nullptr && query != nullptr);
    const std::wstring app = AppPath();
    DWORD ignored = 0;
    std::vector<BYTE> block(infoSize(app.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(info(app.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), L"\\StringFileInfo\\040904b0\\ProductVersion", &value, &length));
    EXPECT_FALSE(version.empty());
    EXPECT_EQ(version, std::wstring(static_cast<const wchar_t*>(value)));
    Screenshot("about");

    ::PostMessageW(panel_, WM_COMMAND, kCommandAboutTray, 0);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Windows(kAboutClass).size(), 1u);

    const RECT rect = WindowRect(card);
    ClickAt(rect.left + 12, rect.bottom - 12);
    EXPECT_TRUE(WaitUntil([&] { return Windows(kAboutClass).empty(); }, 5s)) << "a click did not close it";
    EXPECT_TRUE(app_.Running());
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Settings, ExitOrAQuitWhileTheWindowIsOpenEndsTheProgram) {
    StartWithMemo("");
    ASSERT_NE(OpenSettings(), nullptr);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0)) << "Exit during the settings window";

    // A quit that reaches the window's own loop is passed on to the program's.
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenSettings(), nullptr);
    ::PostThreadMessageW(::GetWindowThreadProcessId(panel_, nullptr), WM_QUIT, 0, 0);
    EXPECT_TRUE(app_.WaitForExit(15s).has_value()) << "the program kept running after WM_QUIT";
}

// The window in English, Japanese, German and Polish, light and dark.
class SettingsLooks : public Settings {
protected:
    void ShootLanguages(const std::string& dpi) {
        StartWithMemo("[UI]\r\nTheme=Light\r\n");
        const std::pair<int, const char*> languages[] = {{1, "en"}, {2, "ja"}, {7, "de"}, {11, "pl"}};
        for (const auto& [entry, code] : languages) {
            ASSERT_NE(OpenSettings(), nullptr);
            ::SendMessageW(Control(SettingsControl::Language), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            PressOk();
            ASSERT_NE(OpenSettings(), nullptr);
            std::this_thread::sleep_for(300ms);
            Screenshot(dpi + "-" + code + "-light");
            HWND theme = Control(SettingsControl::Theme);
            ::SendMessageW(theme, CB_SETCURSEL, 2, 0);
            ::SendMessageW(body_, WM_COMMAND, MAKEWPARAM(SettingsControlId(SettingsControl::Theme), CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(theme));
            std::this_thread::sleep_for(300ms);
            Screenshot(dpi + "-" + code + "-dark");
            if (entry == 11) {
                // The longest list, open, in the dark colours.
                ::SendMessageW(Control(SettingsControl::Language), CB_SHOWDROPDOWN, TRUE, 0);
                std::this_thread::sleep_for(300ms);
                Screenshot(dpi + "-" + code + "-dark-list");
                ::SendMessageW(Control(SettingsControl::Language), CB_SHOWDROPDOWN, FALSE, 0);
            }
            // Cancel: the dark preview is not kept.
            ::PostMessageW(settings_, WM_CLOSE, 0, 0);
            ASSERT_TRUE(WaitSettingsClosed());
            EXPECT_TRUE(WaitConfig(L"UI", L"Theme", L"Light"));
        }
        EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    }
};

TEST_F(SettingsLooks, At96Dpi) {
    ShootLanguages("96");
}

TEST_F(SettingsLooks, At144Dpi) {
    SetSystemDpi(144);
    ShootLanguages("144");
}

// Taller than the screen at 192 DPI: the body scrolls, and a control that
// takes the focus is scrolled into view.
TEST_F(SettingsLooks, At192DpiTheBodyScrollsToTheFocus) {
    SetSystemDpi(192);
    StartWithMemo("[UI]\r\nTheme=Light\r\nLanguage=de\r\n");
    ASSERT_NE(OpenSettings(), nullptr);
    HWND bar = ::FindWindowExW(settings_, nullptr, L"ScrollBar", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(::IsWindowVisible(bar));
    std::this_thread::sleep_for(300ms);
    Screenshot("192-top");

    const RECT window = WindowRect(settings_);
    ClickAt(window.left + 40, window.bottom - 30);
    // From the language list down the first column to the caret list, below the body's bottom.
    HWND caret = Control(SettingsControl::Caret);
    const RECT body = WindowRect(body_);
    EXPECT_GT(WindowRect(caret).bottom, body.bottom);
    for (int i = 0; i < 7; ++i) PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(caret).bottom <= body.bottom; }, 3s))
        << "not scrolled into view: " << WindowRect(caret).bottom << " > " << body.bottom;
    std::this_thread::sleep_for(300ms);
    Screenshot("192-scrolled");
    ::PostMessageW(settings_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitSettingsClosed());
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
