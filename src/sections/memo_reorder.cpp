// Moving a memo's whole block to another place in the text as one edit.
#include "sections/memo_reorder.h"

#include "sections/memo_fold.h"
#include "sections/section_list.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace quillpane {
namespace {

// The line break at the end of a piece of text (CR LF, CR, LF or nothing).
[[nodiscard]] std::u16string_view TrailingBreak(std::u16string_view piece) {
    if (piece.size() >= 2 && piece.substr(piece.size() - 2) == u"\r\n") return piece.substr(piece.size() - 2);
    if (EndsWithLineBreak(piece)) return piece.substr(piece.size() - 1);
    return {};
}

[[nodiscard]] MemoMove Refused() {
    return MemoMove {kMoveRefused, {}, {}};
}

[[nodiscard]] MemoMove NothingToDo() {
    return MemoMove {kMoveNothingToDo, {}, {}};
}

}  // namespace

MemoMove MoveMemo(std::u16string_view text, const MarkerSettings& settings, int from, int to, int expectedCount,
                  std::size_t expectedStart) {
    if (text.size() >= kFoldTextLimit) return Refused();
    const SectionScan scan = BuildSections(text, settings, 0);
    const int count = static_cast<int>(scan.entries.size());
    if (count <= 1 || count != expectedCount || from < 0 || from >= count ||
        scan.entries[static_cast<std::size_t>(from)].startIndex != expectedStart) {
        return Refused();
    }
    to = std::clamp(to, 0, count);
    if (to == from || to == from + 1) return NothingToDo();

    const std::optional<std::vector<FoldBlock>> found = ComputeFoldBlocks(text, scan);
    if (!found || static_cast<int>(found->size()) != count) return Refused();
    const std::vector<FoldBlock>& blocks = *found;
    const FoldBlock& moved = blocks[static_cast<std::size_t>(from)];
    if (!moved.startsAtMarker) return Refused();

    const int newIndex = from < to ? to - 1 : to;
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    order.erase(order.begin() + from);
    order.insert(order.begin() + newIndex, from);
    int firstChanged = -1;
    int lastChanged = -1;
    for (int l = 0; l < count; ++l) {
        const int block = order[static_cast<std::size_t>(l)];
        if (block == l) continue;
        // The text above the first divider never moves, and nothing goes above it.
        if (!blocks[static_cast<std::size_t>(block)].startsAtMarker) return Refused();
        if (firstChanged < 0) firstChanged = l;
        lastChanged = l;
    }

    const std::size_t entryStart = scan.entries[static_cast<std::size_t>(from)].startIndex;
    const std::size_t caretOffset =
        entryStart >= moved.start && entryStart <= moved.end ? entryStart - moved.start : 0;

    // The block at the text's end may lack a final line break. Moved away
    // from the end it would run into the next marker, so it takes over the
    // break of the block that becomes last.
    const int lastOld = count - 1;
    const bool borrowBreak = blocks[static_cast<std::size_t>(lastOld)].end == text.size() &&
                             !EndsWithLineBreak(text) && order[static_cast<std::size_t>(lastOld)] != lastOld;
    std::u16string_view borrowed;
    if (borrowBreak) {
        const FoldBlock& newLast = blocks[static_cast<std::size_t>(order[static_cast<std::size_t>(lastOld)])];
        borrowed = TrailingBreak(text.substr(newLast.start, newLast.end - newLast.start));
        if (borrowed.empty()) return Refused();
    }

    std::u16string rebuilt;
    rebuilt.reserve(text.size());
    std::size_t previousEnd = 0;
    std::size_t movedNewStart = 0;
    for (int l = 0; l < count; ++l) {
        const FoldBlock& slot = blocks[static_cast<std::size_t>(l)];
        rebuilt.append(text.substr(previousEnd, slot.start - previousEnd));
        const int blockIndex = order[static_cast<std::size_t>(l)];
        const FoldBlock& block = blocks[static_cast<std::size_t>(blockIndex)];
        std::u16string_view piece = text.substr(block.start, block.end - block.start);
        if (blockIndex == from) movedNewStart = rebuilt.size();
        if (borrowBreak && l == lastOld) piece.remove_suffix(borrowed.size());
        rebuilt.append(piece);
        if (borrowBreak && blockIndex == lastOld) rebuilt.append(borrowed);
        previousEnd = slot.end;
    }
    rebuilt.append(text.substr(previousEnd));

    if (rebuilt.size() != text.size() || CountMarkers(rebuilt, settings) != scan.markers.size() ||
        rebuilt.find(u'\0') != std::u16string::npos) {
        return Refused();
    }
    if (rebuilt == text) return NothingToDo();

    const std::size_t rangeStart = blocks[static_cast<std::size_t>(firstChanged)].start;
    const std::size_t rangeEnd = blocks[static_cast<std::size_t>(lastChanged)].end;
    const std::u16string_view newView = rebuilt;
    if (newView.substr(0, rangeStart) != text.substr(0, rangeStart) ||
        newView.substr(rangeEnd) != text.substr(rangeEnd)) {
        return Refused();
    }
    const std::u16string_view replacement = newView.substr(rangeStart, rangeEnd - rangeStart);
    if (replacement == text.substr(rangeStart, rangeEnd - rangeStart)) return NothingToDo();

    MemoMove move;
    move.result = newIndex;
    move.edit.replaced = TextRange {rangeStart, rangeEnd};
    move.edit.replacement = std::u16string(replacement);
    const std::size_t caret = std::min(movedNewStart + caretOffset, rebuilt.size());
    move.edit.selectionAfter = Selection {caret, caret};
    move.newText = std::move(rebuilt);
    return move;
}

}  // namespace quillpane
