// The editor procedure's mouse half: gutter and triple-click line selection
// with its drag, presses in the inset strips and the fold margin, the drag
// timer with auto-scroll, the wheel and the gutter's right press.
#include "editor/editor_window_win.h"
#include "resources/messages.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/editor_paint_win.h"
#include "editor/editor_proc_state_win.h"
#include "editor/links_win.h"
#include "editor/text_adapter_win.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace quillpane {
namespace {

constexpr int kDeadZone = 3;       // pixels a line drag must leave before it selects
constexpr int kLinkSlop = 4;       // pixels that turn a link press into a drag
constexpr int kMaxScrollLines = 4;  // per auto-scroll step

std::size_t ToSize(LRESULT value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

bool IsOurs(const EditorProcState& state) {
    return state.ed->hwnd == state.editor && state.ed->text.model.Window() == state.editor;
}

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

POINT CursorInClient(HWND editor) {
    POINT point {};
    ::GetCursorPos(&point);
    ::ScreenToClient(editor, &point);
    return point;
}

int ClientHeight(HWND editor) {
    RECT client {};
    ::GetClientRect(editor, &client);
    return client.bottom;
}

struct Gutter {
    int width = 0;      // margins 0 to 4
    int foldLeft = 0;   // margin 2, the fold margin
    int foldRight = 0;
};

Gutter GutterOf(const EditorWindow& ed) {
    Gutter gutter;
    int widths[5] {};
    for (int margin = 0; margin < 5; ++margin) {
        widths[margin] = static_cast<int>(ed.sci.MarginWidthN(margin));
        gutter.width += widths[margin];
    }
    gutter.foldLeft = widths[0] + widths[1];
    gutter.foldRight = gutter.foldLeft + widths[2];
    return gutter;
}

bool InFoldMargin(const Gutter& gutter, POINT point) {
    return point.x >= gutter.foldLeft && point.x < gutter.foldRight;
}

int LineHeight(const EditorWindow& ed) {
    return std::max(1, static_cast<int>(ed.sci.TextHeight(0)));
}

// The document line shown at client y; above or below the text: the first or
// the last line.
std::size_t LineAtY(const EditorWindow& ed, int y) {
    const int height = LineHeight(ed);
    const int rows = y >= 0 ? y / height : -((-y + height - 1) / height);
    const long long display = std::max(0LL, static_cast<long long>(ed.sci.FirstVisibleLine()) + rows);
    const std::size_t lines = ToSize(ed.sci.LineCount());
    const std::size_t line = ToSize(ed.sci.DocLineFromVisible(display));
    return std::min(line, lines > 0 ? lines - 1 : 0);
}

std::size_t LineStart(const EditorWindow& ed, std::size_t line) {
    return ToSize(ed.sci.PositionFromLine(line));
}

// The start of the next line, or the end of the text after the last line.
std::size_t LineNext(const EditorWindow& ed, std::size_t line) {
    if (line + 1 < ToSize(ed.sci.LineCount())) return LineStart(ed, line + 1);
    return ToSize(ed.sci.Length());
}

void StartDragTimer(EditorProcState& state) {
    if (::SetTimer(state.editor, kDragTimerId, kDragTimerMs, nullptr) != 0) state.dragTimer = true;
}

// From the anchor line to line, whole lines; upwards the caret is at the top.
void ExtendLines(EditorProcState& state, std::size_t line) {
    const EditorWindow& ed = *state.ed;
    const std::size_t start = LineStart(ed, line);
    const std::size_t next = LineNext(ed, line);
    if (start >= state.anchorLineStart) {
        ed.sci.SetSel(state.anchorLineStart, next);
    } else {
        ed.sci.SetSel(state.anchorLineEnd, start);
    }
}

void StartLineDrag(EditorProcState& state, POINT point) {
    HWND editor = state.editor;
    const EditorWindow& ed = *state.ed;
    const std::size_t line = LineAtY(ed, point.y);
    state.anchorLineStart = LineStart(ed, line);
    state.anchorLineEnd = LineNext(ed, line);
    state.lineAnchorValid = true;
    ed.sci.SetSel(state.anchorLineStart, state.anchorLineEnd);
    state.lineDrag = true;
    state.dragMoved = false;
    state.pressPoint = point;
    ::SetCapture(editor);
    StartDragTimer(state);
}

// Lines above or below the client area (at least one, at most four); a
// line drag also scrolls in a band along the edges.
void AutoScroll(EditorProcState& state, POINT point, bool lineDrag) {
    HWND editor = state.editor;
    const EditorWindow& ed = *state.ed;
    const int height = LineHeight(ed);
    const int bottom = ClientHeight(editor);
    const int y = static_cast<int>(point.y);
    int lines = 0;
    if (y < 0) {
        lines = -std::clamp((-y + height - 1) / height, 1, kMaxScrollLines);
    } else if (y >= bottom) {
        lines = std::clamp((y - bottom + height) / height, 1, kMaxScrollLines);
    } else if (lineDrag && height > 4) {
        const int band = std::max(6, height / 4);
        if (y < band) lines = -1;
        if (y >= bottom - band) lines = 1;
    }
    if (lines == 0) return;
    SuppressUnderlineForScroll(*state.ed, editor);
    ed.sci.LineScroll(0, lines);
}

void ContinueLineDrag(EditorProcState& state, POINT point) {
    if (!state.dragMoved) {
        if (std::abs(point.x - state.pressPoint.x) <= kDeadZone && std::abs(point.y - state.pressPoint.y) <= kDeadZone)
            return;
        state.dragMoved = true;
    }
    AutoScroll(state, point, true);
    ExtendLines(state, LineAtY(*state.ed, point.y));
    AfterCaretMove(*state.ed);
}

void ContinueTextDrag(EditorProcState& state, POINT point) {
    HWND editor = state.editor;
    const EditorWindow& ed = *state.ed;
    RECT client {};
    ::GetClientRect(editor, &client);
    if (::PtInRect(&client, point)) return;  // the component follows the pointer itself
    AutoScroll(state, point, false);
    const int x = std::clamp(static_cast<int>(point.x), 0, static_cast<int>(std::max(0L, client.right - 1)));
    const int y = std::clamp(static_cast<int>(point.y), 0, static_cast<int>(std::max(0L, client.bottom - 1)));
    const Scintilla::Position position = ed.sci.PositionFromPoint(x, y);
    if (position < 0) return;
    const Scintilla::SelectionMode mode = ed.sci.SelectionMode();
    if (mode == Scintilla::SelectionMode::Rectangle || mode == Scintilla::SelectionMode::Thin) {
        ed.sci.SetRectangularSelectionCaret(position);
    } else {
        ed.sci.SetCurrentPos(position);
    }
}

bool IsTripleClick(const EditorProcState& state, POINT point) {
    if (!state.doubleClickValid || ::GetTickCount() - state.doubleClickTime > ::GetDoubleClickTime()) return false;
    return std::abs(point.x - state.doubleClickPoint.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(point.y - state.doubleClickPoint.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

std::optional<LRESULT> OnLeftPress(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    EditorWindow& ed = *state.ed;
    HWND editor = state.editor;
    const POINT point = PointOf(lParam);
    // The inset strips lie outside the client rectangle but hit-test as client.
    if (point.y < 0 || point.y >= ClientHeight(editor)) {
        ::SetFocus(editor);
        SetCaret(ed, point.y < 0 ? 0 : EditorLength16(ed), false);
        state.lineAnchorValid = false;
        return 0;
    }
    const Gutter gutter = GutterOf(ed);
    if (InFoldMargin(gutter, point)) {
        ::SetFocus(editor);
        ::SendMessageW(ed.parent, PM_TOGGLEFOLD, static_cast<WPARAM>(LineAtY(ed, point.y)), 1);
        return 0;
    }
    if ((wParam & MK_SHIFT) != 0 && state.lineAnchorValid) {
        ::SetFocus(editor);
        ExtendLines(state, LineAtY(ed, point.y));
        AfterCaretMove(ed);
        return 0;
    }
    if (point.x < gutter.width) {
        ::SetFocus(editor);
        StartLineDrag(state, point);
        AfterCaretMove(ed);
        return 0;
    }
    if (IsTripleClick(state, point)) {
        state.doubleClickValid = false;
        ::SetFocus(editor);
        StartLineDrag(state, point);
        AfterCaretMove(ed);
        return 0;
    }
    state.doubleClickValid = false;
    state.lineAnchorValid = false;
    // A plain press on a link selects it on release, unless it became a drag.
    state.linkPress = false;
    if ((wParam & (MK_CONTROL | MK_SHIFT)) == 0) {
        if (const std::optional<LinkSpan> link = LinkAtPoint(ed, point)) {
            state.linkPress = true;
            state.linkPressPoint = point;
            state.linkPressPosition = static_cast<std::size_t>(link->start);
        }
    }
    state.textDrag = true;
    StartDragTimer(state);
    return std::nullopt;
}

std::optional<LRESULT> OnLeftDoubleClick(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    const POINT point = PointOf(lParam);
    // The gutter, the strips and the fold margin take a second press as a press.
    if (point.y < 0 || point.y >= ClientHeight(state.editor) || point.x < GutterOf(*state.ed).width) {
        return OnLeftPress(state, wParam, lParam);
    }
    if ((wParam & (MK_CONTROL | MK_SHIFT)) == 0) {
        if (const std::optional<LinkSpan> link = LinkAtPoint(*state.ed, point)) {
            state.ed->sci.SetSel(link->start, link->end);
            AfterCaretMove(*state.ed);
            OpenLink(*state.ed, *link);
            return 0;
        }
    }
    state.textDrag = true;
    StartDragTimer(state);
    return std::nullopt;
}

std::optional<LRESULT> OnLeftRelease(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    if (state.lineDrag) {
        EndEditorDrags(state);
        AfterCaretMove(*state.ed);
        return 0;
    }
    const bool linkPress = state.linkPress;
    state.linkPress = false;
    state.textDrag = false;
    if (!linkPress) return std::nullopt;
    // The component ends its own press first; then the link is the selection.
    const LRESULT result = ::DefSubclassProc(state.editor, WM_LBUTTONUP, wParam, lParam);
    const std::optional<LinkSpan> link = LinkAtPoint(*state.ed, PointOf(lParam));
    if (link && static_cast<std::size_t>(link->start) == state.linkPressPosition) {
        state.ed->sci.SetSel(link->start, link->end);
        AfterCaretMove(*state.ed);
    }
    return result;
}

std::optional<LRESULT> OnMouseMove(EditorProcState& state, LPARAM lParam) {
    const POINT point = PointOf(lParam);
    if (state.linkPress && (std::abs(point.x - state.linkPressPoint.x) > kLinkSlop ||
                            std::abs(point.y - state.linkPressPoint.y) > kLinkSlop)) {
        state.linkPress = false;
    }
    if (!state.lineDrag) return std::nullopt;
    ContinueLineDrag(state, point);
    return 0;
}

std::optional<LRESULT> OnDragTimer(EditorProcState& state) {
    if (::GetKeyState(VK_LBUTTON) >= 0 || (!state.lineDrag && !state.textDrag)) {
        EndEditorDrags(state);
        return 0;
    }
    const POINT point = CursorInClient(state.editor);
    if (state.lineDrag) {
        ContinueLineDrag(state, point);
    } else {
        ContinueTextDrag(state, point);
    }
    return 0;
}

// A right press on the gutter beside the selection keeps the selection for
// the context menu.
std::optional<LRESULT> OnRightPress(EditorProcState& state, LPARAM lParam) {
    HWND editor = state.editor;
    const EditorWindow& ed = *state.ed;
    const POINT point = PointOf(lParam);
    const Gutter gutter = GutterOf(ed);
    if (point.x >= gutter.width || InFoldMargin(gutter, point) || point.y < 0 || point.y >= ClientHeight(editor))
        return std::nullopt;
    if (ed.sci.SelectionEmpty()) return std::nullopt;
    const std::size_t line = LineAtY(ed, point.y);
    const std::size_t start = ToSize(ed.sci.SelectionStart());
    const std::size_t end = ToSize(ed.sci.SelectionEnd());
    if (LineStart(ed, line) >= end || LineNext(ed, line) <= start) return std::nullopt;
    ::SetFocus(editor);
    return 0;
}

std::optional<LRESULT> OnWheel(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    HWND editor = state.editor;
    const EditorWindow& ed = *state.ed;
    if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
        // The size step is the program's; the component must not zoom by itself.
        ::PostMessageW(::GetParent(editor), PM_ZOOMSTEP, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : static_cast<WPARAM>(-1),
                       0);
        return 0;
    }
    SuppressUnderlineForScroll(*state.ed, editor);
    const LRESULT result = ::DefSubclassProc(editor, WM_MOUSEWHEEL, wParam, lParam);
    const POINT point = CursorInClient(editor);
    if (state.lineDrag) {
        ExtendLines(state, LineAtY(ed, point.y));
        AfterCaretMove(*state.ed);
    } else if (state.textDrag && ::GetKeyState(VK_LBUTTON) < 0) {
        // The component extends its selection on moves only.
        const LPARAM at = MAKELPARAM(point.x, point.y);
        for (int i = 0; i < 2; ++i) ::SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, at);
    }
    return result;
}

std::optional<LRESULT> OnSetCursor(EditorProcState& state, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT) return std::nullopt;
    HWND editor = state.editor;
    EditorWindow& ed = *state.ed;
    const POINT point = CursorInClient(editor);
    if (point.y < 0 || point.y >= ClientHeight(editor) || point.x < GutterOf(ed).width) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    if (MarkedLinkAtPoint(ed, point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return std::nullopt;
}

}  // namespace

void EndEditorDrags(EditorProcState& state) {
    HWND editor = state.editor;
    if (state.dragTimer) {
        ::KillTimer(editor, kDragTimerId);
        state.dragTimer = false;
    }
    const bool heldCapture = state.lineDrag;
    state.lineDrag = false;
    state.textDrag = false;
    state.linkPress = false;
    if (heldCapture && ::GetCapture() == editor) ::ReleaseCapture();
}

std::optional<LRESULT> HandleEditorMouse(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsOurs(state)) return std::nullopt;
    switch (message) {
    case WM_SETCURSOR: return OnSetCursor(state, lParam);
    case WM_LBUTTONDOWN: return OnLeftPress(state, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnLeftDoubleClick(state, wParam, lParam);
    case WM_LBUTTONUP: return OnLeftRelease(state, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(state, lParam);
    case WM_RBUTTONDOWN: return OnRightPress(state, lParam);
    case WM_MOUSEWHEEL: return OnWheel(state, wParam, lParam);
    case WM_TIMER:
        if (wParam == kDragTimerId) return OnDragTimer(state);
        return std::nullopt;
    case WM_CAPTURECHANGED:
        // The component's own capture ends its text drag too.
        if (state.dragTimer) {
            ::KillTimer(state.editor, kDragTimerId);
            state.dragTimer = false;
        }
        state.lineDrag = false;
        state.textDrag = false;
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace quillpane
