// Start-up, the message loop and the process exit code.
#include "app/startup_win.h"

#include "app/app_win.h"
#include "resources/messages.h"
#include "app/focus_win.h"
#include "app/memo_win.h"
#include "app/panel_win.h"
#include "app/run_at_startup_win.h"
#include "app/settings_command_win.h"
#include "app/search_dialog_win.h"
#include "app/theme_win.h"
#include "app/tray_win.h"
#include "editor/editor_host_win.h"
#include "i18n/language.h"
#include "i18n/language_win.h"
#include "i18n/strings.h"
#include "platform/file_system.h"
#include "platform/system_calls_win.h"
#include "platform/wide_win.h"
#include "settings/embedded_default_win.h"
#include "app/hotkey_win.h"
#include "app/phone_win.h"
#include "settings/paths.h"
#include "settings/paths_win.h"
#include "settings/version_info_win.h"
#include "storage/note_file.h"

#include <commctrl.h>
#include <roapi.h>

#include <memory>

namespace quillpane {
namespace {

constexpr wchar_t kMutexName[] = L"Quillpn_SingleInstance";
constexpr wchar_t kToggleMessageName[] = L"WM_QUILLPN_TOGGLE";
constexpr int kMessageLoopFailed = 2;

// Windows 10 1703 and later; older systems keep the manifest's awareness.
void SetPerMonitorDpiAwareness() {
    if (const auto setContext = System().setProcessDpiAwarenessContext) {
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    }
}

// Another instance owns the mutex: ask it to show its panel and leave.
void HandOverToFirstInstance() {
    HWND first = ::FindWindowW(kPanelClassName, nullptr);
    if (first == nullptr) return;
    const UINT toggle = ::RegisterWindowMessageW(kToggleMessageName);
    if (toggle != 0) ::PostMessageW(first, toggle, kToggleFromSecondLaunch, 0);
}

void LoadSettings(App& app) {
    app.dataFolder = DataFolder();
    app.programFolder = ProgramFolderOf(app.dataFolder);
    app.configPath = ConfigPathOf(app.programFolder);
    StartedConfig started = StartConfig(app.dataFolder, ExecutableFolder(), EmbeddedDefaultConfig(),
                                        platform::FileTimeNow());
    app.config = std::move(started.config);
    app.configLocked = started.locked;
    app.editor.sizeStep = app.config.editor.fontSizeStep;
}

void ResolveMemoPath(App& app) {
    const int language = CurrentLanguage(app.config.ui.language);
    const ResolvedNote note = ResolveNoteFile(app.config.note.file, app.dataFolder, Text(TextId::WelcomeText, language));
    // Saves go to the file a link or junction points at; the atomic replace
    // would otherwise turn the link into a plain file.
    app.memo.memoPath = platform::FinalPathOf(note.path).value_or(note.path);
    app.memoCreated = note.created;
}

void RecordLastRunVersion(App& app) {
    const std::u16string version = ReadProductVersion();
    if (version.empty() || version == app.config.application.lastRunVersion) return;
    app.config.application.lastRunVersion = version;
    SaveAppConfig(app);
}

int RunMessageLoop(App& app) {
    MSG message {};
    BOOL result = 0;
    while ((result = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        // A broken queue: message holds nothing meaningful to return.
        if (result == -1) return kMessageLoopFailed;
        // Keys aimed at the floating dialogs are theirs before any translation.
        if (PreTranslateSearchDialog(app, message) || PreTranslateGoToLine(app, message) ||
            PreTranslateHeadingList(app, message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

void SaveAppConfig(App& app) {
    if (app.configLocked) return;
    // A failed save is tried again until it lands; the values stay in memory meanwhile.
    const bool saved = SaveConfig(app.config, app.configPath);
    if (app.panel == nullptr) return;
    if (saved) {
        ::KillTimer(app.panel, kTimerConfigRetry);
    } else {
        ::SetTimer(app.panel, kTimerConfigRetry, kConfigRetryMs, nullptr);
    }
}

int RunApplication(HINSTANCE instance) {
    SetPerMonitorDpiAwareness();

    auto app = std::make_unique<App>();
    app->instance = instance;
    app->singleInstanceMutex.Reset(::CreateMutexW(nullptr, TRUE, kMutexName));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        HandOverToFirstInstance();
        return 0;
    }

    app->taskbarCreatedMessage = ::RegisterWindowMessageW(L"TaskbarCreated");
    app->toggleMessage = ::RegisterWindowMessageW(kToggleMessageName);

    LoadSettings(*app);
    ApplyThreadLanguage(app->config.ui.language);
    // Rewritten at every start, so a moved executable is still the one started.
    SyncRunAtStartup(app->config.general.runAtStartup);
    ResolveMemoPath(*app);

    INITCOMMONCONTROLSEX controls {sizeof(controls), ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    AllowDarkModeForProcess();

    if (!RegisterEditorClass(instance) || !RegisterPanelClass(instance)) return 1;
    if (!CreatePanel(*app)) return 1;

    app->shell.winrtInitialised = SUCCEEDED(::RoInitialize(RO_INIT_SINGLETHREADED));
    InstallForegroundHook(*app);

    LoadNote(*app);
    ReportUnsavedCopy(*app);
    ApplyTheme(*app);
    ApplyAlwaysOnTop(*app);

    const bool hotkeyOk = RegisterAppHotkey(app->panel, app->config.shortcut.key);
    app->shell.hotkeyRegistered = hotkeyOk && app->config.shortcut.key.key != 0;
    AddTrayIcon(*app);
    if (!hotkeyOk) {
        ShowWarningBalloon(*app, Text(TextId::HotkeyFailed, CurrentLanguage(app->config.ui.language)));
    }
    ::AllowSetForegroundWindow(ASFW_ANY);
    ::SetTimer(app->panel, kTimerMemoWatch, kWatchIntervalMs, nullptr);
    if (app->config.general.phoneSync) StartPhonePoll(*app);
    RecordLastRunVersion(*app);
    RunFirstRunSettings(*app);

    const int exitCode = RunMessageLoop(*app);
    if (app->shell.winrtInitialised) ::RoUninitialize();
    return exitCode;
}

}  // namespace quillpane
