// The section commands on the memo editor: insert a marker, select a memo,
// move a memo.
#include "sections/section_commands_win.h"

#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "sections/marker_commands.h"
#include "sections/memo_reorder.h"

#include <optional>
#include <string>

namespace quillpane {
namespace {

Selection CurrentSelection(EditorWindow& editor) {
    const auto start = static_cast<std::size_t>(editor.sci.SelectionStart());
    const auto end = static_cast<std::size_t>(editor.sci.SelectionEnd());
    EditorTextState& text = editor.text;
    return Selection {ToIndex(text.adapter, text.model, start), ToIndex(text.adapter, text.model, end)};
}

}  // namespace

void InsertMarkerCommand(EditorWindow& editor) {
    if (!ServesText(editor) || editor.sci.ReadOnly()) return;
    const std::optional<TextEdit> edit = InsertMarker(MarkerSettingsOf(SettingsOf(editor)), CurrentSelection(editor));
    if (!edit) return;
    ApplyTextEdit(ContextOf(editor.text), *edit, true);
}

void SelectThisNoteCommand(EditorWindow& editor) {
    if (!ServesText(editor)) return;
    const std::size_t caret = CurrentSelection(editor).Start();
    const Selection note =
        SelectThisNote(ReadText(editor.text.adapter, editor.text.model), MarkerSettingsOf(SettingsOf(editor)), caret);
    const std::size_t anchor = ToBytePosition(editor.text.adapter, editor.text.model, note.anchor);
    const std::size_t end = ToBytePosition(editor.text.adapter, editor.text.model, note.caret);
    editor.sci.SetSel(anchor, end);
    editor.sci.ScrollCaret();
}

int MoveMemoCommand(EditorWindow& editor, MemoFolds& folds, const std::vector<std::u16string>& folded, int from,
                    int to, int expectedCount, std::size_t expectedStart) {
    EditorTextState& state = editor.text;
    if (!ServesText(editor) || state.history.compoundDepth > 0 || state.history.composition.active ||
        editor.sci.ReadOnly()) {
        return kMoveRefused;
    }
    // A copy: the edit below replaces the adapter's text.
    const std::u16string before = ReadText(state.adapter, state.model);
    const MemoMove move =
        MoveMemo(before, MarkerSettingsOf(SettingsOf(editor)), from, to, expectedCount, expectedStart);
    if (move.result < 0) return move.result;

    ApplyTextEdit(ContextOf(state), move.edit, true);
    const std::u16string& after = ReadText(state.adapter, state.model);
    if (after != move.newText) {
        // The component did not take the replacement as planned; whatever it
        // did take must not stay as a half move.
        if (after != before) {
            (void)Undo(ContextOf(state));
            state.history.redoStack.clear();
        }
        ::InvalidateRect(editor.hwnd, nullptr, FALSE);
        return kMoveRefused;
    }
    // Fold levels and contracted memos follow the blocks at once.
    RecomputeMemoFolds(editor, folds, folded);
    return move.result;
}

}  // namespace quillpane
