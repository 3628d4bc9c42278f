// The panel window: the program's one top-level window.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

inline constexpr wchar_t kPanelClassName[] = L"Quillpn.Main";

[[nodiscard]] bool RegisterPanelClass(HINSTANCE instance);
// Creates the hidden panel with its editor; false when either failed.
[[nodiscard]] bool CreatePanel(App& app);

void ShowPanelAtRememberedPlace(App& app);
// Saves a pending edit and, when it is to be remembered, the placement.
void HidePanel(App& app);
void TogglePanel(App& app);

}  // namespace quillpane
