// The settings window's controls drawn in its own colours: flat rounded
// lists, boxes and buttons, check boxes, sliders and up-down arrows.
#include "app/settings_controls_win.h"

#include "platform/dpi.h"
#include "platform/wide_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace quillpane {
namespace {

// Each drawn kind has its own procedure, so one id serves them all.
constexpr UINT_PTR kDrawnSubclassId = 0x5301;
constexpr UINT_PTR kCheckSubclassId = 0x5304;
constexpr wchar_t kCheckedProperty[] = L"QpChecked";

int Corner(int dpi) {
    return 2 * std::max(Scale(4, dpi), 4);
}

void RoundBox(HDC dc, const RECT& rect, Colour fill, Colour border, int borderWidth, int corner) {
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, borderWidth, Ref(border)));
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    SelectGuard selectPen(dc, pen.Get());
    SelectGuard selectBrush(dc, brush.Get());
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void Circle(HDC dc, int cx, int cy, int radius, Colour fill, Colour border, int borderWidth) {
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, borderWidth, Ref(border)));
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    SelectGuard selectPen(dc, pen.Get());
    SelectGuard selectBrush(dc, brush.Get());
    ::Ellipse(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
}

void DrawLabel(HDC dc, HFONT font, std::u16string_view text, RECT area, Colour colour, UINT format) {
    SelectGuard select(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(colour));
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &area,
                format | DT_NOPREFIX);
}

std::u16string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return FromWide(text);
}

// Paints into a memory bitmap first: the controls repaint as the mouse moves.
template <typename Paint>
void Buffered(HWND window, Paint paint) {
    PaintDc target(window);
    RECT client {};
    ::GetClientRect(window, &client);
    UniqueHdc memory(::CreateCompatibleDC(target.Get()));
    UniqueBitmap bitmap(memory ? ::CreateCompatibleBitmap(target.Get(), client.right, client.bottom) : nullptr);
    if (!bitmap) {
        paint(target.Get(), client);
        return;
    }
    SelectGuard select(memory.Get(), bitmap.Get());
    paint(memory.Get(), client);
    ::BitBlt(target.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

using Painter = void (*)(HWND, const SettingsLook&);
// Messages after which the control's own handling leaves the picture stale.
using StaleAfter = bool (*)(UINT);

// A control painted wholly by the program, over its own behaviour.
template <Painter Paint, StaleAfter Stale>
LRESULT CALLBACK DrawnProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        Paint(hwnd, *reinterpret_cast<const SettingsLook*>(data));
        return 0;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, DrawnProc<Paint, Stale>, id);
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (Stale(message)) ::InvalidateRect(hwnd, nullptr, FALSE);
    return result;
}

template <Painter Paint, StaleAfter Stale>
bool Draw(HWND control, const SettingsLook* look) {
    return control != nullptr && ::SetWindowSubclass(control, DrawnProc<Paint, Stale>, kDrawnSubclassId,
                                                     reinterpret_cast<DWORD_PTR>(look)) != FALSE;
}

std::u16string ComboItemText(HWND combo, LRESULT index) {
    if (index < 0) return {};
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return FromWide(text);
}

// ---- combo boxes ---------------------------------------------------------------------

void PaintCombo(HWND combo, const SettingsLook& look) {
    Buffered(combo, [&](HDC dc, const RECT& client) {
        const SettingsPalette& colours = look.colours;
        FillSolid(dc, client, colours.background);
        const bool active = ::GetFocus() == combo || ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
        const int border = active ? std::max(2, Scale(2, look.dpi)) : std::max(1, Scale(1, look.dpi));
        RoundBox(dc, client, colours.input, active ? colours.accent : colours.border, border, Corner(look.dpi));
        const std::u16string text = ComboItemText(combo, ::SendMessageW(combo, CB_GETCURSEL, 0, 0));
        const int arrowArea = ComboArrowArea(look.dpi);
        RECT textArea {client.left + ComboTextLeft(look.dpi), client.top, client.right - arrowArea, client.bottom};
        const bool enabled = ::IsWindowEnabled(combo) != FALSE;
        DrawLabel(dc, look.font, text, textArea, enabled ? colours.text : colours.disabled,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT);
        const RECT arrow {client.right - arrowArea, client.top, client.right - Scale(4, look.dpi), client.bottom};
        DrawGlyph(dc, arrow, kGlyphChevronDown, colours.secondary, look.glyphs, look.dpi);
    });
}

bool ComboStaleAfter(UINT message) {
    return message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE || message == CB_SETCURSEL ||
           message == CB_SHOWDROPDOWN;
}

// ---- sliders ---------------------------------------------------------------------------

