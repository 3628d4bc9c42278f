// The editor's context menu and F2's date and time menu: built from the
// editor's state, tracked like the panel's other menus, the path submenu's
// commands carried out here and the rest posted back to the panel.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

// PM_EDITORMENU with the editor's WM_CONTEXTMENU parameters (lParam -1: from
// the keyboard, opened at the selection start).
void ShowEditorMenu(App& app, LPARAM lParam);
// IDM_DATETIMEMENU: below the caret line, or above it near the screen's bottom.
void ShowDateTimeMenu(App& app);

}  // namespace quillpane
