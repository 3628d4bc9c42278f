// What a drop onto the editor inserts or moves: file names as text, and text
// moved or copied inside the editor, each as one edit.
#pragma once

#include "editor/text_types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// The drop effects the editor reports (DROPEFFECT_NONE, _COPY, _MOVE).
enum class DropEffect { None, Copy, Move };

// DragEnter and DragOver: files are copied, text is moved (copied with Ctrl);
// a read-only editor accepts nothing. Files win when both are offered.
[[nodiscard]] DropEffect DragEffect(bool filesOffered, bool textOffered, bool ctrl, bool readOnly);

// A path with a space or a tab in double quotes, unless already quoted.
[[nodiscard]] std::u16string QuoteDroppedPath(std::u16string_view path);

// The dropped paths, quoted, one per line (CR LF between); empty names skipped.
[[nodiscard]] std::u16string JoinDroppedPaths(const std::vector<std::u16string>& paths);

struct DropOutcome {
    std::optional<TextEdit> edit;  // nothing: the text stays as it is
    DropEffect effect = DropEffect::None;
};

// Files dropped at dropIndex: their paths inserted there, caret after them.
[[nodiscard]] DropOutcome FileDrop(std::u16string_view text, std::size_t dropIndex,
                                   const std::vector<std::u16string>& paths);

// Text dropped at dropIndex. When it equals the selection (a drag from this
// editor), a drop inside the selection changes nothing and a drop elsewhere
// without Ctrl moves the selection; otherwise the text is inserted. The one
// edit covers the whole move, so it is a single undo step; the caret ends
// after the inserted text. The effect is Copy whenever the drop was taken:
// the editor removes moved text itself, so the source must not.
[[nodiscard]] DropOutcome TextDrop(std::u16string_view text, Selection selection, std::size_t dropIndex,
                                   std::u16string_view dropped, bool ctrl);

}  // namespace quillpane
