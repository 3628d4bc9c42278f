// Which theme is in force: [UI] Theme against the system's app colour setting.
#include "app/theme_rules.h"

namespace quillpane {

ResolvedTheme ResolveTheme(Theme theme, bool systemPrefersDark) {
    switch (theme) {
    case Theme::Dark: return {true, kAppModeForceDark};
    case Theme::Light: return {false, kAppModeForceLight};
    case Theme::FollowOs: break;
    }
    return {systemPrefersDark, systemPrefersDark ? kAppModeForceDark : kAppModeDefault};
}

bool SystemDarkFromAppsUseLightTheme(std::optional<std::uint32_t> value) {
    return value.has_value() && *value == 0;
}

bool FollowsSystemChange(Theme theme, std::u16string_view area) {
    return theme == Theme::FollowOs && area == kImmersiveColorSet;
}

std::uint32_t PanelBackgroundColour(bool dark) {
    return dark ? 0x1E1E1E : 0xFFFFFF;
}

std::uint32_t PanelFrameColour(bool dark) {
    return dark ? 0x464646 : 0xC8C8C8;
}

}  // namespace quillpane
