// The memo's state machine: dirty tracking, autosave, outside changes, and
// the save lock after a failed load. The window glue calls these and carries
// out the returned actions (timers, editor, balloons).
#pragma once

#include "platform/file_system.h"
#include "storage/backup.h"
#include "storage/note_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// Timer 1 (autosave) after the last change, and after a failed save.
inline constexpr unsigned kAutosaveDelayMs = 1500;
inline constexpr unsigned kSaveRetryDelayMs = 5000;
// Timer 2 (outside-change watch).
inline constexpr unsigned kWatchIntervalMs = 2000;

// The text last loaded or saved, as the hashes of its UTF-8 in fixed blocks:
// enough to tell whether the editor is back to it by reading only the blocks
// an edit touched, without a second copy of a large memo.
class SavedText {
public:
    static constexpr std::size_t kBlockBytes = 4096;

    SavedText() = default;
    SavedText& operator=(std::u16string_view text);
    // The bytes are the UTF-8 of a text of `units` code units.
    void AssignUtf8(std::string_view bytes, std::size_t units);

    [[nodiscard]] std::size_t size() const { return units_; }  // UTF-16 code units
    [[nodiscard]] std::size_t ByteSize() const { return bytes_; }
    // Whether `bytes`, starting at a block boundary and ending at one or at
    // the end of a text of ByteSize() bytes, are the saved text's there.
    [[nodiscard]] bool SameBytesAt(std::size_t startByte, std::string_view bytes) const;
    friend bool operator==(const SavedText& saved, std::u16string_view text);

private:
    std::vector<std::uint64_t> blocks_;
    std::size_t bytes_ = 0;
    std::size_t units_ = 0;
};

// Where the editor text may differ from lastSavedText: outside [start, end)
// (end in the editor text's units) both are the same. Derived from the
// changes, so that a keystroke never compares whole texts.
struct ChangedSpan {
    bool any = false;
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t length = 0;  // the editor text's length
};

struct MemoState {
    std::u16string memoPath;       // fixed at start-up
    SavedText lastSavedText;  // editor text after the last load, save or import
    ChangedSpan changed;
    bool memoDirty = false;
    // Set by a failed load: the editor is read-only and nothing is saved, so
    // an unread file is never replaced.
    bool saveDisabled = false;
    // The last load could not open or read the file: try again on every
    // watch tick rather than waiting for the file to change.
    bool loadRetry = false;
    // The file on disk must be copied into the backups before the next save
    // replaces it: its bytes are not the program's own encoding.
    bool keepDiskVersion = false;
    std::uint64_t memoWriteTime = 0;
};

enum class SaveTimerAction {
    Arm,   // (re)start timer 1 with kAutosaveDelayMs
    Kill,  // stop timer 1
};

// On every change notification of the editor. The caller repaints the chrome
// when memoDirty differs from its value before the call.
[[nodiscard]] SaveTimerAction OnEditorChanged(MemoState& state, std::u16string_view editorText);

// The editor text's bytes covering the units [start, end), widened outward to
// multiples of `block` bytes (the last block ends with the text), with where
// they begin and the length of the whole text in bytes.
struct EditorBytes {
    std::string bytes;
    std::size_t startByte = 0;
    std::size_t totalBytes = 0;
};

// The same, from one change of the editor text (`delta` units inserted, or
// removed when negative, at `at`): the lengths are compared first, and only
// the changed span is read and compared with the saved text, byte for byte.
[[nodiscard]] SaveTimerAction OnEditorEdited(
    MemoState& state, std::size_t at, long long delta,
    const std::function<EditorBytes(std::size_t start, std::size_t end, std::size_t block)>& readBytes);
// After lastSavedText was set from the editor text.
void ResetChangedSpan(MemoState& state);

// On each tick of timer 2, with the memo file's current attributes (empty when
// they cannot be read, e.g. the file was deleted): true when LoadNote is due.
// A failed attribute query never forces a reload.
[[nodiscard]] bool ShouldReloadOnWatchTick(const MemoState& state,
                                           const std::optional<platform::FileAttributes>& current);

enum class LoadFailure {
    None,
    TooLarge,    // show the size-limit text
    Unreadable,  // show the could-not-read text
};

struct LoadOutcome {
    LoadFailure failure = LoadFailure::None;
    // Success: the text to put into the editor (caret at the start, history
    // reset). Empty on failure: the editor gets the localised failure text,
    // is made read-only, and the same text is shown as a warning balloon.
    std::u16string text;
    // Success after a failed load: make the editor writable again.
    bool saveReenabled = false;
    // Success: the text in UTF-8, for the editor.
    std::string utf8;
    // The same failure as the previous load's: the editor already shows it
    // and the balloon was shown once.
    bool repeatedFailure = false;

    [[nodiscard]] bool Succeeded() const { return failure == LoadFailure::None; }
};

// Applies a read of memoPath to the state. On success lastSavedText becomes
// the loaded text, memoDirty false and saveDisabled cleared; on failure
// saveDisabled is set and memoDirty cleared. memoWriteTime is recorded either
// way, so after a failure the watch tries again only once the file changes.
// Without textInOutcome only utf8 is filled: a large memo is not decoded.
[[nodiscard]] LoadOutcome LoadNoteInto(MemoState& state, NoteReadResult read, bool textInOutcome = true);

enum class SaveResult {
    Saved,     // run the backup and the phone export
    Disabled,  // after a failed load: nothing written, memoDirty cleared, no message
    Failed,    // show the save balloon, re-arm timer 1 with kSaveRetryDelayMs
};

// Before a save: whether the file on disk must first be copied into the
// backups, because it is not in the program's encoding or because something
// else wrote it since the program last read or wrote it.
[[nodiscard]] bool DiskVersionNeedsKeeping(const MemoState& state,
                                           const std::optional<platform::FileAttributes>& current);

// Writes the editor text to memoPath unless saving is disabled. Saved updates
// lastSavedText, memoDirty and memoWriteTime; Failed leaves the state dirty.
[[nodiscard]] SaveResult SaveNoteText(MemoState& state, std::u16string_view editorText);

// The whole save: a version on disk the program did not write goes into the
// backups first (without that copy the save waits), then the text is
// written, then the timed backup runs.
[[nodiscard]] SaveResult SaveMemo(MemoState& state, std::u16string_view editorText, const BackupSettings& backup,
                                  std::u16string_view backupFolder, const platform::LocalTime& now,
                                  BackupRecord& record);

}  // namespace quillpane
