// The text adapter and the edit history attached to the Scintilla editor: the
// edit-control messages answered in UTF-16, and the entry points for the
// panel and the editor procedure.
#pragma once

#include <windows.h>

#include "editor/edit_history.h"
#include "editor/scintilla_model_win.h"
#include "editor/text_adapter.h"
#include "editor/text_types.h"

#include <string>
#include <string_view>

struct SCNotification;

namespace quillpane {

// One instance for the process, owned by the application record. It
// outlives editor re-creation: point `editor` at the new window and the
// caches rebuild themselves.
struct EditorTextState {
    HWND editor = nullptr;
    // The editor's call object, when the window belongs to an editor record.
    Scintilla::ScintillaCall* call = nullptr;
    TextAdapter adapter;
    EditHistory history;
    EditorViewHooks hooks;
};

// Answers the edit-control messages of the adapter (WM_SETTEXT, WM_GETTEXT,
// EM_GETSEL, EM_LINEINDEX ...) for the editor procedure, before the component
// sees them. True with *result set when the message was answered.
[[nodiscard]] bool AnswerEditMessage(EditorTextState& state, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result);
// Or, for an editor without a procedure of its own: a window subclass that
// does the same (removed with the window).
[[nodiscard]] bool AttachTextAdapter(EditorTextState& state);
void DetachTextAdapter(EditorTextState& state);

// The whole text in UTF-16 from the adapter's cache (valid until the next
// change of the text).
[[nodiscard]] const std::u16string& ReadEditorText(EditorTextState& state);
// Bytes [start, end) and the length in bytes, from the text cache.
[[nodiscard]] std::string ReadEditorBytes(EditorTextState& state, std::size_t start, std::size_t end);
[[nodiscard]] std::size_t EditorByteLength(EditorTextState& state);
// The text's length in UTF-16 code units, without reading the text.
[[nodiscard]] std::size_t EditorTextLength(EditorTextState& state);
[[nodiscard]] std::size_t EditorIndexFromPosition(EditorTextState& state, std::size_t bytePosition);
[[nodiscard]] std::size_t EditorPositionFromIndex(EditorTextState& state, std::size_t index);

// The panel's WM_NOTIFY with SCN_MODIFIED from the editor: patches the caches
// and moves the marks. True for an insertion or a deletion, after which the
// panel runs its change handling and then OnDocumentChanged.
bool OnScintillaModified(EditorTextState& state, const SCNotification& notification);
void OnDocumentChanged(EditorTextState& state);

// Puts the memo text into the editor as the program's own change (caret at
// the start) and starts a fresh history.
void LoadEditorText(EditorTextState& state, std::u16string_view text);
// The same for the text in UTF-8.
void LoadEditorBytes(EditorTextState& state, std::string bytes);

void CaptureBeforeUserEdit(EditorTextState& state);
void EndCapture(EditorTextState& state);
void BeforeEdit(EditorTextState& state);
void AfterEdit(EditorTextState& state, bool recomputeMarks);
void ApplyTextEdit(EditorTextState& state, const TextEdit& edit, bool recomputeMarks);
bool Undo(EditorTextState& state);
bool Redo(EditorTextState& state);
[[nodiscard]] bool CanUndo(const EditorTextState& state);
[[nodiscard]] bool CanRedo(const EditorTextState& state);
[[nodiscard]] bool HasLastEdit(EditorTextState& state);
void GoToLastEdit(EditorTextState& state);
void ResetHistory(EditorTextState& state);
void BeginComposition(EditorTextState& state);
void EndComposition(EditorTextState& state);
void MarkLineChanged(EditorTextState& state, std::size_t line);
void MarkRangeChanged(EditorTextState& state, std::size_t startIndex, std::size_t endIndex);
void ClearMarks(EditorTextState& state);

}  // namespace quillpane
