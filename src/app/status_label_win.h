// The strip under the editor: the caret's line:column on the left (a click
// there toggles go to line), the counts on the right.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"

#include <string>

namespace quillpane {

struct App;

inline constexpr wchar_t kStatusLabelClassName[] = L"QuillpnCharCountLabel";

struct StatusLabel {
    HWND window = nullptr;
    std::u16string position;
    std::u16string counts;
    std::u16string searchPart;  // kept while the match list waits for its refresh
    bool hover = false;
    bool pressed = false;
    int dpi = 96;
    UniqueFont font;
};

// Creates the hidden label owned by the panel; false when it could not be.
bool CreateStatusLabel(App& app);
// Under the editor, as wide as it; shown with the panel.
void PlaceStatusLabel(App& app);
void HideStatusLabel(App& app);
// Recomputes both texts from the editor; repaints only what changed. Bounded
// by the selection's lines, never the whole text.
void UpdateStatusLabel(App& app);
// The panel's translucency, as a percentage (100 = opaque).
void ApplyLabelOpacity(App& app, int percent);
void StatusLabelThemeChanged(App& app);

}  // namespace quillpane
