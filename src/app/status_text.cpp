#include "app/status_text.h"

#include "platform/decimal.h"

#include <algorithm>

namespace quillpane {

std::u16string PositionText(std::size_t line, std::size_t column) {
    return DecimalText(line) + u':' + DecimalText(column);
}

std::u16string CountsText(std::u16string_view searchPart, const StatusCounts& counts, std::u16string_view charUnit,
                          std::u16string_view byteUnit) {
    // A line break is one character however it is stored.
    const std::size_t characters = counts.units - std::min(counts.units, counts.breaks);
    std::u16string text(searchPart);
    if (counts.selection) {
        const std::size_t selected = counts.selectedUnits - std::min(counts.selectedUnits, counts.selectedBreaks);
        text += DecimalText(selected) + u'/' + DecimalText(characters);
        text += charUnit;
        text += u" (" + DecimalText(counts.selectedBytes) + u'/' + DecimalText(counts.bytes);
    } else {
        text += DecimalText(characters);
        text += charUnit;
        text += u" (" + DecimalText(counts.bytes);
    }
    text += byteUnit;
    text += u')';
    return text;
}

}  // namespace quillpane
