// What the program's floating dialogs share: fonts, the icon glyphs (drawn
// as strokes when the icon font is missing), box frames, monitors.
#pragma once

#include <windows.h>

#include "editor/editor_look.h"
#include "platform/geometry.h"
#include "platform/handles_win.h"

#include <string_view>

namespace quillpane {

inline constexpr wchar_t kGlyphChevronDown = 0xE70D;
inline constexpr wchar_t kGlyphChevronUp = 0xE70E;
inline constexpr wchar_t kGlyphCancel = 0xE711;
inline constexpr wchar_t kGlyphSearch = 0xE721;
inline constexpr wchar_t kGlyphUp = 0xE74A;
inline constexpr wchar_t kGlyphDown = 0xE74B;
inline constexpr wchar_t kGlyphMore = 0xE712;
inline constexpr wchar_t kGlyphPin = 0xE718;
inline constexpr wchar_t kGlyphMicrophone = 0xE720;
inline constexpr wchar_t kGlyphShare = 0xE72D;
inline constexpr wchar_t kGlyphTranslucent = 0xE793;
inline constexpr wchar_t kGlyphPinned = 0xE840;
inline constexpr wchar_t kGlyphOpenWith = 0xE8A7;
inline constexpr wchar_t kGlyphChromeClose = 0xE8BB;
inline constexpr wchar_t kGlyphSidebar = 0xE90D;

[[nodiscard]] inline COLORREF Ref(Colour colour) {
    return static_cast<COLORREF>(colour);
}
[[nodiscard]] inline RECT ToRECT(const Rect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
[[nodiscard]] inline Rect FromRECT(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The monitor's work area (the primary one's when it is unknown) and DPI (96 when unknown).
[[nodiscard]] Rect WorkAreaOf(HMONITOR monitor);
[[nodiscard]] int MonitorDpi(HMONITOR monitor);

// A ClearType font of the given character height in pixels.
[[nodiscard]] UniqueFont MakeUiFont(int height, int weight, const wchar_t* face);
[[nodiscard]] int TextWidth(HFONT font, std::u16string_view text);

// The icon font at the height, and whether the system has one at all.
struct GlyphFont {
    UniqueFont font;
    bool found = false;
};
[[nodiscard]] GlyphFont MakeGlyphFont(int height);

void FillSolid(HDC dc, const RECT& rect, Colour colour);
// One glyph centred in rect: from the icon font, else as strokes.
void DrawGlyph(HDC dc, const RECT& rect, wchar_t glyph, Colour colour, const GlyphFont& font, int dpi);
// A rounded box frame with its accent bar, 2 px while the box has the focus.
void DrawBoxFrame(HDC dc, const Rect& frame, bool focused, Colour border, Colour fill, Colour accent, int dpi);
// The clipboard's text up to its first line break in place of the box's
// selection; false (the box's own paste runs) without Unicode text.
bool PasteFirstLine(HWND box);
// The cue an empty multi-line box shows in its text rectangle: such a box
// has no cue banner of its own.
void PaintCueText(HWND box, HFONT font, Colour colour, std::u16string_view cue);
// Rounded corners from the compositor, and the dark frame attribute.
void StyleDialogWindow(HWND window, bool dark);

}  // namespace quillpane
