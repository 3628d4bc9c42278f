// The tray icon's warning balloons and the menu built from the menu model.
#include "app/app_win.h"
#include "app/menu_win.h"
#include "app/tray_win.h"
#include "i18n/strings.h"
#include "resources/messages.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillpane {
namespace {

// A warning raised before the icon exists (the memo loads first) is shown
// once the icon is added, and only the latest one.
TEST(TrayWin, BalloonWithoutAnIconWaitsForTheIcon) {
    auto app = std::make_unique<App>();
    app->instance = ::GetModuleHandleW(nullptr);
    app->panel = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, app->instance, nullptr);
    ASSERT_NE(app->panel, nullptr);
    ShowWarningBalloon(*app, u"first");
    ShowWarningBalloon(*app, u"latest");
    EXPECT_EQ(app->tray.pendingBalloon, u"latest");
    if (AddTrayIcon(*app)) {
        EXPECT_TRUE(app->tray.pendingBalloon.empty());
        EXPECT_EQ(std::wstring(app->tray.data.szInfo), L"latest");
        RemoveTrayIcon(*app);
    }
    ::DestroyWindow(app->panel);
}

// The Japanese tray menu as Windows holds it: texts, checks, greyed
// documents and the help submenu.
TEST(TrayWin, JapaneseTrayMenuHoldsTheModelsItems) {
    Config config;
    config.general.phoneSync = true;
    HMENU menu = BuildPopupMenu(TrayMenuItems(false, config, {false, false, false}, kJapanese));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(::GetMenuItemCount(menu), 14);
    wchar_t text[128] {};
    ::GetMenuStringW(menu, 0, text, 128, MF_BYPOSITION);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), Text(TextId::ShowPanel, kJapanese));
    ::GetMenuStringW(menu, IDM_EXIT, text, 128, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), Text(TextId::ExitApp, kJapanese));
    EXPECT_NE(::GetMenuState(menu, IDM_PHONESYNC, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(::GetMenuState(menu, IDM_DOCREADME, MF_BYCOMMAND) & MF_GRAYED, 0u);
    HMENU help = ::GetSubMenu(menu, 10);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(::GetMenuItemCount(help), 3);
    ::DestroyMenu(menu);
}

}  // namespace
}  // namespace quillpane
