// Taking the foreground, the covered-panel test and hiding on focus loss.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

// Brings the panel to the foreground even when another process owns it.
void ForceForeground(App& app);
// True when another visible, uncloaked window of another process lies over
// the panel by at least 64 square pixels.
[[nodiscard]] bool IsPanelCovered(const App& app);

// WM_ACTIVATE of the panel: hides it on deactivation when CloseOnFocusLost asks for it.
void OnPanelActivate(App& app, WPARAM state, HWND otherWindow);
// Whether the keyboard focus is in the window or one of its children.
[[nodiscard]] bool HoldsFocus(HWND window);
// A closing floating dialog that held the focus hands it to the editor,
// while the panel is up.
void FocusEditorAfterDialog(App& app, bool dialogHadFocus);

// The EVENT_SYSTEM_FOREGROUND hook of the whole session.
bool InstallForegroundHook(App& app);
void RemoveForegroundHook(App& app);

}  // namespace quillpane
