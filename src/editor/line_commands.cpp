// Line commands of the editor as pure edits of a UTF-16 text and its selection.
#include "editor/line_commands.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillpane {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::u16string_view kCrLf = u"\r\n";

bool IsBreak(char16_t c) { return c == kCr || c == kLf; }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::size_t Clamp(std::u16string_view text, std::size_t index) { return std::min(index, text.size()); }

Selection Clamped(std::u16string_view text, Selection selection) {
    return {Clamp(text, selection.anchor), Clamp(text, selection.caret)};
}

bool IsCrLfAt(std::u16string_view text, std::size_t index) {
    return index + 1 < text.size() && text[index] == kCr && text[index + 1] == kLf;
}

// An index between the CR and the LF of one break belongs to the line the CR
// ends.
std::size_t OffBreakMiddle(std::u16string_view text, std::size_t index) {
    index = Clamp(text, index);
    if (index > 0 && IsCrLfAt(text, index - 1)) return index - 1;
    return index;
}

std::size_t LineStartOf(std::u16string_view text, std::size_t index) {
    index = OffBreakMiddle(text, index);
    while (index > 0 && !IsBreak(text[index - 1])) --index;
    return index;
}

std::size_t ContentEndOf(std::u16string_view text, std::size_t index) {
    index = OffBreakMiddle(text, index);
    while (index < text.size() && !IsBreak(text[index])) ++index;
    return index;
}

std::size_t BreakEndOf(std::u16string_view text, std::size_t contentEnd) {
    if (contentEnd >= text.size()) return contentEnd;
    return IsCrLfAt(text, contentEnd) ? contentEnd + 2 : contentEnd + 1;
}

// Line breaks in [from, to); CR LF counts once.
std::size_t CountBreaks(std::u16string_view text, std::size_t from, std::size_t to) {
    std::size_t count = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] == kLf) {
            ++count;
        } else if (text[i] == kCr) {
            ++count;
            if (IsCrLfAt(text, i)) ++i;
        }
    }
    return count;
}

std::size_t TrailingBreakLength(std::u16string_view piece) {
    if (piece.size() >= 2 && piece.substr(piece.size() - 2) == kCrLf) return 2;
    if (!piece.empty() && IsBreak(piece.back())) return 1;
    return 0;
}

std::vector<std::u16string_view> SplitAtCrLf(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(kCrLf, from);
        if (at == std::u16string_view::npos) break;
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    lines.push_back(text.substr(from));
    return lines;
}

template <typename Lines>
std::u16string JoinWithCrLf(const Lines& lines) {
    std::u16string out;
    bool first = true;
    for (const auto& line : lines) {
        if (!first) out += kCrLf;
        out += line;
        first = false;
    }
    return out;
}

std::u16string_view TrimBlanksRight(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::u16string_view TrimBlanksLeft(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::optional<TextEdit> MakeEdit(std::u16string_view text, TextRange replaced, std::u16string replacement,
                                 Selection after) {
    if (text.substr(replaced.start, replaced.Length()) == replacement) return std::nullopt;
    return TextEdit {replaced, std::move(replacement), after};
}

Selection CaretAt(std::size_t index) { return {index, index}; }

// Where a caret lies within a list of lines: its line and column. A caret
// between a CR and its LF counts as the end of the line the CR ends.
struct LinePlace {
    std::size_t line = 0;
    std::size_t column = 0;
    // The caret lies after the range (on the line after a selection that
    // ends with a CR LF): it keeps its distance from the range end.
    std::optional<std::size_t> pastEnd;
};

LinePlace PlaceInLines(const std::vector<std::u16string_view>& lines, std::size_t offset) {
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineEnd = lineStart + lines[i].size();
        if (offset <= lineEnd + 1 || i + 1 == lines.size())
            return {i, std::min(offset - std::min(offset, lineStart), lines[i].size()), std::nullopt};
        lineStart = lineEnd + 2;
    }
    return {};
}

// Runs a list command: rebuilds the lines of LineListRange and places the
// caret. caretRule gets the old caret's place and the new lines and returns
// the new caret relative to the range start.
template <typename Transform, typename CaretRule>
std::optional<TextEdit> EditLineList(std::u16string_view text, Selection selection, Transform transform,
                                     CaretRule caretRule) {
    if (text.empty()) return std::nullopt;
    selection = Clamped(text, selection);
    const TextRange range = LineListRange(text, selection);
    const std::u16string_view block = text.substr(range.start, range.Length());
    const std::vector<std::u16string_view> oldLines = SplitAtCrLf(block);
    const std::vector<std::u16string> newLines = transform(oldLines);
    std::u16string replacement = JoinWithCrLf(newLines);

    LinePlace place;
    if (selection.caret > range.end) {
        place.pastEnd = selection.caret - range.end;
    } else {
        place = PlaceInLines(oldLines, selection.caret - std::min(selection.caret, range.start));
    }
    const std::size_t caret = range.start + caretRule(selection, range, place, newLines, replacement.size());
    return MakeEdit(text, range, std::move(replacement), CaretAt(caret));
}

std::vector<std::u16string> Copies(const std::vector<std::u16string_view>& lines) {
    return std::vector<std::u16string>(lines.begin(), lines.end());
}

// Offset of line i within lines joined by CR LF.
std::size_t OffsetOfLine(const std::vector<std::u16string>& lines, std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index; ++i) offset += lines[i].size() + 2;
    return offset;
}

}  // namespace

