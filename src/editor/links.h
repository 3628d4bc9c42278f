// Links in the memo's text: web and mail addresses, schemes with a
// registered handler and Windows file paths, found in UTF-16 and judged for
// what opening them would do. The memo is untrusted text.
#pragma once

#include "editor/text_types.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// What the fixed rules say about a lower-cased scheme name; AskSystem leaves
// it to the registry ("URL Protocol" under the scheme's class key).
enum class SchemeVerdict { Link, NotLink, AskSystem };
[[nodiscard]] SchemeVerdict FixedSchemeVerdict(std::u16string_view lowerScheme);

// Answers AskSystem schemes (lower-cased); the caller caches the answers.
using SchemeQuery = std::function<bool(std::u16string_view lowerScheme)>;

// The links of text in text order, not overlapping. text is a stretch of the
// memo that starts at a line start (or the memo's start); ranges are
// relative to it.
[[nodiscard]] std::vector<TextRange> FindLinks(std::u16string_view text, const SchemeQuery& isRegisteredScheme);

// The lines scanned around the lines on screen, on each side, so that a
// short scroll finds its links already marked.
[[nodiscard]] std::size_t LinkMarginLines(std::size_t linesOnScreen);

// What a double-click hands to the shell for the link's text: the text
// without surrounding quotes or angle brackets, "mailto:" put before a bare
// mail address. Empty when there is nothing to open.
[[nodiscard]] std::u16string LinkTarget(std::u16string_view linkText);

// The file-system path the link's text names (drive or UNC path, or a
// "file:" URL turned into one); none for web and mail links.
[[nodiscard]] std::optional<std::u16string> LocalPathOfLinkText(std::u16string_view linkText);

// A path on another machine: \\host\... (and \\?\UNC\...).
[[nodiscard]] bool IsNetworkPath(std::u16string_view path);

// Whether the shell's "open" on the path could start a program or script:
// an extension listed in pathExt (the PATHEXT variable, ";"-separated) or in
// the program's own list (shortcuts, scripts, installers), judged after the
// trailing dots and spaces Windows ignores; a stream name (a second ":") is
// never trusted either.
[[nodiscard]] bool RunsWhenOpened(std::u16string_view path, std::u16string_view pathExt);

// The name a path's submenu shows: the last component after trailing
// separators are dropped (the whole path when that is empty), cut to 39
// characters and "…" when longer than 40.
[[nodiscard]] std::u16string LinkDisplayName(std::u16string_view path);

}  // namespace quillpane
