// Commands the program runs on the editor's text and caret: line commands,
// word commands, caret moves and the history commands, each through the
// text adapter in UTF-16 and, when it edits, as one undo step.
#pragma once

#include <windows.h>

#include "editor/line_commands.h"
#include "platform/time_stamp.h"
#include "editor/text_types.h"
#include "editor/word_boundaries.h"

#include <cstddef>
#include <optional>

namespace quillpane {

struct EditorWindow;

// The memo's length in UTF-16 code units, without reading its text.
[[nodiscard]] std::size_t EditorLength16(EditorWindow& ed);
// Whether an arrow key stops at the line edge under NoArrowLineCross, judged
// on the lines around the selection.
[[nodiscard]] bool ArrowStopsHere(EditorWindow& ed, bool toEnd, bool extend);

// The main selection as UTF-16 anchor and caret.
[[nodiscard]] Selection EditorSelection16(EditorWindow& ed);

// Caret to a UTF-16 index (clamped); with extend the end of the selection
// farther from the index stays. Then the caret's x is remembered, the caret
// scrolled into view and the caret look and cues brought up to date.
void SetCaret(EditorWindow& ed, std::size_t index, bool extend);
// A stream selection from anchor to caret (UTF-16), finished as SetCaret.
void SetSelection16(EditorWindow& ed, Selection selection);
// Caret look and current-line cues after the program moved the caret.
void AfterCaretMove(EditorWindow& ed);

// Runs a line command; true when the text changed (one undo step).
bool RunLineCommandOn(EditorWindow& ed, LineCommand command);
[[nodiscard]] bool CanMoveLinesNow(EditorWindow& ed, int direction);

// Ctrl+Backspace / Ctrl+Delete; true when something was deleted.
bool DeleteWordLeft(EditorWindow& ed);
bool DeleteWordRight(EditorWindow& ed);
// Ctrl+Shift+Left/Right, Ctrl+Alt+Left/Right.
void MoveByWord(EditorWindow& ed, bool right, bool extend);
// Ctrl+Up/Down: one line of scrolling, the caret keeping its place on screen.
void ScrollKeepingCaret(EditorWindow& ed, bool down);
// Ctrl+Left/Right: start or content end of the caret's logical line.
void CaretToLineEdge(EditorWindow& ed, bool toEnd);

// Selects the double-click word (platform segmenter, else the class rule)
// and says what the click does to the search marks.
DoubleClickMarks SelectWordAt(EditorWindow& ed, std::size_t index);
// The word at the caret for the search highlight, if there is one.
[[nodiscard]] std::optional<TextRange> WordAtCaret(EditorWindow& ed);

// F5 and the date and time menu: the local date and/or time replaces the
// selection as one undo step.
void InsertDateTime(EditorWindow& ed, StampKind kind);
// The selection's first line searched on the web in the default browser.
void SearchWebForSelection(EditorWindow& ed);

// The panel's editor commands: undo, redo, last edit location, the line
// commands of the menus, the date and time and the web search. True when id
// was one of them.
bool RunEditorCommand(EditorWindow& ed, unsigned id);

}  // namespace quillpane
