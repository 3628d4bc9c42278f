// The go-to-line dialog's rules: where it and its controls go, its colours,
// and which line a typed number means.
#pragma once

#include "app/search_dialog_rules.h"
#include "editor/editor_look.h"
#include "platform/geometry.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillpane {

// Lengths at the dialog's DPI; the edit's text rectangle is in its client coordinates.
struct GoToLineLayout {
    Rect frame;
    Rect edit;
    Rect text;
    Rect close;
};
[[nodiscard]] Size GoToLineSize(int dpi);
[[nodiscard]] GoToLineLayout LayoutGoToLine(int width, int dpi);

// What the dialog is placed by, in screen coordinates. With an editor it sits
// at the editor's bottom, its left edge in line with the text.
struct GoToLineAnchor {
    Rect owner;
    std::optional<Rect> editor;
    int textOffset = 0;  // the editor's margins before the text, at its DPI
    Rect work;
};
[[nodiscard]] Rect PlaceGoToLine(const GoToLineAnchor& anchor, int dpi);

// The zero-based line a field's text asks for, or nothing (a beep): no
// digits, a negative number, or a line past the last of lineCount.
[[nodiscard]] std::optional<std::int64_t> LineToGoTo(std::u16string_view field, std::int64_t lineCount);

// The search dialog's look with a background and text of its own.
[[nodiscard]] SearchDialogPalette GoToLineColours(bool dark);

}  // namespace quillpane
