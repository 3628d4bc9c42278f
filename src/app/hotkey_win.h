// Registering the global show/hide hotkey.
#pragma once

#include <windows.h>

#include "settings/hotkey.h"

namespace quillpane {

struct App;

inline constexpr int kHotkeyId = 1;

// RegisterHotKey with MOD_NOREPEAT; a key of 0 (switched off) registers
// nothing and counts as success.
[[nodiscard]] bool RegisterAppHotkey(HWND window, const Hotkey& hotkey);

// Replaces the registered hotkey; on failure the old one is registered again,
// the warning balloon is shown and the stored value stays.
void ChangeHotkey(App& app, const Hotkey& hotkey);

}  // namespace quillpane
