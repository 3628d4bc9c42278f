#include "app/goto_line_rules.h"

#include "platform/dpi.h"

#include <algorithm>
#include <limits>

namespace quillpane {
namespace {

bool Blank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// ASCII digits, and the full-width ones an IME types in full-width mode.
int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'\uFF10' && c <= u'\uFF19') return c - u'\uFF10';
    return -1;
}

}  // namespace

Size GoToLineSize(int dpi) {
    return {Scale(220, dpi), Scale(50, dpi)};
}

GoToLineLayout LayoutGoToLine(int width, int dpi) {
    const auto s = [dpi](int px) { return Scale(px, dpi); };
    GoToLineLayout layout;
    layout.frame = {s(12), s(10), width - s(43), s(40)};
    const int inset = s(4);
    layout.edit = {layout.frame.left + inset, layout.frame.top + inset, layout.frame.right - inset,
                   layout.frame.bottom - inset};
    const int textHeight = s(20);
    const int top = std::max(0, (layout.edit.Height() - textHeight) / 2);
    layout.text = {s(6), top, std::max(s(6), layout.edit.Width() - s(6)), top + textHeight};
    layout.close = {width - s(39), s(11), width - s(11), s(39)};
    return layout;
}

Rect PlaceGoToLine(const GoToLineAnchor& anchor, int dpi) {
    const Size size = GoToLineSize(dpi);
    const int margin = Scale(8, dpi);
    const Rect& work = anchor.work;
    int left = anchor.owner.left + Scale(24, dpi);
    int top = anchor.owner.top + Scale(64, dpi);
    if (anchor.editor) {
        left = anchor.editor->left + anchor.textOffset;
        top = anchor.editor->bottom - size.height - margin;
    }
    if (left + size.width > work.right) left = work.right - margin - size.width;
    if (top + size.height > work.bottom) top = work.bottom - margin - size.height;
    if (left < work.left) left = work.left + margin;
    if (top < work.top) top = work.top + margin;
    if (anchor.editor) {
        // Over the editor's text, never over its margins or past its edges.
        const Rect& editor = *anchor.editor;
        const int textLeft = editor.left + anchor.textOffset;
        left = std::max(left, textLeft);
        top = std::min(top, editor.bottom - Scale(4, dpi) - size.height);
        if (left + size.width > editor.right - margin) left = std::max(editor.right - margin - size.width, textLeft);
    }
    return {left, top, left + size.width, top + size.height};
}

std::optional<std::int64_t> LineToGoTo(std::u16string_view field, std::int64_t lineCount) {
    std::size_t at = 0;
    while (at < field.size() && Blank(field[at])) ++at;
    std::int64_t number = 1;
    if (at < field.size()) {
        const bool negative = field[at] == u'-';
        if (negative || field[at] == u'+') ++at;
        constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
        bool digits = false;
        number = 0;
        for (; at < field.size() && DigitValue(field[at]) >= 0; ++at) {
            const int digit = DigitValue(field[at]);
            // Held at the top: a huge number is past the last line, not some line it wrapped to.
            number = number > (kMost - digit) / 10 ? kMost : number * 10 + digit;
            digits = true;
        }
        if (!digits || (negative && number != 0)) return std::nullopt;
    }
    const std::int64_t line = std::max<std::int64_t>(number, 1);
    if (line > lineCount) return std::nullopt;
    return line - 1;
}

SearchDialogPalette GoToLineColours(bool dark) {
    SearchDialogPalette colours = SearchDialogColours(dark);
    colours.background = HexColour(dark ? 0x202124 : 0xFFFFFF);
    colours.text = HexColour(dark ? 0xE6E6EB : 0x000000);
    return colours;
}

}  // namespace quillpane
