// Line commands of the editor (duplicate, delete, join, move, sort...) as pure
// edits of a UTF-16 text and its selection.
#pragma once

#include "editor/text_types.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillpane {

// Whole logical lines, here ended by CR, LF or CR LF.
struct LineRange {
    std::size_t start = 0;       // start of the first line
    std::size_t contentEnd = 0;  // end of the last line before its line break
    std::size_t end = 0;         // after the last line's break (== contentEnd without one)
    std::size_t firstLine = 0;   // zero-based line numbers
    std::size_t lastLine = 0;
    bool operator==(const LineRange&) const = default;
};

// The logical line holding index (clamped to the text; an index between CR
// and LF belongs to the line the CR ends).
[[nodiscard]] LineRange LogicalLineAt(std::u16string_view text, std::size_t index);

// The lines a selection covers: the caret's line when it is empty; a
// selection ending at the start of a line does not include that line.
[[nodiscard]] LineRange LineRangeOf(std::u16string_view text, Selection selection);

// Each command returns the single replacement to make, or nothing when the
// text is empty, the command does not apply, or the result equals the text.
// Positions beyond the text are clamped.
[[nodiscard]] std::optional<TextEdit> DuplicateLines(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextEdit> DeleteLines(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextEdit> JoinLines(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextEdit> DeleteToLineEnd(std::u16string_view text, Selection selection);
// direction < 0 moves up, otherwise down.
[[nodiscard]] std::optional<TextEdit> MoveLines(std::u16string_view text, Selection selection, int direction);
[[nodiscard]] bool CanMoveLines(std::u16string_view text, Selection selection, int direction);
[[nodiscard]] std::optional<TextEdit> SortLines(std::u16string_view text, Selection selection, bool descending);
[[nodiscard]] std::optional<TextEdit> RemoveDuplicateLines(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextEdit> RemoveEmptyLines(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextEdit> TrimTrailingWhitespace(std::u16string_view text, Selection selection);

// The range the list commands (sort, duplicates, empty lines, trailing
// whitespace) work on; split at CR LF only.
[[nodiscard]] TextRange LineListRange(std::u16string_view text, Selection selection);

enum class LineCommand {
    DuplicateLines,
    DeleteLines,
    JoinLines,
    DeleteToLineEnd,
    MoveLinesUp,
    MoveLinesDown,
    SortAscending,
    SortDescending,
    RemoveDuplicateLines,
    RemoveEmptyLines,
    TrimTrailingWhitespace,
};

[[nodiscard]] std::optional<TextEdit> RunLineCommand(LineCommand command, std::u16string_view text,
                                                     Selection selection);

// Whether the changed-line marks are recomputed by line matching after the
// command. When not (DuplicateLines), the lines of
// LineRangeOf(newText, edit.selectionAfter) are the ones to mark changed.
[[nodiscard]] bool MarksByLineMatching(LineCommand command);

}  // namespace quillpane
