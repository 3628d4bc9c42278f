// Divider and heading recognition, line kinds and the marker scan of a memo text.
#include "sections/markers.h"

namespace quillpane {
namespace {

[[nodiscard]] bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The two-digit number at text[at], or -1.
[[nodiscard]] int TwoDigits(std::u16string_view text, std::size_t at) {
    if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) return -1;
    return (text[at] - u'0') * 10 + (text[at + 1] - u'0');
}

// Exactly ten units: YYYY-MM-DD or YYYY/MM/DD with the same separator twice.
[[nodiscard]] bool IsDate(std::u16string_view text) {
    if (text.size() != 10) return false;
    const int high = TwoDigits(text, 0);
    const int low = TwoDigits(text, 2);
    if (high < 0 || low < 0 || high * 100 + low == 0) return false;
    const char16_t separator = text[4];
    if ((separator != u'-' && separator != u'/') || text[7] != separator) return false;
    const int month = TwoDigits(text, 5);
    const int day = TwoDigits(text, 8);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// Exactly five units: HH:MM.
[[nodiscard]] bool IsTime(std::u16string_view text) {
    if (text.size() != 5 || text[2] != u':') return false;
    const int hour = TwoDigits(text, 0);
    const int minute = TwoDigits(text, 3);
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

[[nodiscard]] bool IsRunOfOneChar(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c != text.front()) return false;
    }
    return !text.empty();
}

[[nodiscard]] bool IsAllNumberSigns(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c != u'#') return false;
    }
    return !text.empty();
}

[[nodiscard]] std::u16string_view LineOf(std::u16string_view text, std::size_t lineStart, std::size_t lineEnd) {
    if (lineStart > text.size()) return {};
    if (lineEnd > text.size()) lineEnd = text.size();
    if (lineEnd < lineStart) return {};
    return text.substr(lineStart, lineEnd - lineStart);
}

}  // namespace

MarkerSettings MarkerSettingsOf(const EditorSettings& editor) {
    return MarkerSettings {editor.sectionMarkerRole, editor.separatorLine, editor.headingLine};
}

std::u16string_view MarkerTextInForce(const MarkerSettings& settings) {
    return settings.role == SectionMarkerRole::Heading ? settings.headingLine : settings.separatorLine;
}

std::u16string_view TrimWhiteSpace(std::u16string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    return TrimTrailingWhiteSpace(text);
}

std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text) {
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool EndsWithLineBreak(std::u16string_view text) {
    return !text.empty() && IsLineBreakChar(text.back());
}

int CountLines(std::u16string_view text) {
    int lines = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        const LineSpan line = LineAt(text, pos);
        if (line.end > line.contentEnd) ++lines;
        pos = line.end;
    }
    return lines;
}

int LineOfIndex(std::u16string_view text, std::size_t index) {
    if (index > text.size()) index = text.size();
    int line = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const LineSpan span = LineAt(text, pos);
        if (span.end > index || span.end == span.contentEnd) break;
        ++line;
        pos = span.end;
    }
    return line;
}

bool IsDividerLine(std::u16string_view line, std::u16string_view dividerText) {
    if (dividerText.empty()) return false;
    const std::u16string_view rest = TrimTrailingWhiteSpace(line);
    return !rest.empty() && rest == dividerText;
}

bool IsHeadingLine(std::u16string_view line, std::u16string_view prefix) {
    if (prefix.empty()) return false;
    const std::u16string_view rest = TrimTrailingWhiteSpace(line);
    if (rest.size() < prefix.size() || rest.substr(0, prefix.size()) != prefix) return false;
    if (rest.size() == prefix.size()) return true;
    const char16_t next = rest[prefix.size()];
    // "###" is not a heading for "##": the prefix must not run on.
    if (IsRunOfOneChar(prefix) && next == prefix.front()) return false;
    if (IsAllNumberSigns(prefix)) return IsWhiteSpace(next);
    return true;
}

bool IsMarkerLine(std::u16string_view line, const MarkerSettings& settings) {
    return settings.role == SectionMarkerRole::Heading ? IsHeadingLine(line, settings.headingLine)
                                                       : IsDividerLine(line, settings.separatorLine);
}

bool IsMarkerLine(std::u16string_view text, std::size_t lineStart, std::size_t lineEnd,
                  const MarkerSettings& settings) {
    return IsMarkerLine(LineOf(text, lineStart, lineEnd), settings);
}

std::u16string_view HeadingText(std::u16string_view line, std::u16string_view prefix) {
    const std::u16string_view trimmed = TrimWhiteSpace(line);
    const std::u16string_view rest = TrimTrailingWhiteSpace(line);
    if (prefix.size() > rest.size()) return trimmed;
    std::u16string_view after = rest.substr(prefix.size());
    while (!after.empty() && IsWhiteSpace(after.front())) after.remove_prefix(1);
    return after.empty() ? trimmed : after;
}

std::u16string_view HeadingText(std::u16string_view text, std::size_t lineStart, std::size_t lineEnd,
                                std::u16string_view prefix) {
    return HeadingText(LineOf(text, lineStart, lineEnd), prefix);
}

LineKind LineKindOf(std::u16string_view line) {
    return LineKindOfTrimmed(TrimWhiteSpace(line));
}

LineKind LineKindOfTrimmed(std::u16string_view trimmed) {
    switch (trimmed.size()) {
    case 0:
        return LineKind::Blank;
    case 5:
        return IsTime(trimmed) ? LineKind::Time : LineKind::Ordinary;
    case 10:
        return IsDate(trimmed) ? LineKind::Date : LineKind::Ordinary;
    case 16:
        return IsDate(trimmed.substr(0, 10)) && trimmed[10] == u' ' && IsTime(trimmed.substr(11))
                   ? LineKind::DateTime
                   : LineKind::Ordinary;
    default:
        return LineKind::Ordinary;
    }
}

std::vector<MarkerLine> FindMarkers(std::u16string_view text, const MarkerSettings& settings) {
    std::vector<MarkerLine> markers;
    int lineNumber = 0;
    for (std::size_t pos = 0; pos < text.size(); ++lineNumber) {
        const LineSpan line = LineAt(text, pos);
        if (IsMarkerLine(text.substr(line.start, line.contentEnd - line.start), settings)) {
            markers.push_back(MarkerLine {line.start, line.end, lineNumber});
        }
        pos = line.end;
    }
    return markers;
}

std::size_t CountMarkers(std::u16string_view text, const MarkerSettings& settings) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const LineSpan line = LineAt(text, pos);
        if (IsMarkerLine(text.substr(line.start, line.contentEnd - line.start), settings)) ++count;
        pos = line.end;
    }
    return count;
}

}  // namespace quillpane
