// Where the panel goes and how its parts are laid out: pure arithmetic in
// physical pixels, so every rule can be tested without a screen.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/geometry.h"

namespace quillpane {

// A monitor as the system reports it: its whole area and its work area
// (without the taskbar).
struct MonitorArea {
    Rect monitor;
    Rect work;
};

struct PanelMetrics {
    int dpi = 96;
    int border = 3;
    int titleHeight = 26;
    int sidebarWidth = 220;
    bool sidebarVisible = false;
};

// The heading sidebar's width: a positive configured width clamped to
// [s(140), s(400)], else s(220).
[[nodiscard]] int SidebarWidthFor(int configuredWidth, int dpi);
[[nodiscard]] PanelMetrics ComputePanelMetrics(int dpi, int configuredSidebarWidth, bool sidebarVisible);

// [Window] W counts the editor column only; the window adds the sidebar.
[[nodiscard]] int TotalWidthFor(int editorWidth, const PanelMetrics& metrics);
[[nodiscard]] int EditorWidthOf(int windowWidth, const PanelMetrics& metrics);
// The remembered size with W <= 0 meaning s(640) and H <= 0 meaning s(440).
[[nodiscard]] Size RememberedSize(int w, int h, const PanelMetrics& metrics);

// Client-area rectangles.
[[nodiscard]] Rect EditorArea(Size client, const PanelMetrics& metrics);
// The editor window itself: the editor area shrunk by one pixel on every side.
[[nodiscard]] Rect EditorWindowRect(Size client, const PanelMetrics& metrics);
[[nodiscard]] Rect SidebarArea(Size client, const PanelMetrics& metrics);
[[nodiscard]] Size MinimumTrackSize(const PanelMetrics& metrics);
// Presses here drag the panel.
[[nodiscard]] bool InTitleStrip(Point client, Size clientSize, const PanelMetrics& metrics);

enum class HitZone { Client, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
// point relative to the window's top-left corner.
[[nodiscard]] HitZone HitTestFrame(Point point, Size window, int border);

// The monitor a point belongs to, or the nearest one (MONITOR_DEFAULTTONEAREST);
// nothing for an empty list.
[[nodiscard]] std::optional<MonitorArea> NearestMonitor(Point point, std::span<const MonitorArea> monitors);

// The remembered position with its size. Coordinates far outside any
// screen are brought near enough that the sums cannot overflow; the work
// area clamp then moves the panel onto a monitor.
[[nodiscard]] Rect RememberedRect(int x, int y, Size size);
// First show on a fresh configuration: centred on the primary work area.
[[nodiscard]] Rect CentredRect(Size size, const Rect& work);
// A show at a screen point grows away from the side of the work area's
// centre the point lies on.
[[nodiscard]] Rect RectAtPoint(Point point, Size size, const Rect& work);
// Shifts the rectangle into the work area; cuts it only when it is larger.
[[nodiscard]] Rect ClampToWorkArea(Rect rect, const Rect& work);

// Area in square pixels that two rectangles share.
[[nodiscard]] std::int64_t IntersectionArea(const Rect& a, const Rect& b);
inline constexpr std::int64_t kMinCoveringArea = 64;

// During an interactive resize, layouts come at most every 30 ms: the delay
// before the next one may run, 0 when it may run now.
inline constexpr std::uint64_t kLiveLayoutIntervalMs = 30;
[[nodiscard]] unsigned LayoutDelay(bool inSizeMove, std::uint64_t now, std::uint64_t lastLayout);

// A toggle within 250 ms of the last accepted one is a bounce.
inline constexpr std::uint64_t kToggleDebounceMs = 250;
[[nodiscard]] bool IsToggleBounce(std::uint64_t now, std::uint64_t lastToggle);

}  // namespace quillpane
