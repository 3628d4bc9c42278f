// Divider and heading recognition, line kinds and the marker scan of a memo text.
#pragma once

#include "settings/config.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// The marker settings in force: role, divider text and heading prefix.
struct MarkerSettings {
    SectionMarkerRole role = SectionMarkerRole::Separator;
    std::u16string separatorLine {kDefaultSeparatorLine};
    std::u16string headingLine {kDefaultHeadingLine};
    bool operator==(const MarkerSettings&) const = default;
};

[[nodiscard]] MarkerSettings MarkerSettingsOf(const EditorSettings& editor);

// The marker text of the role in force: the heading prefix or the divider text.
[[nodiscard]] std::u16string_view MarkerTextInForce(const MarkerSettings& settings);

// The characters iswspace accepts: C0 spaces, NEL, NBSP and the Unicode
// space separators, the same on every platform.
[[nodiscard]] constexpr bool IsWhiteSpace(char16_t c) {
    if (c <= u' ') return c == u' ' || (c >= u'\t' && c <= u'\r');
    if (c < 0x85) return false;
    switch (c) {
    case 0x0085: case 0x00A0: case 0x1680: case 0x2028: case 0x2029:
    case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

[[nodiscard]] std::u16string_view TrimWhiteSpace(std::u16string_view text);
[[nodiscard]] std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text);

[[nodiscard]] constexpr bool IsLineBreakChar(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// One line of a text: [start, contentEnd) is its content, [contentEnd, end)
// its line break (CR LF, CR, LF or nothing at the end of the text).
struct LineSpan {
    std::size_t start = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

// The line that starts at `start`; `start` must be below text.size().
[[nodiscard]] inline LineSpan LineAt(std::u16string_view text, std::size_t start) {
    const char16_t* const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = start;
    // CR and LF are both below 0x0E, so most units leave after one compare.
    while (i < size && (data[i] > u'\r' || !IsLineBreakChar(data[i]))) ++i;
    LineSpan line {start, i, i};
    if (i < size) {
        line.end = i + 1;
        if (data[i] == u'\r' && line.end < size && data[line.end] == u'\n') ++line.end;
    }
    return line;
}

[[nodiscard]] bool EndsWithLineBreak(std::u16string_view text);

// Lines as the editor counts them: a final line break starts an empty last line.
[[nodiscard]] int CountLines(std::u16string_view text);

// The 0-based line that holds `index` (clamped to the text length).
[[nodiscard]] int LineOfIndex(std::u16string_view text, std::size_t index);

// `line` is one line without its break (a trailing break is tolerated).
[[nodiscard]] bool IsDividerLine(std::u16string_view line, std::u16string_view dividerText);
[[nodiscard]] bool IsHeadingLine(std::u16string_view line, std::u16string_view prefix);
[[nodiscard]] bool IsMarkerLine(std::u16string_view line, const MarkerSettings& settings);
[[nodiscard]] bool IsMarkerLine(std::u16string_view text, std::size_t lineStart, std::size_t lineEnd,
                                const MarkerSettings& settings);

// The heading text of a heading line: what follows the prefix and its
// whitespace, or the whole trimmed line when that is empty.
[[nodiscard]] std::u16string_view HeadingText(std::u16string_view line, std::u16string_view prefix);
[[nodiscard]] std::u16string_view HeadingText(std::u16string_view text, std::size_t lineStart,
                                              std::size_t lineEnd, std::u16string_view prefix);

enum class LineKind { Blank, Date, DateTime, Time, Ordinary };

// Trims the line first; dates are YYYY-MM-DD or YYYY/MM/DD, times HH:MM.
[[nodiscard]] LineKind LineKindOf(std::u16string_view line);
// The same for a line that is already trimmed.
[[nodiscard]] LineKind LineKindOfTrimmed(std::u16string_view trimmed);

// A marker line: its start, the index just after its line break, and its
// 0-based line number.
struct MarkerLine {
    std::size_t start = 0;
    std::size_t end = 0;
    int line = 0;
    bool operator==(const MarkerLine&) const = default;
};

[[nodiscard]] std::vector<MarkerLine> FindMarkers(std::u16string_view text, const MarkerSettings& settings);
[[nodiscard]] std::size_t CountMarkers(std::u16string_view text, const MarkerSettings& settings);

}  // namespace quillpane
