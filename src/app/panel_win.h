// The panel window: the program's one top-level window.
#pragma once

#include <windows.h>

#include <optional>

#include "app/panel_geometry.h"

namespace quillpane {

struct App;

inline constexpr wchar_t kPanelClassName[] = L"Quillpn.Main";

[[nodiscard]] bool RegisterPanelClass(HINSTANCE instance);
// Creates the hidden panel with its editor; false when either failed.
[[nodiscard]] bool CreatePanel(App& app);

// Shows at the remembered place, or at a screen point when one is given.
void ShowPanelAt(App& app, std::optional<Point> point);
// Saves a pending edit and, when it is to be remembered, the placement.
void HidePanel(App& app);
// Hotkey, tray click or toggle message: show, raise when covered, or hide.
void TogglePanel(App& app, std::optional<Point> point = std::nullopt);
void ApplyAlwaysOnTop(App& app);
void ExitApplication(App& app);

}  // namespace quillpane
