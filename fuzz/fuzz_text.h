// Memo texts and marker settings for the targets that work on a memo.
#pragma once

#include "fuzz_input.h"

#include "platform/utf_convert.h"
#include "sections/markers.h"

namespace quillpane::fuzz {

// Two option bytes: the role and the marker text (one of the usual ones, an
// empty one, or the next few input bytes).
inline MarkerSettings TakeMarkerSettings(FuzzInput& input) {
    const std::uint8_t role = input.Byte();
    const std::uint8_t marker = input.Byte();
    MarkerSettings settings;
    settings.role = (role & 1) ? SectionMarkerRole::Heading : SectionMarkerRole::Separator;
    std::u16string text;
    switch (marker % 6) {
    case 0: text = role & 1 ? u"##" : u"---"; break;
    case 1: text = u"#"; break;
    case 2: text = u""; break;
    case 3: text = u" - - "; break;
    case 4: text = u"\u2500\u2500"; break;
    default: text = Utf8ToUtf16Lenient(input.Take(marker / 6 % 6)); break;
    }
    (settings.role == SectionMarkerRole::Heading ? settings.headingLine : settings.separatorLine) = text;
    return settings;
}

// The rest of the input as text: UTF-8 read leniently, or UTF-16 pairs
// (unpaired surrogates included).
inline std::u16string TakeText(FuzzInput& input, bool pairs) {
    const std::string_view rest = input.Take(input.Rest().size());
    return pairs ? Utf16FromPairs(rest) : Utf8ToUtf16Lenient(rest);
}

}  // namespace quillpane::fuzz
