// The panel's title strip: its metrics at a DPI, where the nine round buttons
// go, where the title and the unsaved dot fit, its colours, and the alpha of
// a translucent panel.
#pragma once

#include "editor/editor_look.h"
#include "platform/geometry.h"

#include <array>
#include <optional>

namespace quillpane {

struct ChromeMetrics {
    int dpi = 96;
    int border = 3;
    int titleHeight = 26;
    int button = 22;
    int wideGap = 8;  // also the right margin
    int narrowGap = 2;
    int dot = 6;
    int textInset = 11;
    int buttonTop = 5;  // from the panel's top
};
[[nodiscard]] ChromeMetrics ComputeChromeMetrics(int dpi);

// The buttons from right to left.
enum class TitleButton { Close, More, Share, OpenWith, Pin, Sidebar, Translucent, Voice, Find };
inline constexpr int kTitleButtonCount = 9;

// Top-left corners (screen) of the nine buttons, from right to left, for
// the panel's window rectangle.
[[nodiscard]] std::array<Point, kTitleButtonCount> TitleButtonPositions(const Rect& window,
                                                                        const ChromeMetrics& metrics);
// Where the title is written (client coordinates); empty when there is no room.
[[nodiscard]] Rect TitleTextRect(Size client, const ChromeMetrics& metrics);
// The unsaved dot after a title of textWidth, or nothing when it does not fit.
[[nodiscard]] std::optional<Rect> UnsavedDotRect(const Rect& textRect, int textWidth, const ChromeMetrics& metrics);

struct ChromePalette {
    Colour background;
    Colour frame;
    Colour strip;
    Colour title;
    Colour hover;
    Colour on;
    Colour glyph;
    Colour dot;
};
[[nodiscard]] ChromePalette ChromeColours(bool dark);

// Opacity in percent, kept to 60..100, as a layered window's alpha.
[[nodiscard]] int ClampOpacity(int percent);
[[nodiscard]] int OpacityAlpha(int percent);

}  // namespace quillpane
