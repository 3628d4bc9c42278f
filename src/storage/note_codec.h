// Bytes of the memo file to editor text and back: encodings and line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// The first rule that applies: EF BB BF -> lenient UTF-8 of the rest;
// FF FE -> UTF-16LE, FE FF -> UTF-16BE (an odd last byte dropped); no bytes ->
// empty; otherwise strict UTF-8, or the ANSI code page when that fails.
[[nodiscard]] std::u16string DecodeNoteBytes(std::string_view bytes);

// CR LF, a lone CR and a lone LF all become CR LF; everything else is copied.
[[nodiscard]] std::u16string NormalizeLineEnds(std::u16string_view text);
// Same, but hands the buffer back untouched when it is already all CR LF.
[[nodiscard]] std::u16string NormalizeLineEnds(std::u16string&& text);

// NormalizeLineEnds(DecodeNoteBytes(bytes)) in one pass over the bytes and
// one allocation of the final size (for the UTF-8 forms): the memo load.
[[nodiscard]] std::u16string DecodeNoteText(std::string_view bytes);

// For bytes after a byte-order mark, or without one: the length in UTF-16
// code units when they are well-formed UTF-8 whose every line ends in CR LF,
// that is exactly the UTF-8 of what DecodeNoteText makes of them; nothing
// otherwise. One pass, no text made: a large memo goes to the editor as is.
[[nodiscard]] std::optional<std::size_t> CrLfUtf8Length(std::string_view bytes);

// EF BB BF followed by the text in UTF-8 (an unpaired surrogate becomes
// U+FFFD), byte for byte what Utf16ToUtf8 produces.
[[nodiscard]] std::string EncodeNoteBytes(std::u16string_view text);

}  // namespace quillpane
