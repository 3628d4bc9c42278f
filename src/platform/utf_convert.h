// UTF-8 <-> UTF-16 conversion with the results of the Windows code-page calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// Like MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS): empty when the
// bytes are not well-formed UTF-8 (overlong forms, encoded surrogates, code
// points past U+10FFFF and truncated sequences all count as invalid).
[[nodiscard]] std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view bytes);

// Like MultiByteToWideChar(CP_UTF8, 0): each maximal ill-formed subsequence
// becomes one U+FFFD.
[[nodiscard]] std::u16string Utf8ToUtf16Lenient(std::string_view bytes);

// Like WideCharToMultiByte(CP_UTF8): an unpaired surrogate becomes U+FFFD.
// The result starts with prefix (a byte-order mark, say).
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text, std::string_view prefix = {});

// ASCII-only helpers for literals and tests.
// Bytes Utf16ToUtf8 produces for text.
[[nodiscard]] std::size_t Utf8Length(std::u16string_view text);

[[nodiscard]] std::u16string AsciiToUtf16(std::string_view ascii);

}  // namespace quillpane
