#include "editor/shell_open_win.h"

#include "editor/links.h"
#include "platform/com_object_win.h"
#include "platform/wide_win.h"

#include <shellapi.h>

#include <thread>

namespace quillpane {
namespace {

// Explorer by its full path: a bare "explorer.exe" could be found in the
// current folder first.
std::u16string ExplorerPath() {
    wchar_t expanded[MAX_PATH] {};
    const DWORD length = ::ExpandEnvironmentStringsW(L"%SystemRoot%\\explorer.exe", expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH - 1) return u"explorer.exe";
    return FromWide(expanded);
}

bool RunExplorer(HWND owner, const std::u16string& parameters) {
    const std::u16string explorer = ExplorerPath();
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(owner, L"open", WidePtr(explorer), WidePtr(parameters), nullptr, SW_SHOWNORMAL));
    return result > 32;
}

void Beep() {
    ::MessageBeep(MB_ICONEXCLAMATION);
}

}  // namespace

bool ShellOpen(HWND owner, const std::u16string& target, bool beepOnFailure) {
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", WidePtr(target), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    if (beepOnFailure) Beep();
    return false;
}

void ShellOpenInBackground(const std::u16string& target) {
    try {
        std::thread([target] {
            // The shell wants a single-threaded apartment on the calling thread.
            ApartmentScope com(ApartmentScope::Kind::Com, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            (void)ShellOpen(nullptr, target, true);
        }).detach();
    } catch (const std::system_error&) {
        Beep();
    }
}

bool OnAnotherMachine(const std::u16string& path) {
    if (IsNetworkPath(path)) return true;
    if (path.size() < 2 || path[1] != u':') return false;
    // Asks the local mapping table, not the server.
    const wchar_t root[] = {static_cast<wchar_t>(path[0]), L':', L'\\', L'\0'};
    return ::GetDriveTypeW(root) == DRIVE_REMOTE;
}

std::u16string ExecutableExtensions() {
    wchar_t buffer[1024] {};
    const DWORD length = ::GetEnvironmentVariableW(L"PATHEXT", buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return {};
    return FromWide({buffer, length});
}

std::u16string NormalisedPath(std::u16string path) {
    while (path.size() > 1 && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
    if (path.size() == 2 && path[1] == u':') path += u'\\';
    return path;
}

bool SelectInFolder(HWND owner, const std::u16string& path) {
    // A quote would end the argument early and start another.
    if (path.find(u'"') != std::u16string::npos) return false;
    return RunExplorer(owner, u"/select,\"" + path + u"\"");
}

void OpenPathSafely(HWND owner, std::u16string path) {
    path = NormalisedPath(std::move(path));
    if (path.empty() || path.find(u'"') != std::u16string::npos) {
        Beep();
        return;
    }
    if (RunsWhenOpened(path, ExecutableExtensions())) {
        if (!SelectInFolder(owner, path)) Beep();
        return;
    }
    if (OnAnotherMachine(path)) {
        ShellOpenInBackground(path);
        return;
    }
    const DWORD attributes = ::GetFileAttributesW(WidePtr(path));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        if (!RunExplorer(owner, u"\"" + path + u"\"")) Beep();
        return;
    }
    (void)ShellOpen(owner, path, true);
}

void ShowPathProperties(HWND owner, const std::u16string& path) {
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpFile = WidePtr(path);
    info.nShow = SW_SHOW;
    if (!::ShellExecuteExW(&info)) Beep();
}

}  // namespace quillpane
