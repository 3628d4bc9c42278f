// The memo's state machine: dirty tracking, autosave, outside changes, and
// the save lock after a failed load.
#include "storage/memo_state.h"

#include "platform/text_compare.h"

#include <utility>

namespace quillpane {

SaveTimerAction OnEditorChanged(MemoState& state, std::u16string_view editorText) {
    // An edit undone back to the saved text is clean again and cancels the
    // pending save.
    state.memoDirty = !SameText(editorText, state.lastSavedText);
    return state.memoDirty ? SaveTimerAction::Arm : SaveTimerAction::Kill;
}

bool ShouldReloadOnWatchTick(const MemoState& state, const std::optional<platform::FileAttributes>& current) {
    // Unsaved edits win over an outside change: the next autosave replaces it.
    return current.has_value() && current->lastWriteTime != state.memoWriteTime && !state.memoDirty;
}

LoadOutcome LoadNoteInto(MemoState& state, NoteReadResult read) {
    LoadOutcome outcome;
    state.memoWriteTime = read.writeTime;
    state.memoDirty = false;
    if (read.status != NoteReadStatus::Ok) {
        outcome.failure = read.status == NoteReadStatus::TooLarge ? LoadFailure::TooLarge : LoadFailure::Unreadable;
        state.saveDisabled = true;
        return outcome;
    }
    outcome.saveReenabled = state.saveDisabled;
    state.saveDisabled = false;
    state.lastSavedText = read.text;
    outcome.text = std::move(read.text);
    return outcome;
}

SaveResult SaveNoteText(MemoState& state, std::u16string_view editorText) {
    if (state.saveDisabled) {
        state.memoDirty = false;
        return SaveResult::Disabled;
    }
    if (!WriteNoteFile(state.memoPath, editorText)) return SaveResult::Failed;
    state.lastSavedText.assign(editorText);
    state.memoDirty = false;
    const auto attributes = platform::GetAttributes(state.memoPath);
    state.memoWriteTime = attributes ? attributes->lastWriteTime : 0;
    return SaveResult::Saved;
}

}  // namespace quillpane
