// Memo folds shown in the editor, and the section commands of the panel.
#pragma once

#include <cstddef>

struct SCNotification;

namespace quillpane {

struct App;

// Panel timer that recomputes the folds once typing pauses.
inline constexpr unsigned kTimerMemoFolds = 5;
inline constexpr unsigned kMemoFoldDelayMs = 250;

// Recomputes the fold levels and the folded memos from the text and
// [Sidebar] Folded, sending only what changed.
void RecomputeMemoFolds(App& app);
// Ctrl+\ : folds or unfolds the memo at the selection start.
void ToggleFoldAtCaret(App& app);
// A press in the fold margin (SCN_MARGINCLICK on margin 2 or the editor's own press handling).
void OnFoldMarginClick(App& app, int line);
// Unfolds whatever hides the text index (search, go to line, heading list).
void RevealTextIndex(App& app, std::size_t index);

// The panel's WM_NOTIFY from the editor: an insertion or deletion arms the
// recompute timer, a click in margin 2 toggles its memo.
void OnMemoFoldNotify(App& app, const SCNotification& notification);
// Timer kTimerMemoFolds of the panel.
void OnMemoFoldTimer(App& app);

// F6 / IDM_INSERTMARKER, Ctrl+Shift+A / IDM_SELECTNOTE, IDM_ROLE_SEPARATOR / IDM_ROLE_HEADING.
void InsertMarkerCommand(App& app);
void SelectThisNoteCommand(App& app);
void SetRoleCommand(App& app, unsigned commandId);
// Moves memo `from` to position `to`; the result of the reorder rules (a
// negative value is a refusal). One undo step.
int MoveMemoCommand(App& app, int from, int to, int expectedCount, std::size_t expectedStart);

}  // namespace quillpane
