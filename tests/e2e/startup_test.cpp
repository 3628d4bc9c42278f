// Start-up, single instance and exit of the real program.
#include "e2e_fixture.h"

namespace quillpane::e2e {
namespace {

using Startup = AppScenario;

TEST_F(Startup, StaysResidentWithHiddenPanelAndExitsCleanly) {
    ASSERT_NE(Start(), nullptr);
    // The panel stays hidden after start-up; the process keeps running.
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(app_.Running());
    EXPECT_FALSE(::IsWindowVisible(panel_));
    EXPECT_EQ(WindowText(panel_), L"Quillpane");
    EXPECT_NE(FindChildByClass(panel_, L"Scintilla"), nullptr);
    Screenshot("resident");

    const auto code = Exit();
    ASSERT_TRUE(code.has_value()) << "the program did not end after Exit";
    EXPECT_EQ(*code, 0u);
}

TEST_F(Startup, SecondLaunchHandsOverAndShowsThePanel) {
    ASSERT_NE(Start(), nullptr);
    AppProcess second = LaunchApp();
    ASSERT_TRUE(second.Started());
    const auto secondCode = second.WaitForExit(20s);
    ASSERT_TRUE(secondCode.has_value()) << "the second instance kept running";
    EXPECT_EQ(*secondCode, 0u);

    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s))
        << "the first instance did not show its panel";
    EXPECT_TRUE(app_.Running());
    Screenshot("shown-by-second-launch");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
