// Positions, ranges and selections in UTF-16 code units, shared by the
// editing logic.
#pragma once

#include <cstddef>
#include <string>

namespace quillpane {

struct TextRange {
    std::size_t start = 0;
    std::size_t end = 0;  // exclusive; start <= end
    [[nodiscard]] std::size_t Length() const { return end - start; }
    bool operator==(const TextRange&) const = default;
};

// A stream selection: the caret moves, the anchor stays.
struct Selection {
    std::size_t anchor = 0;
    std::size_t caret = 0;
    [[nodiscard]] std::size_t Start() const { return anchor < caret ? anchor : caret; }
    [[nodiscard]] std::size_t End() const { return anchor < caret ? caret : anchor; }
    [[nodiscard]] bool Empty() const { return anchor == caret; }
    bool operator==(const Selection&) const = default;
};

// One replacement of a range of the text and the selection that follows it.
struct TextEdit {
    TextRange replaced;         // in the text before the edit
    std::u16string replacement;
    Selection selectionAfter;   // in the text after the edit
    bool operator==(const TextEdit&) const = default;
};

}  // namespace quillpane
