// Moving a memo's whole block to another place in the text as one edit.
#pragma once

#include "editor/text_types.h"
#include "sections/markers.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quillpane {

inline constexpr int kMoveNothingToDo = -1;
inline constexpr int kMoveRefused = -2;

struct MemoMove {
    // The memo's new entry index, kMoveNothingToDo or kMoveRefused.
    int result = kMoveRefused;
    // With a result of 0 or more: the one replacement to make, with the caret
    // (empty selection) at the moved memo's new start.
    TextEdit edit;
    // The whole text the edit must leave behind, to check the editor's read-back.
    std::u16string newText;
};

// Moves entry `from` before the entry now at `to` (count: to the end).
// `expectedCount` and `expectedStart` are what the caller showed the user;
// a text that no longer matches them is refused.
[[nodiscard]] MemoMove MoveMemo(std::u16string_view text, const MarkerSettings& settings, int from, int to,
                                int expectedCount, std::size_t expectedStart);

}  // namespace quillpane
