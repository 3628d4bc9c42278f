// The marker scan and the section list: ordered, inside the text, and in
// agreement with a line-by-line check of every line.
#include "fuzz_text.h"

#include "sections/section_list.h"

namespace {

using namespace quillpane;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::size_t selection = input.Word();
    const MarkerSettings settings = fuzz::TakeMarkerSettings(input);
    const std::u16string text = fuzz::TakeText(input, mode & 1);

    const SectionScan scan = BuildSections(text, settings, selection);
    const int lines = CountLines(text);
    FUZZ_CHECK(scan.lineCount == lines);
    FUZZ_CHECK(scan.markers == FindMarkers(text, settings));
    FUZZ_CHECK(CountMarkers(text, settings) == scan.markers.size());

    // Every marker is a whole line of the text, in order, and every marker
    // line is found.
    std::size_t next = 0;
    int line = 0;
    std::size_t marker = 0;
    while (next < text.size()) {
        const LineSpan span = LineAt(text, next);
        FUZZ_CHECK(span.start < span.end && span.contentEnd <= span.end && span.end <= text.size());
        if (IsMarkerLine(text.substr(span.start, span.contentEnd - span.start), settings)) {
            FUZZ_CHECK(marker < scan.markers.size());
            FUZZ_CHECK(scan.markers[marker] == (MarkerLine {span.start, span.end, line}));
            ++marker;
        }
        (void)LineKindOf(text.substr(span.start, span.contentEnd - span.start));
        next = span.end;
        ++line;
    }
    FUZZ_CHECK(marker == scan.markers.size());

    const SectionList& entries = scan.entries;
    FUZZ_CHECK(scan.entryMarker.size() == entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SectionEntry& entry = entries[i];
        FUZZ_CHECK(entry.startIndex <= text.size());
        FUZZ_CHECK(entry.firstLine >= 1 && entry.firstLine <= lines);
        FUZZ_CHECK(entry.titleLine >= entry.firstLine && entry.titleLine <= lines);
        FUZZ_CHECK(LineOfIndex(text, entry.startIndex) + 1 == entry.firstLine);
        if (i > 0) {
            FUZZ_CHECK(entries[i - 1].startIndex < entry.startIndex);
            FUZZ_CHECK(entries[i - 1].titleLine < entry.firstLine);
        }
        const int opener = scan.entryMarker[i];
        FUZZ_CHECK(opener >= -1 && opener < static_cast<int>(scan.markers.size()));
        FUZZ_CHECK((opener >= 0) == entry.startsAtMarker);
    }
    FUZZ_CHECK(scan.current >= -1 && scan.current < static_cast<int>(entries.size()));
    FUZZ_CHECK(scan.current == CurrentSection(text, settings, entries, selection));
    FUZZ_CHECK(scan.selectionLine == LineOfIndex(text, selection));
    return 0;
}
