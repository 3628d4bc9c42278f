// Light or dark: the effective theme, and telling Windows and the program's
// windows about it.
#include "app/theme_win.h"

#include "app/app_win.h"
#include "app/editor_settings_win.h"
#include "app/search_dialog_win.h"
#include "app/theme_rules.h"
#include "editor/editor_host_win.h"
#include "platform/system_calls_win.h"
#include "platform/wide_win.h"

#include <uxtheme.h>

#include <string>

namespace quillpane {
namespace {

// Windows 10 2004 and later; older headers lack the name.
constexpr DWORD kDwmUseImmersiveDarkMode = 20;

void SetPreferredAppMode(int mode) {
    if (const auto fn = System().setPreferredAppMode) fn(mode);
}

void FlushMenuThemes() {
    if (const auto fn = System().flushMenuThemes) fn();
}

void AllowDarkModeForWindow(HWND window, bool allow) {
    if (const auto fn = System().allowDarkModeForWindow) fn(window, allow ? TRUE : FALSE);
}

void SetDarkFrame(HWND window, bool dark) {
    const BOOL value = dark ? TRUE : FALSE;
    if (const auto fn = System().dwmSetWindowAttribute) fn(window, kDwmUseImmersiveDarkMode, &value, sizeof(value));
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
        if (app.editor.hwnd != nullptr) ::SendMessageW(app.editor.hwnd, WM_SETREDRAW, FALSE, 0);
    }

    SetTheme(app, theme.isDark);
    if (app.editor.hwnd != nullptr) {
        SetControlTheme(app.editor.hwnd, theme.isDark);
        MeasureEditorFont(app.editor);
        ApplyMargins(app.editor);
    }
    SearchDialogThemeChanged(app);
    StatusLabelThemeChanged(app);
    ChromeThemeChanged(app);
    GoToLineThemeChanged(app);
    HeadingListThemeChanged(app);
    if (app.panel != nullptr) {
        AllowDarkModeForWindow(app.panel, theme.menusDark);
        SetDarkFrame(app.panel, theme.menusDark);
        ::InvalidateRect(app.panel, nullptr, FALSE);
    }

    if (suspend) {
        ::SendMessageW(app.panel, WM_SETREDRAW, TRUE, 0);
        if (app.editor.hwnd != nullptr) ::SendMessageW(app.editor.hwnd, WM_SETREDRAW, TRUE, 0);
        constexpr UINT kAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
        Redraw(app.editor.hwnd, kAll);
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

void ThemeToolWindow(HWND window, bool dark) {
    AllowDarkModeForWindow(window, dark);
    SetDarkFrame(window, dark);
}

}  // namespace quillpane
