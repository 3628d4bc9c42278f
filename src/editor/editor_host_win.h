// The Scintilla window that holds the memo, and whole-text access to it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillpane {

inline constexpr int kEditorControlId = 100;

// Registers the "Scintilla" window class for this module.
[[nodiscard]] bool RegisterEditorClass(HINSTANCE instance);

// Creates the editor as a child of parent with the settings the memo relies
// on: UTF-8 storage, CR LF line ends and the component's own undo switched off
// (the program keeps its own history). Null on failure.
[[nodiscard]] HWND CreateEditor(HWND parent, HINSTANCE instance, const RECT& bounds);

[[nodiscard]] std::u16string GetEditorText(HWND editor);
// Replaces the whole text (NUL characters included) and puts the caret at the start.
void SetEditorText(HWND editor, std::u16string_view text);
void SetEditorReadOnly(HWND editor, bool readOnly);
[[nodiscard]] bool IsEditorReadOnly(HWND editor);

}  // namespace quillpane
