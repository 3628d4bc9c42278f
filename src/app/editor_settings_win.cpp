// The panel's side of the editor's settings: each change is stored in the
// configuration (which the editor reads), saved, and then shown.
#include "app/editor_settings_win.h"

#include "app/app_win.h"
#include "app/status_label_win.h"
#include "app/phone_win.h"
#include "editor/editor_host_win.h"
#include "resources/messages.h"
#include "sections/marker_commands.h"
#include "sections/memo_fold_win.h"

namespace quillpane {

void WireEditor(App& app) {
    EditorWindow& editor = app.editor;
    editor.instance = app.instance;
    editor.parent = app.panel;
    editor.settings = &app.config.editor;
    editor.dark = &app.theme.isDark;
    editor.parentSizing = &app.shell.inSizeMove;
    HeadingSidebar& sidebar = app.sidebar;
    sidebar.editor = &app.editor;
    sidebar.folds = &app.folds;
    sidebar.settings = &app.config.sidebar;
    sidebar.dark = &app.theme.isDark;
}

void SetFontPitch(App& app, bool fixedPitch) {
    app.config.editor.fontPitch = fixedPitch ? FontPitch::Fixed : FontPitch::Proportional;
    OnFontSettingsChanged(app.editor);
}

void SetSizeStep(App& app, int step, bool persist) {
    step = ClampFontStep(step);
    SetSizeStep(app.editor, step);
    SidebarFontChanged(app.sidebar);
    // A step reached by zooming and then chosen in the settings must still be saved.
    if (persist && app.config.editor.fontSizeStep != step) {
        app.config.editor.fontSizeStep = step;
        SaveAppConfig(app);
    }
}

void SetTheme(App& app, bool dark) {
    app.theme.isDark = dark;
    OnThemeChanged(app.editor);
    SidebarThemeChanged(app.sidebar);
    RefreshSearch(app);
}

void SetShowUnderline(App& app, bool show) {
    app.config.editor.showCurrentLineUnderline = show;
    OnCueSettingsChanged(app.editor);
}

void SetShowHighlight(App& app, bool show) {
    app.config.editor.showCurrentLineHighlight = show;
    OnCueSettingsChanged(app.editor);
}

void SetShowLineNumbers(App& app, bool show) {
    app.config.editor.showLineNumbers = show;
    OnLineNumbersChanged(app.editor);
}

void SetCaretStyle(App& app, CaretStyle style) {
    app.config.editor.caretStyle = style;
    OnCaretStyleChanged(app.editor);
}

void SetWordWrap(App& app, WordWrap wrap) {
    if (wrap == app.config.editor.wordWrap || app.editor.hwnd == nullptr) return;
    if (!SetWordWrap(app.editor, wrap)) return;
    app.config.editor.wordWrap = wrap;
    RefreshMemoFolds(app);
    PlaceStatusLabel(app);
    UpdateStatusLabel(app);
    SaveAppConfig(app);
}

void SetRoleCommand(App& app, unsigned commandId) {
    const std::optional<SectionMarkerRole> role = RoleForCommand(commandId);
    if (!role || !SetRole(app.config.editor, *role)) return;
    SaveAppConfig(app);
    RefreshMemoFolds(app);
    RebuildSidebar(app.sidebar);
    ExportToPhone(app);
}

void RefreshMemoFolds(App& app) {
    RecomputeMemoFolds(app.editor, app.folds, app.config.sidebar.folded);
}

bool OnEditorRequest(App& app, unsigned message, unsigned long long wParam, long long lParam) {
    switch (message) {
    case PM_SAVECONFIG:
        SaveAppConfig(app);
        return true;
    case PM_SECTIONSCHANGED:
        RebuildSidebar(app.sidebar);
        return true;
    case PM_TOGGLEFOLD:
        if (lParam != 0) {
            OnFoldMarginClick(app.editor, app.folds, app.config.sidebar.folded, static_cast<int>(wParam));
        } else {
            ToggleFoldAtCaret(app.editor, app.folds, app.config.sidebar.folded);
        }
        return true;
    default:
        return false;
    }
}

}  // namespace quillpane
