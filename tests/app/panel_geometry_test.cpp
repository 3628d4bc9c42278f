// Panel placement and layout arithmetic.
#include "app/panel_geometry.h"
#include "editor/editor_look.h"

#include <gtest/gtest.h>

#include <climits>

#include <vector>

namespace quillpane {
namespace {

TEST(PanelGeometry, DefaultSizeScalesWithDpiAndAddsTheSidebar) {
    const PanelMetrics at96 = ComputePanelMetrics(96, 0, false);
    EXPECT_EQ(RememberedSize(0, 0, at96), (Size {640, 440}));
    const PanelMetrics at144 = ComputePanelMetrics(144, 0, false);
    EXPECT_EQ(RememberedSize(-5, 0, at144), (Size {960, 660}));
    EXPECT_EQ(at144.border, 5);  // MulDiv rounds 4.5 up
    EXPECT_EQ(at144.titleHeight, 38);
    const PanelMetrics withSidebar = ComputePanelMetrics(96, 0, true);
    EXPECT_EQ(RememberedSize(640, 440, withSidebar), (Size {860, 440}));
    EXPECT_EQ(EditorWidthOf(860, withSidebar), 640);
    // A window narrower than the sidebar keeps its whole width for the editor.
    EXPECT_EQ(EditorWidthOf(200, withSidebar), 200);
}

TEST(PanelGeometry, SidebarWidthIsClampedOnlyWhenConfigured) {
    EXPECT_EQ(SidebarWidthFor(0, 96), 220);
    EXPECT_EQ(SidebarWidthFor(100, 96), 140);
    EXPECT_EQ(SidebarWidthFor(999, 96), 400);
    EXPECT_EQ(SidebarWidthFor(999, 192), 800);
    EXPECT_EQ(SidebarWidthFor(-3, 144), 330);
}

TEST(PanelGeometry, AreasLeaveTheFrameAndTitleStrip) {
    const PanelMetrics metrics = ComputePanelMetrics(96, 0, true);
    const Size client {860, 440};
    EXPECT_EQ(EditorArea(client, metrics), (Rect {3, 29, 637, 437}));
    EXPECT_EQ(EditorWindowRect(client, metrics), (Rect {4, 30, 636, 436}));
    EXPECT_EQ(SidebarArea(client, metrics), (Rect {637, 29, 857, 437}));
    EXPECT_EQ(MinimumTrackSize(metrics), (Size {460, 160}));
    // A client too small for the frame gives an empty editor, never a negative one.
    const Rect tiny = EditorWindowRect({4, 4}, ComputePanelMetrics(96, 0, false));
    EXPECT_GE(tiny.Width(), 0);
    EXPECT_GE(tiny.Height(), 0);
}

TEST(PanelGeometry, TitleStripExcludesTheResizeBands) {
    const PanelMetrics metrics = ComputePanelMetrics(96, 0, false);
    const Size client {640, 440};
    EXPECT_TRUE(InTitleStrip({3, 3}, client, metrics));
    EXPECT_TRUE(InTitleStrip({636, 28}, client, metrics));
    EXPECT_FALSE(InTitleStrip({2, 10}, client, metrics));
    EXPECT_FALSE(InTitleStrip({637, 10}, client, metrics));
    EXPECT_FALSE(InTitleStrip({100, 29}, client, metrics));
}

TEST(PanelGeometry, HitTestBandsAndCorners) {
    const Size window {100, 80};
    struct Case {
        Point point;
        HitZone zone;
    };
    const Case cases[] = {
        {{0, 0}, HitZone::TopLeft},     {{99, 0}, HitZone::TopRight},      {{97, 2}, HitZone::TopRight},
        {{50, 0}, HitZone::Top},        {{50, 40}, HitZone::Client},       {{50, 77}, HitZone::Bottom},
        {{0, 40}, HitZone::Left},       {{99, 40}, HitZone::Right},        {{0, 79}, HitZone::BottomLeft},
        {{99, 79}, HitZone::BottomRight}, {{3, 3}, HitZone::Client},       {{96, 76}, HitZone::Client},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitTestFrame(c.point, window, 3), c.zone) << c.point.x << "," << c.point.y;
    }
}

TEST(PanelGeometry, ClampShiftsFirstAndCutsOnlyWhatIsLarger) {
    const Rect work {0, 0, 1600, 860};
    EXPECT_EQ(ClampToWorkArea({1500, 800, 2140, 1240}, work), (Rect {960, 420, 1600, 860}));
    EXPECT_EQ(ClampToWorkArea({-300, -50, 340, 390}, work), (Rect {0, 0, 640, 440}));
    EXPECT_EQ(ClampToWorkArea({100, 100, 2100, 1100}, work), (Rect {0, 0, 1600, 860}));
    EXPECT_EQ(ClampToWorkArea({10, 10, 650, 450}, work), (Rect {10, 10, 650, 450}));
}

TEST(PanelGeometry, SaturatedPositionsStillGiveTheRememberedSizeOnScreen) {
    const Rect work {0, 0, 1920, 1040};
    for (const int at : {INT_MAX, INT_MIN, INT_MAX - 100}) {
        const Rect rect = ClampToWorkArea(RememberedRect(at, at, Size {640, 440}), work);
        EXPECT_EQ(rect.Width(), 640) << at;
        EXPECT_EQ(rect.Height(), 440) << at;
        EXPECT_TRUE(rect.left >= 0 && rect.bottom <= 1040) << at;
    }
}

TEST(PanelGeometry, NearestMonitorForUnpluggedAndNegativeLayouts) {
    const std::vector<MonitorArea> monitors = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
        {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}},
    };
    EXPECT_EQ(NearestMonitor({-500, 300}, monitors)->work, (Rect {-1280, 0, 0, 984}));
    EXPECT_EQ(NearestMonitor({100, 300}, monitors)->work, (Rect {0, 0, 1920, 1040}));
    // A place on a monitor that was unplugged (far right) goes to the nearest one.
    const Point stored {4000, 500};
    const auto nearest = NearestMonitor(stored, monitors);
    ASSERT_TRUE(nearest.has_value());
    EXPECT_EQ(nearest->work, (Rect {0, 0, 1920, 1040}));
    EXPECT_EQ(ClampToWorkArea({4000, 500, 4640, 940}, nearest->work), (Rect {1280, 500, 1920, 940}));
    EXPECT_FALSE(NearestMonitor({0, 0}, {}).has_value());
}

