#include "app/goto_line_win.h"

#include "app/app_win.h"

namespace quillpane {

void OpenGoToLine(App&, std::optional<POINT>) {}

void CloseGoToLine(App& app) {
    if (app.goToLine.window != nullptr) ::DestroyWindow(app.goToLine.window);
}

bool GoToLineOpen(const App& app) {
    return app.goToLine.window != nullptr;
}

bool PreTranslateGoToLine(App&, MSG&) {
    return false;
}

void GoToLineThemeChanged(App&) {}

}  // namespace quillpane
