// What the program paints on the editor itself: the current-line underline,
// the inverted Dos caret, the inset strips, through an off-screen buffer.
#pragma once

#include <windows.h>

#include "editor/editor_look.h"

#include <optional>

namespace quillpane {

struct App;
struct EditorLook;

// WM_PAINT is the program's when it has something of its own to draw.
[[nodiscard]] bool ProgramPaints(const EditorLook& look);

// The WM_PAINT of an editor whose painting is the program's.
void PaintEditor(App& app, HWND editor);
// The strips above and below the client area, in the window's frame.
void PaintInsetStrips(App& app, HWND editor);

// Where the underline and the Dos caret belong now (nothing when not drawn).
[[nodiscard]] std::optional<int> CurrentUnderlineY(const App& app, HWND editor);
[[nodiscard]] std::optional<Rect> CurrentDosCaret(const App& app, HWND editor);

// After a selection or caret update: invalidates what the underline and the
// Dos caret left behind and where they go, or the whole client after a scroll.
void TrackProgramCues(App& app);
// The Dos caret appears or goes with the focus.
void RefreshDosCaret(App& app);
void ForgetDosCaret(App& app, HWND editor);
// Repaints the rows around an underline at y (nothing for -1).
void InvalidateUnderline(App& app, int underlineY);
void InvalidateImeCue(App& app);
// Before the view scrolls: one repaint without the underline, so that the
// scroll does not carry a stale line along.
void SuppressUnderlineForScroll(App& app, HWND editor);

void RebuildThemeBrushes(EditorLook& look);
void ReleasePaintBuffer(EditorLook& look);

}  // namespace quillpane