void PaintSlider(HWND slider, const SettingsLook& look) {
    Buffered(slider, [&](HDC dc, const RECT& client) {
        const SettingsPalette& colours = look.colours;
        const int dpi = look.dpi;
        FillSolid(dc, client, colours.background);
        RECT channel {};
        RECT thumb {};
        ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        const int thumbWidth = thumb.right - thumb.left;
        // The track runs between the thumb's extreme centres, at the thumb's height.
        const int cy = (thumb.top + thumb.bottom) / 2;
        const int cx = (thumb.left + thumb.right) / 2;
        const int from = channel.left + thumbWidth / 2;
        const int to = channel.right - thumbWidth / 2;
        const int thickness = std::max(Scale(4, dpi), 4);
        const RECT track {from, cy - thickness / 2, std::max(from + 1, to), cy - thickness / 2 + thickness};
        RoundBox(dc, track, colours.track, colours.track, 1, thickness);
        if (cx > from) {
            RoundBox(dc, RECT {from, track.top, cx, track.bottom}, colours.accent, colours.accent, 1, thickness);
        }
        const int radius = std::max(Scale(7, dpi), 6);
        const bool focused = ::GetFocus() == slider;
        if (focused) {
            // A halo in the window's colour sets the thumb off the track, then a ring around the control.
            Circle(dc, cx, cy, radius + std::max(Scale(2, dpi), 2), colours.background, colours.background, 1);
            Circle(dc, cx, cy, radius, colours.thumbFill, colours.accent, std::max(2, Scale(2, dpi)));
            UniquePen ring(::CreatePen(PS_INSIDEFRAME, 1, Ref(colours.accent)));
            SelectGuard selectPen(dc, ring.Get());
            SelectGuard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
            ::RoundRect(dc, client.left, client.top, client.right, client.bottom, Corner(dpi), Corner(dpi));
        } else {
            Circle(dc, cx, cy, radius, colours.thumbFill, colours.thumbBorder, 1);
        }
    });
}

bool SliderStaleAfter(UINT message) {
    return message == WM_SETFOCUS || message == WM_KILLFOCUS || message == TBM_SETPOS;
}

// ---- up-down arrows --------------------------------------------------------------------

void PaintArrows(HWND arrows, const SettingsLook& look) {
    Buffered(arrows, [&](HDC dc, const RECT& client) {
        const SettingsPalette& colours = look.colours;
        FillSolid(dc, client, colours.input);
        const int middle = (client.top + client.bottom) / 2;
        DrawGlyph(dc, RECT {client.left, client.top, client.right, middle}, kGlyphChevronUp, colours.secondary,
                  look.glyphs, look.dpi);
        DrawGlyph(dc, RECT {client.left, middle, client.right, client.bottom}, kGlyphChevronDown, colours.secondary,
                  look.glyphs, look.dpi);
    });
}

bool NeverStale(UINT) {
    return false;
}

// ---- check boxes -------------------------------------------------------------------------

// An owner-drawn button has no check state of its own.
LRESULT CALLBACK CheckProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case BM_GETCHECK:
        return IsChecked(hwnd) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        SetChecked(hwnd, wParam == BST_CHECKED);
        return 0;
    case WM_GETDLGCODE:
        return ::DefSubclassProc(hwnd, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON);
    case WM_NCDESTROY:
        ::RemovePropW(hwnd, kCheckedProperty);
        ::RemoveWindowSubclass(hwnd, CheckProc, kCheckSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void DrawCheckMark(HDC dc, const RECT& box, Colour colour, int dpi) {
    UniquePen pen(::CreatePen(PS_SOLID, std::max(2, Scale(2, dpi)), Ref(colour)));
    SelectGuard select(dc, pen.Get());
    const int w = box.right - box.left;
    const POINT points[] = {
        {box.left + w * 4 / 16, box.top + w * 8 / 16},
        {box.left + w * 7 / 16, box.top + w * 11 / 16},
        {box.left + w * 12 / 16, box.top + w * 5 / 16},
    };
    ::Polyline(dc, points, 3);
}

}  // namespace

bool StyleCombo(HWND combo, const SettingsLook* look) {
    return Draw<PaintCombo, ComboStaleAfter>(combo, look);
}

bool StyleSlider(HWND slider, const SettingsLook* look) {
    return Draw<PaintSlider, SliderStaleAfter>(slider, look);
}

bool StyleArrows(HWND arrows, const SettingsLook* look) {
    return Draw<PaintArrows, NeverStale>(arrows, look);
}

bool MakeCheckBox(HWND button) {
    return button != nullptr && ::SetWindowSubclass(button, CheckProc, kCheckSubclassId, 0) != FALSE;
}

bool IsChecked(HWND button) {
    return ::GetPropW(button, kCheckedProperty) != nullptr;
}

void SetChecked(HWND button, bool checked) {
    if (checked) {
        ::SetPropW(button, kCheckedProperty, reinterpret_cast<HANDLE>(1));
    } else {
        ::RemovePropW(button, kCheckedProperty);
    }
    ::InvalidateRect(button, nullptr, FALSE);
}

