// The settings window's controls drawn in its own colours: flat rounded
// lists, boxes and buttons, check boxes, sliders and up-down arrows.
#pragma once

#include <windows.h>

#include "app/dialog_look_win.h"
#include "app/settings_rules.h"
#include "platform/handles_win.h"

#include <string_view>

namespace quillpane {

// What every control draws with; owned by the window and changed with its
// theme or DPI (the controls read it when they paint).
struct SettingsLook {
    SettingsPalette colours = SettingsColours(false);
    bool dark = false;
    int dpi = 96;
    int lineHeight = 16;
    HFONT font = nullptr;
    GlyphFont glyphs;
};

// Paints a combo box's field itself: a rounded box with the choice and a chevron.
bool StyleCombo(HWND combo, const SettingsLook* look);
// Paints a slider as a rounded track with a round thumb.
bool StyleSlider(HWND slider, const SettingsLook* look);
// Paints up-down arrows in the box's colours.
bool StyleArrows(HWND arrows, const SettingsLook* look);
// An owner-drawn button that keeps a check state for BM_GETCHECK and BM_SETCHECK.
bool MakeCheckBox(HWND button);
[[nodiscard]] bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

// WM_DRAWITEM of the owner-drawn parts.
void DrawComboItem(const DRAWITEMSTRUCT& item, const SettingsLook& look);
void DrawCheckBox(const DRAWITEMSTRUCT& item, const SettingsLook& look);
void DrawPushButton(const DRAWITEMSTRUCT& item, const SettingsLook& look, bool accented);
void DrawCaptureButton(const DRAWITEMSTRUCT& item, const SettingsLook& look, bool active, std::u16string_view text);
// The rounded frame a box sits in; the accent border while it has the focus.
void DrawBoxBackground(HDC dc, const Rect& frame, bool focused, const SettingsLook& look);

// The wrapped height of a text at a width, and a single line's width.
[[nodiscard]] int WrappedTextHeight(HFONT font, std::u16string_view text, int width);

}  // namespace quillpane
