// Where the panel goes and how its parts are laid out: pure arithmetic in
// physical pixels, so every rule can be tested without a screen.
#include "app/panel_geometry.h"

#include "platform/dpi.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quillpane {

int SidebarWidthFor(int configuredWidth, int dpi) {
    if (configuredWidth > 0) return std::clamp(configuredWidth, Scale(140, dpi), Scale(400, dpi));
    return Scale(220, dpi);
}

PanelMetrics ComputePanelMetrics(int dpi, int configuredSidebarWidth, bool sidebarVisible) {
    PanelMetrics metrics;
    metrics.dpi = dpi;
    metrics.border = Scale(3, dpi);
    metrics.titleHeight = Scale(24, dpi) + 2;
    metrics.sidebarWidth = SidebarWidthFor(configuredSidebarWidth, dpi);
    metrics.sidebarVisible = sidebarVisible;
    return metrics;
}

int TotalWidthFor(int editorWidth, const PanelMetrics& metrics) {
    return metrics.sidebarVisible ? editorWidth + metrics.sidebarWidth : editorWidth;
}

int EditorWidthOf(int windowWidth, const PanelMetrics& metrics) {
    if (metrics.sidebarVisible && metrics.sidebarWidth < windowWidth) return windowWidth - metrics.sidebarWidth;
    return windowWidth;
}

Size RememberedSize(int w, int h, const PanelMetrics& metrics) {
    const int width = w > 0 ? w : Scale(640, metrics.dpi);
    const int height = h > 0 ? h : Scale(440, metrics.dpi);
    return {TotalWidthFor(width, metrics), height};
}

Rect EditorArea(Size client, const PanelMetrics& metrics) {
    Rect area;
    area.left = metrics.border;
    area.top = metrics.border + metrics.titleHeight;
    area.right = client.width - metrics.border - (metrics.sidebarVisible ? metrics.sidebarWidth : 0);
    area.bottom = client.height - metrics.border;
    return area;
}

Rect EditorWindowRect(Size client, const PanelMetrics& metrics) {
    Rect area = EditorArea(client, metrics);
    area.left += 1;
    area.top += 1;
    area.right = std::max(area.left, area.right - 1);
    area.bottom = std::max(area.top, area.bottom - 1);
    return area;
}

Rect SidebarArea(Size client, const PanelMetrics& metrics) {
    Rect area;
    area.left = client.width - metrics.border - metrics.sidebarWidth;
    area.top = metrics.border + metrics.titleHeight;
    area.right = client.width - metrics.border;
    area.bottom = client.height - metrics.border;
    return area;
}

Size MinimumTrackSize(const PanelMetrics& metrics) {
    const int width = Scale(240, metrics.dpi) + (metrics.sidebarVisible ? metrics.sidebarWidth : 0);
    return {width, Scale(160, metrics.dpi)};
}

bool InTitleStrip(Point client, Size clientSize, const PanelMetrics& metrics) {
    return client.y >= metrics.border && client.y < metrics.border + metrics.titleHeight &&
           client.x >= metrics.border && client.x < clientSize.width - metrics.border;
}

HitZone HitTestFrame(Point point, Size window, int border) {
    const int x = point.x;
    const int y = point.y;
    if (y < border && x < border) return HitZone::TopLeft;
    if (y < border && x >= window.width - border) return HitZone::TopRight;
    if (x >= border && x < window.width - border) {
        if (y < border) return HitZone::Top;
        if (y < window.height - border) return HitZone::Client;
        return HitZone::Bottom;
    }
    if (x >= window.width - border) return y < window.height - border ? HitZone::Right : HitZone::BottomRight;
    return y < window.height - border ? HitZone::Left : HitZone::BottomLeft;
}

namespace {

// Distance from a point to a rectangle (0 inside), as a squared length so no
// precision is lost.
std::int64_t SquaredDistance(Point point, const Rect& rect) {
    const std::int64_t dx = point.x < rect.left ? rect.left - point.x : (point.x >= rect.right ? point.x - rect.right + 1 : 0);
    const std::int64_t dy = point.y < rect.top ? rect.top - point.y : (point.y >= rect.bottom ? point.y - rect.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

}  // namespace

std::optional<MonitorArea> NearestMonitor(Point point, std::span<const MonitorArea> monitors) {
    std::optional<MonitorArea> best;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const MonitorArea& monitor : monitors) {
        const std::int64_t distance = SquaredDistance(point, monitor.monitor);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = monitor;
        }
    }
    return best;
}

Rect RememberedRect(int x, int y, Size size) {
    static constexpr std::int64_t kFar = 1 << 28;
    const auto place = [](int at, int extent) {
        const std::int64_t start = std::clamp<std::int64_t>(at, -kFar, kFar);
        const std::int64_t length = std::clamp<std::int64_t>(extent, 0, kFar);
        return std::pair<int, int> {static_cast<int>(start), static_cast<int>(start + length)};
    };
    const auto [left, right] = place(x, size.width);
    const auto [top, bottom] = place(y, size.height);
    return {left, top, right, bottom};
}

Rect CentredRect(Size size, const Rect& work) {
    const int left = (work.left + work.right) / 2 - size.width / 2;
    const int top = (work.top + work.bottom) / 2 - size.height / 2;
    return {left, top, left + size.width, top + size.height};
}

Rect RectAtPoint(Point point, Size size, const Rect& work) {
    Rect rect;
    if ((work.left + work.right) / 2 < point.x) {
        rect.left = point.x - size.width;
    } else {
        rect.left = point.x;
    }
    if ((work.top + work.bottom) / 2 < point.y) {
        rect.top = point.y - size.height;
    } else {
        rect.top = point.y;
    }
    rect.right = rect.left + size.width;
    rect.bottom = rect.top + size.height;
    return rect;
}

Rect ClampToWorkArea(Rect rect, const Rect& work) {
    if (rect.right > work.right) {
        const int shift = rect.right - work.right;
        rect.left -= shift;
        rect.right -= shift;
    }
    if (rect.bottom > work.bottom) {
        const int shift = rect.bottom - work.bottom;
        rect.top -= shift;
        rect.bottom -= shift;
    }
    if (rect.left < work.left) {
        const int shift = work.left - rect.left;
        rect.left += shift;
        rect.right += shift;
    }
    if (rect.top < work.top) {
        const int shift = work.top - rect.top;
        rect.top += shift;
        rect.bottom += shift;
    }
    rect.right = std::min(rect.right, work.right);
    rect.bottom = std::min(rect.bottom, work.bottom);
    return rect;
}

std::int64_t IntersectionArea(const Rect& a, const Rect& b) {
    const std::int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return (width > 0 && height > 0) ? width * height : 0;
}

unsigned LayoutDelay(bool inSizeMove, std::uint64_t now, std::uint64_t lastLayout) {
    if (!inSizeMove || now < lastLayout) return 0;
    const std::uint64_t elapsed = now - lastLayout;
    return elapsed < kLiveLayoutIntervalMs ? static_cast<unsigned>(kLiveLayoutIntervalMs - elapsed) : 0;
}

bool IsToggleBounce(std::uint64_t now, std::uint64_t lastToggle) {
    return lastToggle != 0 && now >= lastToggle && now - lastToggle < kToggleDebounceMs;
}

}  // namespace quillpane
