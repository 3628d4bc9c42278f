// Taking the foreground, the covered-panel test and hiding on focus loss.
#include "app/focus_win.h"

#include "app/app_win.h"
#include "app/focus_rules.h"
#include "app/panel_geometry.h"
#include "platform/system_calls_win.h"
#include "app/panel_win.h"
#include "resources/messages.h"
#include "platform/wide_win.h"

#include <dwmapi.h>

namespace quillpane {
namespace {

// A WinEvent callback carries no context; the hook belongs to the one
// application record of the process.
App* hookApp = nullptr;

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool IsOwnProcess(DWORD processId) {
    return processId == ::GetCurrentProcessId();
}

std::u16string ProcessImagePath(DWORD processId) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return {};
    wchar_t path[MAX_PATH] {};
    DWORD size = MAX_PATH;
    const BOOL ok = ::QueryFullProcessImageNameW(process, 0, path, &size);
    ::CloseHandle(process);
    return ok ? FromWide(std::wstring_view(path, size)) : std::u16string();
}

bool IsShellSurfaceWindow(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t className[256] {};
    ::GetClassNameW(window, className, 256);
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    const std::u16string image = ProcessImagePath(processId);
    ForeignWindow foreign;
    foreign.process = ClassifyProcess(image);
    const std::u16string classText = FromWide(className);
    foreign.className = classText;
    foreign.noActivate = (exStyle & WS_EX_NOACTIVATE) != 0;
    foreign.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
    foreign.appWindow = (exStyle & WS_EX_APPWINDOW) != 0;
    return IsShellSurface(foreign);
}

FocusTarget DescribeTarget(HWND window) {
    FocusTarget target;
    if (window == nullptr) return target;
    target.present = true;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    target.processId = processId;
    target.ownProcess = IsOwnProcess(processId);
    if (!target.ownProcess) target.shellSurface = IsShellSurfaceWindow(window);
    return target;
}

bool IsCloaked(HWND window) {
    DWORD cloaked = 0;
    const auto getAttribute = System().dwmGetWindowAttribute;
    return getAttribute != nullptr && SUCCEEDED(getAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) &&
           cloaked != 0;
}

struct CoverSearch {
    HWND panel;
    Rect panelRect;
    bool covered;
};

BOOL CALLBACK CoverProc(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<CoverSearch*>(lParam);
    if (window == search->panel) return FALSE;
    if (!::IsWindowVisible(window) || ::IsIconic(window)) return TRUE;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (IsOwnProcess(processId) || IsCloaked(window) || IsShellSurfaceWindow(window)) return TRUE;
    RECT rect {};
    ::GetWindowRect(window, &rect);
    if (IntersectionArea(ToRect(rect), search->panelRect) >= kMinCoveringArea) {
        search->covered = true;
        return FALSE;
    }
    return TRUE;
}

bool ShouldHideOnFocusLoss(const App& app) {
    return app.config.general.closeOnFocusLost && !app.config.general.alwaysOnTop && app.shell.shown &&
           !app.shell.menuModal;
}

void CALLBACK ForegroundChanged(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD, DWORD) {
    App* app = hookApp;
    if (app == nullptr || event != EVENT_SYSTEM_FOREGROUND || objectId != 0 || childId != 0 || window == nullptr) {
        return;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const std::uint64_t now = ::GetTickCount64();
    if (IsOwnProcess(processId)) {
        ExpireShareHold(app->shell.holds, now);
        return;
    }
    if (!ShouldHideOnFocusLoss(*app) || IsShellSurfaceWindow(window)) return;
    if (IsHideExempt(app->shell.holds, now, DescribeTarget(window))) return;
    HidePanel(*app);
}

}  // namespace

void ForceForeground(App& app) {
    HWND foreground = ::GetForegroundWindow();
    if (foreground == app.panel) {
        ::SetForegroundWindow(app.panel);
        return;
    }
    const DWORD ownThread = ::GetCurrentThreadId();
    const DWORD foregroundThread = foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attach = foregroundThread != 0 && foregroundThread != ownThread &&
                        ::AttachThreadInput(foregroundThread, ownThread, TRUE) != FALSE;
    ::BringWindowToTop(app.panel);
    ::SetForegroundWindow(app.panel);
    if (attach) ::AttachThreadInput(foregroundThread, ownThread, FALSE);
}

bool IsPanelCovered(const App& app) {
    RECT rect {};
    ::GetWindowRect(app.panel, &rect);
    CoverSearch search {app.panel, ToRect(rect), false};
    ::EnumWindows(CoverProc, reinterpret_cast<LPARAM>(&search));
    return search.covered;
}

void OnPanelActivate(App& app, WPARAM state, HWND otherWindow) {
    if (app.shell.menuModal) return;
    const std::uint64_t now = ::GetTickCount64();
    if (LOWORD(state) != WA_INACTIVE) {
        ExpireShareHold(app.shell.holds, now);
        if (app.panel != nullptr) ::PostMessageW(app.panel, PM_CHECKINBOX, 0, 0);
        return;
    }
    if (!ShouldHideOnFocusLoss(app)) return;
    if (IsHideExempt(app.shell.holds, now, DescribeTarget(otherWindow))) return;
    HidePanel(app);
}

bool HoldsFocus(HWND window) {
    const HWND focus = ::GetFocus();
    return window != nullptr && (focus == window || ::IsChild(window, focus));
}

void FocusEditorAfterDialog(App& app, bool dialogHadFocus) {
    if (!dialogHadFocus || !app.shell.shown || app.panel == nullptr || app.editor.hwnd == nullptr) return;
    ::SetActiveWindow(app.panel);
    ::SetFocus(app.editor.hwnd);
}

bool InstallForegroundHook(App& app) {
    hookApp = &app;
    app.shell.foregroundHook = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                                 ForegroundChanged, 0, 0,
                                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    return app.shell.foregroundHook != nullptr;
}

void RemoveForegroundHook(App& app) {
    if (app.shell.foregroundHook != nullptr) ::UnhookWinEvent(app.shell.foregroundHook);
    app.shell.foregroundHook = nullptr;
    hookApp = nullptr;
}

}  // namespace quillpane
