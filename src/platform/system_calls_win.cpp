// System functions that not every Windows (or Wine) has, looked up once at
// first use.
#include "platform/system_calls_win.h"

#include "platform/dpi.h"

namespace quillpane {
namespace {

HMODULE SystemModule(const wchar_t* name) {
    HMODULE module = ::GetModuleHandleW(name);
    if (module == nullptr) module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module;
}

template <typename Fn>
void Resolve(Fn& target, HMODULE module, const char* name) {
    if (module != nullptr) target = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

template <typename Fn>
void ResolveOrdinal(Fn& target, HMODULE module, WORD ordinal) {
    if (module != nullptr) {
        target = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
    }
}

SystemCalls ResolveAll() {
    SystemCalls calls;
    HMODULE user32 = SystemModule(L"user32.dll");
    Resolve(calls.getDpiForWindow, user32, "GetDpiForWindow");
    Resolve(calls.setProcessDpiAwarenessContext, user32, "SetProcessDpiAwarenessContext");
    HMODULE uxtheme = SystemModule(L"uxtheme.dll");
    ResolveOrdinal(calls.allowDarkModeForWindow, uxtheme, 133);
    ResolveOrdinal(calls.setPreferredAppMode, uxtheme, 135);
    ResolveOrdinal(calls.flushMenuThemes, uxtheme, 136);
    HMODULE dwmapi = SystemModule(L"dwmapi.dll");
    Resolve(calls.dwmSetWindowAttribute, dwmapi, "DwmSetWindowAttribute");
    Resolve(calls.dwmGetWindowAttribute, dwmapi, "DwmGetWindowAttribute");
    return calls;
}

}  // namespace

const SystemCalls& System() {
    static const SystemCalls calls = ResolveAll();
    return calls;
}

int WindowDpiOf(HWND window) {
    const auto getDpi = System().getDpiForWindow;
    const UINT dpi = (getDpi != nullptr && window != nullptr) ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

}  // namespace quillpane
