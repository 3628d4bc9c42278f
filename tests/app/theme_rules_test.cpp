// Which theme is in force.
#include "app/theme_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(ThemeRules, ExplicitThemesIgnoreTheSystem) {
    EXPECT_EQ(ResolveTheme(Theme::Dark, false), (ResolvedTheme {true, kAppModeForceDark}));
    EXPECT_EQ(ResolveTheme(Theme::Dark, true), (ResolvedTheme {true, kAppModeForceDark}));
    EXPECT_EQ(ResolveTheme(Theme::Light, true), (ResolvedTheme {false, kAppModeForceLight}));
    EXPECT_EQ(ResolveTheme(Theme::Light, false), (ResolvedTheme {false, kAppModeForceLight}));
}

TEST(ThemeRules, FollowOsTakesTheSystemSettingAndLeavesMenusToIt) {
    EXPECT_EQ(ResolveTheme(Theme::FollowOs, true), (ResolvedTheme {true, kAppModeForceDark}));
    EXPECT_EQ(ResolveTheme(Theme::FollowOs, false), (ResolvedTheme {false, kAppModeDefault}));
}

TEST(ThemeRules, OnlyAnExplicitZeroMeansTheSystemIsDark) {
    EXPECT_TRUE(SystemDarkFromAppsUseLightTheme(0u));
    EXPECT_FALSE(SystemDarkFromAppsUseLightTheme(1u));
    EXPECT_FALSE(SystemDarkFromAppsUseLightTheme(2u));
    EXPECT_FALSE(SystemDarkFromAppsUseLightTheme(std::nullopt));
}

TEST(ThemeRules, OnlyTheColourSetChangeMattersAndOnlyWhenFollowing) {
    EXPECT_TRUE(FollowsSystemChange(Theme::FollowOs, u"ImmersiveColorSet"));
    EXPECT_FALSE(FollowsSystemChange(Theme::Light, u"ImmersiveColorSet"));
    EXPECT_FALSE(FollowsSystemChange(Theme::Dark, u"ImmersiveColorSet"));
    EXPECT_FALSE(FollowsSystemChange(Theme::FollowOs, u"Environment"));
    EXPECT_FALSE(FollowsSystemChange(Theme::FollowOs, u""));
    EXPECT_FALSE(FollowsSystemChange(Theme::FollowOs, u"ImmersiveColorSetX"));
}

TEST(ThemeRules, ControlsAndPanelTakeTheThemesLook) {
    EXPECT_EQ(ControlThemeName(true), u"DarkMode_Explorer");
    EXPECT_EQ(ControlThemeName(false), u"Explorer");
    EXPECT_EQ(PanelBackgroundColour(true), 0x1E1E1Eu);
    EXPECT_EQ(PanelBackgroundColour(false), 0xFFFFFFu);
    EXPECT_EQ(PanelFrameColour(true), 0x464646u);
    EXPECT_EQ(PanelFrameColour(false), 0xC8C8C8u);
}

}  // namespace
}  // namespace quillpane
