#include "app/menu_win.h"

#include "app/app_win.h"
#include "app/memo_win.h"
#include "app/theme_win.h"
#include "editor/shell_text.h"
#include "i18n/language.h"
#include "platform/wide_win.h"
#include "settings/paths_win.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace quillpane {
namespace {

// The documents ship beside the executable, not in the data folder.
std::optional<std::u16string> DocumentPath(const App& app, std::u16string_view stem) {
    const std::u16string executable = ModulePath();
    const std::size_t slash = executable.find_last_of(u"\\/");
    if (slash == std::u16string::npos) return std::nullopt;
    for (const std::u16string& name : DocumentFileOrder(stem, CurrentLanguage(app.config.ui.language))) {
        std::u16string path = executable.substr(0, slash + 1);
        path += name;
        if (::PathFileExistsW(WidePtr(path))) return path;
    }
    return std::nullopt;
}

bool DocumentExists(const App& app, std::u16string_view stem) {
    return DocumentPath(app, stem).has_value();
}

// Starts a program with a command line; false when it could not start.
bool Run(std::u16string commandLine) {
    STARTUPINFOW startup {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process {};
    if (!::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// A path under %SystemRoot%\System32, or empty when it does not fit.
std::u16string SystemProgram(const wchar_t* name) {
    std::wstring pattern = L"%SystemRoot%\\System32\\";
    pattern += name;
    wchar_t expanded[MAX_PATH] {};
    const DWORD length = ::ExpandEnvironmentStringsW(pattern.c_str(), expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH - 1) return {};
    return FromWide(expanded);
}

}  // namespace

HMENU BuildPopupMenu(const std::vector<MenuItem>& items) {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return nullptr;
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Separator) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        MENUITEMINFOW info {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_ID;
        info.fType = MFT_STRING | (item.radio ? MFT_RADIOCHECK : 0);
        info.fState = (item.checked ? MFS_CHECKED : 0) | (item.grayed ? MFS_GRAYED | MFS_DISABLED : 0);
        info.wID = item.id;
        info.dwTypeData = const_cast<wchar_t*>(WidePtr(item.text));
        if (item.kind == MenuItem::Kind::Submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = BuildPopupMenu(item.children);
            if (info.hSubMenu == nullptr) continue;
        }
        ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info);
    }
    return menu;
}

UINT TrackMenuChoice(App& app, HMENU menu, POINT at, UINT alignment) {
    if (menu == nullptr) return 0;
    // The panel must not hide while its menu has the focus.
    app.shell.menuModal = true;
    ::SetForegroundWindow(app.panel);
    const UINT flags = alignment | TPM_RECURSE | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD;
    const auto chosen = static_cast<UINT>(::TrackPopupMenuEx(menu, flags, at.x, at.y, app.panel, nullptr));
    app.shell.menuModal = false;
    ::DestroyMenu(menu);
    // Lets the menu close when the user clicks elsewhere.
    ::PostMessageW(app.panel, WM_NULL, 0, 0);
    return chosen;
}

void TrackPanelMenu(App& app, HMENU menu, POINT at, UINT alignment) {
    const UINT chosen = TrackMenuChoice(app, menu, at, alignment);
    if (chosen != 0) ::PostMessageW(app.panel, WM_COMMAND, chosen, 0);
}

DocumentsFound FindDocuments(const App& app) {
    return {DocumentExists(app, u"README"), DocumentExists(app, u"PHONE"), DocumentExists(app, u"CHANGELOG")};
}

void OpenDocument(const App& app, std::u16string_view stem) {
    const std::optional<std::u16string> path = DocumentPath(app, stem);
    if (!path) return;
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(app.panel, L"open", WidePtr(*path), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return;
    const std::u16string notepad = SystemProgram(L"notepad.exe");
    if (!notepad.empty()) (void)Run(u"\"" + notepad + u"\" \"" + *path + u"\"");
}

void OpenMemoWithDefaultApp(App& app) {
    FlushNote(app);
    const std::u16string& memo = app.memo.memoPath;
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = app.panel;
    info.lpVerb = L"open";
    info.lpFile = WidePtr(memo);
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info)) return;
    // Nothing is associated with the file: Windows' own chooser. It takes
    // the path unquoted and only so long; a cut path would name another file.
    const std::optional<std::u16string> parameters = OpenWithParameters(memo);
    const std::u16string rundll = SystemProgram(L"rundll32.exe");
    if (!parameters || rundll.empty() || !Run(u"\"" + rundll + u"\" " + *parameters)) {
        ::MessageBeep(MB_ICONEXCLAMATION);
    }
}

}  // namespace quillpane
