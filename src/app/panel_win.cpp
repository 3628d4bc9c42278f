// The panel window: the program's one top-level window.
#include "app/panel_win.h"

#include "app/app_win.h"
#include "app/commands.h"
#include "app/dpi.h"
#include "app/hotkey_win.h"
#include "app/memo_win.h"
#include "app/tray_win.h"
#include "editor/editor_host_win.h"
#include "resource_ids.h"

#include <dwmapi.h>
#include <windowsx.h>

namespace quillpane {
namespace {

constexpr std::uint64_t kToggleDebounceMs = 250;
// Windows 11 values; older MinGW headers lack them, older Windows ignores them.
constexpr DWORD kDwmWindowCornerPreference = 33;
constexpr DWORD kDwmCornerRound = 2;

int WindowDpi(HWND hwnd) {
    using GetDpiFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpi != nullptr ? getDpi(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

int Border(const App& app) { return Scale(3, app.shell.dpi); }
int TitleHeight(const App& app) { return Scale(24, app.shell.dpi) + 2; }

RECT EditorBounds(const App& app, int clientWidth, int clientHeight) {
    const int border = Border(app);
    RECT area {border, border + TitleHeight(app), clientWidth - border, clientHeight - border};
    ::InflateRect(&area, -1, -1);
    if (area.right < area.left) area.right = area.left;
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

void LayoutPanel(App& app) {
    if (app.editor == nullptr) return;
    RECT client {};
    ::GetClientRect(app.panel, &client);
    const RECT bounds = EditorBounds(app, client.right, client.bottom);
    ::MoveWindow(app.editor, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void FocusEditor(App& app) {
    if (app.editor != nullptr) ::SetFocus(app.editor);
}

void ExitApplication(App& app) {
    if (app.shell.shown) {
        HidePanel(app);
    } else {
        FlushNote(app);
    }
    ::DestroyWindow(app.panel);
}

void OnPaint(App& app) {
    PaintDc paint(app.panel);
    RECT client {};
    ::GetClientRect(app.panel, &client);
    ::FillRect(paint.Get(), &client, ::GetSysColorBrush(COLOR_WINDOW));
}

LRESULT OnNcHitTest(App& app, LPARAM lParam) {
    POINT point {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(app.panel, &point);
    RECT client {};
    ::GetClientRect(app.panel, &client);
    const int border = Border(app);
    const bool left = point.x < border;
    const bool right = point.x >= client.right - border;
    const bool top = point.y < border;
    const bool bottom = point.y >= client.bottom - border;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    if (point.y < border + TitleHeight(app)) return HTCAPTION;
    return HTCLIENT;
}

void OnCommand(App& app, WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (reinterpret_cast<HWND>(lParam) == app.editor && app.editor != nullptr) {
        if (code == EN_CHANGE) OnEditorChange(app);
        return;
    }
    switch (id) {
    case IDM_SHOWPANEL:
        if (app.shell.shown) {
            HidePanel(app);
        } else {
            ShowPanelAtRememberedPlace(app);
        }
        break;
    case IDM_EXIT:
        ExitApplication(app);
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
    default:
        break;
    }
}

void OnToggleMessage(App& app, WPARAM wParam) {
    if (wParam == kToggleFromSecondLaunch) {
        if (app.shell.shown) {
            ::SetForegroundWindow(app.panel);
            FocusEditor(app);
        } else {
            ShowPanelAtRememberedPlace(app);
        }
        return;
    }
    TogglePanel(app);
}

void OnDestroy(App& app) {
    for (UINT_PTR timer : {kTimerAutosave, kTimerMemoWatch, kTimerLayout, kTimerPhoneRetry}) {
        ::KillTimer(app.panel, timer);
    }
    ::UnregisterHotKey(app.panel, kHotkeyId);
    RemoveTrayIcon(app);
    ::PostQuitMessage(0);
}

LRESULT CALLBACK PanelWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* app = static_cast<App*>(created->lpCreateParams);
        app->panel = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* app = reinterpret_cast<App*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (app == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == app->toggleMessage && message != 0) {
        OnToggleMessage(*app, wParam);
        return 0;
    }
    if (message == app->taskbarCreatedMessage && message != 0) {
        ReAddTrayIcon(*app);
        return 0;
    }
    switch (message) {
    case WM_NCCALCSIZE:
        // The whole window is client area; the frame is drawn by the panel.
        if (wParam) return 0;
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(*app, lParam);
    case WM_PAINT:
        OnPaint(*app);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        LayoutPanel(*app);
        return 0;
    case WM_COMMAND:
        OnCommand(*app, wParam, lParam);
        return 0;
    case WM_TIMER:
        OnTimer(*app, wParam);
        return 0;
    case WM_HOTKEY:
        if (wParam == kHotkeyId) TogglePanel(*app);
        return 0;
    case WM_CLOSE:
        HidePanel(*app);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            HidePanel(*app);
            return 0;
        }
        break;
    case PM_SAVENOW:
        FlushNote(*app);
        return 0;
    case PM_TRAYNOTIFY:
        if (LOWORD(lParam) == NIN_SELECT || LOWORD(lParam) == WM_LBUTTONUP) TogglePanel(*app);
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            if (app->shell.shown) {
                HidePanel(*app);
            } else {
                FlushNote(*app);
            }
        }
        return 0;
    case WM_DESTROY:
        OnDestroy(*app);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        app->panel = nullptr;
        app->editor = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PanelWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPanelClassName;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CreatePanel(App& app) {
    const WindowSettings& placement = app.config.window;
    HWND panel = ::CreateWindowExW(0, kPanelClassName, L"Quillpane", WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME, 0, 0,
                                   placement.w, placement.h, nullptr, nullptr, app.instance, &app);
    if (panel == nullptr) return false;
    const DWORD corner = kDwmCornerRound;
    ::DwmSetWindowAttribute(panel, kDwmWindowCornerPreference, &corner, sizeof(corner));
    app.shell.dpi = WindowDpi(panel);

    int width = placement.w;
    int height = placement.h;
    if (!placement.posValid) {
        width = Scale(640, app.shell.dpi);
        height = Scale(440, app.shell.dpi);
        app.config.window.wExcludesSidebar = true;
    }
    ::SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT client {};
    ::GetClientRect(panel, &client);
    app.editor = CreateEditor(panel, app.instance, EditorBounds(app, client.right, client.bottom));
    if (app.editor == nullptr) {
        ::DestroyWindow(panel);
        return false;
    }
    return true;
}

void ShowPanelAtRememberedPlace(App& app) {
    RECT window {};
    ::GetWindowRect(app.panel, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = app.config.window.x;
    int y = app.config.window.y;
    if (!app.config.window.posValid) {
        RECT work {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + ((work.right - work.left) - width) / 2;
        y = work.top + ((work.bottom - work.top) - height) / 2;
    } else {
        width = app.config.window.w;
        height = app.config.window.h;
    }
    ::SetWindowPos(app.panel, nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    app.shell.shown = true;
    app.shell.rememberPlacement = true;
    ::SetForegroundWindow(app.panel);
    FocusEditor(app);
}

void HidePanel(App& app) {
    FlushNote(app);
    if (app.shell.shown && app.shell.rememberPlacement) {
        RECT window {};
        ::GetWindowRect(app.panel, &window);
        WindowSettings& placement = app.config.window;
        placement.x = window.left;
        placement.y = window.top;
        placement.w = window.right - window.left;
        placement.h = window.bottom - window.top;
        placement.posValid = true;
        placement.wExcludesSidebar = true;
        SaveAppConfig(app);
    }
    ::SetWindowPos(app.panel, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.shell.shown = false;
}

void TogglePanel(App& app) {
    const std::uint64_t now = ::GetTickCount64();
    if (app.shell.lastToggleTick != 0 && now - app.shell.lastToggleTick < kToggleDebounceMs) return;
    app.shell.lastToggleTick = now;
    if (app.shell.shown) {
        HidePanel(app);
    } else {
        ShowPanelAtRememberedPlace(app);
    }
}

}  // namespace quillpane
