// Pop-up menus of the panel: built from the menu model, tracked, and the
// chosen command posted back to the panel.
#pragma once

#include <windows.h>

#include "app/menu_model.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

struct App;

// A pop-up menu holding the items; null when the system refused one.
[[nodiscard]] HMENU BuildPopupMenu(const std::vector<MenuItem>& items);
// Tracks the menu at the point, destroys it and returns the chosen id (0 for none).
[[nodiscard]] UINT TrackMenuChoice(App& app, HMENU menu, POINT at, UINT alignment);
// Tracks the menu at the point, destroys it and posts the chosen command.
void TrackPanelMenu(App& app, HMENU menu, POINT at, UINT alignment);
// The documents beside the program that the menus can open.
[[nodiscard]] DocumentsFound FindDocuments(const App& app);
// IDM_DOCREADME, IDM_DOCPHONE, IDM_DOCCHANGELOG: the document in its viewer,
// or in Notepad when nothing is associated with .md files.
void OpenDocument(const App& app, std::u16string_view stem);
// IDM_OPENWITH: the memo file, saved first, in its default application or
// the system's "Open with" chooser.
void OpenMemoWithDefaultApp(App& app);

}  // namespace quillpane
