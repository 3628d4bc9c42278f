// The memo file behind the editor: load, autosave, flush and the watch for
// outside changes.
#pragma once

#include <string_view>

struct SCNotification;

namespace quillpane {

struct App;

// Reads the memo file into the editor; a failed read makes the editor
// read-only with an explanation and disables saving.
void LoadNote(App& app);
// Writes the editor text now; false when saving is disabled or failed.
bool SaveNote(App& app);
// Writes text (the editor's text with more appended) as the memo and, once
// it is on disk, puts it into the editor with the caret at its end and a
// fresh history. A failed write leaves the editor as it was, shows the save
// balloon and retries the editor's own text later.
bool SaveAndShowText(App& app, std::u16string_view text);
// Saves at once when there is an unsaved edit.
void FlushNote(App& app);
// When the memo is still unsaved as the program ends: writes the text into
// the backups under a fresh name and records it for the next start. False
// when nothing could be written.
bool KeepUnsavedText(App& app);
// At start: a balloon naming the text kept at the last end, once.
void ReportUnsavedCopy(App& app);

// SCN_MODIFIED from the editor: the history follows the change, then the
// memo compares the text with the saved one and (re)arms the autosave.
void OnEditorModified(App& app, const SCNotification& notification);
void OnAutosaveTimer(App& app);
void OnMemoWatchTimer(App& app);

}  // namespace quillpane
