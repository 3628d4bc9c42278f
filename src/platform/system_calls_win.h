// System functions that not every Windows (or Wine) has, looked up once at
// first use. A missing one is null; each caller has its fallback.
#pragma once

#include <windows.h>

namespace quillpane {

struct SystemCalls {
    // user32, Windows 10 1607 and later.
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    // user32, Windows 10 1703 and later.
    BOOL(WINAPI* setProcessDpiAwarenessContext)(DPI_AWARENESS_CONTEXT) = nullptr;
    // uxtheme's dark-mode exports, reachable by ordinal only (133, 135, 136).
    BOOLEAN(WINAPI* allowDarkModeForWindow)(HWND, BOOLEAN) = nullptr;
    int(WINAPI* setPreferredAppMode)(int) = nullptr;
    void(WINAPI* flushMenuThemes)() = nullptr;
    // dwmapi.
    HRESULT(WINAPI* dwmSetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
    HRESULT(WINAPI* dwmGetWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
};

// The table, resolved on the first call (on the UI thread).
[[nodiscard]] const SystemCalls& System();

// GetDpiForWindow when the system has it and answers, else 96.
[[nodiscard]] int WindowDpiOf(HWND window);

}  // namespace quillpane
