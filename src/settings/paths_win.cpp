// The data and executable folders as Windows reports them.
#include "settings/paths_win.h"

#include "platform/wide_win.h"
#include "settings/paths.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace quillpane {
namespace {

std::u16string FromBuffer(const wchar_t* buffer, std::size_t length) {
    return FromWide(std::wstring_view(buffer, length));
}

std::u16string ShellAppDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return FromBuffer(buffer, ::wcsnlen(buffer, MAX_PATH));
}

std::u16string AppDataVariable() {
    constexpr DWORD kCapacity = 260;
    wchar_t buffer[kCapacity] = {};
    // A result of kCapacity or more is the size the value would need.
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", buffer, kCapacity);
    if (length < 1 || length > kCapacity - 1) return {};
    return FromBuffer(buffer, length);
}

}  // namespace

std::u16string ModulePath() {
    // Paths may be longer than MAX_PATH; a full buffer means truncation.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return FromBuffer(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string ExecutableFolder() {
    const std::u16string path = ModulePath();
    return path.substr(0, FileNameStart(path));
}

std::u16string DataFolder() {
    std::u16string folder = ShellAppDataFolder();
    if (folder.empty()) folder = AppDataVariable();
    if (folder.empty()) folder = ExecutableFolder();
    // The executable's folder may end in '/', which serves as well.
    if (folder.empty() || (folder.back() != u'\\' && folder.back() != u'/')) folder.push_back(u'\\');
    return folder;
}

}  // namespace quillpane
