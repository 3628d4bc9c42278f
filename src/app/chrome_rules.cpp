#include "app/chrome_rules.h"

#include "platform/dpi.h"

#include <algorithm>

namespace quillpane {

ChromeMetrics ComputeChromeMetrics(int dpi) {
    ChromeMetrics metrics;
    metrics.dpi = dpi;
    metrics.border = Scale(3, dpi);
    metrics.titleHeight = Scale(24, dpi) + 2;
    metrics.button = Scale(22, dpi);
    metrics.wideGap = Scale(8, dpi);
    metrics.narrowGap = Scale(2, dpi);
    metrics.dot = Scale(6, dpi);
    metrics.textInset = Scale(10, dpi) + 1;
    metrics.buttonTop = (metrics.titleHeight - metrics.button) / 2 + metrics.border;
    return metrics;
}

std::array<Point, kTitleButtonCount> TitleButtonPositions(const Rect& window, const ChromeMetrics& metrics) {
    std::array<Point, kTitleButtonCount> positions {};
    const int b = metrics.button;
    int x = window.right - b - metrics.wideGap;
    for (int i = 0; i < kTitleButtonCount; ++i) {
        // Wide gaps set the first three apart; narrow ones join the rest.
        if (i > 0) x -= (i <= 2 ? metrics.wideGap : metrics.narrowGap) + b;
        positions[static_cast<std::size_t>(i)] = {x, window.top + metrics.buttonTop};
    }
    return positions;
}

Rect TitleTextRect(Size client, const ChromeMetrics& metrics) {
    const int buttons = 7 * metrics.button + metrics.wideGap + 4 * metrics.narrowGap + 2 * metrics.wideGap + 10;
    Rect rect {metrics.textInset, metrics.border, client.width - metrics.border - buttons,
               metrics.border + metrics.titleHeight};
    if (rect.right <= rect.left) return {};
    return rect;
}

std::optional<Rect> UnsavedDotRect(const Rect& textRect, int textWidth, const ChromeMetrics& metrics) {
    if (textRect.Width() <= 0) return std::nullopt;
    const int left = textRect.left + textWidth + metrics.dot;
    const int right = left + metrics.dot;
    if (right >= textRect.right - metrics.dot) return std::nullopt;
    const int top = textRect.top + (textRect.Height() - metrics.dot) / 2;
    return Rect {left, top, right, top + metrics.dot};
}

ChromePalette ChromeColours(bool dark) {
    if (dark) {
        return {HexColour(0x1E1E1E), HexColour(0x464646), HexColour(0x2E3036), HexColour(0xE0E0E0),
                HexColour(0x3E4148), HexColour(0x525660), HexColour(0xBEBEC4), HexColour(0xE09628)};
    }
    return {HexColour(0xFFFFFF), HexColour(0xC8C8C8), HexColour(0xECEEF2), HexColour(0x282828),
            HexColour(0xDCDEE3), HexColour(0xBABCC4), HexColour(0x64646A), HexColour(0xE09628)};
}

int ClampOpacity(int percent) {
    return std::clamp(percent, 60, 100);
}

int OpacityAlpha(int percent) {
    return (ClampOpacity(percent) * 255 + 50) / 100;  // MulDiv rounding
}

}  // namespace quillpane
