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

// One instance for the process, owned by the editor record. It outlives
// editor re-creation: bind the model to the new window and the caches
// rebuild themselves.
struct EditorTextState {
    EditorTextState() = default;
    EditorTextState(const EditorTextState&) = delete;
    EditorTextState& operator=(const EditorTextState&) = delete;

    TextAdapter adapter;
    EditHistory history;
    EditorViewHooks hooks;
    ScintillaModel model {&hooks};
};

// The history's view of the text state, for the edit functions.
[[nodiscard]] inline EditContext ContextOf(EditorTextState& state) {
    return {state.history, state.adapter, state.model};
}

// Answers the edit-control messages of the adapter (WM_SETTEXT, WM_GETTEXT,
// EM_GETSEL, EM_LINEINDEX ...) for the editor procedure, before the component
// sees them. True with *result set when the message was answered.
[[nodiscard]] bool AnswerEditMessage(EditorTextState& state, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result);
// Or, for an editor without a procedure of its own: a window subclass that
// does the same (removed with the window).
[[nodiscard]] bool AttachTextAdapter(EditorTextState& state);
void DetachTextAdapter(EditorTextState& state);

// The panel's WM_NOTIFY with SCN_MODIFIED from the editor: patches the caches
// and moves the marks. True for an insertion or a deletion, after which the
// panel runs its change handling and then OnDocumentChanged.
bool OnScintillaModified(EditorTextState& state, const SCNotification& notification);

// Puts the memo text into the editor as the program's own change (caret at
// the start) and starts a fresh history.
void LoadEditorText(EditorTextState& state, std::u16string_view text);
// The same for the text in UTF-8.
void LoadEditorBytes(EditorTextState& state, std::string bytes);


}  // namespace quillpane
