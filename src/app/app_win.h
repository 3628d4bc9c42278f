// The application record: every process-wide state of the UI thread.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "app/about_win.h"
#include "app/chrome_win.h"
#include "app/focus_rules.h"
#include "app/goto_line_win.h"
#include "app/heading_list_win.h"
#include "app/panel_geometry.h"
#include "app/phone_win.h"
#include "app/search_dialog_win.h"
#include "app/search_dialog_rules.h"
#include "app/search_win.h"
#include "app/share_win.h"
#include "app/status_label_win.h"
#include "app/theme_win.h"
#include "editor/editor_window_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "platform/handles_win.h"
#include "platform/window_record_win.h"
#include "sections/heading_sidebar_win.h"
#include "sections/memo_fold_win.h"
#include "settings/config.h"
#include "storage/backup.h"
#include "storage/memo_state.h"

namespace quillpane {

struct ShellState {
    bool shown = false;
    bool rememberPlacement = false;
    bool inSizeMove = false;
    std::uint64_t lastLayoutTick = 0;
    std::uint64_t lastToggleTick = 0;
    PanelMetrics metrics;
    bool hotkeyRegistered = false;
    bool menuModal = false;
    FocusHolds holds;
    HWINEVENTHOOK foregroundHook = nullptr;
    bool winrtInitialised = false;
    // When Exit was last held back by an unsaved memo; 0 = not held.
    std::uint64_t exitHeldTick = 0;
    // The sidebar's splitter drag: the cursor's screen x and the width at its start.
    bool sidebarDragging = false;
    int dragStartX = 0;
    int dragStartWidth = 0;
};

struct TrayState {
    NOTIFYICONDATAW data {};
    bool added = false;
    UniqueIcon icon;
    // A balloon that found no icon (start-up, Explorer restarting): shown
    // once the icon is added.
    std::u16string pendingBalloon;
};

struct App {
    HINSTANCE instance = nullptr;
    UniqueHandle singleInstanceMutex;
    UINT toggleMessage = 0;
    UINT taskbarCreatedMessage = 0;

    HWND panel = nullptr;

    std::u16string dataFolder;
    std::u16string programFolder;
    std::u16string configPath;
    Config config;
    // config.ini could not be read nor moved aside at start: it is never
    // written in this run.
    bool configLocked = false;

    MemoState memo;
    bool memoCreated = false;
    BackupRecord backupRecord;

    ShellState shell;
    TrayState tray;
    ThemeState theme;
    EditorWindow editor;  // the memo's editor; reads config.editor and theme.isDark
    MemoFolds folds;      // the memo folds shown in the editor
    HeadingSidebar sidebar;  // reads the editor, the folds, config.sidebar and theme.isDark
    SearchState search;      // the term and the overlay; the history is config.search
    SearchDialog searchDialog;
    GoToLineDialog goToLine;
    StatusLabel statusLabel;
    ChromeState chrome;  // the title strip's buttons and the applied opacity
    HeadingListDialog headingList;
    AboutCard about;
    PhoneState phone;
    ShareState share;
};

// Saves config.ini from the record; a failed save is retried on a timer.
void SaveAppConfig(App& app);

// The UI language now ([UI] Language, else the Windows display language).
[[nodiscard]] inline int UiLanguage(const App& app) {
    return CurrentLanguage(app.config.ui.language);
}
// A text of the UI as a label shows it: without its accelerator.
[[nodiscard]] inline std::u16string UiLabel(const App& app, TextId id) {
    return StripAccelerator(Text(id, UiLanguage(app)));
}

// The window procedure of a window whose record is the App passed to
// CreateWindowExW: the handle Window gives is kept from WM_NCCREATE to
// WM_NCDESTROY, and the handler runs guarded against component failures.
template <HWND& (*Window)(App&), LRESULT (*Handle)(App&, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    App* app = WindowRecord<App>(hwnd, message, lParam);
    if (message == WM_NCCREATE && app != nullptr) Window(*app) = hwnd;
    if (app == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (Window(*app) == hwnd) Window(*app) = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return GuardComponentCalls(LRESULT {0}, [&] { return Handle(*app, hwnd, message, wParam, lParam); });
}

}  // namespace quillpane
