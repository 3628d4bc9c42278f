// The panel's side of the settings window: the hotkey stays off while it is
// open, and what the user confirmed is applied and saved group by group.
#include "app/settings_command_win.h"

#include "app/app_win.h"
#include "app/chrome_rules.h"
#include "app/chrome_win.h"
#include "app/editor_settings_win.h"
#include "app/hotkey_win.h"
#include "app/panel_win.h"
#include "app/run_at_startup_win.h"
#include "app/settings_rules.h"
#include "app/settings_window_win.h"
#include "app/status_label_win.h"
#include "app/theme_win.h"
#include "app/tray_win.h"
#include "app/phone_win.h"
#include "editor/editor_host_win.h"
#include "i18n/language_win.h"
#include "resources/messages.h"
#include "storage/backup.h"

namespace quillpane {
namespace {

// Word wrap recreates the editor; the rest of its settings are read where they are drawn.
void ApplyEditorSettings(App& app, const EditorSettings& wanted) {
    EditorSettings& editor = app.config.editor;
    const bool pitch = wanted.fontPitch != editor.fontPitch;
    const bool cues = wanted.showCurrentLineHighlight != editor.showCurrentLineHighlight ||
                      wanted.showCurrentLineUnderline != editor.showCurrentLineUnderline;
    const bool numbers = wanted.showLineNumbers != editor.showLineNumbers;
    const bool caret = wanted.caretStyle != editor.caretStyle;
    const bool fold = wanted.memoFold != editor.memoFold;
    const bool markers = wanted.separatorLine != editor.separatorLine || wanted.headingLine != editor.headingLine ||
                         wanted.sectionMarkerRole != editor.sectionMarkerRole;
    const WordWrap wrap = editor.wordWrap;
    editor = wanted;
    editor.wordWrap = wrap;

    if (pitch) OnFontSettingsChanged(app.editor);
    if (app.editor.sizeStep != wanted.fontSizeStep) {
        SetSizeStep(app.editor, wanted.fontSizeStep);
        SidebarFontChanged(app.sidebar);
    }
    if (cues) OnCueSettingsChanged(app.editor);
    if (numbers) OnLineNumbersChanged(app.editor);
    if (caret) OnCaretStyleChanged(app.editor);
    // The fold margin comes and goes with the setting.
    if (fold) ApplyMargins(app.editor);
    bool wrapped = false;
    if (wanted.wordWrap != wrap && (app.editor.hwnd == nullptr || SetWordWrap(app.editor, wanted.wordWrap))) {
        editor.wordWrap = wanted.wordWrap;
        wrapped = true;
    }
    if (fold || markers || wrapped) {
        RefreshMemoFolds(app);
        RebuildSidebar(app.sidebar);
    }
    if (markers) ExportToPhone(app);
    if (wrapped) PlaceStatusLabel(app);
    UpdateStatusLabel(app);
}

void ApplyUiSettings(App& app, const UiSettings& wanted) {
    UiSettings& ui = app.config.ui;
    const bool theme = wanted.theme != ui.theme;
    const bool opacity = wanted.opacity != ui.opacity;
    const bool language = wanted.language != ui.language;
    ui = wanted;
    if (theme) ApplyTheme(app);
    if (opacity && ui.translucent) {
        app.chrome.appliedOpacity = ClampOpacity(ui.opacity);
        ApplyOpacity(app);
    }
    if (language) {
        // Texts are looked up as they are drawn; menus are built as they open.
        (void)ApplyThreadLanguage(ui.language);
        RetextTitleTooltips(app);
        if (app.panel != nullptr) ::InvalidateRect(app.panel, nullptr, FALSE);
        if (app.sidebar.window != nullptr) ::InvalidateRect(app.sidebar.window, nullptr, TRUE);
        UpdateStatusLabel(app);
    }
}

void ApplyGeneralSettings(App& app, const GeneralSettings& wanted) {
    const bool startup = wanted.runAtStartup != app.config.general.runAtStartup;
    const bool phone = wanted.phoneSync != app.config.general.phoneSync;
    const bool phoneWas = app.config.general.phoneSync;
    app.config.general = wanted;
    if (startup) SyncRunAtStartup(wanted.runAtStartup);
    // The switch's own command: it may find no OneDrive and stay off.
    app.config.general.phoneSync = phoneWas;
    if (phone) TogglePhoneSync(app);
}

// Each changed group is applied and saved once; the hotkey is its own.
void ApplySettings(App& app, const SettingsCopy& copy) {
    Config wanted = app.config;
    StoreSettings(copy, wanted);
    for (const SettingsGroup group : ChangedGroups(app.config, wanted)) {
        switch (group) {
        case SettingsGroup::Editor:
            ApplyEditorSettings(app, wanted.editor);
            SaveAppConfig(app);
            break;
        case SettingsGroup::Ui:
            ApplyUiSettings(app, wanted.ui);
            SaveAppConfig(app);
            break;
        case SettingsGroup::General:
            ApplyGeneralSettings(app, wanted.general);
            SaveAppConfig(app);
            break;
        case SettingsGroup::Backup:
            app.config.backup = wanted.backup;
            SaveAppConfig(app);
            break;
        case SettingsGroup::Sidebar:
            // The panel's own toggle: it resizes the panel and saves.
            ::SendMessageW(app.panel, PM_TOGGLESIDEBAR, 0, 0);
            break;
        }
    }
}

// The hotkey held before the window opened, again; a failure is shown.
void RegisterAgain(App& app) {
    const bool ok = RegisterAppHotkey(app.panel, app.config.shortcut.key);
    app.shell.hotkeyRegistered = ok && app.config.shortcut.key.key != 0;
    if (!ok) ShowWarningBalloon(app, Text(TextId::HotkeyFailed, UiLanguage(app)));
}

// The window over the panel with the hotkey off; true when the user confirmed.
bool EditSettings(App& app) {
    if (HWND open = FindSettingsWindow()) {
        ::SetForegroundWindow(open);
        return false;
    }
    SettingsCopy copy = CopyOfSettings(app.config, app.editor.sizeStep);
    SettingsRequest request;
    request.instance = app.instance;
    request.owner = app.panel;
    request.dark = app.theme.isDark;
    request.systemDark = SystemPrefersDark();
    request.language = UiLanguage(app);
    request.backupFolder = BackupFolderOf(app.programFolder);
    // So that a combination the user types is not caught as the panel's hotkey.
    ::UnregisterHotKey(app.panel, kHotkeyId);
    const bool confirmed = OpenSettings(request, &copy);
    // Exit or the session's end while the window was open: nothing is left to apply to.
    if (app.panel == nullptr) return false;
    if (confirmed) ApplySettings(app, copy);
    if (confirmed && copy.hotkey != app.config.shortcut.key) {
        ChangeHotkey(app, copy.hotkey);
        app.shell.hotkeyRegistered = app.config.shortcut.key.key != 0;
    } else {
        RegisterAgain(app);
    }
    return confirmed;
}

// Hidden without the saving HidePanel does: nothing was shown or edited.
void HideQuietly(App& app) {
    app.shell.shown = false;
    HideTitleButtons(app);
    HideStatusLabel(app);
    ::SetWindowPos(app.panel, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void RunSettingsCommand(App& app) {
    (void)EditSettings(app);
}

void RunFirstRunSettings(App& app) {
    if (!app.memoCreated || app.panel == nullptr) return;
    HideQuietly(app);
    const bool confirmed = EditSettings(app);
    if (app.panel == nullptr) return;
    HideQuietly(app);
    if (confirmed) ShowPanelAt(app, std::nullopt);
}

}  // namespace quillpane