LineRange LogicalLineAt(std::u16string_view text, std::size_t index) {
    LineRange line;
    line.start = LineStartOf(text, index);
    line.contentEnd = ContentEndOf(text, line.start);
    line.end = BreakEndOf(text, line.contentEnd);
    line.firstLine = CountBreaks(text, 0, line.start);
    line.lastLine = line.firstLine;
    return line;
}

LineRange LineRangeOf(std::u16string_view text, Selection selection) {
    const std::size_t a = Clamp(text, selection.Start());
    const std::size_t b = Clamp(text, selection.End());
    const std::size_t lastAt = (a < b && IsBreak(text[b - 1])) ? b - 1 : b;
    const LineRange first = LogicalLineAt(text, a);
    const std::size_t lastStart = LineStartOf(text, lastAt);
    LineRange range = first;
    if (lastStart != first.start) {
        range.contentEnd = ContentEndOf(text, lastStart);
        range.end = BreakEndOf(text, range.contentEnd);
        range.lastLine = first.firstLine + CountBreaks(text, first.start, lastStart);
    }
    return range;
}

std::optional<TextEdit> DuplicateLines(std::u16string_view text, Selection selection) {
    if (text.empty()) return std::nullopt;
    const LineRange range = LineRangeOf(text, selection);
    const std::u16string_view block = text.substr(range.start, range.end - range.start);
    if (range.end > range.contentEnd) {
        return TextEdit {{range.end, range.end}, std::u16string(block), {range.end, range.end + block.size()}};
    }
    // The last line has no break: the copy needs one in front to be a line of
    // its own, and the text keeps ending without one.
    std::u16string replacement(kCrLf);
    replacement += block;
    const std::size_t copyStart = range.end + kCrLf.size();
    return TextEdit {{range.end, range.end}, std::move(replacement), {copyStart, copyStart + block.size()}};
}

std::optional<TextEdit> DeleteLines(std::u16string_view text, Selection selection) {
    if (text.empty()) return std::nullopt;
    const LineRange range = LineRangeOf(text, selection);
    if (range.start == range.end) return std::nullopt;
    return TextEdit {{range.start, range.end}, {}, CaretAt(range.start)};
}

std::optional<TextEdit> JoinLines(std::u16string_view text, Selection selection) {
    if (text.empty()) return std::nullopt;
    const LineRange range = LineRangeOf(text, selection);
    std::size_t end = range.end;
    if (range.firstLine == range.lastLine) {
        if (range.end == range.contentEnd) return std::nullopt;  // the last line
        end = LogicalLineAt(text, range.end).end;
    }
    const std::u16string_view block = text.substr(range.start, end - range.start);
    const bool endsWithBreak = block.size() >= 2 && block.substr(block.size() - 2) == kCrLf;
    std::vector<std::u16string_view> pieces = SplitAtCrLf(block);
    if (endsWithBreak) pieces.pop_back();
    if (pieces.size() < 2) return std::nullopt;

    std::u16string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::u16string_view piece = pieces[i];
        if (i > 0) piece = TrimBlanksLeft(piece);
        if (i + 1 < pieces.size()) piece = TrimBlanksRight(piece);
        if (piece.empty()) continue;
        if (!joined.empty()) joined += u' ';
        joined += piece;
    }
    const std::size_t caret = range.start + joined.size();
    if (endsWithBreak) joined += kCrLf;
    return MakeEdit(text, {range.start, end}, std::move(joined), CaretAt(caret));
}

