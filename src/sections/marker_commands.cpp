// The marker commands: insert a marker (F6), select the memo at the caret, change the role.
#include "sections/marker_commands.h"

#include <algorithm>
#include <vector>

namespace quillpane {
namespace {

constexpr unsigned kRoleSeparatorCommand = 1167;
constexpr unsigned kRoleHeadingCommand = 1168;

// The last marker that starts at or before `index`, or nullptr.
[[nodiscard]] const MarkerLine* LastMarkerAtOrBefore(const std::vector<MarkerLine>& markers, std::size_t index) {
    const auto after = std::upper_bound(markers.begin(), markers.end(), index,
                                        [](std::size_t value, const MarkerLine& m) { return value < m.start; });
    return after == markers.begin() ? nullptr : &*(after - 1);
}

}  // namespace

std::u16string MarkerInsertText(const MarkerSettings& settings) {
    if (settings.role == SectionMarkerRole::Separator) {
        if (settings.separatorLine.empty()) return {};
        return settings.separatorLine + u"\r\n";
    }
    const std::u16string& prefix = settings.headingLine;
    if (prefix.empty()) return {};
    const bool numberSignsOnly = std::all_of(prefix.begin(), prefix.end(), [](char16_t c) { return c == u'#'; });
    if (numberSignsOnly && !IsWhiteSpace(prefix.back())) return prefix + u" ";
    return prefix;
}

std::optional<TextEdit> InsertMarker(const MarkerSettings& settings, Selection selection) {
    std::u16string inserted = MarkerInsertText(settings);
    if (inserted.empty()) return std::nullopt;
    TextEdit edit;
    edit.replaced = TextRange {selection.Start(), selection.End()};
    const std::size_t caret = selection.Start() + inserted.size();
    edit.replacement = std::move(inserted);
    edit.selectionAfter = Selection {caret, caret};
    return edit;
}

Selection SelectThisNote(std::u16string_view text, const MarkerSettings& settings, std::size_t selectionStart) {
    const std::size_t caret = std::min(selectionStart, text.size());
    const std::vector<MarkerLine> markers = FindMarkers(text, settings);
    if (markers.empty()) return Selection {0, text.size()};
    const MarkerLine* above = LastMarkerAtOrBefore(markers, caret);
    if (above == nullptr) return Selection {0, markers.front().start};
    const std::size_t next = static_cast<std::size_t>(above - markers.data()) + 1;
    const std::size_t end = next < markers.size() ? markers[next].start : text.size();
    // A caret on a divider belongs to the memo below it; a heading starts its memo.
    const std::size_t start = settings.role == SectionMarkerRole::Heading ? above->start : above->end;
    return Selection {start, end};
}

std::optional<SectionMarkerRole> RoleForCommand(unsigned commandId) {
    if (commandId == kRoleSeparatorCommand) return SectionMarkerRole::Separator;
    if (commandId == kRoleHeadingCommand) return SectionMarkerRole::Heading;
    return std::nullopt;
}

bool SetRole(EditorSettings& editor, SectionMarkerRole role) {
    if (editor.sectionMarkerRole == role) return false;
    editor.sectionMarkerRole = role;
    return true;
}

}  // namespace quillpane
