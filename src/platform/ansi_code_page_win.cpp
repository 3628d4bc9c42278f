// The process's ANSI code page.
#include "platform/file_system.h"
#include "platform/wide_win.h"

#include <windows.h>

#include <climits>

namespace quillpane::platform {

unsigned AnsiCodePage() {
    return ::GetACP();
}

std::u16string AnsiToUtf16(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
    return FromWide(text);
}

}  // namespace quillpane::platform
