// The editor's window procedure, layered over Scintilla's own by subclassing.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

// Installs the editor procedure on a new editor window; it stays until the
// window is destroyed.
[[nodiscard]] bool InstallEditorProc(App& app, HWND editor);

}  // namespace quillpane
