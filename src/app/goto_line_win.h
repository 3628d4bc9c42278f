// The go-to-line dialog: one number field and a close button; Enter puts the
// caret at the start of that line.
#pragma once

#include <windows.h>

#include "app/dialog_look_win.h"
#include "platform/handles_win.h"

#include <optional>

namespace quillpane {

struct App;

inline constexpr wchar_t kGoToLineClassName[] = L"Quillpn.GoToLineDialog";

struct GoToLineDialog {
    HWND window = nullptr;
    HWND field = nullptr;
    HWND closeButton = nullptr;
    HWND lastFocus = nullptr;  // given back when the dialog is activated again
    bool closeHover = false;
    int dpi = 96;
    UniqueFont textFont;
    GlyphFont glyphFont;
    UniqueBrush fieldBrush;
    bool brushDark = false;
};

// Ctrl+G and the menus (no point), or a click on the status label's position
// (the screen point): opens the dialog, or re-places and refills an open one.
void OpenGoToLine(App& app, std::optional<POINT> at);
void CloseGoToLine(App& app);
[[nodiscard]] bool GoToLineOpen(const App& app);
// Enter and Esc aimed at the dialog, then its tab keys; true when handled.
bool PreTranslateGoToLine(App& app, MSG& message);
void GoToLineThemeChanged(App& app);

}  // namespace quillpane
