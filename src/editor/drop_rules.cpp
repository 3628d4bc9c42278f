// Drop rules of the editor: file names as text, moved and copied text.
#include "editor/drop_rules.h"

#include "storage/note_codec.h"

#include <algorithm>

namespace quillpane {

DropEffect DragEffect(bool filesOffered, bool textOffered, bool ctrl, bool readOnly) {
    if (readOnly) return DropEffect::None;
    if (filesOffered) return DropEffect::Copy;
    if (textOffered) return ctrl ? DropEffect::Copy : DropEffect::Move;
    return DropEffect::None;
}

std::u16string QuoteDroppedPath(std::u16string_view path) {
    const bool quoted = path.size() >= 2 && path.front() == u'"' && path.back() == u'"';
    if (quoted || path.find_first_of(u" \t") == std::u16string_view::npos) return std::u16string(path);
    std::u16string out;
    out.reserve(path.size() + 2);
    out += u'"';
    out += path;
    out += u'"';
    return out;
}

std::u16string JoinDroppedPaths(const std::vector<std::u16string>& paths) {
    std::u16string out;
    for (const std::u16string& path : paths) {
        if (path.empty()) continue;
        if (!out.empty()) out += u"\r\n";
        out += QuoteDroppedPath(path);
    }
    return out;
}

DropOutcome FileDrop(std::u16string_view text, std::size_t dropIndex, const std::vector<std::u16string>& paths) {
    std::u16string inserted = JoinDroppedPaths(paths);
    if (inserted.empty()) return {};
    const std::size_t at = std::min(dropIndex, text.size());
    const std::size_t caret = at + inserted.size();
    return {TextEdit {{at, at}, std::move(inserted), {caret, caret}}, DropEffect::Copy};
}

DropOutcome TextDrop(std::u16string_view text, Selection selection, std::size_t dropIndex,
                     std::u16string_view droppedText, bool ctrl) {
    if (droppedText.empty()) return {};
    // Text from another program may end its lines in LF or CR alone; the
    // memo's lines end in CR LF everywhere, as after a load.
    const std::u16string normalized = NormalizeLineEnds(droppedText);
    const std::u16string_view dropped = normalized;
    const std::size_t at = std::min(dropIndex, text.size());
    const std::size_t selStart = std::min(selection.Start(), text.size());
    const std::size_t selEnd = std::min(selection.End(), text.size());
    const bool fromSelection = selStart < selEnd && text.substr(selStart, selEnd - selStart) == dropped;
    if (fromSelection && at >= selStart && at <= selEnd) return {std::nullopt, DropEffect::Copy};

    if (fromSelection && !ctrl) {
        // A move: one replacement over the selection and the gap to the drop
        // point, with the two swapped.
        std::u16string replacement;
        TextRange replaced;
        std::size_t caret = 0;
        if (at < selStart) {
            replaced = {at, selEnd};
            replacement = std::u16string(dropped) + std::u16string(text.substr(at, selStart - at));
            caret = at + dropped.size();
        } else {
            replaced = {selStart, at};
            replacement = std::u16string(text.substr(selEnd, at - selEnd)) + std::u16string(dropped);
            caret = at;
        }
        return {TextEdit {replaced, std::move(replacement), {caret, caret}}, DropEffect::Copy};
    }
    const std::size_t caret = at + dropped.size();
    return {TextEdit {{at, at}, std::u16string(dropped), {caret, caret}}, DropEffect::Copy};
}

}  // namespace quillpane
