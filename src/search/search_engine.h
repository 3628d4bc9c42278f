// Case-insensitive plain-text search over the memo: finding, the list of all
// matches (capped), per-memo counts, replace-all, and the keyword history.
// Every index is a UTF-16 code unit index into the memo text.
#pragma once

#include "platform/case_fold.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

inline constexpr std::size_t kMatchCap = 5000;
inline constexpr std::size_t kMaxSearchTerm = 256;  // a highlighted selection is cut here
inline constexpr std::size_t kSearchHistorySize = 8;


// A term as the search box may hold it: cut at the first CR or LF.
[[nodiscard]] std::u16string_view FirstLineOf(std::u16string_view text);

// A compiled term: its lowered units and the units that lower to its first.
class SearchPattern {
public:
    explicit SearchPattern(std::u16string_view term);
    [[nodiscard]] bool Empty() const { return lowered_.empty(); }
    [[nodiscard]] std::size_t Length() const { return lowered_.size(); }
    // The first match starting at or after `from` in the original text.
    [[nodiscard]] std::optional<std::size_t> FindFrom(std::u16string_view text, std::size_t from) const;
    // The last match starting at or before `last`.
    [[nodiscard]] std::optional<std::size_t> FindLastAtOrBefore(std::u16string_view text, std::size_t last) const;
    [[nodiscard]] bool MatchesAt(std::u16string_view text, std::size_t at) const;

private:
    std::u16string lowered_;
    // Every unit whose lowercase is the term's first (second) unit.
    std::u16string firstVariants_;
    std::u16string secondVariants_;
};

// Find forward from the selection [start, end): the first match at or after end.
[[nodiscard]] std::optional<std::size_t> FindNext(std::u16string_view text, std::u16string_view term,
                                                  std::size_t selectionEnd);
// Find backward: the last match starting before the selection start (none at 0).
[[nodiscard]] std::optional<std::size_t> FindPrevious(std::u16string_view text, std::u16string_view term,
                                                      std::size_t selectionStart);

// Non-overlapping match starts from the beginning, at most `cap`.
[[nodiscard]] std::vector<std::size_t> FindAllMatches(std::u16string_view text, std::u16string_view term,
                                                      std::size_t cap = kMatchCap);

// Per range counts: matches[i] adds one to the last range whose start is at
// or before it; a match before the first start counts nowhere.
[[nodiscard]] std::vector<unsigned> CountPerRange(const std::vector<std::size_t>& matches,
                                                  const std::vector<std::size_t>& rangeStarts);

// The 1-based index of the current match: the one equal to a non-empty
// selection, or the one holding the caret of an empty selection.
[[nodiscard]] std::optional<std::size_t> CurrentMatchIndex(const std::vector<std::size_t>& matches,
                                                           std::size_t termLength, std::size_t selectionStart,
                                                           std::size_t selectionEnd);

struct ReplaceAllResult {
    std::u16string text;
    std::size_t count = 0;
    // In the old text, from the first match's start to the last one's end:
    // all that changed.
    std::size_t changedStart = 0;
    std::size_t changedEnd = 0;
};
// Every non-overlapping match replaced literally, left to right.
[[nodiscard]] ReplaceAllResult ReplaceAllMatches(std::u16string_view text, std::u16string_view term,
                                                 std::u16string_view replacement);

// Newest first, no two equal, at most eight; false for an empty term.
bool AddToHistory(std::vector<std::u16string>& history, std::u16string_view term);

// The term "Highlight selected text / word at caret" takes: the selection's
// first line (at most 256 units), else the word; spaces and tabs trimmed.
[[nodiscard]] std::u16string HighlightTermFrom(std::u16string_view selection, std::u16string_view word);

// The status label's search part: "Highlight 3/17  ", "-" without a current
// match, "+" after a count that reached the cap; two spaces end it.
[[nodiscard]] std::u16string SearchCountText(std::u16string_view word, std::optional<std::size_t> index,
                                             std::size_t count);

// The text a newly opened search box starts with: the selection's first line,
// or the word at the caret (at most 256 units) when that is empty or too long.
[[nodiscard]] std::u16string InitialSearchText(std::u16string_view selection, std::u16string_view word);

}  // namespace quillpane
