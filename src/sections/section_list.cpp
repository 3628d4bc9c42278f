// The memos of a text as a section list: titles, subtitles, first lines and start indices.
#include "sections/section_list.h"

#include <algorithm>

namespace quillpane {
namespace {

// What one memo has shown of itself so far. Views point into the text.
struct MemoState {
    bool open = false;
    int marker = -1;
    std::u16string_view heading;
    int headingLine = 0;  // 1-based
    int firstLine = 0;    // 1-based first line after the marker, 0 before it is seen
    std::size_t firstStart = 0;
    std::u16string_view title;
    int titleLine = 0;
    std::u16string_view second;
    std::u16string_view date;
    std::u16string_view time;
    bool searchDone = false;
};

// Only the first two ordinary lines (and the date or time lines before the
// second) are looked at, so a long memo costs nothing beyond the line scan.
void TakeLine(MemoState& memo, std::u16string_view content, int lineNumber) {
    const std::u16string_view trimmed = TrimWhiteSpace(content);
    switch (LineKindOfTrimmed(trimmed)) {
    case LineKind::Blank:
        break;
    case LineKind::Date:
    case LineKind::DateTime:
        if (memo.date.empty()) memo.date = trimmed;
        break;
    case LineKind::Time:
        if (memo.time.empty()) memo.time = trimmed;
        break;
    case LineKind::Ordinary:
        if (memo.title.empty()) {
            memo.title = trimmed;
            memo.titleLine = lineNumber;
        } else {
            memo.second = trimmed;
            memo.searchDone = true;
        }
        break;
    }
}

void CloseMemo(const MemoState& memo, SectionScan& scan) {
    if (!memo.open) return;
    const bool hasHeading = !memo.heading.empty();
    if (!hasHeading && memo.title.empty()) return;
    SectionEntry entry;
    if (hasHeading) {
        entry.title = memo.heading;
        entry.titleLine = memo.headingLine;
        entry.firstLine = memo.headingLine;
        entry.startIndex = scan.markers[static_cast<std::size_t>(memo.marker)].start;
    } else {
        entry.title = memo.title;
        entry.titleLine = memo.titleLine;
        if (memo.marker < 0) {
            entry.firstLine = 1;
            entry.startIndex = 0;
        } else {
            // A title comes from a line after the divider, so that line exists.
            entry.firstLine = memo.firstLine;
            entry.startIndex = memo.firstStart;
        }
    }
    if (!memo.date.empty()) {
        entry.subtitle = memo.date;
    } else if (!memo.time.empty()) {
        entry.subtitle = memo.time;
    } else if (hasHeading) {
        entry.subtitle = memo.title;
    } else {
        entry.subtitle = memo.second;
    }
    entry.startsAtMarker = memo.marker >= 0;
    scan.entries.push_back(std::move(entry));
    scan.entryMarker.push_back(memo.marker);
}

}  // namespace

SectionScan BuildSections(std::u16string_view text, const MarkerSettings& settings, std::size_t selectionStart) {
    SectionScan scan;
    scan.role = settings.role;
    const bool headingRole = settings.role == SectionMarkerRole::Heading;
    const std::size_t selection = std::min(selectionStart, text.size());
    bool selectionOnMarker = false;

    MemoState memo;
    memo.open = !headingRole;  // text above the first heading is no memo
    int lineNumber = 0;        // 0-based
    for (std::size_t pos = 0; pos < text.size(); ++lineNumber) {
        const LineSpan line = LineAt(text, pos);
        const std::u16string_view content = text.substr(line.start, line.contentEnd - line.start);
        const bool isMarker = IsMarkerLine(content, settings);
        if (line.start <= selection) {
            scan.selectionLine = lineNumber;
            selectionOnMarker = isMarker;
        }
        if (isMarker) {
            CloseMemo(memo, scan);
            memo = MemoState {};
            memo.open = true;
            memo.marker = static_cast<int>(scan.markers.size());
            scan.markers.push_back(MarkerLine {line.start, line.end, lineNumber});
            if (headingRole) {
                memo.heading = HeadingText(content, settings.headingLine);
                memo.headingLine = lineNumber + 1;
            }
        } else if (memo.open) {
            if (memo.firstLine == 0) {
                memo.firstLine = lineNumber + 1;
                memo.firstStart = line.start;
            }
            if (!memo.searchDone) TakeLine(memo, content, lineNumber + 1);
        }
        pos = line.end;
    }
    CloseMemo(memo, scan);

    scan.lineCount = lineNumber + (EndsWithLineBreak(text) || text.empty() ? 1 : 0);
    if (EndsWithLineBreak(text) && selection == text.size()) {
        // The caret after a final line break sits on the empty last line.
        scan.selectionLine = scan.lineCount - 1;
        selectionOnMarker = false;
    }
    scan.current = CurrentSection(scan.entries, scan.selectionLine + 1,
                                  !headingRole && selectionOnMarker);
    return scan;
}

int CurrentSection(const SectionList& list, int line, bool lineIsDivider) {
    if (list.empty()) return -1;
    if (lineIsDivider) ++line;
    const auto after = std::upper_bound(list.begin(), list.end(), line,
                                        [](int value, const SectionEntry& entry) { return value < entry.firstLine; });
    if (after == list.begin()) return 0;
    return static_cast<int>(after - list.begin()) - 1;
}

int CurrentSection(std::u16string_view text, const MarkerSettings& settings, const SectionList& list,
                   std::size_t selectionStart) {
    const std::size_t selection = std::min(selectionStart, text.size());
    int line = 0;
    bool onDivider = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const LineSpan span = LineAt(text, pos);
        if (span.end > selection || span.end == span.contentEnd) {
            onDivider = settings.role == SectionMarkerRole::Separator &&
                        IsDividerLine(text.substr(span.start, span.contentEnd - span.start), settings.separatorLine);
            break;
        }
        ++line;
        pos = span.end;
    }
    return CurrentSection(list, line + 1, onDivider);
}

}  // namespace quillpane
