// What the program paints on the editor itself: the current-line underline,
// the inverted Dos caret, the inset strips, through an off-screen buffer.
#pragma once

#include <windows.h>

#include "editor/editor_window_win.h"

#include <optional>

namespace quillpane {

struct EditorWindow;

// WM_PAINT is the program's when it has something of its own to draw.
[[nodiscard]] bool ProgramPaints(const EditorWindow& ed);

// The WM_PAINT of an editor whose painting is the program's.
void PaintEditor(EditorWindow& ed, HWND editor);
// The strips above and below the client area, in the window's frame.
void PaintInsetStrips(EditorWindow& ed, HWND editor);

// Where the underline and the Dos caret belong now (nothing when not drawn).
[[nodiscard]] std::optional<int> CurrentUnderlineY(const EditorWindow& ed, HWND editor);
[[nodiscard]] std::optional<Rect> CurrentDosCaret(const EditorWindow& ed, HWND editor);

// After a selection or caret update: invalidates what the underline and the
// Dos caret left behind and where they go, or the whole client after a scroll.
void TrackProgramCues(EditorWindow& ed);
// The Dos caret appears or goes with the focus.
void RefreshDosCaret(EditorWindow& ed);
void ForgetDosCaret(EditorWindow& ed, HWND editor);
// Repaints the rows around an underline at y (nothing for -1).
void InvalidateUnderline(EditorWindow& ed, int underlineY);
void InvalidateImeCue(EditorWindow& ed);
// Before the view scrolls: one repaint without the underline, so that the
// scroll does not carry a stale line along.
void SuppressUnderlineForScroll(EditorWindow& ed, HWND editor);

void RebuildThemeBrushes(EditorLook& look, bool dark);
void ReleasePaintBuffer(EditorLook& look);

}  // namespace quillpane
