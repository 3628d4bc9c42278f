// The Scintilla window that holds the memo: its creation, every setting the
// program gives it, its layout, and whole-text access.
#pragma once

#include <windows.h>

#include "editor/editor_window_win.h"
#include "platform/system_calls_win.h"

#include <string>
#include <string_view>

namespace quillpane {

// Registers the "Scintilla" window class for this module.
[[nodiscard]] bool RegisterEditorClass(HINSTANCE instance);

// Creates and sets up a new editor window as a child of editor.parent and
// makes it editor.hwnd; false (and the record untouched) when the window
// cannot be made. rect is the editor area; the bottom 24 px stay free for the
// status label. The display options come from editor.settings.
[[nodiscard]] bool CreateEditor(EditorWindow& editor, const RECT& rect, std::u16string_view text, bool visible);
// Points the call object at a window made by the component.
void AttachCallObject(Scintilla::ScintillaCall& call, HWND window);
// Replaces the editor by one with the other wrap setting, keeping text,
// selection, changed-line marks and theme; false when nothing changed.
bool RecreateEditor(EditorWindow& editor, WordWrap wrap);

// After a change of the settings or the theme they read: each rebuilds what
// derives from it and repaints.
void OnFontSettingsChanged(EditorWindow& editor);
void OnThemeChanged(EditorWindow& editor);
void OnCueSettingsChanged(EditorWindow& editor);
void OnLineNumbersChanged(EditorWindow& editor);
void OnCaretStyleChanged(EditorWindow& editor);
// The session's zoom, clamped to -8..20 (never saved by the editor).
void SetSizeStep(EditorWindow& editor, int step);
// True when the editor now has the wrap asked for (re-created when needed).
bool SetWordWrap(EditorWindow& editor, WordWrap wrap);

void LayoutEditor(EditorWindow& editor, const RECT& rect);
void BeginResizeAnchor(EditorWindow& editor);
void EndResizeAnchor(EditorWindow& editor);

void ApplyStyles(EditorWindow& editor);
void ApplyMargins(EditorWindow& editor);
void ApplyCaret(EditorWindow& editor);
void UpdateImeCue(EditorWindow& editor);
void UpdateCurrentLineCues(EditorWindow& editor);
// Font metrics on the editor's DC (average width, line heights).
void MeasureEditorFont(EditorWindow& editor);
// Brings the number margin up to date for the lines on screen: its width
// when the line count gained or lost a digit, and the numbers and changed-
// line styles of the visible lines. Costs the lines on screen, never the
// document.
void RefreshLineNumbers(EditorWindow& editor);
// Takes every number out of the margin (numbers switched off, or before the
// whole text is replaced, so that nothing follows the old lines around).
void ForgetLineNumbers(EditorWindow& editor);
// Clears the edit history's changed-line marks and repaints the numbers.
void ClearChangedLineMarks(EditorWindow& editor);
// WM_NOTIFY from the editor, as the panel receives it.
void OnEditorNotify(EditorWindow& editor, const NMHDR& header);

[[nodiscard]] std::u16string GetEditorText(Scintilla::ScintillaCall& sci);
// Replaces the whole text (UTF-8, NUL characters included) and puts the caret
// at the start.
void SetEditorBytes(Scintilla::ScintillaCall& sci, std::string_view bytes);

}  // namespace quillpane
