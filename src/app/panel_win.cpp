// The panel window: the program's one top-level window.
#include "app/panel_win.h"

#include "app/about_win.h"
#include "app/app_win.h"
#include "app/chrome_win.h"
#include "app/context_menu_win.h"
#include "app/editor_settings_win.h"
#include "app/focus_win.h"
#include "app/hotkey_win.h"
#include "app/memo_win.h"
#include "app/menu_win.h"
#include "app/search_dialog_win.h"
#include "app/search_win.h"
#include "app/settings_command_win.h"
#include "app/share_win.h"
#include "app/phone_win.h"
#include "app/status_label_win.h"
#include "app/theme_rules.h"
#include "app/theme_win.h"
#include "app/tray_win.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "resource_ids.h"
#include "platform/dpi.h"
#include "platform/system_calls_win.h"
#include "platform/window_record_win.h"
#include "resources/messages.h"
#include "sections/memo_fold_win.h"
#include "sections/section_commands_win.h"

#include <Scintilla.h>
#include <windowsx.h>

#include <vector>

namespace quillpane {
namespace {

// Windows 11 values; older MinGW headers lack them, older Windows ignores them.
constexpr DWORD kDwmWindowCornerPreference = 33;
constexpr DWORD kDwmCornerRound = 2;

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Size ClientSize(HWND hwnd) {
    RECT client {};
    ::GetClientRect(hwnd, &client);
    return {client.right, client.bottom};
}

// The sidebar counts only once its window exists.
bool SidebarShown(const App& app) {
    return app.config.sidebar.visible && app.sidebar.window != nullptr;
}

void RecomputeMetrics(App& app, int dpi) {
    app.shell.metrics = ComputePanelMetrics(dpi, app.config.sidebar.width, SidebarShown(app));
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<MonitorArea>*>(lParam)->push_back({ToRect(info.rcMonitor), ToRect(info.rcWork)});
    }
    return TRUE;
}

std::vector<MonitorArea> Monitors() {
    std::vector<MonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

Rect WorkAreaNear(Point point) {
    const std::vector<MonitorArea> monitors = Monitors();
    if (const auto nearest = NearestMonitor(point, monitors)) return nearest->work;
    RECT work {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return ToRect(work);
}

Rect PrimaryWorkArea() {
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT {0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return ToRect(info.rcWork);
}

Rect ClampToNearestMonitor(const Rect& rect) {
    const Point centre {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
    return ClampToWorkArea(rect, WorkAreaNear(centre));
}

void FocusEditor(App& app) {
    if (app.editor.hwnd != nullptr) ::SetFocus(app.editor.hwnd);
}

// [Window] in memory from the panel's current rectangle; written at hide.
void RecordPlacement(App& app) {
    RECT window {};
    ::GetWindowRect(app.panel, &window);
    WindowSettings& placement = app.config.window;
    placement.x = window.left;
    placement.y = window.top;
    placement.w = EditorWidthOf(window.right - window.left, app.shell.metrics);
    placement.h = window.bottom - window.top;
    placement.posValid = true;
    placement.wExcludesSidebar = true;
}

void LayoutPanel(App& app) {
    app.shell.lastLayoutTick = ::GetTickCount64();
    const Size client = ClientSize(app.panel);
    if (app.editor.hwnd != nullptr) {
        const Rect editor = EditorWindowRect(client, app.shell.metrics);
        LayoutEditor(app.editor, RECT {editor.left, editor.top, editor.right, editor.bottom});
        PlaceStatusLabel(app);
    }
    if (app.shell.shown) PlaceTitleButtons(app, false);
    if (app.sidebar.window != nullptr) {
        const Rect area = SidebarArea(client, app.shell.metrics);
        PlaceSidebar(app.sidebar, RECT {area.left, area.top, area.right, area.bottom}, SidebarShown(app));
    }
    const int border = app.shell.metrics.border;
    const RECT strips[] = {
        {0, 0, client.width, border + app.shell.metrics.titleHeight + 2},
        {0, 0, border + 2, client.height},
        {client.width - border - 2, 0, client.width, client.height},
        {0, client.height - border - 2, client.width, client.height},
    };
    for (const RECT& strip : strips) ::InvalidateRect(app.panel, &strip, FALSE);
    if (::IsWindowVisible(app.panel) && !app.shell.inSizeMove) ::UpdateWindow(app.panel);
}

void OnSize(App& app) {
    const unsigned delay = LayoutDelay(app.shell.inSizeMove, ::GetTickCount64(), app.shell.lastLayoutTick);
    if (delay > 0) {
        ::SetTimer(app.panel, kTimerLayout, delay, nullptr);
        return;
    }
    ::KillTimer(app.panel, kTimerLayout);
    LayoutPanel(app);
}

void ShowRect(App& app, const Rect& rect, bool rememberPlacement) {
    const bool wasShown = app.shell.shown;
    HWND insertAfter = (!wasShown && app.config.general.alwaysOnTop) ? HWND_TOPMOST : HWND_TOP;
    UINT flags = SWP_SHOWWINDOW | (wasShown ? SWP_NOZORDER : 0);
    if (!wasShown) ClearChangedLineMarks(app.editor);
    if (!wasShown) RefreshMemoFolds(app);
    ::SetWindowPos(app.panel, insertAfter, rect.left, rect.top, rect.Width(), rect.Height(), flags);
    if (SidebarShown(app)) {
        // Placed now: the layout during the move above ran while the panel was hidden.
        LayoutPanel(app);
        RebuildSidebar(app.sidebar);
        SyncSidebarToCaret(app.sidebar);
    }
    ::UpdateWindow(app.panel);
    ForceForeground(app);
    FocusEditor(app);
    app.shell.shown = true;
    app.shell.rememberPlacement = rememberPlacement;
    ApplyAlwaysOnTop(app);
    if (!wasShown) {
        // Made at the first show: each is a top-level window, which a start
        // that stays in the tray does not need. Without them the panel
        // still works, with less on show.
        (void)CreateTitleButtons(app);
        (void)CreateStatusLabel(app);
    }
    PlaceTitleButtons(app, true);
    ApplyOpacity(app);
    PlaceStatusLabel(app);
    UpdateStatusLabel(app);
    if (rememberPlacement) RecordPlacement(app);
    // Text the phone left: at once on a show, throttled when brought back.
    if (wasShown) {
        CheckInboxThrottled(app);
    } else {
        ImportFromPhone(app);
    }
}

// Ctrl+B: the panel narrows or widens by the sidebar, its left edge staying.
void ToggleSidebar(App& app, bool focusList) {
    if (app.sidebar.window == nullptr) return;
    SidebarSettings& settings = app.config.sidebar;
    settings.visible = !settings.visible;
    const int width = app.shell.metrics.sidebarWidth;
    RecomputeMetrics(app, app.shell.metrics.dpi);
    if (app.shell.shown) {
        RECT window {};
        ::GetWindowRect(app.panel, &window);
        const int total = window.right - window.left + (settings.visible ? width : -width);
        ::SetWindowPos(app.panel, nullptr, 0, 0, total, window.bottom - window.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::KillTimer(app.panel, kTimerLayout);
        LayoutPanel(app);
    } else if (!settings.visible) {
        PlaceSidebar(app.sidebar, RECT {}, false);
    }
    if (settings.visible) {
        RebuildSidebar(app.sidebar);
        SyncSidebarToCaret(app.sidebar);
        if (focusList) FocusSidebarList(app.sidebar);
    } else {
        FocusEditor(app);
    }
    ::InvalidateRect(app.panel, nullptr, FALSE);
    SaveAppConfig(app);
}

void BeginSidebarDrag(App& app) {
    if (!SidebarShown(app) || !::IsWindowVisible(app.sidebar.window)) return;
    POINT cursor {};
    ::GetCursorPos(&cursor);
    app.shell.sidebarDragging = true;
    app.shell.dragStartX = cursor.x;
    app.shell.dragStartWidth = app.shell.metrics.sidebarWidth;
    ::SetCapture(app.panel);
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
}

void OnSidebarDragMove(App& app) {
    POINT cursor {};
    ::GetCursorPos(&cursor);
    const int dpi = app.shell.metrics.dpi;
    const int wanted = SidebarWidthFor(app.shell.dragStartWidth + (app.shell.dragStartX - cursor.x), dpi);
    const int delta = wanted - app.shell.metrics.sidebarWidth;
    if (delta == 0) return;
    app.config.sidebar.width = wanted;
    RecomputeMetrics(app, dpi);
    RECT window {};
    ::GetWindowRect(app.panel, &window);
    ::SetWindowPos(app.panel, nullptr, 0, 0, window.right - window.left + delta, window.bottom - window.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::KillTimer(app.panel, kTimerLayout);
    LayoutPanel(app);
}

void EndSidebarDrag(App& app) {
    if (!app.shell.sidebarDragging) return;
    app.shell.sidebarDragging = false;
    if (::GetCapture() == app.panel) ::ReleaseCapture();
    SaveAppConfig(app);
}

void OnPaint(App& app) {
    PaintDc paint(app.panel);
    const Size client = ClientSize(app.panel);
    const RECT all {0, 0, client.width, client.height};
    // Off screen first: a resize would otherwise flicker.
    UniqueHdc memory(::CreateCompatibleDC(paint.Get()));
    UniqueBitmap bitmap(memory ? ::CreateCompatibleBitmap(paint.Get(), client.width, client.height) : nullptr);
    HDC dc = bitmap ? memory.Get() : paint.Get();
    {
        SelectGuard select(memory.Get(), bitmap.Get());
        const UniqueBrush background(::CreateSolidBrush(PanelBackgroundColour(app.theme.isDark)));
        const UniqueBrush frameBrush(::CreateSolidBrush(PanelFrameColour(app.theme.isDark)));
        ::FillRect(dc, &all, background.Get());
        ::FrameRect(dc, &all, frameBrush.Get());
        PaintTitleStrip(app, dc, client);
        if (bitmap) ::BitBlt(paint.Get(), 0, 0, client.width, client.height, dc, 0, 0, SRCCOPY);
    }
}

LRESULT OnNcHitTest(App& app, LPARAM lParam) {
    RECT window {};
    ::GetWindowRect(app.panel, &window);
    const Point point {GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
    switch (HitTestFrame(point, {window.right - window.left, window.bottom - window.top}, app.shell.metrics.border)) {
    case HitZone::Client: return HTCLIENT;
    case HitZone::Left: return HTLEFT;
    case HitZone::Right: return HTRIGHT;
    case HitZone::Top: return HTTOP;
    case HitZone::Bottom: return HTBOTTOM;
    case HitZone::TopLeft: return HTTOPLEFT;
    case HitZone::TopRight: return HTTOPRIGHT;
    case HitZone::BottomLeft: return HTBOTTOMLEFT;
    case HitZone::BottomRight: return HTBOTTOMRIGHT;
    }
    return HTCLIENT;
}

bool OnLButtonDown(App& app, LPARAM lParam) {
    const Point point {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!InTitleStrip(point, ClientSize(app.panel), app.shell.metrics)) return false;
    ::ReleaseCapture();
    POINT screen {point.x, point.y};
    ::ClientToScreen(app.panel, &screen);
    ::PostMessageW(app.panel, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    return true;
}

void OnGetMinMaxInfo(App& app, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const Size minimum = MinimumTrackSize(app.shell.metrics);
    info->ptMinTrackSize.x = minimum.width;
    info->ptMinTrackSize.y = minimum.height;
}

void OnExitSizeMove(App& app) {
    EndResizeAnchor(app.editor);
    app.shell.inSizeMove = false;
    ::KillTimer(app.panel, kTimerLayout);
    LayoutPanel(app);
    RecordPlacement(app);
    app.shell.rememberPlacement = true;
}

void OnDpiChanged(App& app, WPARAM wParam, LPARAM lParam) {
    const int oldDpi = app.shell.metrics.dpi;
    const int newDpi = HIWORD(wParam);
    if (app.config.sidebar.width > 0 && oldDpi > 0) {
        app.config.sidebar.width = SidebarWidthFor(::MulDiv(app.config.sidebar.width, newDpi, oldDpi), newDpi);
    }
    RecomputeMetrics(app, newDpi);
    SetSidebarDpi(app.sidebar, newDpi);
    ChromeDpiChanged(app, newDpi);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(app.panel, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutPanel(app);
    ::InvalidateRect(app.panel, nullptr, FALSE);
}

void OnCommand(App& app, WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    // Document changes arrive as SCN_MODIFIED (WM_NOTIFY); the editor's
    // EN_CHANGE adds nothing to them.
    if (app.editor.hwnd != nullptr && reinterpret_cast<HWND>(lParam) == app.editor.hwnd) return;
    if (RunEditorCommand(app.editor, id)) return;
    switch (id) {
    case IDM_SHOWPANEL:
        if (app.shell.shown) {
            HidePanel(app);
        } else {
            ShowPanelAt(app, std::nullopt);
        }
        break;
    case IDM_EXIT:
        ExitApplication(app);
        break;
    case IDM_SETTINGS:
        RunSettingsCommand(app);
        break;
    case IDM_PHONESYNC:
        TogglePhoneSync(app);
        break;
    case IDM_SHARE:
        ShareMemo(app);
        break;
    case IDM_ABOUT:
        ShowAbout(app, AboutFrom::MoreMenu);
        break;
    case IDM_ABOUT_TRAY:
        ShowAbout(app, AboutFrom::TrayMenu);
        break;
    case IDM_OPENWITH:
        OpenMemoWithDefaultApp(app);
        break;
    case IDM_FIND:
        if (!app.shell.shown) ShowPanelAt(app, std::nullopt);
        OpenSearch(app);
        break;
    case IDM_REPLACE:
        OpenReplace(app);
        break;
    case IDM_GOTOLINE:
        OpenGoToLine(app, std::nullopt);
        break;
    case IDM_HEADINGLIST:
        OpenHeadingList(app);
        break;
    case IDM_DOCREADME:
        OpenDocument(app, u"README");
        break;
    case IDM_DOCPHONE:
        OpenDocument(app, u"PHONE");
        break;
    case IDM_DOCCHANGELOG:
        OpenDocument(app, u"CHANGELOG");
        break;
    case IDM_OPACITY_FIRST:
    case IDM_OPACITY_FIRST + 1:
    case IDM_OPACITY_FIRST + 2:
    case IDM_OPACITY_FIRST + 3:
    case IDM_OPACITY_LAST:
        SetOpacityPreset(app, kOpacityLevels[id - IDM_OPACITY_FIRST]);
        break;
    case IDM_WRAP:
    case IDM_NOWRAP:
        SetWordWrap(app, id == IDM_WRAP ? WordWrap::Wrap : WordWrap::NoWrap);
        break;
    case IDM_PITCH_PROPORTIONAL:
    case IDM_PITCH_FIXED:
        SetFontPitch(app, id == IDM_PITCH_FIXED);
        SaveAppConfig(app);
        break;
    case IDM_CLOSEONFOCUSLOST:
        app.config.general.closeOnFocusLost = !app.config.general.closeOnFocusLost;
        SaveAppConfig(app);
        break;
    case IDM_ALWAYSONTOP:
        app.config.general.alwaysOnTop = !app.config.general.alwaysOnTop;
        ApplyAlwaysOnTop(app);
        SaveAppConfig(app);
        ::InvalidateRect(app.panel, nullptr, FALSE);
        RedrawTitleButtons(app);
        break;
    case IDM_TRANSLUCENT:
        ToggleTranslucent(app);
        break;
    case IDM_MOREMENU:
        if (app.shell.shown) ShowMoreMenu(app);
        break;
    case IDM_CUT:
        ::SendMessageW(app.editor.hwnd, WM_CUT, 0, 0);
        break;
    case IDM_COPY:
        ::SendMessageW(app.editor.hwnd, WM_COPY, 0, 0);
        break;
    case IDM_PASTE:
        ::SendMessageW(app.editor.hwnd, WM_PASTE, 0, 0);
        break;
    case IDM_DELETE:
        ::SendMessageW(app.editor.hwnd, WM_CLEAR, 0, 0);
        break;
    case IDM_SELECTALL:
        ::SendMessageW(app.editor.hwnd, EM_SETSEL, 0, -1);
        break;
    case IDM_INSERTMARKER:
        InsertMarkerCommand(app.editor);
        break;
    case IDM_SELECTNOTE:
        SelectThisNoteCommand(app.editor);
        break;
    case IDM_HIGHLIGHTWORD:
        HighlightSelectionOrWord(app);
        break;
    case IDM_DATETIMEMENU:
        if (app.shell.shown) ShowDateTimeMenu(app);
        break;
    case IDM_ROLE_SEPARATOR:
    case IDM_ROLE_HEADING:
        SetRoleCommand(app, id);
        break;
    default:
        break;
    }
}

void OnTimer(App& app, UINT_PTR id) {
    switch (id) {
    case kTimerAutosave:
        OnAutosaveTimer(app);
        break;
    case kTimerMemoWatch:
        OnMemoWatchTimer(app);
        break;
    case kTimerMemoFolds:
        ::KillTimer(app.panel, kTimerMemoFolds);
        RefreshMemoFolds(app);
        break;
    case kTimerLayout:
        ::KillTimer(app.panel, kTimerLayout);
        LayoutPanel(app);
        break;
    case kTimerConfigRetry:
        SaveAppConfig(app);
        break;
    case kTimerSearchRefresh:
        RefreshSearch(app);
        break;
    case kTimerPhonePoll:
        OnPhonePollTimer(app);
        break;
    default:
        break;
    }
}

void OnToggleMessage(App& app, WPARAM wParam, LPARAM lParam) {
    if (wParam == kToggleFromSecondLaunch) {
        if (app.shell.shown) {
            ForceForeground(app);
            FocusEditor(app);
        } else {
            ShowPanelAt(app, std::nullopt);
        }
        return;
    }
    if (wParam == kToggleAtPoint) {
        const Point point {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        TogglePanel(app, point);
        return;
    }
    TogglePanel(app);
}

void OnTrayNotify(App& app, LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_CONTEXTMENU:
        ::PostMessageW(app.panel, PM_SHOWTRAYMENU, 0, 0);
        break;
    case NIN_SELECT:
    case NIN_KEYSELECT:
        TogglePanel(app);
        break;
    default:
        break;
    }
}

void OnDestroy(App& app) {
    for (UINT_PTR timer : {kTimerAutosave, kTimerMemoWatch, kTimerLayout, kTimerPhonePoll, kTimerMemoFolds,
                            kTimerConfigRetry, kTimerSearchRefresh}) {
        ::KillTimer(app.panel, timer);
    }
    ::UnregisterHotKey(app.panel, kHotkeyId);
    RemoveTrayIcon(app);
    RemoveForegroundHook(app);
    EndSharing(app.share);
    ::PostQuitMessage(0);
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnEditorRequest(app, message, wParam, lParam)) return 0;
    if (message != 0 && message == app.toggleMessage) {
        OnToggleMessage(app, wParam, lParam);
        return 0;
    }
    if (message != 0 && message == app.taskbarCreatedMessage) {
        ReAddTrayIcon(app);
        return 0;
    }
    switch (message) {
    case WM_NCCALCSIZE:
        // The whole window is client area; the panel draws its own frame.
        if (wParam) return 0;
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(app, lParam);
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return 1;
    case WM_PAINT:
        OnPaint(app);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        OnSize(app);
        return 0;
    case WM_MOVE:
        OnPanelMoved(app.sidebar);
        PlaceStatusLabel(app);
        if (app.shell.shown) PlaceTitleButtons(app, false);
        return 0;
    case WM_ACTIVATE:
        OnPanelActivate(app, wParam, reinterpret_cast<HWND>(lParam));
        break;
    case WM_SETFOCUS:
        if (!SidebarHasFocus(app.sidebar)) FocusEditor(app);
        return 0;
    case WM_SETCURSOR:
        if (app.shell.sidebarDragging) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (app.shell.sidebarDragging && (wParam & MK_LBUTTON) != 0) {
            OnSidebarDragMove(app);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (app.shell.sidebarDragging) {
            EndSidebarDrag(app);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (app.shell.sidebarDragging && reinterpret_cast<HWND>(lParam) != app.panel) EndSidebarDrag(app);
        break;
    case PM_TOGGLESIDEBAR:
        ToggleSidebar(app, wParam != 0);
        RedrawTitleButtons(app);
        return 0;
    case PM_MOREMENU:
        ShowMoreMenu(app);
        return 0;
    case PM_SIDEBARDRAG:
        BeginSidebarDrag(app);
        return 0;
    case PM_CHECKINBOX:
        CheckInboxThrottled(app);
        return 0;
    case PM_CLEARHIGHLIGHT:
        (void)ClearHighlight(app);
        return 0;
    case PM_CARETLINE:
        SyncSidebarToCaret(app.sidebar, static_cast<int>(wParam));
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(app, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (OnLButtonDown(app, lParam)) return 0;
        break;
    case WM_ENTERSIZEMOVE:
        app.shell.inSizeMove = true;
        BeginResizeAnchor(app.editor);
        return 0;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove(app);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(app, wParam, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(app, wParam, lParam);
        return 0;
    case WM_TIMER:
        OnTimer(app, wParam);
        return 0;
    case WM_HOTKEY:
        if (wParam == kHotkeyId) TogglePanel(app);
        return 0;
    case WM_CLOSE:
        HidePanel(app);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            HidePanel(app);
            return 0;
        }
        break;
    case PM_TRAYNOTIFY:
        OnTrayNotify(app, lParam);
        return 0;
    case PM_SHOWTRAYMENU:
        ShowTrayMenu(app);
        return 0;
    case PM_ESCAPE:
        if (CloseSearchLayer(app)) return 0;
        if (GoToLineOpen(app)) {
            CloseGoToLine(app);
        } else if (HeadingListOpen(app)) {
            CloseHeadingList(app);
        } else if (!ClearHighlight(app)) {
            HidePanel(app);
        }
        return 0;
    case PM_GOTOLINE:
        OpenGoToLine(app, std::nullopt);
        return 0;
    case PM_HEADINGLIST:
        OpenHeadingList(app);
        return 0;
    case PM_FIND:
        OpenSearch(app);
        return 0;
    case PM_REPLACE:
        OpenReplace(app);
        return 0;
    case PM_FINDNEXT:
        FindInEditor(app, wParam == 0);
        return 0;
    case PM_ZOOMSTEP:
        SetSizeStep(app, app.editor.sizeStep + (static_cast<int>(wParam) > 0 ? 1 : -1), false);
        return 0;
    case PM_EDITORMENU:
        if (app.shell.shown) ShowEditorMenu(app, lParam);
        return 0;
    case PM_ZOOMRESET:
        SetSizeStep(app, app.config.editor.fontSizeStep, false);
        return 0;
    case WM_SETTINGCHANGE:
        OnThemeSettingChange(app, lParam);
        break;
    case WM_INITMENUPOPUP:
        DarkenMenus(app);
        break;
    case WM_NOTIFY:
        if (app.editor.hwnd != nullptr && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == app.editor.hwnd) {
            if (reinterpret_cast<const NMHDR*>(lParam)->code == SCN_MODIFIED) {
                OnEditorModified(app, *reinterpret_cast<const SCNotification*>(lParam));
            }
            OnEditorNotify(app.editor, *reinterpret_cast<const NMHDR*>(lParam));
            if (reinterpret_cast<const NMHDR*>(lParam)->code == SCN_UPDATEUI) {
                OnSearchSelectionChanged(app);
                UpdateStatusLabel(app);
            }
            OnMemoFoldNotify(app.editor, app.folds, app.config.sidebar.folded,
                             *reinterpret_cast<const SCNotification*>(lParam));
        }
        break;
    case PM_SAVENOW:
        FlushNote(app);
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            if (app.shell.shown) {
                HidePanel(app);
            } else {
                FlushNote(app);
            }
            // The session ends whatever happens; an unsaved text goes to the backups.
            (void)KeepUnsavedText(app);
        }
        return 0;
    case WM_DESTROY:
        OnDestroy(app);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PanelWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    App* app = WindowRecord<App>(hwnd, message, lParam);
    if (message == WM_NCCREATE && app != nullptr) app->panel = hwnd;
    if (app == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        app->panel = nullptr;
        app->editor.hwnd = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return GuardComponentCalls(LRESULT {0}, [&] { return HandleMessage(*app, hwnd, message, wParam, lParam); });
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, kPanelClassName, PanelWndProc, 0,
                               ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON)));
}

bool CreatePanel(App& app) {
    WindowSettings& placement = app.config.window;
    HWND panel = ::CreateWindowExW(0, kPanelClassName, L"Quillpane", WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME, 0, 0,
                                   placement.w, placement.h, nullptr, nullptr, app.instance, &app);
    if (panel == nullptr) return false;
    const DWORD corner = kDwmCornerRound;
    if (System().dwmSetWindowAttribute != nullptr) {
        System().dwmSetWindowAttribute(panel, kDwmWindowCornerPreference, &corner, sizeof(corner));
    }
    WireEditor(app);
    WireSearch(app);
    // Without its sidebar the panel still works: the editor takes the width.
    (void)CreateSidebar(app.sidebar, panel, app.instance);
    RecomputeMetrics(app, WindowDpiOf(panel));
    // The strip's fonts now: the first show paints at once.
    ChromeDpiChanged(app, app.shell.metrics.dpi);

    if (!placement.posValid) {
        placement.w = Scale(640, app.shell.metrics.dpi);
        placement.h = Scale(440, app.shell.metrics.dpi);
        placement.wExcludesSidebar = true;
    } else if (!placement.wExcludesSidebar) {
        // A stored width from before the sidebar was counted apart.
        if (app.config.sidebar.visible) placement.w -= SidebarWidthFor(app.config.sidebar.width, app.shell.metrics.dpi);
        placement.wExcludesSidebar = true;
    }
    const Size size = RememberedSize(placement.w, placement.h, app.shell.metrics);
    ::SetWindowPos(panel, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const Rect editor = EditorWindowRect(ClientSize(panel), app.shell.metrics);
    if (!CreateEditor(app.editor, RECT {editor.left, editor.top, editor.right, editor.bottom}, u"", true)) {
        ::DestroyWindow(panel);
        return false;
    }
    app.chrome.appliedOpacity = app.config.ui.translucent ? ClampOpacity(app.config.ui.opacity) : 100;
    return true;
}

void ShowPanelAt(App& app, std::optional<Point> point) {
    const WindowSettings& placement = app.config.window;
    const Size size = RememberedSize(placement.w, placement.h, app.shell.metrics);
    if (point) {
        const Rect rect = RectAtPoint(*point, size, WorkAreaNear(*point));
        ShowRect(app, ClampToNearestMonitor(rect), false);
        return;
    }
    Rect rect;
    if (placement.posValid) {
        rect = RememberedRect(placement.x, placement.y, size);
    } else {
        rect = CentredRect(size, PrimaryWorkArea());
    }
    ShowRect(app, ClampToNearestMonitor(rect), true);
}

void HidePanel(App& app) {
    if (!app.shell.shown) return;
    // Cleared first: hiding deactivates the panel, and with CloseOnFocusLost
    // that comes back here.
    app.shell.shown = false;
    CloseSearch(app);
    CloseGoToLine(app);
    CloseHeadingList(app);
    HideStatusLabel(app);
    HideTitleButtons(app);
    FlushNote(app);
    if (app.shell.rememberPlacement) {
        RecordPlacement(app);
        SaveAppConfig(app);
    }
    ::SetWindowPos(app.panel, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// When the message being handled was posted, on the 64-bit tick: two
// toggles are told apart by when they were asked for, not by when a busy
// thread got to them.
std::uint64_t MessagePostedTick() {
    const std::uint64_t now = ::GetTickCount64();
    const auto age = static_cast<std::uint32_t>(static_cast<std::uint32_t>(now) -
                                                static_cast<std::uint32_t>(::GetMessageTime()));
    // A time from another message (or none) reads as old: it is ignored.
    constexpr std::uint32_t kMaxAgeMs = 5000;
    return age <= kMaxAgeMs && age <= now ? now - age : now;
}

void TogglePanel(App& app, std::optional<Point> point) {
    const std::uint64_t now = MessagePostedTick();
    if (IsToggleBounce(now, app.shell.lastToggleTick)) return;
    app.shell.lastToggleTick = now;
    if (!app.shell.shown) {
        ShowPanelAt(app, point);
        return;
    }
    if (!app.config.general.alwaysOnTop && ::IsWindowVisible(app.panel) && IsPanelCovered(app)) {
        ForceForeground(app);
        FocusEditor(app);
        return;
    }
    HidePanel(app);
}

void ApplyAlwaysOnTop(App& app) {
    const bool topmost = app.config.general.alwaysOnTop;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(app.panel, GWL_EXSTYLE);
    const bool isTopmost = (exStyle & WS_EX_TOPMOST) != 0;
    if (!app.shell.shown) {
        if (isTopmost != topmost) {
            ::SetWindowLongPtrW(app.panel, GWL_EXSTYLE, topmost ? (exStyle | WS_EX_TOPMOST) : (exStyle & ~WS_EX_TOPMOST));
        }
        return;
    }
    if (isTopmost != topmost) {
        ::SetWindowPos(app.panel, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void ExitApplication(App& app) {
    if (app.shell.shown) {
        HidePanel(app);
    } else {
        FlushNote(app);
    }
    if (app.memo.memoDirty) {
        // The save failed: stay and keep retrying, unless the user insists.
        const std::uint64_t now = ::GetTickCount64();
        if (app.shell.exitHeldTick == 0 || now - app.shell.exitHeldTick > kExitInsistMs) {
            app.shell.exitHeldTick = now;
            ShowWarningBalloon(app, Text(TextId::ExitWaitsForSave, CurrentLanguage(app.config.ui.language)));
            return;
        }
        (void)KeepUnsavedText(app);
    }
    ::DestroyWindow(app.panel);
}

}  // namespace quillpane
