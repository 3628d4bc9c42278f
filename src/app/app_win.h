// The application record: every process-wide state of the UI thread.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "app/focus_rules.h"
#include "app/panel_geometry.h"
#include "app/theme_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "platform/handles_win.h"
#include "sections/memo_fold.h"
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
};

struct TrayState {
    NOTIFYICONDATAW data {};
    bool added = false;
    UniqueIcon icon;
};

struct App {
    HINSTANCE instance = nullptr;
    UniqueHandle singleInstanceMutex;
    UINT toggleMessage = 0;
    UINT taskbarCreatedMessage = 0;

    HWND panel = nullptr;
    HWND editor = nullptr;
    HWND sidebar = nullptr;  // the heading sidebar, once it exists

    std::u16string dataFolder;
    std::u16string programFolder;
    std::u16string configPath;
    Config config;
    int sessionFontStep = 0;

    MemoState memo;
    bool memoCreated = false;
    bool replacingEditorText = false;
    BackupRecord backupRecord;

    ShellState shell;
    TrayState tray;
    ThemeState theme;
    EditorLook look;  // the editor's appearance, kept across its re-creation
    EditorTextState textState;  // text adapter, edit history and changed-line marks
    MemoFoldState memoFolds;  // the folds last applied to the editor
    bool recomputingFolds = false;
};

// Saves config.ini from the record; failures are silent by design.
void SaveAppConfig(App& app);

}  // namespace quillpane
