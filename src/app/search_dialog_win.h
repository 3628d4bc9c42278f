// The floating search dialog over the panel: the search box with its history
// list, the replace row, the find and close buttons and a transient message.
// Every search goes to the engine in search_win.
#pragma once

#include <windows.h>

#include "app/dialog_look_win.h"
#include "platform/handles_win.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace quillpane {

struct App;

inline constexpr wchar_t kSearchDialogClassName[] = L"Quillpn.SearchDialog";

enum SearchButton : int {
    kToggleButton,
    kNextButton,
    kPreviousButton,
    kCloseButton,
    kReplaceButton,
    kReplaceAllButton,
    kGoButton,            // inside the search box
    kClearSearchButton,   // inside the search box, while it has text
    kClearReplaceButton,  // inside the replace box, while it has text
    kSearchButtonCount
};

struct SearchDialog {
    HWND window = nullptr;
    HWND searchBox = nullptr;
    HWND replaceBox = nullptr;
    std::array<HWND, kSearchButtonCount> buttons {};
    std::array<bool, kSearchButtonCount> hover {};
    bool replaceRow = false;
    int dpi = 96;
    int buttonWidth = 0;
    HWND lastFocus = nullptr;  // given back when the dialog is activated again
    bool settingText = false;  // the search box is being filled from here
    HWND history = nullptr;    // the open history list
    HWND tip = nullptr;      // the message tip, while the dialog is open
    UniqueFont textFont;
    GlyphFont glyphFont;
    UniqueBrush boxBrush;
    bool brushesDark = false;
    bool brushesBuilt = false;
};

// Ctrl+F: opens the dialog (or brings it forward) with the selection or the word.
void OpenSearch(App& app);
// Ctrl+H: the same with the replace row.
void OpenReplace(App& app);
void CloseSearch(App& app);
[[nodiscard]] bool SearchDialogOpen(const App& app);
// Esc on the panel: the history list first, then the dialog; false when neither was open.
bool CloseSearchLayer(App& app);

// Enter, Esc and F3 aimed at the dialog, then its tab keys; true when the
// message was handled and must not be dispatched.
bool PreTranslateSearchDialog(App& app, MSG& message);

// The message tip under the search box: shown for three seconds.
void ShowSearchMessage(App& app, std::u16string_view text);
void HideSearchMessage(App& app);
// A term chosen elsewhere (Ctrl+F3) shown in the open dialog's box.
void ShowTermInSearchBox(App& app, std::u16string_view term);
// Scrolls a found match into view and out from under the dialog, or moves
// the dialog when the text cannot move.
void KeepMatchClearOfDialog(App& app, std::size_t matchStart);
void SearchDialogThemeChanged(App& app);

}  // namespace quillpane
