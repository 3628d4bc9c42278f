// The panel's own chrome: the title strip with the product name and the
// unsaved dot, the nine round buttons beside it with their tooltips, the
// panel's translucency and the ⋮ menu.
#pragma once

#include <windows.h>

#include "app/chrome_rules.h"
#include "app/dialog_look_win.h"

#include <array>
#include <cstdint>

namespace quillpane {

struct App;

inline constexpr wchar_t kTitleButtonClassName[] = L"Quillpn.TitleIconBtn";

// A button's smoothed face, kept while nothing it shows changed.
struct ButtonImage {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
    int lit = 0;  // 0 plain, 1 hovered, 2 on
    bool dark = false;
};

struct ChromeState {
    std::array<HWND, kTitleButtonCount> buttons {};
    std::array<bool, kTitleButtonCount> hover {};
    HWND tooltip = nullptr;
    ChromeMetrics metrics;
    UniqueFont titleFont;
    GlyphFont glyphFont;
    GlyphFont largeGlyphFont;  // for the smoothed faces, drawn four times as large
    std::array<ButtonImage, kTitleButtonCount> images;
    int fontDpi = 0;
    int appliedOpacity = 100;  // the panel's alpha in percent; 100 = opaque
    bool moreMenuOpen = false;
    std::uint64_t moreDismissedAt = 0;
};

// Start-up: the nine hidden buttons, owned by the panel, and their tooltips.
bool CreateTitleButtons(App& app);
// Places the buttons over the title strip (and shows them when asked).
void PlaceTitleButtons(App& app, bool show);
void HideTitleButtons(App& app);
void RedrawTitleButtons(App& app);
// The title strip, the name and the unsaved dot (the panel's WM_PAINT).
void PaintTitleStrip(App& app, HDC dc, Size client);
void ChromeDpiChanged(App& app, int dpi);
// The tooltips in the UI language now, after it changed.
void RetextTitleTooltips(App& app);
void ChromeThemeChanged(App& app);
// The panel's alpha and the buttons' colour key, while it is shown.
void ApplyOpacity(App& app);
// Alt+P and the translucency button.
void ToggleTranslucent(App& app);
// The opacity presets of the ⋮ menu.
void SetOpacityPreset(App& app, int percent);
// PM_MOREMENU, Alt+S: the settings menu under the ⋮ button.
void ShowMoreMenu(App& app);
// Win+H into the editor, the panel staying up while the voice window takes the foreground.
void StartVoiceTyping(App& app);

}  // namespace quillpane
