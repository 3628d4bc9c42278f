// Which theme is in force: [UI] Theme against the system's app colour setting.
#pragma once

#include "editor/editor_look.h"
#include "settings/config.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillpane {

// Values of the process-wide dark-mode preference (uxtheme ordinal 135).
inline constexpr int kAppModeDefault = 0;
inline constexpr int kAppModeAllowDark = 1;
inline constexpr int kAppModeForceDark = 2;
inline constexpr int kAppModeForceLight = 3;

struct ResolvedTheme {
    bool isDark = false;
    int appMode = kAppModeDefault;
    bool operator==(const ResolvedTheme&) const = default;
};

[[nodiscard]] ResolvedTheme ResolveTheme(Theme theme, bool systemPrefersDark);

// AppsUseLightTheme as read from the registry: 0 means dark; a missing or
// unreadable value counts as light.
[[nodiscard]] bool SystemDarkFromAppsUseLightTheme(std::optional<std::uint32_t> value);

// WM_SETTINGCHANGE with this area name is the system's light/dark switch.
inline constexpr std::u16string_view kImmersiveColorSet = u"ImmersiveColorSet";
[[nodiscard]] bool FollowsSystemChange(Theme theme, std::u16string_view area);

// The panel's own background and frame (0x00BBGGRR).
[[nodiscard]] std::uint32_t PanelBackgroundColour(bool dark);
[[nodiscard]] std::uint32_t PanelFrameColour(bool dark);

}  // namespace quillpane
