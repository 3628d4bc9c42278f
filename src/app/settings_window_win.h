// The settings window: a modal page of three columns that edits a working
// copy of the settings; the caller applies the copy when the user confirms.
#pragma once

#include <windows.h>

#include "app/settings_rules.h"

#include <string>

namespace quillpane {

inline constexpr wchar_t kSettingsClassName[] = L"Quillpn.Settings";
inline constexpr wchar_t kSettingsBodyClassName[] = L"Quillpn.SettingsBody";

struct SettingsRequest {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;       // disabled while the window is open
    bool dark = false;          // the theme in force
    bool systemDark = false;    // what "Match Windows" shows while previewing
    int language = 1;           // the UI language
    std::u16string backupFolder;
};

// Runs the window until it closes; true when the user pressed OK (the copy
// then holds the new values). False at once when a settings window is
// already open or the copy is missing. A WM_QUIT that arrives meanwhile is
// posted again for the caller's loop.
bool OpenSettings(const SettingsRequest& request, SettingsCopy* copy);

// The open settings window of this thread, if any.
[[nodiscard]] HWND FindSettingsWindow();

}  // namespace quillpane
