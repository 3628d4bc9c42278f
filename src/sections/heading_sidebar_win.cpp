#include "sections/heading_sidebar_win.h"

#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "platform/system_calls_win.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"
#include "resources/messages.h"
#include "sections/markers.h"
#include "sections/memo_reorder.h"
#include "sections/section_commands_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace quillpane {
namespace {

constexpr UINT_PTR kRebuildTimer = 1;
constexpr UINT_PTR kArmTimer = 2;
constexpr UINT_PTR kScrollTimer = 3;
constexpr UINT kRebuildDelayMs = 250;
constexpr UINT kArmDelayMs = 200;
constexpr UINT kScrollIntervalMs = 40;
constexpr UINT_PTR kListSubclassId = 1;
constexpr int kListId = 1;
constexpr UINT kDefaultWheelLines = 3;

bool Serves(const EditorWindow* editor) {
    return editor != nullptr && ServesText(*editor);
}

bool WantedVisible(const HeadingSidebar& sidebar) {
    return sidebar.settings != nullptr && sidebar.settings->visible;
}

bool IsDark(const HeadingSidebar& sidebar) {
    return sidebar.dark != nullptr && *sidebar.dark;
}

bool MemoFoldOn(const HeadingSidebar& sidebar) {
    return sidebar.editor != nullptr && SettingsOf(*sidebar.editor).memoFold;
}

int RowCount(const HeadingSidebar& sidebar) {
    return static_cast<int>(sidebar.entries.size());
}

int SelectedRow(const HeadingSidebar& sidebar) {
    return static_cast<int>(::SendMessageW(sidebar.list, LB_GETCURSEL, 0, 0));
}

bool ListHasFocus(const HeadingSidebar& sidebar) {
    return sidebar.list != nullptr && ::GetFocus() == sidebar.list;
}

bool DragShown(const HeadingSidebar& sidebar) {
    return sidebar.drag.phase == SidebarDragPhase::Armed || sidebar.drag.phase == SidebarDragPhase::Dragging;
}

void Beep() {
    ::MessageBeep(MB_ICONEXCLAMATION);
}

COLORREF Ref(Colour colour) {
    return static_cast<COLORREF>(colour);
}

void Fill(HDC dc, const RECT& rect, Colour colour) {
    ::SetBkColor(dc, Ref(colour));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

UniqueFont MakeFont(int points, int dpi) {
    LOGFONTW font {};
    font.lfHeight = -::MulDiv(points, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, L"Yu Gothic UI", LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&font));
}

int SizeStep(const HeadingSidebar& sidebar) {
    return sidebar.editor != nullptr ? sidebar.editor->sizeStep : 0;
}

void RebuildFonts(HeadingSidebar& sidebar) {
    const int step = SizeStep(sidebar);
    sidebar.metrics = ComputeSidebarMetrics(sidebar.dpi, step);
    sidebar.titleFont = MakeFont(SidebarPointSize(step), sidebar.dpi);
    sidebar.subtitleFont = MakeFont(SidebarSubtitlePointSize(step), sidebar.dpi);
    if (sidebar.list != nullptr) ::SendMessageW(sidebar.list, LB_SETITEMHEIGHT, 0, sidebar.metrics.rowHeight);
}

void RebuildBrush(HeadingSidebar& sidebar) {
    sidebar.background = UniqueBrush(::CreateSolidBrush(Ref(SidebarColours(IsDark(sidebar)).background)));
    if (sidebar.list != nullptr) {
        ::SetWindowTheme(sidebar.list, WidePtr(std::u16string(ControlThemeName(IsDark(sidebar)))), nullptr);
    }
}

// The list's place inside the sidebar: 5 px from the left (resize strip and
// border line), 6 px from the top and right, and within the work area.
void LayoutList(HeadingSidebar& sidebar) {
    if (sidebar.list == nullptr) return;
    const SidebarMetrics& m = sidebar.metrics;
    RECT client {};
    ::GetClientRect(sidebar.window, &client);
    int top = m.listMargin;
    int bottom = client.bottom - m.listMargin;
    MONITORINFO monitor {};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromWindow(sidebar.window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        POINT workTop {0, monitor.rcWork.top};
        POINT workBottom {0, monitor.rcWork.bottom};
        ::ScreenToClient(sidebar.window, &workTop);
        ::ScreenToClient(sidebar.window, &workBottom);
        top = std::max(top, static_cast<int>(workTop.y) + m.listMargin);
        bottom = std::min(bottom, static_cast<int>(workBottom.y) - m.listMargin);
    }
    const int height = std::max(bottom - top, m.rowHeight);
    const int width = std::max(1, static_cast<int>(client.right) - m.listMargin - m.listLeft);
    RECT now {};
    ::GetWindowRect(sidebar.list, &now);
    ::MapWindowPoints(nullptr, sidebar.window, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == m.listLeft && now.top == top && now.right - now.left == width && now.bottom - now.top == height) {
        return;  // a move of the panel within the same work area
    }
    ::MoveWindow(sidebar.list, m.listLeft, top, width, height, TRUE);
    ::InvalidateRect(sidebar.list, nullptr, TRUE);
}

// ---- rows --------------------------------------------------------------------

int VisibleWidth(HWND list) {
    RECT client {};
    ::GetClientRect(list, &client);
    return client.right;
}

SidebarRowLayout RowLayout(const HeadingSidebar& sidebar, int row, const RECT& rect, int countWidth) {
    const SectionEntry& entry = sidebar.entries[static_cast<std::size_t>(row)];
    SidebarRowInput input;
    input.row = {rect.left, rect.top, rect.right, rect.bottom};
    input.visibleRight = VisibleWidth(sidebar.list);
    input.handlesShown = sidebar.handlesShown;
    input.startsAtMarker = entry.startsAtMarker;
    input.showTriangle = MemoFoldOn(sidebar) && entry.canFold;
    input.countWidth = countWidth;
    return LayoutSidebarRow(input, sidebar.metrics);
}

std::optional<RECT> RowRect(const HeadingSidebar& sidebar, int row) {
    RECT rect {};
    if (::SendMessageW(sidebar.list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) ==
        LB_ERR) {
        return std::nullopt;
    }
    return rect;
}

void DrawText16(HDC dc, const std::u16string& text, const Rect& box, UINT align) {
    if (text.empty() || box.Width() <= 0) return;
    RECT rect {box.left, box.top, box.right, box.bottom};
    ::DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &rect,
                align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void DrawHandle(HDC dc, Point centre, const SidebarMetrics& m, Colour colour) {
    const int thickness = std::max(1, m.handleLineGap / 3);
    for (int i = -1; i <= 1; ++i) {
        const int y = centre.y + i * m.handleLineGap;
        const RECT line {centre.x - m.handleLineHalf, y, centre.x + m.handleLineHalf, y + thickness};
        Fill(dc, line, colour);
    }
}

void DrawTriangle(HDC dc, Point c, int half, bool folded, Colour colour) {
    POINT points[3];
    if (folded) {  // pointing right
        points[0] = {c.x - half / 2, c.y - half};
        points[1] = {c.x - half / 2, c.y + half};
        points[2] = {c.x + half / 2 + half / 2, c.y};
    } else {  // pointing down
        points[0] = {c.x - half, c.y - half / 2};
        points[1] = {c.x + half, c.y - half / 2};
        points[2] = {c.x, c.y + half / 2 + half / 2};
    }
    const UniqueBrush brush(::CreateSolidBrush(Ref(colour)));
    const HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
    const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::Polygon(dc, points, 3);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

void DrawRow(HeadingSidebar& sidebar, const DRAWITEMSTRUCT& item) {
    const SidebarPalette palette = SidebarColours(IsDark(sidebar));
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    const int row = static_cast<int>(item.itemID);
    if (item.itemID == static_cast<UINT>(-1) || row >= RowCount(sidebar)) {
        Fill(dc, rect, palette.background);
        return;
    }
    const SectionEntry& entry = sidebar.entries[static_cast<std::size_t>(row)];
    const SidebarMetrics& m = sidebar.metrics;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool armed = DragShown(sidebar);
    const bool highlighted = (selected && !armed) || (armed && row == sidebar.drag.source);
    Fill(dc, rect, highlighted ? palette.selection : palette.background);

    const std::u16string count = HitCountText(entry.hitCount);
    const HGDIOBJ oldFont = ::SelectObject(dc, sidebar.titleFont.Get());
    int countWidth = 0;
    if (!count.empty()) {
        SIZE extent {};
        ::GetTextExtentPoint32W(dc, WidePtr(count), static_cast<int>(count.size()), &extent);
        countWidth = extent.cx;
    }
    const SidebarRowLayout layout = RowLayout(sidebar, row, rect, countWidth);

    if (selected && !armed && ListHasFocus(sidebar)) {
        Fill(dc, RECT {rect.left, rect.top, rect.left + m.focusBar, rect.bottom}, palette.accent);
    }
    if (!highlighted) {
        const RECT separator {layout.title.left, rect.bottom - 1, layout.subtitle.right, rect.bottom};
        Fill(dc, separator, palette.line);
    }
    if (layout.handle) DrawHandle(dc, layout.handleCentre, m, highlighted ? palette.handleActive : palette.handle);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(palette.title));
    DrawText16(dc, entry.title, layout.title, DT_LEFT);
    if (!count.empty()) DrawText16(dc, count, layout.count, DT_RIGHT);
    if (!entry.subtitle.empty()) {
        ::SelectObject(dc, sidebar.subtitleFont.Get());
        ::SetTextColor(dc, Ref(palette.subtitle));
        DrawText16(dc, entry.subtitle, layout.subtitle, DT_LEFT);
    }
    ::SelectObject(dc, oldFont);
    if (layout.triangle) DrawTriangle(dc, layout.triangleCentre, m.triangleHalf, entry.folded, palette.triangle);

    // Where a dragged memo would land.
    const SidebarDrag& drag = sidebar.drag;
    if (drag.phase == SidebarDragPhase::Dragging && MovesSomething(drag.source, drag.target)) {
        if (drag.target == row) {
            Fill(dc, RECT {rect.left, rect.top, rect.right, rect.top + m.dropBar}, palette.accent);
        } else if (drag.target == RowCount(sidebar) && row == RowCount(sidebar) - 1) {
            Fill(dc, RECT {rect.left, rect.bottom - m.dropBar, rect.right, rect.bottom}, palette.accent);
        }
    }
}

// ---- selecting and jumping -----------------------------------------------------

void SelectRow(HeadingSidebar& sidebar, int row, bool keepScroll) {
    if (sidebar.list == nullptr) return;
    const LRESULT top = ::SendMessageW(sidebar.list, LB_GETTOPINDEX, 0, 0);
    ::SendMessageW(sidebar.list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    if (keepScroll) ::SendMessageW(sidebar.list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

// Folds or unfolds a row's memo; whether it is folded now.
std::optional<bool> ToggleRowFold(HeadingSidebar& sidebar, int row) {
    if (!Serves(sidebar.editor) || sidebar.folds == nullptr || sidebar.settings == nullptr) return std::nullopt;
    const std::size_t start = sidebar.entries[static_cast<std::size_t>(row)].startIndex;
    const std::optional<bool> folded = ToggleFoldOfMemo(*sidebar.editor, sidebar.settings->folded, start);
    // The toggle may have rebuilt the rows already; the same memo is found by its start.
    for (SectionEntry& entry : sidebar.entries) {
        if (folded && entry.startIndex == start) entry.folded = *folded;
    }
    ::InvalidateRect(sidebar.list, nullptr, FALSE);
    return folded;
}

// Moves the caret to a row's memo and scrolls it to the middle.
void JumpToRow(HeadingSidebar& sidebar, int row, bool unfold, bool focusEditor) {
    if (!Serves(sidebar.editor) || row < 0 || row >= RowCount(sidebar)) {
        Beep();
        return;
    }
    EditorWindow& editor = *sidebar.editor;
    if (unfold && MemoFoldOn(sidebar) && sidebar.entries[static_cast<std::size_t>(row)].folded) {
        (void)ToggleRowFold(sidebar, row);
    }
    if (row >= RowCount(sidebar)) {
        Beep();
        return;
    }
    Scintilla::Line line = sidebar.entries[static_cast<std::size_t>(row)].titleLine - 1;
    if (line < 0 || line >= editor.sci.LineCount()) {
        Beep();
        return;
    }
    if (unfold) {
        editor.sci.EnsureVisible(line);
    } else if (!editor.sci.LineVisible(line)) {
        // Inside a fold that stays closed: its header line instead.
        const Scintilla::Line parent = editor.sci.FoldParent(line);
        if (parent >= 0) line = parent;
    }
    editor.sci.SetEmptySelection(editor.sci.PositionFromLine(line));
    editor.sci.ChooseCaretX();
    const Scintilla::Line first = editor.sci.VisibleFromDocLine(line) - editor.sci.LinesOnScreen() / 2;
    editor.sci.SetFirstVisibleLine(std::max<Scintilla::Line>(first, 0));
    AfterCaretMove(editor);
    ::InvalidateRect(editor.hwnd, nullptr, FALSE);
    if (focusEditor) ::SetFocus(editor.hwnd);
}

// ---- dragging memos -----------------------------------------------------------

void EndDrag(HeadingSidebar& sidebar) {
    if (sidebar.drag.phase == SidebarDragPhase::Idle) return;
    sidebar.drag.phase = SidebarDragPhase::Idle;
    ::KillTimer(sidebar.window, kArmTimer);
    ::KillTimer(sidebar.window, kScrollTimer);
    if (::GetCapture() == sidebar.list) ::ReleaseCapture();
    ::InvalidateRect(sidebar.list, nullptr, FALSE);
}

void Arm(HeadingSidebar& sidebar) {
    ::KillTimer(sidebar.window, kArmTimer);
    if (sidebar.drag.phase != SidebarDragPhase::Candidate) return;
    sidebar.drag.phase = SidebarDragPhase::Armed;
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
    ::InvalidateRect(sidebar.list, nullptr, FALSE);
}

void UpdateDropTarget(HeadingSidebar& sidebar, POINT point) {
    const int count = RowCount(sidebar);
    if (count == 0) return;
    const LRESULT hit = ::SendMessageW(sidebar.list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    const int row = std::min(static_cast<int>(LOWORD(hit)), count - 1);
    bool lowerHalf = false;
    if (const std::optional<RECT> rect = RowRect(sidebar, row)) lowerHalf = point.y >= (rect->top + rect->bottom) / 2;
    const int wanted = DropPositionFor(row, lowerHalf, count);
    const int target = AllowedDropPosition(sidebar.entries, sidebar.drag.source, wanted);
    if (target != sidebar.drag.target) {
        sidebar.drag.target = target;
        ::InvalidateRect(sidebar.list, nullptr, FALSE);
    }
}

void ScrollRows(HeadingSidebar& sidebar, int rows) {
    if (rows == 0 || sidebar.list == nullptr) return;
    RECT client {};
    ::GetClientRect(sidebar.list, &client);
    const int whole = std::max(1, static_cast<int>(client.bottom) / std::max(1, sidebar.metrics.rowHeight));
    const int lastTop = std::max(0, RowCount(sidebar) - whole);
    const int top = static_cast<int>(::SendMessageW(sidebar.list, LB_GETTOPINDEX, 0, 0));
    const int next = std::clamp(top + rows, 0, std::max(lastTop, std::min(top, lastTop)));
    if (next != top) ::SendMessageW(sidebar.list, LB_SETTOPINDEX, static_cast<WPARAM>(next), 0);
}

POINT CursorInList(const HeadingSidebar& sidebar) {
    POINT point {};
    ::GetCursorPos(&point);
    ::ScreenToClient(sidebar.list, &point);
    return point;
}

void AutoScroll(HeadingSidebar& sidebar) {
    if (sidebar.drag.phase != SidebarDragPhase::Dragging) return;
    const POINT point = CursorInList(sidebar);
    RECT client {};
    ::GetClientRect(sidebar.list, &client);
    if (point.y < sidebar.metrics.autoScrollBand) {
        ScrollRows(sidebar, -1);
    } else if (point.y > client.bottom - sidebar.metrics.autoScrollBand) {
        ScrollRows(sidebar, 1);
    }
    UpdateDropTarget(sidebar, point);
}

void OnWheel(HeadingSidebar& sidebar, int delta) {
    sidebar.wheel += delta;
    UINT lines = kDefaultWheelLines;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = kDefaultWheelLines;
    RECT client {};
    ::GetClientRect(sidebar.list, &client);
    const int visibleRows = static_cast<int>(client.bottom) / std::max(1, sidebar.metrics.rowHeight);
    const WheelScroll scroll = ScrollForWheel(sidebar.wheel, lines, visibleRows);
    sidebar.wheel = scroll.remainder;
    ScrollRows(sidebar, scroll.rows);
    if (sidebar.drag.phase == SidebarDragPhase::Dragging) UpdateDropTarget(sidebar, CursorInList(sidebar));
}

// ---- the list's mouse and keys -------------------------------------------------

struct RowHit {
    int row = -1;
    SidebarRowLayout layout;
    RECT rect {};
};

RowHit HitRow(const HeadingSidebar& sidebar, POINT point) {
    RowHit hit;
    const LRESULT found = ::SendMessageW(sidebar.list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    const int row = static_cast<int>(LOWORD(found));
    if (HIWORD(found) != 0 || row < 0 || row >= RowCount(sidebar)) return hit;
    const std::optional<RECT> rect = RowRect(sidebar, row);
    if (!rect) return hit;
    hit.row = row;
    hit.rect = *rect;
    hit.layout = RowLayout(sidebar, row, *rect, 0);
    return hit;
}

bool OnTriangle(const HeadingSidebar& sidebar, const RowHit& hit, POINT point) {
    if (!hit.layout.triangle) return false;
    if (sidebar.handlesShown && point.x < hit.rect.left + sidebar.metrics.handleColumn) return false;
    const int reach = sidebar.metrics.triangleHitHalf;
    return std::abs(point.x - hit.layout.triangleCentre.x) <= reach &&
           std::abs(point.y - hit.layout.triangleCentre.y) <= reach;
}

bool OnHandle(const HeadingSidebar& sidebar, const RowHit& hit, POINT point) {
    return hit.layout.handle && point.x < hit.rect.left + sidebar.metrics.handleColumn;
}

void OnPress(HeadingSidebar& sidebar, POINT point) {
    ::SetFocus(sidebar.list);
    const RowHit hit = HitRow(sidebar, point);
    if (hit.row < 0) return;
    if (OnTriangle(sidebar, hit, point)) {
        SelectRow(sidebar, hit.row, true);
        (void)ToggleRowFold(sidebar, hit.row);
        return;
    }
    if (OnHandle(sidebar, hit, point)) {
        SidebarDrag& drag = sidebar.drag;
        drag.phase = SidebarDragPhase::Candidate;
        drag.source = hit.row;
        drag.sourceStart = sidebar.entries[static_cast<std::size_t>(hit.row)].startIndex;
        drag.rowCount = RowCount(sidebar);
        drag.press = point;
        drag.pressTime = ::GetTickCount();
        drag.target = hit.row;
        ::SetCapture(sidebar.list);
        ::SetTimer(sidebar.window, kArmTimer, kArmDelayMs, nullptr);
        return;
    }
    SelectRow(sidebar, hit.row, true);
    JumpToRow(sidebar, hit.row, false, false);
}

void OnDoubleClick(HeadingSidebar& sidebar, POINT point) {
    const RowHit hit = HitRow(sidebar, point);
    if (hit.row < 0 || OnTriangle(sidebar, hit, point)) return;
    SelectRow(sidebar, hit.row, true);
    JumpToRow(sidebar, hit.row, true, true);
}

void OnMove(HeadingSidebar& sidebar, POINT point) {
    SidebarDrag& drag = sidebar.drag;
    if (drag.phase == SidebarDragPhase::Candidate && ::GetTickCount() - drag.pressTime >= kArmDelayMs) Arm(sidebar);
    if (drag.phase == SidebarDragPhase::Armed) {
        const double distance = std::hypot(point.x - drag.press.x, point.y - drag.press.y);
        if (distance >= sidebar.metrics.dragThreshold) {
            drag.phase = SidebarDragPhase::Dragging;
            ::SetTimer(sidebar.window, kScrollTimer, kScrollIntervalMs, nullptr);
        }
    }
    if (drag.phase == SidebarDragPhase::Dragging) UpdateDropTarget(sidebar, point);
}

void OnRelease(HeadingSidebar& sidebar) {
    const SidebarDrag drag = sidebar.drag;
    if (drag.phase == SidebarDragPhase::Idle) return;
    EndDrag(sidebar);
    int row = drag.source;
    if (drag.phase == SidebarDragPhase::Dragging && MovesSomething(drag.source, drag.target) &&
        sidebar.editor != nullptr && sidebar.folds != nullptr && sidebar.settings != nullptr) {
        const int result = MoveMemoCommand(*sidebar.editor, *sidebar.folds, sidebar.settings->folded, drag.source,
                                           drag.target, drag.rowCount, drag.sourceStart);
        if (result == kMoveRefused) {
            Beep();
            RebuildSidebar(sidebar);
            return;
        }
        if (result < 0) return;
        RebuildSidebar(sidebar);
        row = result;
    }
    if (row >= RowCount(sidebar)) return;
    SelectRow(sidebar, row, false);
    JumpToRow(sidebar, row, false, false);
}

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

// True when the key was dealt with here.
bool OnKey(HeadingSidebar& sidebar, UINT message, WPARAM wParam, LPARAM lParam) {
    EndDrag(sidebar);
    const KeyModifiers modifiers {Held(VK_CONTROL), Held(VK_MENU) || message == WM_SYSKEYDOWN, Held(VK_SHIFT)};
    HWND editor = Serves(sidebar.editor) ? sidebar.editor->hwnd : nullptr;
    switch (ClassifySidebarKey(static_cast<unsigned>(wParam), modifiers)) {
    case SidebarKey::List:
        return false;
    case SidebarKey::JumpAndFocus:
        JumpToRow(sidebar, SelectedRow(sidebar), true, true);
        return true;
    case SidebarKey::FocusEditor:
        if (editor != nullptr) ::SetFocus(editor);
        return true;
    case SidebarKey::JumpThenPass:
        if (SelectedRow(sidebar) >= 0) JumpToRow(sidebar, SelectedRow(sidebar), false, false);
        if (editor != nullptr) ::SendMessageW(editor, message, wParam, lParam);
        return true;
    case SidebarKey::Pass:
        if (editor != nullptr) ::SendMessageW(editor, message, wParam, lParam);
        return true;
    }
    return false;
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* sidebar = reinterpret_cast<HeadingSidebar*>(data);
    const POINT point {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return GuardComponentCalls(LRESULT {0}, [&]() -> LRESULT {
        switch (message) {
        case WM_LBUTTONDOWN:
            OnPress(*sidebar, point);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick(*sidebar, point);
            return 0;
        case WM_MOUSEMOVE:
            if (sidebar->drag.phase != SidebarDragPhase::Idle) {
                OnMove(*sidebar, point);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (sidebar->drag.phase != SidebarDragPhase::Idle) {
                OnRelease(*sidebar);
                return 0;
            }
            break;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_CANCELMODE:
            EndDrag(*sidebar);
            break;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != list) EndDrag(*sidebar);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (message == WM_KILLFOCUS) EndDrag(*sidebar);
            ::InvalidateRect(list, nullptr, FALSE);  // the focus bar
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (OnKey(*sidebar, message, wParam, lParam)) return 0;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            // Characters typed with Ctrl or Alt belong to the editor's commands.
            if ((Held(VK_CONTROL) || Held(VK_MENU) || message == WM_SYSCHAR) && Serves(sidebar->editor)) {
                ::SendMessageW(sidebar->editor->hwnd, message, wParam, lParam);
                return 0;
            }
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
            break;
        case WM_MOUSEWHEEL:
            OnWheel(*sidebar, GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_MOUSEHWHEEL:
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                const POINT cursor = CursorInList(*sidebar);
                const RowHit hit = HitRow(*sidebar, cursor);
                if (DragShown(*sidebar) || (hit.row >= 0 && OnHandle(*sidebar, hit, cursor))) {
                    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
                    return TRUE;
                }
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(list, ListProc, id);
            break;
        default:
            break;
        }
        return ::DefSubclassProc(list, message, wParam, lParam);
    });
}

// ---- the sidebar window ---------------------------------------------------------

void OnPaint(HeadingSidebar& sidebar) {
    PAINTSTRUCT paint {};
    HDC dc = ::BeginPaint(sidebar.window, &paint);
    const SidebarPalette palette = SidebarColours(IsDark(sidebar));
    RECT client {};
    ::GetClientRect(sidebar.window, &client);
    Fill(dc, client, palette.background);
    const int x = sidebar.metrics.resizeStrip;
    Fill(dc, RECT {x, 0, x + 1, client.bottom}, palette.line);
    ::EndPaint(sidebar.window, &paint);
}

bool InResizeStrip(const HeadingSidebar& sidebar, POINT point) {
    return point.x >= 0 && point.x < sidebar.metrics.resizeStrip + 1;
}

void OnDestroy(HeadingSidebar& sidebar) {
    for (const UINT_PTR timer : {kRebuildTimer, kArmTimer, kScrollTimer}) ::KillTimer(sidebar.window, timer);
    sidebar.drag = {};
    sidebar.pendingRecount = false;
    sidebar.titleFont.Reset();
    sidebar.subtitleFont.Reset();
    sidebar.background.Reset();
    sidebar.window = nullptr;
    sidebar.list = nullptr;
}

LRESULT HandleSidebarMessage(HeadingSidebar& sidebar, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint(sidebar);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        LayoutList(sidebar);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(sidebar.metrics.rowHeight);
        return TRUE;
    case WM_DRAWITEM:
        DrawRow(sidebar, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(sidebar.background.Get());
    case WM_TIMER:
        if (wParam == kRebuildTimer) {
            ::KillTimer(hwnd, kRebuildTimer);
            RebuildSidebar(sidebar);
        } else if (wParam == kArmTimer) {
            Arm(sidebar);
        } else if (wParam == kScrollTimer) {
            AutoScroll(sidebar);
        }
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT) {
            POINT point {};
            ::GetCursorPos(&point);
            ::ScreenToClient(hwnd, &point);
            if (InResizeStrip(sidebar, point)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (InResizeStrip(sidebar, POINT {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            // The panel owns the splitter drag: it resizes itself with the sidebar.
            ::SendMessageW(::GetParent(hwnd), PM_SIDEBARDRAG, 0, 0);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (sidebar.list != nullptr) OnWheel(sidebar, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case PM_SIDEBARRECOUNT:
        RecountSidebarHits(sidebar);
        return 0;
    case WM_DESTROY:
        OnDestroy(sidebar);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SidebarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HeadingSidebar* sidebar = WindowRecord<HeadingSidebar>(hwnd, message, lParam);
    if (message == WM_NCCREATE && sidebar != nullptr) sidebar->window = hwnd;
    if (sidebar == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return GuardComponentCalls(LRESULT {0},
                               [&] { return HandleSidebarMessage(*sidebar, hwnd, message, wParam, lParam); });
}

}  // namespace

bool CreateSidebar(HeadingSidebar& sidebar, HWND panel, HINSTANCE instance) {
    if (!RegisterWindowClass(instance, kSidebarClassName, SidebarProc, CS_DBLCLKS)) return false;
    sidebar.dpi = WindowDpiOf(panel);
    RebuildFonts(sidebar);
    RebuildBrush(sidebar);
    HWND window = ::CreateWindowExW(0, kSidebarClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                    panel, nullptr, instance, &sidebar);
    if (window == nullptr) return false;
    // No strings: the rows are drawn from the entry list, so a refill is
    // one count, whatever the number of memos.
    sidebar.list = ::CreateWindowExW(0, L"LISTBOX", L"",
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED |
                                         LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_NODATA,
                                     0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                                     instance, nullptr);
    if (sidebar.list == nullptr ||
        !::SetWindowSubclass(sidebar.list, ListProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(&sidebar))) {
        ::DestroyWindow(window);
        return false;
    }
    ::SendMessageW(sidebar.list, LB_SETHORIZONTALEXTENT, 0, 0);
    RebuildFonts(sidebar);
    RebuildBrush(sidebar);
    return true;
}

void PlaceSidebar(HeadingSidebar& sidebar, const RECT& area, bool show) {
    if (sidebar.window == nullptr) return;
    if (!show) {
        EndDrag(sidebar);
        ::ShowWindow(sidebar.window, SW_HIDE);
        return;
    }
    if (!::IsWindowVisible(::GetParent(sidebar.window))) return;
    ::SetWindowPos(sidebar.window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    LayoutList(sidebar);
}

void RebuildSidebar(HeadingSidebar& sidebar) {
    EndDrag(sidebar);
    if (sidebar.window == nullptr || sidebar.list == nullptr) return;
    ::KillTimer(sidebar.window, kRebuildTimer);
    // Hidden (with the panel, in the tray), the rows wait for the next show,
    // which rebuilds them: a start that stays in the tray reads no text here.
    if (!WantedVisible(sidebar) || !::IsWindowVisible(sidebar.window)) return;
    SidebarEntries built;
    if (Serves(sidebar.editor)) {
        EditorWindow& editor = *sidebar.editor;
        const std::u16string& text = ReadText(editor.text.adapter, editor.text.model);
        const std::size_t selection =
            ToIndex(editor.text.adapter, editor.text.model, static_cast<std::size_t>(editor.sci.SelectionStart()));
        const auto contracted = [&editor](int line) { return !editor.sci.FoldExpanded(line); };
        built = BuildSidebarEntries(text, MarkerSettingsOf(SettingsOf(editor)), selection, MemoFoldOn(sidebar),
                                    contracted);
        if (sidebar.countHits) sidebar.countHits(built.entries);
    }
    const int keep = ListHasFocus(sidebar) ? SelectedRow(sidebar) : -1;
    const SidebarUpdate update = PlanSidebarUpdate(sidebar.entries, built.entries, built.caretEntry, keep);
    sidebar.entries = std::move(built.entries);
    sidebar.handlesShown = HandlesShown(sidebar.entries);
    if (update.refill) {
        ::SendMessageW(sidebar.list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(sidebar.list, LB_SETCOUNT, sidebar.entries.size(), 0);
        ::SendMessageW(sidebar.list, LB_SETCURSEL, static_cast<WPARAM>(update.select), 0);
        ::SendMessageW(sidebar.list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(sidebar.list, nullptr, TRUE);
        return;
    }
    if (update.repaint) ::InvalidateRect(sidebar.list, nullptr, FALSE);
    if (update.select != SelectedRow(sidebar)) SelectRow(sidebar, update.select, true);
}

void ScheduleSidebarRebuild(HeadingSidebar& sidebar) {
    if (sidebar.window != nullptr) ::SetTimer(sidebar.window, kRebuildTimer, kRebuildDelayMs, nullptr);
}

void SyncSidebarToCaret(HeadingSidebar& sidebar, int line) {
    if (sidebar.window == nullptr || !::IsWindowVisible(sidebar.window) || sidebar.entries.empty() ||
        ListHasFocus(sidebar) || sidebar.drag.phase != SidebarDragPhase::Idle || !Serves(sidebar.editor)) {
        return;
    }
    EditorWindow& editor = *sidebar.editor;
    const MarkerSettings markers = MarkerSettingsOf(SettingsOf(editor));
    bool onDivider = false;
    if (markers.role == SectionMarkerRole::Separator && line >= 1) {
        const std::u16string text = Utf8ToUtf16Lenient(editor.sci.GetLine(line - 1));
        onDivider = IsDividerLine(text, markers.separatorLine);
    }
    const int row = CurrentSection(sidebar.entries, line, onDivider);
    if (row >= 0 && row != SelectedRow(sidebar)) SelectRow(sidebar, row, false);
}

void SyncSidebarToCaret(HeadingSidebar& sidebar) {
    if (!Serves(sidebar.editor)) return;
    Scintilla::ScintillaCall& sci = sidebar.editor->sci;
    SyncSidebarToCaret(sidebar, static_cast<int>(sci.LineFromPosition(sci.CurrentPos())) + 1);
}

void OnPanelMoved(HeadingSidebar& sidebar) {
    // The list keeps inside its monitor's work area.
    if (sidebar.window != nullptr && ::IsWindowVisible(sidebar.window)) LayoutList(sidebar);
}

void SidebarThemeChanged(HeadingSidebar& sidebar) {
    RebuildBrush(sidebar);
    if (sidebar.window != nullptr) ::InvalidateRect(sidebar.window, nullptr, TRUE);
    if (sidebar.list != nullptr) ::InvalidateRect(sidebar.list, nullptr, TRUE);
}

void SidebarFontChanged(HeadingSidebar& sidebar) {
    RebuildFonts(sidebar);
    if (sidebar.window == nullptr) return;
    LayoutList(sidebar);
    ::InvalidateRect(sidebar.window, nullptr, TRUE);
}

void SetSidebarDpi(HeadingSidebar& sidebar, int dpi) {
    const int effective = dpi > 0 ? dpi : 96;
    if (effective == sidebar.dpi) return;
    sidebar.dpi = effective;
    SidebarFontChanged(sidebar);
}

void RecountSidebarHits(HeadingSidebar& sidebar) {
    sidebar.pendingRecount = false;
    if (!Serves(sidebar.editor) || sidebar.list == nullptr || sidebar.entries.empty() || !sidebar.countHits) return;
    sidebar.countHits(sidebar.entries);
    ::InvalidateRect(sidebar.list, nullptr, FALSE);
}

bool SidebarHasFocus(const HeadingSidebar& sidebar) {
    HWND focus = ::GetFocus();
    return focus != nullptr && (focus == sidebar.window || focus == sidebar.list);
}

void FocusSidebarList(HeadingSidebar& sidebar) {
    if (sidebar.list != nullptr && ::IsWindowVisible(sidebar.window)) ::SetFocus(sidebar.list);
}

}  // namespace quillpane
