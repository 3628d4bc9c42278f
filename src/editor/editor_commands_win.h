// Commands the program runs on the editor's text and caret: line commands,
// word commands, caret moves and the history commands, each through the
// text adapter in UTF-16 and, when it edits, as one undo step.
#pragma once

#include <windows.h>

#include "editor/line_commands.h"
#include "editor/text_types.h"

#include <cstddef>
#include <optional>

namespace quillpane {

struct App;

// The main selection as UTF-16 anchor and caret.
[[nodiscard]] Selection EditorSelection16(App& app);

// Caret to a UTF-16 index (clamped); with extend the end of the selection
// farther from the index stays. Then the caret's x is remembered, the caret
// scrolled into view and the caret look and cues brought up to date.
void SetCaret(App& app, std::size_t index, bool extend);
// A stream selection from anchor to caret (UTF-16), finished as SetCaret.
void SetSelection16(App& app, Selection selection);
// Caret look and current-line cues after the program moved the caret.
void AfterCaretMove(App& app);

// Runs a line command; true when the text changed (one undo step).
bool RunLineCommandOn(App& app, LineCommand command);
[[nodiscard]] bool CanMoveLinesNow(App& app, int direction);

// Ctrl+Backspace / Ctrl+Delete; true when something was deleted.
bool DeleteWordLeft(App& app);
bool DeleteWordRight(App& app);
// Ctrl+Shift+Left/Right, Ctrl+Alt+Left/Right.
void MoveByWord(App& app, bool right, bool extend);
// Ctrl+Up/Down: one line of scrolling, the caret keeping its place on screen.
void ScrollKeepingCaret(App& app, bool down);
// Ctrl+Left/Right: start or content end of the caret's logical line.
void CaretToLineEdge(App& app, bool toEnd);

// The double-click word (platform segmenter, else the class rule).
void SelectWordAt(App& app, std::size_t index);
// The word at the caret for the search highlight, if there is one.
[[nodiscard]] std::optional<TextRange> WordAtCaret(App& app);

// The panel's editor commands: undo, redo, last edit location and the line
// commands of the menus. True when id was one of them.
bool RunEditorCommand(App& app, unsigned id);

}  // namespace quillpane
