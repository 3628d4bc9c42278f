// The marker commands: insert a marker (F6), select the memo at the caret, change the role.
#pragma once

#include "editor/text_types.h"
#include "sections/markers.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// The divider and CR LF, or the heading prefix (with a space after a prefix
// of number signs only); empty when the marker text is empty.
[[nodiscard]] std::u16string MarkerInsertText(const MarkerSettings& settings);

// F6: the marker replaces the selection wherever the caret is on its line;
// the caret ends up after it. Empty when there is no marker text.
[[nodiscard]] std::optional<TextEdit> InsertMarker(const MarkerSettings& settings, Selection selection);

// Ctrl+Shift+A: the memo around the selection start, without the divider
// above it (a heading line is part of its memo).
[[nodiscard]] Selection SelectThisNote(std::u16string_view text, const MarkerSettings& settings,
                                       std::size_t selectionStart);

// The role chosen by the "Section marker" menu commands 1167 and 1168.
[[nodiscard]] std::optional<SectionMarkerRole> RoleForCommand(unsigned commandId);

// True when the role changed.
[[nodiscard]] bool SetRole(EditorSettings& editor, SectionMarkerRole role);

}  // namespace quillpane
