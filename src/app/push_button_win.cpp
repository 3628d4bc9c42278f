#include "app/push_button_win.h"

#include "app/dialog_look_win.h"
#include "app/theme_win.h"
#include "platform/dpi.h"
#include "platform/handles_win.h"
#include "platform/system_calls_win.h"

#include <commctrl.h>

#include <algorithm>

namespace quillpane {
namespace {

constexpr UINT_PTR kRingSubclassId = 0x5170;
constexpr UINT_PTR kDefaultSubclassId = 0x5171;

// GetDC/ReleaseDC for painting outside WM_PAINT.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    [[nodiscard]] HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

void DrawRing(HWND button, Colour ring) {
    if (::GetPropW(button, kPushFocusProperty) == nullptr) return;
    WindowDc dc(button);
    if (dc.Get() == nullptr) return;
    const int dpi = WindowDpiOf(button);
    RECT rect {};
    ::GetClientRect(button, &rect);
    const int inset = std::max(1, Scale(1, dpi));
    ::InflateRect(&rect, -inset, -inset);
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, std::max(2, Scale(2, dpi)), Ref(ring)));
    SelectGuard selectPen(dc.Get(), pen.Get());
    SelectGuard selectBrush(dc.Get(), ::GetStockObject(NULL_BRUSH));
    const int corner = std::max(Scale(4, dpi), 4);
    ::RoundRect(dc.Get(), rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void RepaintNow(HWND button) {
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CALLBACK RingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto ring = static_cast<Colour>(data);
    switch (message) {
    case WM_SETFOCUS: {
        ::SetPropW(hwnd, kPushFocusProperty, reinterpret_cast<HANDLE>(1));
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        RepaintNow(hwnd);
        return result;
    }
    case WM_KILLFOCUS: {
        ::RemovePropW(hwnd, kPushFocusProperty);
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        RepaintNow(hwnd);
        return result;
    }
    case WM_UPDATEUISTATE: {
        // Keyboard use would bring the dotted rectangle back beside the ring.
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        ::DefSubclassProc(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        return result;
    }
    case WM_PAINT:
    case BM_SETSTATE:
    case BM_SETSTYLE: {
        // The button paints itself here (pressed, default); the ring goes on top.
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        DrawRing(hwnd, ring);
        return result;
    }
    case WM_NCDESTROY:
        ::RemovePropW(hwnd, kPushFocusProperty);
        ::RemoveWindowSubclass(hwnd, RingProc, kRingSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void SetDefault(HWND button, bool isDefault) {
    if (button == nullptr || !::IsWindow(button)) return;
    const bool now = (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (now != isDefault) ::SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

LRESULT CALLBACK DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto fallback = reinterpret_cast<HWND>(data);
    switch (message) {
    case WM_SETFOCUS:
        SetDefault(fallback, false);
        SetDefault(hwnd, true);
        break;
    case WM_KILLFOCUS:
        SetDefault(hwnd, false);
        SetDefault(fallback, true);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, DefaultProc, kDefaultSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool AddPushFocusRing(HWND button, Colour ring) {
    if (button == nullptr) return false;
    if (!::SetWindowSubclass(button, RingProc, kRingSubclassId, static_cast<DWORD_PTR>(ring))) return false;
    if (::GetFocus() == button) {
        ::SetPropW(button, kPushFocusProperty, reinterpret_cast<HANDLE>(1));
    }
    ::InvalidateRect(button, nullptr, TRUE);
    return true;
}

void ThemePushButton(HWND button, bool dark) {
    if (button == nullptr) return;
    ApplyDialogTheme(button, dark);
    ::InvalidateRect(button, nullptr, TRUE);
}

bool DefaultWhileFocused(HWND button, HWND fallback) {
    if (button == nullptr) return false;
    return ::SetWindowSubclass(button, DefaultProc, kDefaultSubclassId, reinterpret_cast<DWORD_PTR>(fallback)) != FALSE;
}

void MatchDefaultToFocus(HWND button, HWND fallback) {
    const bool focused = ::GetFocus() == button;
    SetDefault(focused ? fallback : button, false);
    SetDefault(focused ? button : fallback, true);
}

}  // namespace quillpane
