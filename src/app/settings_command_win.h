// The panel's side of the settings window: the hotkey stays off while it is
// open, and what the user confirmed is applied and saved group by group.
#pragma once

namespace quillpane {

struct App;

// IDM_SETTINGS; an open settings window is only brought to the front.
void RunSettingsCommand(App& app);

// Start-up on the first run (a memo file was just created): the settings
// window before the panel is first shown; OK shows the panel, anything else
// leaves the program in the tray.
void RunFirstRunSettings(App& app);

}  // namespace quillpane
