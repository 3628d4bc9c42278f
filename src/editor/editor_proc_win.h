// The editor's window procedure, layered over Scintilla's own by subclassing.
#pragma once

#include <windows.h>

namespace quillpane {

struct EditorWindow;

// Installs the editor procedure (and the editor's drop target) on a new
// editor window; both stay until the window is destroyed.
[[nodiscard]] bool InstallEditorProc(EditorWindow& ed);

// SCN_DOUBLECLICK at a byte position (negative: at the caret): selects the
// word and remembers the double-click for a triple-click.
void OnEditorDoubleClick(EditorWindow& ed, long long position);
// SCN_UPDATEUI: posts PM_CARETLINE when the empty selection's caret moved.
void OnEditorUpdateUi(EditorWindow& ed);

}  // namespace quillpane
