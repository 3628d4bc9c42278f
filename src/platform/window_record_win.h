// The record a window procedure serves: handed to CreateWindowExW as its
// last argument, kept in GWLP_USERDATA from WM_NCCREATE on.
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

}  // namespace quillpane
