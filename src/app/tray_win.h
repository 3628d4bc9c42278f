// The notification-area icon and its warning balloons.
#pragma once

#include <string_view>

namespace quillpane {

struct App;

// Adds the icon (NIM_ADD, then NOTIFYICON_VERSION_4); false when the shell refused.
bool AddTrayIcon(App& app);
void RemoveTrayIcon(App& app);
// Explorer restarted: the old icon is gone with the old taskbar.
void ReAddTrayIcon(App& app);
// The tray menu at the cursor (PM_SHOWTRAYMENU).
void ShowTrayMenu(App& app);
// A warning balloon titled "Quillpane"; nothing happens without an icon.
void ShowWarningBalloon(App& app, std::u16string_view text);

}  // namespace quillpane
