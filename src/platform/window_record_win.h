// The record a window procedure serves: handed to CreateWindowExW as its
// last argument, kept in GWLP_USERDATA from WM_NCCREATE on. And the one way
// the program's window classes are registered.
#pragma once

#include <windows.h>

namespace quillpane {

template <typename Record>
Record* WindowRecord(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* record = static_cast<Record*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
        return record;
    }
    return reinterpret_cast<Record*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Registering again (a window made a second time) is not a failure.
[[nodiscard]] inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                              UINT style = 0, HICON icon = nullptr) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace quillpane
