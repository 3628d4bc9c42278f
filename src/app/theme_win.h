// Light or dark: the effective theme, and telling Windows and the program's
// windows about it.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

struct ThemeState {
    bool isDark = false;
    bool menusDark = false;  // the flag given to menus and window frames
    int appMode = 0;         // the process-wide dark-mode preference last set
};

// Start-up: lets menus and common controls of the process go dark at all.
void AllowDarkModeForProcess();
// The Windows app colour setting; a missing value means light.
[[nodiscard]] bool SystemPrefersDark();
// Resolves [UI] Theme and applies it to the process, the panel and the editor.
void ApplyTheme(App& app);
// WM_SETTINGCHANGE of the panel: follows the system's light/dark switch
// while [UI] Theme is FollowOs. True when the theme was applied.
bool OnThemeSettingChange(App& app, LPARAM lParam);
// For the pop-up menus about to open.
void DarkenMenus(const App& app);
void ApplyDialogTheme(HWND window, bool dark);
// A pop-up of the program's own: dark frame attribute and dark-mode permission.
void ThemeToolWindow(HWND window, bool dark);

}  // namespace quillpane
