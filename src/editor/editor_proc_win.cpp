// The editor's window procedure, layered over Scintilla's own by subclassing.
#include "editor/editor_proc_win.h"

#include "app/app_win.h"
#include "app/commands.h"
#include "editor/editor_host_win.h"
#include "editor/editor_paint_win.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

namespace quillpane {
namespace {

constexpr UINT_PTR kEditorSubclassId = 0x51504544;  // "QPED"

LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

LRESULT Default(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(editor, message, wParam, lParam);
}

// The window's client rectangle in window coordinates, and whether a bottom
// strip exists (there is none above a horizontal scroll bar).
struct FrameGeometry {
    Size window;
    Rect client;
    bool bottomStrip = false;
};

FrameGeometry GeometryOf(HWND editor) {
    RECT window {};
    ::GetWindowRect(editor, &window);
    RECT client {};
    ::GetClientRect(editor, &client);
    ::MapWindowPoints(editor, nullptr, reinterpret_cast<POINT*>(&client), 2);
    FrameGeometry geometry;
    geometry.window = {window.right - window.left, window.bottom - window.top};
    geometry.client = {client.left - window.left, client.top - window.top, client.right - window.left,
                       client.bottom - window.top};
    geometry.bottomStrip = (::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL) == 0;
    return geometry;
}

StripHit StripAt(HWND editor, LPARAM screenPoint) {
    RECT window {};
    ::GetWindowRect(editor, &window);
    const FrameGeometry geometry = GeometryOf(editor);
    const Point point {GET_X_LPARAM(screenPoint) - window.left, GET_Y_LPARAM(screenPoint) - window.top};
    return HitTestStrips(point, geometry.window, geometry.client, geometry.bottomStrip);
}

LRESULT OnPaint(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    if (ProgramPaints(app.look)) {
        PaintEditor(app, editor);
        return 0;
    }
    const LRESULT result = Default(editor, WM_PAINT, wParam, lParam);
    PaintInsetStrips(app, editor);
    return result;
}

LRESULT OnNcCalcSize(HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_NCCALCSIZE, wParam, lParam);
    RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const bool horizontalBar = (::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL) != 0;
    const Rect inset = InsetClient({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                   InsetsFor(horizontalBar, WindowDpiOf(editor)));
    *proposed = RECT {inset.left, inset.top, inset.right, inset.bottom};
    return result;
}

LRESULT OnNcPaint(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_NCPAINT, wParam, lParam);
    PaintInsetStrips(app, editor);
    return result;
}

LRESULT OnNcHitTest(HWND editor, WPARAM wParam, LPARAM lParam) {
    switch (StripAt(editor, lParam)) {
    case StripHit::TopText:
    case StripHit::BottomText:
        return HTCLIENT;
    case StripHit::TopScrollBar:
    case StripHit::BottomScrollBar:
        return HTVSCROLL;
    case StripHit::None:
        break;
    }
    return Default(editor, WM_NCHITTEST, wParam, lParam);
}

// A press on a strip's scroll-bar part jumps to the top or the bottom.
LRESULT OnNcLButtonDown(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    if (wParam == HTVSCROLL) {
        const StripHit hit = StripAt(editor, lParam);
        if (hit == StripHit::TopScrollBar || hit == StripHit::BottomScrollBar) {
            SuppressUnderlineForScroll(app, editor);
            ::SendMessageW(editor, WM_VSCROLL, hit == StripHit::TopScrollBar ? SB_TOP : SB_BOTTOM, 0);
            return 0;
        }
    }
    return Default(editor, WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT OnSetFocus(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_SETFOCUS, wParam, lParam);
    if (editor == app.editor) {
        ApplyCaret(app);
        UpdateImeCue(app);
        RefreshDosCaret(app);
    }
    return result;
}

LRESULT OnKillFocus(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_KILLFOCUS, wParam, lParam);
    ForgetDosCaret(app, editor);
    return result;
}

LRESULT OnImeNotify(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_IME_NOTIFY, wParam, lParam);
    if (wParam == IMN_SETOPENSTATUS && editor == app.editor) UpdateImeCue(app);
    return result;
}

LRESULT OnScroll(App& app, HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    SuppressUnderlineForScroll(app, editor);
    return Default(editor, message, wParam, lParam);
}

LRESULT OnMouseWheel(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
        // The size step is the program's; the component must not zoom by itself.
        ::PostMessageW(app.panel, PM_ZOOMSTEP, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : static_cast<WPARAM>(-1), 0);
        return 0;
    }
    return OnScroll(app, editor, WM_MOUSEWHEEL, wParam, lParam);
}

LRESULT OnSize(App& app, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_SIZE, wParam, lParam);
    if (editor == app.editor && !app.shell.inSizeMove) UpdateCurrentLineCues(app);
    return result;
}

LRESULT OnNcDestroy(App& app, HWND editor, WPARAM wParam, LPARAM lParam, UINT_PTR id) {
    ::RemoveWindowSubclass(editor, EditorProc, id);
    ReleasePaintBuffer(app.look);
    app.look.appliedCaretKind = 0;
    app.look.dosCaret.reset();
    return ::DefSubclassProc(editor, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    App& app = *reinterpret_cast<App*>(data);
    switch (message) {
    case WM_PAINT:
        return OnPaint(app, editor, wParam, lParam);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(editor, wParam, lParam);
    case WM_NCPAINT:
        return OnNcPaint(app, editor, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(editor, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(app, editor, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(app, editor, wParam, lParam);
    case WM_KILLFOCUS:
        return OnKillFocus(app, editor, wParam, lParam);
    case WM_IME_NOTIFY:
        return OnImeNotify(app, editor, wParam, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
        return OnScroll(app, editor, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(app, editor, wParam, lParam);
    case WM_SIZE:
        return OnSize(app, editor, wParam, lParam);
    case WM_NCDESTROY:
        return OnNcDestroy(app, editor, wParam, lParam, id);
    default:
        break;
    }
    return Default(editor, message, wParam, lParam);
}

}  // namespace

bool InstallEditorProc(App& app, HWND editor) {
    return ::SetWindowSubclass(editor, EditorProc, kEditorSubclassId, reinterpret_cast<DWORD_PTR>(&app)) != FALSE;
}

}  // namespace quillpane
