// The memos of a text as a section list: titles, subtitles, first lines and start indices.
#pragma once

#include "sections/markers.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// One memo that has a title, in text order.
struct SectionEntry {
    int titleLine = 0;           // 1-based: the heading, or the first ordinary line
    int firstLine = 0;           // 1-based: the heading, or the first line after the divider
    std::size_t startIndex = 0;  // where the memo starts; ascending over the list
    unsigned hitCount = 0;       // search hits, filled by the search engine
    bool startsAtMarker = false;
    bool canFold = false;        // filled by FillFoldStates
    bool folded = false;         // filled by FillFoldStates
    std::u16string title;
    std::u16string subtitle;
    bool operator==(const SectionEntry&) const = default;
};

using SectionList = std::vector<SectionEntry>;

// A section list with what the fold and reorder logic needs to know about
// the same pass over the text.
struct SectionScan {
    SectionMarkerRole role = SectionMarkerRole::Separator;
    SectionList entries;
    std::vector<MarkerLine> markers;  // every marker line in text order
    std::vector<int> entryMarker;     // per entry: the marker that opens its memo, -1 for none
    int lineCount = 1;                // as the editor counts lines
    int selectionLine = 0;            // 0-based line of the selection start
    int current = -1;                 // CurrentSection for the selection start
};

// One pass over the text. Hit counts stay 0; canFold and folded stay false.
[[nodiscard]] SectionScan BuildSections(std::u16string_view text, const MarkerSettings& settings,
                                        std::size_t selectionStart);

// The entry of a 1-based line: the last entry whose first line is at or
// above it (0 when none is), or -1 for an empty list. A caret on a divider
// belongs to the memo below it.
[[nodiscard]] int CurrentSection(const SectionList& list, int line, bool lineIsDivider);
[[nodiscard]] int CurrentSection(std::u16string_view text, const MarkerSettings& settings,
                                 const SectionList& list, std::size_t selectionStart);

}  // namespace quillpane
