// Run at logon: the "Quillpn.lnk" shortcut in the Startup folder for an
// ordinary copy, the package's startup task for a packaged one.
#pragma once

#include <string>

namespace quillpane {

// Brings the registration in line with [General] RunAtStartup; every
// failure is silent and the setting stays as stored.
void SyncRunAtStartup(bool enabled);

// The shortcut's path, empty when the Startup folder is unknown.
[[nodiscard]] std::u16string StartupShortcutPath();

}  // namespace quillpane
