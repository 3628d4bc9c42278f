// The editor's window procedure, layered over Scintilla's own by subclassing.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

// Installs the editor procedure (and the editor's drop target) on a new
// editor window; both stay until the window is destroyed.
[[nodiscard]] bool InstallEditorProc(App& app, HWND editor);

// SCN_DOUBLECLICK at a byte position (negative: at the caret): selects the
// word and remembers the double-click for a triple-click.
void OnEditorDoubleClick(App& app, long long position);
// SCN_UPDATEUI: posts PM_CARETLINE when the empty selection's caret moved.
void OnEditorUpdateUi(App& app);

}  // namespace quillpane