std::optional<TextEdit> DeleteToLineEnd(std::u16string_view text, Selection selection) {
    if (text.empty()) return std::nullopt;
    const std::size_t caret = OffBreakMiddle(text, selection.caret);
    const std::size_t contentEnd = ContentEndOf(text, caret);
    if (caret == contentEnd) return std::nullopt;
    return TextEdit {{caret, contentEnd}, {}, CaretAt(caret)};
}

bool CanMoveLines(std::u16string_view text, Selection selection, int direction) {
    if (text.empty()) return false;
    const LineRange range = LineRangeOf(text, selection);
    return direction < 0 ? range.start > 0 : range.end < text.size();
}

std::optional<TextEdit> MoveLines(std::u16string_view text, Selection selection, int direction) {
    if (!CanMoveLines(text, selection, direction)) return std::nullopt;
    const LineRange block = LineRangeOf(text, selection);
    // The two neighbours that trade places: top ends where bottom starts.
    TextRange top;
    TextRange bottom;
    if (direction < 0) {
        top = {LineStartOf(text, block.start - 1), block.start};
        bottom = {block.start, block.end};
    } else {
        top = {block.start, block.end};
        bottom = {block.end, LogicalLineAt(text, block.end).end};
    }
    const std::u16string_view topText = text.substr(top.start, top.Length());
    const std::u16string_view bottomText = text.substr(bottom.start, bottom.Length());
    const bool bottomHasBreak = TrailingBreakLength(bottomText) > 0;
    const std::size_t topBreakLength = TrailingBreakLength(topText);

    std::u16string replacement(bottomText);
    std::size_t topNewStart = top.start + bottomText.size();
    if (bottomHasBreak) {
        replacement += topText;
    } else {
        // The bottom was the last line without a break: the top's break now
        // stands between the two, and the text still ends without one.
        replacement += topText.substr(topText.size() - topBreakLength);
        replacement += topText.substr(0, topText.size() - topBreakLength);
        topNewStart += topBreakLength;
    }
    const std::size_t blockStart = direction < 0 ? top.start : topNewStart;
    const std::size_t blockLength = block.end - block.start;
    const std::size_t replacedEnd = top.start + replacement.size();
    const Selection after {blockStart, std::min(blockStart + blockLength, replacedEnd)};
    return MakeEdit(text, {top.start, bottom.end}, std::move(replacement), after);
}

TextRange LineListRange(std::u16string_view text, Selection selection) {
    if (selection.Empty()) selection = {0, text.size()};
    const std::size_t a = Clamp(text, selection.Start());
    const std::size_t b = Clamp(text, selection.End());

    std::size_t start = 0;
    for (std::size_t k = a; k >= 2; --k) {
        if (IsCrLfAt(text, k - 2)) {
            start = k;
            break;
        }
    }
    std::size_t end = text.size();
    if (b >= 2 && IsCrLfAt(text, b - 2)) {
        end = b - 2;
    } else if (b >= 1 && IsCrLfAt(text, b - 1)) {
        end = b - 1;
    } else {
        const std::size_t at = text.find(kCrLf, b);
        if (at != std::u16string_view::npos) end = at;
    }
    return {start, std::max(start, end)};
}

std::optional<TextEdit> SortLines(std::u16string_view text, Selection selection, bool descending) {
    const auto transform = [descending](const std::vector<std::u16string_view>& lines) {
        std::vector<std::u16string> sorted = Copies(lines);
        // char16_t compares as unsigned code units, so this is a plain
        // code-unit order with prefixes first.
        if (descending) {
            std::stable_sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return y < x; });
        } else {
            std::stable_sort(sorted.begin(), sorted.end());
        }
        return sorted;
    };
    const auto caretRule = [](Selection, TextRange, LinePlace, const std::vector<std::u16string>&, std::size_t) {
        return std::size_t {0};
    };
    return EditLineList(text, selection, transform, caretRule);
}

