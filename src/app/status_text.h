// The status label's two texts: the caret's line:column, and the character
// and byte counts of the memo and the selection after the search count.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillpane {

struct StatusCounts {
    std::size_t units = 0;  // UTF-16 code units of the text
    std::size_t breaks = 0; // line breaks (a CR LF is one character)
    std::size_t bytes = 0;  // UTF-8
    bool selection = false;
    std::size_t selectedUnits = 0;
    std::size_t selectedBreaks = 0;
    std::size_t selectedBytes = 0;
};

// "line:column".
[[nodiscard]] std::u16string PositionText(std::size_t line, std::size_t column);
// "12 chars (14 bytes)", or "3/12 chars (3/14 bytes)" with a selection,
// after the search part.
[[nodiscard]] std::u16string CountsText(std::u16string_view searchPart, const StatusCounts& counts,
                                        std::u16string_view charUnit, std::u16string_view byteUnit);

}  // namespace quillpane