void DrawComboItem(const DRAWITEMSTRUCT& item, const SettingsLook& look) {
    const SettingsPalette& colours = look.colours;
    const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    // The field is painted by the combo itself; this only keeps its text current.
    if (field) {
        ::InvalidateRect(item.hwndItem, nullptr, FALSE);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillSolid(item.hDC, item.rcItem, selected ? colours.selectedFill : colours.input);
    if (item.itemID == static_cast<UINT>(-1)) return;
    const std::u16string text = ComboItemText(item.hwndItem, static_cast<LRESULT>(item.itemID));
    if (text.empty()) return;
    RECT area = item.rcItem;
    area.left += ComboTextLeft(look.dpi);
    area.right -= Scale(6, look.dpi);
    DrawLabel(item.hDC, look.font, text, area, selected ? colours.selectedText : colours.text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT);
}

void DrawCheckBox(const DRAWITEMSTRUCT& item, const SettingsLook& look) {
    const SettingsPalette& colours = look.colours;
    const int dpi = look.dpi;
    const RECT& rect = item.rcItem;
    FillSolid(item.hDC, rect, colours.background);
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    const bool checked = IsChecked(item.hwndItem);
    const int top = rect.top + Scale(4, dpi);
    const int size = CheckBoxSize(dpi);
    // The box sits beside the first line of the text.
    const int boxTop = top + std::max(0, (look.lineHeight - size) / 2);
    const RECT box {rect.left, boxTop, rect.left + size, boxTop + size};
    const int corner = std::max(Scale(6, dpi), 6);
    if (checked) {
        const Colour fill = enabled ? colours.accent : colours.disabled;
        RoundBox(item.hDC, box, fill, fill, 1, corner);
        DrawCheckMark(item.hDC, box, colours.onAccent, dpi);
    } else {
        RoundBox(item.hDC, box, colours.input, enabled ? colours.thumbBorder : colours.border, 1, corner);
    }
    RECT text {rect.left + CheckTextOffset(dpi), top, rect.right, rect.bottom};
    DrawLabel(item.hDC, look.font, WindowTextOf(item.hwndItem), text, enabled ? colours.text : colours.disabled,
              DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS);
    if ((item.itemState & ODS_FOCUS) != 0) {
        UniquePen ring(::CreatePen(PS_INSIDEFRAME, 1, Ref(colours.accent)));
        SelectGuard selectPen(item.hDC, ring.Get());
        SelectGuard selectBrush(item.hDC, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(item.hDC, rect.left, rect.top, rect.right, rect.bottom, Corner(dpi), Corner(dpi));
    }
}

void DrawPushButton(const DRAWITEMSTRUCT& item, const SettingsLook& look, bool accented) {
    const SettingsPalette& colours = look.colours;
    const int dpi = look.dpi;
    FillSolid(item.hDC, item.rcItem, colours.background);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    const Colour fill = accented ? colours.accent : pressed ? colours.border : colours.input;
    RoundBox(item.hDC, item.rcItem, fill, accented ? colours.accent : colours.border, 1, Corner(dpi));
    if (accented && pressed) {
        RECT inner = item.rcItem;
        ::InflateRect(&inner, -std::max(1, Scale(1, dpi)), -std::max(1, Scale(1, dpi)));
        RoundBox(item.hDC, inner, colours.accent, colours.onAccent, 1, Corner(dpi));
    }
    RECT text = item.rcItem;
    ::InflateRect(&text, -Scale(8, dpi), 0);
    const Colour colour = !enabled ? colours.disabled : accented ? colours.onAccent : colours.text;
    DrawLabel(item.hDC, look.font, WindowTextOf(item.hwndItem), text, colour,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
}

void DrawCaptureButton(const DRAWITEMSTRUCT& item, const SettingsLook& look, bool active, std::u16string_view text) {
    const SettingsPalette& colours = look.colours;
    const int dpi = look.dpi;
    FillSolid(item.hDC, item.rcItem, colours.background);
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    const bool focused = active || (item.itemState & ODS_FOCUS) != 0;
    const int border = focused ? std::max(2, Scale(2, dpi)) : std::max(1, Scale(1, dpi));
    RoundBox(item.hDC, item.rcItem, colours.input, focused && enabled ? colours.accent : colours.border, border,
             Corner(dpi));
    RECT area = item.rcItem;
    ::InflateRect(&area, -Scale(8, dpi), 0);
    DrawLabel(item.hDC, look.font, text, area, enabled ? colours.text : colours.disabled,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

void DrawBoxBackground(HDC dc, const Rect& frame, bool focused, const SettingsLook& look) {
    const int border = focused ? std::max(2, Scale(2, look.dpi)) : std::max(1, Scale(1, look.dpi));
    RoundBox(dc, ToRECT(frame), look.colours.input, focused ? look.colours.accent : look.colours.border, border,
             Corner(look.dpi));
}

int WrappedTextHeight(HFONT font, std::u16string_view text, int width) {
    HDC dc = ::GetDC(nullptr);
    RECT area {0, 0, std::max(1, width), 0};
    {
        SelectGuard select(dc, font);
        // The flags a plain static draws with, so the measure matches what it shows.
        ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &area,
                    DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    }
    ::ReleaseDC(nullptr, dc);
    return area.bottom - area.top;
}

}  // namespace quillpane
