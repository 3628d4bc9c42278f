#include "app/context_menu_win.h"

#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/menu_model.h"
#include "app/menu_win.h"
#include "editor/editor_commands_win.h"
#include "editor/links.h"
#include "editor/links_win.h"
#include "editor/shell_open_win.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "resources/messages.h"

#include <windowsx.h>

#include <optional>

namespace quillpane {
namespace {

EditorMenuState MenuStateOf(App& app) {
    EditorWindow& ed = app.editor;
    EditContext context = ContextOf(ed.text);
    EditorMenuState state;
    state.canUndo = CanUndo(ed.text.history) && !ed.sci.ReadOnly();
    state.canRedo = CanRedo(ed.text.history);
    state.hasSelection = !ed.sci.SelectionEmpty();
    state.clipboardHasText = ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    state.textEmpty = EditorLength16(ed) == 0;
    state.headingRole = app.config.editor.sectionMarkerRole == SectionMarkerRole::Heading;
    state.hasLastEdit = HasLastEdit(context);
    state.canMoveUp = CanMoveLinesNow(ed, -1);
    state.canMoveDown = CanMoveLinesNow(ed, 1);
    return state;
}

bool OrdinalLessIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const int order = ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                             reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                                             TRUE);
    return order == CSTR_LESS_THAN;
}

std::u16string ParentFolder(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string::npos) return {};
    return NormalisedPath(path.substr(0, slash + 1));
}

// The visible entries of a folder; false when it cannot be read.
bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
    std::u16string pattern = folder;
    if (pattern.back() != u'\\') pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW found {};
    HANDLE search = ::FindFirstFileExW(WidePtr(pattern), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        const std::u16string name = FromWide(found.cFileName);
        if (name == u"." || name == u"..") continue;
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

// The path's submenu as it stands now, and the folder its entries are in.
struct PathMenu {
    std::u16string path;
    std::u16string folder;  // the listed folder
    PathMenuInfo info;
};

PathMenu DescribePath(std::u16string path) {
    PathMenu menu;
    menu.path = NormalisedPath(std::move(path));
    menu.info.displayName = LinkDisplayName(menu.path);
    if (OnAnotherMachine(menu.path)) {
        menu.info.kind = PathMenuInfo::Kind::Network;
        return menu;
    }
    const DWORD attributes = ::GetFileAttributesW(WidePtr(menu.path));
    if (attributes == INVALID_FILE_ATTRIBUTES) return menu;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    menu.info.kind = folder ? PathMenuInfo::Kind::Folder : PathMenuInfo::Kind::File;
    menu.folder = folder ? menu.path : ParentFolder(menu.path);
    std::vector<FolderEntry> entries;
    menu.info.listed = !menu.folder.empty() && ListFolder(menu.folder, entries);
    if (menu.info.listed) ArrangeFolderEntries(menu.info, std::move(entries), OrdinalLessIgnoringCase);
    return menu;
}

std::u16string EntryPath(const PathMenu& menu, std::size_t index) {
    std::u16string path = menu.folder;
    if (path.back() != u'\\') path += u'\\';
    return path + menu.info.entries[index].name;
}

void RunPathCommand(App& app, const PathMenu& menu, UINT id) {
    HWND owner = app.panel;
    if (id == kPathFolderProperties || id == kPathFileProperties) {
        ShowPathProperties(owner, menu.path);
    } else if (id == kPathOpenContaining) {
        if (!SelectInFolder(owner, menu.path)) ::MessageBeep(MB_ICONEXCLAMATION);
    } else if (id == kPathMoreEntries) {
        OpenPathSafely(owner, menu.folder);
    } else if (id >= kPathEntryFirst && id - kPathEntryFirst < menu.info.entries.size()) {
        OpenPathSafely(owner, EntryPath(menu, id - kPathEntryFirst));
    }
}

bool IsPathCommand(UINT id) {
    return id >= kPathEntryFirst && id <= kPathFileProperties;
}

// Screen position of a byte position's character top-left.
POINT ScreenPointOf(EditorWindow& ed, Scintilla::Position position) {
    POINT point {ed.sci.PointXFromPosition(position), ed.sci.PointYFromPosition(position)};
    ::ClientToScreen(ed.hwnd, &point);
    return point;
}

}  // namespace

void ShowEditorMenu(App& app, LPARAM lParam) {
    EditorWindow& ed = app.editor;
    if (!ServesText(ed)) return;
    // From the keyboard both coordinates are -1 (however the value was widened).
    const POINT pointer {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool fromKeyboard = pointer.x == -1 && pointer.y == -1;
    const POINT at = fromKeyboard ? ScreenPointOf(ed, ed.sci.SelectionStart()) : pointer;
    const int language = UiLanguage(app);
    std::vector<MenuItem> items = EditorMenuItems(MenuStateOf(app), language);
    std::optional<PathMenu> pathMenu;
    if (const std::optional<std::u16string> path =
            LocalPathOfLink(ed, fromKeyboard ? std::nullopt : std::optional<POINT>(at))) {
        pathMenu = DescribePath(*path);
        MenuItem separator;
        separator.kind = MenuItem::Kind::Separator;
        items.push_back(separator);
        items.push_back(PathSubmenu(pathMenu->info, language));
    }
    const UINT chosen = TrackMenuChoice(app, BuildPopupMenu(items), at, TPM_LEFTALIGN | TPM_TOPALIGN);
    if (chosen == 0) return;
    if (IsPathCommand(chosen)) {
        if (pathMenu) RunPathCommand(app, *pathMenu, chosen);
        return;
    }
    ::PostMessageW(app.panel, WM_COMMAND, chosen, 0);
}

void ShowDateTimeMenu(App& app) {
    EditorWindow& ed = app.editor;
    if (!ServesText(ed)) return;
    const Scintilla::Position caret = ed.sci.SelectionStart();
    const POINT screen = ScreenPointOf(ed, caret);
    int lineHeight = static_cast<int>(ed.sci.TextHeight(ed.sci.LineFromPosition(caret)));
    if (lineHeight <= 0) lineHeight = ed.look.lineHeight > 0 ? ed.look.lineHeight : Scale(16, app.shell.metrics.dpi);
    const HMONITOR monitor = ::MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
    const Rect work = WorkAreaOf(monitor);
    const MenuAnchor anchor = DateTimeMenuAnchor(screen.y, lineHeight, work.top, work.bottom, MonitorDpi(monitor));
    const std::vector<MenuItem> items = DateTimeMenuItems(MenuStateOf(app), UiLanguage(app));
    const UINT alignment = TPM_LEFTALIGN | (anchor.bottomAligned ? TPM_BOTTOMALIGN : TPM_TOPALIGN);
    TrackPanelMenu(app, BuildPopupMenu(items), {screen.x, anchor.y}, alignment);
}

}  // namespace quillpane
