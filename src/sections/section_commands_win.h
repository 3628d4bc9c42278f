// The section commands on the memo editor: insert a marker, select a memo,
// move a memo.
#pragma once

#include "editor/editor_window_win.h"
#include "sections/memo_fold_win.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quillpane {

// F6 / IDM_INSERTMARKER.
void InsertMarkerCommand(EditorWindow& editor);
// Ctrl+Shift+A / IDM_SELECTNOTE.
void SelectThisNoteCommand(EditorWindow& editor);
// Moves memo `from` to position `to`; the result of the reorder rules (a
// negative value is a refusal). One undo step; the folds follow at once.
int MoveMemoCommand(EditorWindow& editor, MemoFolds& folds, const std::vector<std::u16string>& folded, int from,
                    int to, int expectedCount, std::size_t expectedStart);

}  // namespace quillpane
