// Light or dark: the effective theme, and telling Windows and the program's
// windows about it.
#include "app/theme_win.h"

#include "app/app_win.h"
#include "app/theme_rules.h"
#include "editor/editor_host_win.h"
#include "platform/wide_win.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <string>

namespace quillpane {
namespace {

// Windows 10 2004 and later; older headers lack the name.
constexpr DWORD kDwmUseImmersiveDarkMode = 20;

// The undocumented uxtheme exports, reachable by ordinal only.
constexpr WORD kOrdinalAllowDarkModeForWindow = 133;
constexpr WORD kOrdinalSetPreferredAppMode = 135;
constexpr WORD kOrdinalFlushMenuThemes = 136;

using AllowDarkModeForWindowFn = BOOLEAN(WINAPI*)(HWND, BOOLEAN);
using SetPreferredAppModeFn = int(WINAPI*)(int);
using FlushMenuThemesFn = void(WINAPI*)();

HMODULE UxTheme() {
    static const HMODULE module = [] {
        HMODULE loaded = ::GetModuleHandleW(L"uxtheme.dll");
        if (loaded == nullptr) loaded = ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return loaded;
    }();
    return module;
}

template <typename Fn>
Fn Export(WORD ordinal) {
    HMODULE module = UxTheme();
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

void SetPreferredAppMode(int mode) {
    if (auto fn = Export<SetPreferredAppModeFn>(kOrdinalSetPreferredAppMode)) fn(mode);
}

void FlushMenuThemes() {
    if (auto fn = Export<FlushMenuThemesFn>(kOrdinalFlushMenuThemes)) fn();
}

void AllowDarkModeForWindow(HWND window, bool allow) {
    if (auto fn = Export<AllowDarkModeForWindowFn>(kOrdinalAllowDarkModeForWindow)) fn(window, allow ? TRUE : FALSE);
}

void SetDarkFrame(HWND window, bool dark) {
    const BOOL value = dark ? TRUE : FALSE;
    ::DwmSetWindowAttribute(window, kDwmUseImmersiveDarkMode, &value, sizeof(value));
}

void SetControlTheme(HWND window, bool dark) {
    const std::u16string name(ControlThemeName(dark));
    ::SetWindowTheme(window, WidePtr(name), nullptr);
}

BOOL CALLBACK DarkenMenuWindow(HWND window, LPARAM lParam) {
    const bool dark = lParam != 0;
    wchar_t className[16] {};
    if (::IsWindowVisible(window) && ::GetClassNameW(window, className, 16) > 0 &&
        std::wstring_view(className) == L"#32768") {
        AllowDarkModeForWindow(window, dark);
        SetDarkFrame(window, dark);
        ::InvalidateRect(window, nullptr, TRUE);
    }
    return TRUE;
}

void Redraw(HWND window, UINT flags) {
    if (window != nullptr) ::RedrawWindow(window, nullptr, nullptr, flags);
}

}  // namespace

void AllowDarkModeForProcess() {
    SetPreferredAppMode(kAppModeAllowDark);
}

bool SystemPrefersDark() {
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LSTATUS status =
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                       L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return SystemDarkFromAppsUseLightTheme(status == ERROR_SUCCESS ? std::optional<std::uint32_t>(value) : std::nullopt);
}

void ApplyTheme(App& app) {
    const Theme setting = app.config.ui.theme;
    const ResolvedTheme resolved = ResolveTheme(setting, setting == Theme::FollowOs && SystemPrefersDark());
    ThemeState& theme = app.theme;
    theme.isDark = resolved.isDark;
    theme.appMode = resolved.appMode;
    theme.menusDark = resolved.isDark;
    SetPreferredAppMode(theme.appMode);
    FlushMenuThemes();

    const bool suspend = app.panel != nullptr && app.shell.shown && ::IsWindowVisible(app.panel);
    if (suspend) {
        ::SendMessageW(app.panel, WM_SETREDRAW, FALSE, 0);
        if (app.editor != nullptr) ::SendMessageW(app.editor, WM_SETREDRAW, FALSE, 0);
    }

    SetTheme(app, theme.isDark);
    if (app.editor != nullptr) {
        SetControlTheme(app.editor, theme.isDark);
        MeasureEditorFont(app);
        ApplyMargins(app);
    }
    if (app.panel != nullptr) {
        AllowDarkModeForWindow(app.panel, theme.menusDark);
        SetDarkFrame(app.panel, theme.menusDark);
        ::InvalidateRect(app.panel, nullptr, FALSE);
    }

    if (suspend) {
        ::SendMessageW(app.panel, WM_SETREDRAW, TRUE, 0);
        if (app.editor != nullptr) ::SendMessageW(app.editor, WM_SETREDRAW, TRUE, 0);
        constexpr UINT kAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
        Redraw(app.editor, kAll);
        Redraw(app.panel, kAll);
    }
}

bool OnThemeSettingChange(App& app, LPARAM lParam) {
    if (lParam == 0) return false;
    const std::wstring_view area(reinterpret_cast<const wchar_t*>(lParam));
    if (!FollowsSystemChange(app.config.ui.theme, FromWide(area))) return false;
    ApplyTheme(app);
    return true;
}

void DarkenMenus(const App& app) {
    ::EnumThreadWindows(::GetCurrentThreadId(), DarkenMenuWindow, app.theme.menusDark ? 1 : 0);
}

void ApplyDialogTheme(HWND window, bool dark) {
    AllowDarkModeForWindow(window, dark);
    SetControlTheme(window, dark);
    ::SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

}  // namespace quillpane
