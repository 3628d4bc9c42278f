#include "app/heading_list_win.h"

#include "app/app_win.h"

namespace quillpane {

void OpenHeadingList(App&) {}

void CloseHeadingList(App& app) {
    if (app.headingList.window != nullptr) ::DestroyWindow(app.headingList.window);
}

bool HeadingListOpen(const App& app) {
    return app.headingList.window != nullptr;
}

bool PreTranslateHeadingList(App&, MSG&) {
    return false;
}

void HeadingListThemeChanged(App&) {}

}  // namespace quillpane
