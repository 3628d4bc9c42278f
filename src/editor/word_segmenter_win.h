// The platform's word segmenter (Windows.Data.Text.WordsSegmenter) for the
// double-click word, in the language of the user interface; absent on systems
// that cannot activate it (Wine), where the character-class rule stays.
#pragma once

#include "editor/text_types.h"
#include "editor/word_boundaries.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillpane {

// The segmenter's token around index, or nothing when there is no segmenter
// or it failed for this call.
[[nodiscard]] std::optional<TextRange> SegmentAt(std::u16string_view text, std::size_t index);

// Whether the segmenter could be activated (tries once per process).
[[nodiscard]] bool WordSegmenterAvailable();

// SegmentAt as a lookup for WordRangeAt; empty when there is no segmenter.
[[nodiscard]] SegmentLookup PlatformSegmentLookup();

}  // namespace quillpane
