// The memo's state machine: dirty tracking, autosave, outside changes, and
// the save lock after a failed load.
#include "storage/memo_state.h"

#include <algorithm>

#include "platform/text_compare.h"
#include "platform/utf_convert.h"

#include <utility>

namespace quillpane {

SavedText& SavedText::operator=(std::u16string_view text) {
    bytes_ = Utf16ToUtf8(text);
    units_ = text.size();
    return *this;
}

void SavedText::AssignUtf8(std::string bytes, std::size_t units) {
    bytes_ = std::move(bytes);
    units_ = units;
}

std::u16string SavedText::Text() const {
    return Utf8ToUtf16Lenient(bytes_);
}

SaveTimerAction OnEditorChanged(MemoState& state, std::u16string_view editorText) {
    // An edit undone back to the saved text is clean again and cancels the
    // pending save.
    state.memoDirty = !SameText(editorText, state.lastSavedText.Text());
    return state.memoDirty ? SaveTimerAction::Arm : SaveTimerAction::Kill;
}

SaveTimerAction OnEditorEdited(MemoState& state, std::size_t at, long long delta,
                               const std::function<EditorBytes(std::size_t, std::size_t)>& readBytes) {
    ChangedSpan& span = state.changed;
    const std::size_t removed = delta < 0 ? static_cast<std::size_t>(-delta) : 0;
    const std::size_t inserted = delta > 0 ? static_cast<std::size_t>(delta) : 0;
    if (!span.any) {
        span = {true, at, at + inserted, span.length};
    } else {
        span.start = std::min(span.start, at);
        span.end = std::max(span.end, at + removed) + inserted - removed;
    }
    span.length = span.length + inserted - removed;
    const std::size_t savedLength = state.lastSavedText.size();
    if (span.length != savedLength) {
        state.memoDirty = true;
    } else {
        // Outside the span both texts are the same, so the span starts at
        // the same byte in both and ends as far from the end in both.
        const std::size_t end = std::min(span.end, savedLength);
        const EditorBytes now = readBytes(std::min(span.start, end), end);
        const std::string_view saved = state.lastSavedText.Bytes();
        const std::size_t tail = now.totalBytes - std::min(now.totalBytes, now.startByte + now.bytes.size());
        const bool fits = now.startByte + tail <= saved.size();
        state.memoDirty = !fits || saved.substr(now.startByte, saved.size() - tail - now.startByte) != now.bytes;
        // Back to the saved text: nothing differs any more.
        if (!state.memoDirty) span = {false, 0, 0, span.length};
    }
    return state.memoDirty ? SaveTimerAction::Arm : SaveTimerAction::Kill;
}

void ResetChangedSpan(MemoState& state) {
    state.changed = {false, 0, 0, state.lastSavedText.size()};
}

bool ShouldReloadOnWatchTick(const MemoState& state, const std::optional<platform::FileAttributes>& current) {
    if (!current || current->isDirectory) return false;
    if (state.loadRetry) return true;
    // Unsaved edits win over an outside change: the next save keeps the
    // outside version in the backups and then replaces it.
    return current->lastWriteTime != state.memoWriteTime && !state.memoDirty;
}

LoadOutcome LoadNoteInto(MemoState& state, NoteReadResult read, bool textInOutcome) {
    LoadOutcome outcome;
    const bool wasRetrying = state.loadRetry;
    state.memoWriteTime = read.writeTime;
    state.memoDirty = false;
    if (read.status != NoteReadStatus::Ok) {
        outcome.failure = read.status == NoteReadStatus::TooLarge ? LoadFailure::TooLarge : LoadFailure::Unreadable;
        // A file held by another program is tried again; one over the limit
        // stays over it until it changes.
        state.loadRetry = outcome.failure == LoadFailure::Unreadable;
        outcome.repeatedFailure = state.saveDisabled && wasRetrying && state.loadRetry;
        state.saveDisabled = true;
        return outcome;
    }
    outcome.saveReenabled = state.saveDisabled;
    state.saveDisabled = false;
    state.loadRetry = false;
    state.keepDiskVersion = read.foreignBytes;
    if (read.utf8.empty()) {
        state.lastSavedText = read.text;
    } else {
        state.lastSavedText.AssignUtf8(read.utf8, read.units);
    }
    ResetChangedSpan(state);
    if (textInOutcome) outcome.text = read.text.empty() ? state.lastSavedText.Text() : std::move(read.text);
    outcome.utf8 = std::move(read.utf8);
    return outcome;
}

bool DiskVersionNeedsKeeping(const MemoState& state, const std::optional<platform::FileAttributes>& current) {
    if (state.saveDisabled) return false;
    // Unknown attributes: only what is already known to need keeping.
    if (!current) return state.keepDiskVersion;
    return !current->isDirectory && (state.keepDiskVersion || current->lastWriteTime != state.memoWriteTime);
}

SaveResult SaveNoteText(MemoState& state, std::u16string_view editorText) {
    if (state.saveDisabled) {
        state.memoDirty = false;
        return SaveResult::Disabled;
    }
    // The time comes from the program's own handle: an outside write landing
    // just after the rename is never taken for this save.
    std::uint64_t writeTime = 0;
    if (!WriteNoteFile(state.memoPath, editorText, &writeTime)) return SaveResult::Failed;
    state.lastSavedText = editorText;
    ResetChangedSpan(state);
    state.memoDirty = false;
    state.keepDiskVersion = false;
    state.memoWriteTime = writeTime;
    return SaveResult::Saved;
}

SaveResult SaveMemo(MemoState& state, std::u16string_view editorText, const BackupSettings& backup,
                    std::u16string_view backupFolder, const platform::LocalTime& now, BackupRecord& record) {
    const auto onDisk = platform::GetAttributes(state.memoPath);
    if (DiskVersionNeedsKeeping(state, onDisk)) {
        if (KeepInBackup(backup, state.memoPath, backupFolder, now, record)) {
            // Kept once: a retry after a failed write must not fill the
            // generations with copies of the same version.
            state.keepDiskVersion = false;
            if (onDisk) state.memoWriteTime = onDisk->lastWriteTime;
        } else if (platform::ReadWholeFile(state.memoPath, 0).status != platform::ReadStatus::NotFound) {
            return SaveResult::Failed;  // a memo deleted meanwhile leaves nothing to keep
        }
    }
    const SaveResult result = SaveNoteText(state, editorText);
    if (result == SaveResult::Saved) BackupAfterSave(backup, state.memoPath, backupFolder, now, record);
    return result;
}

}  // namespace quillpane
