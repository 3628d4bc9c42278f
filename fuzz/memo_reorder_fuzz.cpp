// Moving a memo: the same memos in a new order, nothing lost or added, and
// moving it back gives the text it came from.
#include "fuzz_text.h"

#include "sections/memo_reorder.h"
#include "sections/section_list.h"

#include <algorithm>

namespace {

using namespace quillpane;

// Lines as the editor counts them: a final break starts an empty last line,
// which a memo that borrows the break moves along.
std::vector<std::u16string_view> SortedLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const LineSpan span = LineAt(text, at);
        lines.push_back(text.substr(span.start, span.contentEnd - span.start));
        at = span.end;
    }
    if (text.empty() || EndsWithLineBreak(text)) lines.emplace_back();
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::u16string> SortedTitles(const SectionList& list) {
    std::vector<std::u16string> titles;
    for (const SectionEntry& entry : list) titles.push_back(entry.title);
    std::sort(titles.begin(), titles.end());
    return titles;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::uint8_t fromByte = input.Byte();
    const std::uint8_t toByte = input.Byte();
    const MarkerSettings settings = fuzz::TakeMarkerSettings(input);
    const std::u16string text = fuzz::TakeText(input, mode & 1);

    const SectionList list = BuildSections(text, settings, 0).entries;
    const int count = static_cast<int>(list.size());
    const int from = fromByte % (count + 1);
    const int to = toByte % (count + 2) - 1;
    const std::size_t start = from < count ? list[static_cast<std::size_t>(from)].startIndex : 0;
    const MemoMove move = MoveMemo(text, settings, from, to, count, start);
    if (move.result < 0) return 0;

    FUZZ_CHECK(move.result < count);
    const TextRange replaced = move.edit.replaced;
    FUZZ_CHECK(replaced.start <= replaced.end && replaced.end <= text.size());
    FUZZ_CHECK(text.substr(0, replaced.start) + move.edit.replacement + text.substr(replaced.end) == move.newText);
    FUZZ_CHECK(move.newText.size() == text.size());
    FUZZ_CHECK(move.newText != text);
    std::u16string units = text;
    std::u16string newUnits = move.newText;
    std::sort(units.begin(), units.end());
    std::sort(newUnits.begin(), newUnits.end());
    FUZZ_CHECK(units == newUnits);
    FUZZ_CHECK(SortedLines(text) == SortedLines(move.newText));

    const SectionList moved = BuildSections(move.newText, settings, 0).entries;
    FUZZ_CHECK(static_cast<int>(moved.size()) == count);
    FUZZ_CHECK(SortedTitles(moved) == SortedTitles(list));
    const std::size_t newStart = moved[static_cast<std::size_t>(move.result)].startIndex;
    FUZZ_CHECK(moved[static_cast<std::size_t>(move.result)].title == list[static_cast<std::size_t>(from)].title);
    FUZZ_CHECK(move.edit.selectionAfter == (Selection {newStart, newStart}));

    const int back = from > move.result ? from + 1 : from;
    const MemoMove undo = MoveMemo(move.newText, settings, move.result, back, count, newStart);
    // A last memo without a final break borrows one from the memo that
    // becomes last. When that one ended in a blank line, the text now ends
    // in a break and the way back has nothing to return it to: the blank
    // line stays at the end (and two memos that differed only by it are now
    // the same). Otherwise the way back is exact.
    if (!EndsWithLineBreak(text) && EndsWithLineBreak(move.newText)) {
        if (undo.result >= 0) FUZZ_CHECK(SortedLines(undo.newText) == SortedLines(text));
    } else {
        FUZZ_CHECK(undo.result == from);
        FUZZ_CHECK(undo.newText == text);
    }
    return 0;
}