TEST(PanelGeometry, ShowAtPointGrowsAwayFromTheCentre) {
    const Rect work {0, 0, 1600, 860};
    const Size size {640, 440};
    EXPECT_EQ(RectAtPoint({1500, 800}, size, work), (Rect {860, 360, 1500, 800}));
    EXPECT_EQ(RectAtPoint({100, 50}, size, work), (Rect {100, 50, 740, 490}));
    EXPECT_EQ(RectAtPoint({800, 430}, size, work), (Rect {800, 430, 1440, 870}));  // centre itself: grows right, down
    EXPECT_EQ(CentredRect(size, work), (Rect {480, 210, 1120, 650}));
    EXPECT_EQ(CentredRect(size, {-1280, 0, 0, 984}), (Rect {-960, 272, -320, 712}));
}

TEST(PanelGeometry, CoveringNeedsSixtyFourSquarePixels) {
    const Rect panel {0, 0, 100, 100};
    EXPECT_EQ(IntersectionArea(panel, {92, 92, 200, 200}), 64);
    EXPECT_EQ(IntersectionArea(panel, {100, 0, 200, 100}), 0);
    EXPECT_EQ(IntersectionArea(panel, {50, 50, 40, 40}), 0);  // empty rectangle
}

TEST(PanelGeometry, DebounceZoomAndLiveLayoutRules) {
    EXPECT_FALSE(IsToggleBounce(1000, 0));
    EXPECT_TRUE(IsToggleBounce(1200, 1000));
    EXPECT_FALSE(IsToggleBounce(1250, 1000));
    EXPECT_EQ(ClampFontStep(21), 20);
    EXPECT_EQ(ClampFontStep(-9), -8);
    EXPECT_EQ(LayoutDelay(false, 1005, 1000), 0u);
    EXPECT_EQ(LayoutDelay(true, 1005, 1000), 25u);
    EXPECT_EQ(LayoutDelay(true, 1030, 1000), 0u);
}

}  // namespace
}  // namespace quillpane
