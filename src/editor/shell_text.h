// The texts the editor hands to the shell: the web-search address and the
// "Open with" parameters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// The address that searches the web for the selection's first line (at most
// 300 characters, trimmed); none when nothing but whitespace is left.
[[nodiscard]] std::optional<std::u16string> WebSearchAddress(std::u16string_view selection);

// UTF-8, with everything but A-Z a-z 0-9 - . _ ~ written as %XX.
[[nodiscard]] std::u16string PercentEncode(std::u16string_view text);

// rundll32's parameters that show the "Open with" chooser for the path;
// none when they would not fit its 323 characters (a cut path would name
// another file).
[[nodiscard]] std::optional<std::u16string> OpenWithParameters(std::u16string_view path);

}  // namespace quillpane
