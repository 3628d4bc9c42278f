// Memo folds shown in the editor.
#pragma once

#include "editor/editor_window_win.h"
#include "sections/memo_fold.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct SCNotification;

namespace quillpane {

// The folds of the memo editor: the fold logic's state, kept as long as the
// program runs (across a re-creation of the editor window).
struct MemoFolds {
    MemoFoldState state;
    bool recomputing = false;
};

// `folded` is [Sidebar] Folded; a change of it is saved by the panel
// (PM_SAVECONFIG), and the sections' views hear of fold changes through
// PM_SECTIONSCHANGED.

// Recomputes the fold levels and the folded memos from the text and the
// folded set, sending only what changed.
void RecomputeMemoFolds(EditorWindow& editor, MemoFolds& folds, const std::vector<std::u16string>& folded);
// Ctrl+\ : folds or unfolds the memo at the selection start.
void ToggleFoldAtCaret(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded);
// A press in the fold margin (SCN_MARGINCLICK on margin 2 or the editor's own press handling).
void OnFoldMarginClick(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded, int line);
// The sidebar's fold triangle: folds or unfolds the memo that starts at
// startIndex. Whether it is folded now; nothing when nothing was done.
std::optional<bool> ToggleFoldOfMemo(EditorWindow& editor, std::vector<std::u16string>& folded,
                                     std::size_t startIndex);
// Unfolds whatever hides the text index (search, go to line, heading list).
void RevealTextIndex(EditorWindow& editor, std::vector<std::u16string>& folded, std::size_t index);

// The panel's WM_NOTIFY from the editor: an insertion or deletion arms the
// recompute timer, a click in margin 2 toggles its memo.
void OnMemoFoldNotify(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded,
                      const SCNotification& notification);

}  // namespace quillpane
