// The tray icon's warning balloons.
#include "app/app_win.h"
#include "app/tray_win.h"

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

}  // namespace
}  // namespace quillpane