std::optional<TextEdit> RemoveDuplicateLines(std::u16string_view text, Selection selection) {
    const auto transform = [](const std::vector<std::u16string_view>& lines) {
        std::unordered_set<std::u16string_view> seen;
        std::vector<std::u16string> kept;
        for (const std::u16string_view line : lines) {
            if (seen.insert(line).second) kept.emplace_back(line);
        }
        return kept;
    };
    const auto caretRule = [](Selection oldSelection, TextRange range, LinePlace,
                              const std::vector<std::u16string>&, std::size_t newLength) {
        return std::min(newLength, oldSelection.Start() - std::min(oldSelection.Start(), range.start));
    };
    return EditLineList(text, selection, transform, caretRule);
}

std::optional<TextEdit> RemoveEmptyLines(std::u16string_view text, Selection selection) {
    // Which old line each kept line came from, for placing the caret.
    std::vector<std::size_t> origins;
    const auto transform = [&origins](const std::vector<std::u16string_view>& lines) {
        std::vector<std::u16string> kept;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (TrimBlanksLeft(lines[i]).empty()) continue;
            kept.emplace_back(lines[i]);
            origins.push_back(i);
        }
        return kept;
    };
    const auto caretRule = [&origins](Selection, TextRange, LinePlace place,
                                      const std::vector<std::u16string>& lines, std::size_t newLength) -> std::size_t {
        if (place.pastEnd) return newLength + *place.pastEnd;
        // The same line, else the next survivor's start, else the previous
        // survivor's end, else the range start.
        const auto next = std::lower_bound(origins.begin(), origins.end(), place.line);
        if (next != origins.end()) {
            const auto index = static_cast<std::size_t>(next - origins.begin());
            const std::size_t column = *next == place.line ? std::min(place.column, lines[index].size()) : 0;
            return OffsetOfLine(lines, index) + column;
        }
        if (!origins.empty()) return OffsetOfLine(lines, lines.size() - 1) + lines.back().size();
        return 0;
    };
    return EditLineList(text, selection, transform, caretRule);
}

std::optional<TextEdit> TrimTrailingWhitespace(std::u16string_view text, Selection selection) {
    const auto transform = [](const std::vector<std::u16string_view>& lines) {
        std::vector<std::u16string> trimmed;
        trimmed.reserve(lines.size());
        for (const std::u16string_view line : lines) trimmed.emplace_back(TrimBlanksRight(line));
        return trimmed;
    };
    const auto caretRule = [](Selection, TextRange, LinePlace place, const std::vector<std::u16string>& lines,
                              std::size_t newLength) {
        if (place.pastEnd) return newLength + *place.pastEnd;
        return OffsetOfLine(lines, place.line) + std::min(place.column, lines[place.line].size());
    };
    return EditLineList(text, selection, transform, caretRule);
}

std::optional<TextEdit> RunLineCommand(LineCommand command, std::u16string_view text, Selection selection) {
    switch (command) {
    case LineCommand::DuplicateLines: return DuplicateLines(text, selection);
    case LineCommand::DeleteLines: return DeleteLines(text, selection);
    case LineCommand::JoinLines: return JoinLines(text, selection);
    case LineCommand::DeleteToLineEnd: return DeleteToLineEnd(text, selection);
    case LineCommand::MoveLinesUp: return MoveLines(text, selection, -1);
    case LineCommand::MoveLinesDown: return MoveLines(text, selection, +1);
    case LineCommand::SortAscending: return SortLines(text, selection, false);
    case LineCommand::SortDescending: return SortLines(text, selection, true);
    case LineCommand::RemoveDuplicateLines: return RemoveDuplicateLines(text, selection);
    case LineCommand::RemoveEmptyLines: return RemoveEmptyLines(text, selection);
    case LineCommand::TrimTrailingWhitespace: return TrimTrailingWhitespace(text, selection);
    }
    return std::nullopt;
}

bool MarksByLineMatching(LineCommand command) { return command != LineCommand::DuplicateLines; }

}  // namespace quillpane
