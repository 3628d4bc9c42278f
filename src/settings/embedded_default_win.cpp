// The default config.ini built into the executable.
#include "settings/embedded_default_win.h"

#include "resources/resource_ids.h"

#include <windows.h>

namespace quillpane {

std::string_view EmbeddedDefaultConfig() {
    // Resource memory stays mapped for the life of the module.
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_DEFAULT_CONFIG), RT_RCDATA);
    if (info == nullptr) return {};
    const HGLOBAL loaded = ::LoadResource(module, info);
    if (loaded == nullptr) return {};
    const DWORD size = ::SizeofResource(module, info);
    const void* bytes = ::LockResource(loaded);
    if (bytes == nullptr || size == 0) return {};
    return std::string_view(static_cast<const char*>(bytes), size);
}

}  // namespace quillpane
