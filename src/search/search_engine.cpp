#include "search/search_engine.h"

#include "platform/case_fold.h"
#include "platform/decimal.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quillpane {
namespace {

std::u16string VariantsOf(char16_t lowered) {
    std::u16string variants;
    const LowerTable& lower = Lower();
    for (unsigned u = 0; u < lower.size(); ++u) {
        if (lower[u] == lowered) variants.push_back(static_cast<char16_t>(u));
    }
    return variants;
}

// The first two units of a match as they may stand in the text.
struct CandidatePair {
    unsigned a, b;  // first unit
    unsigned c, d;  // second unit
    bool single;    // a one-unit term: any second unit will do
};

constexpr std::size_t kScanBlock = 64;

bool IsCandidate(const char16_t* units, std::size_t i, const CandidatePair& p) {
    const unsigned u = units[i];
    if (u != p.a && u != p.b) return false;
    if (p.single) return true;
    const unsigned v = units[i + 1];
    return v == p.c || v == p.d;
}

// Marks the candidate starts among kScanBlock units from `units` in one
// pass without branches (which the compiler vectorises); true when any is.
// For a two-unit pair the block's last start reads one unit past the block,
// which the caller's bounds leave room for.
bool MarkCandidates(const char16_t* units, const CandidatePair& p, std::uint8_t (&marks)[kScanBlock]) {
    const auto a = static_cast<std::uint16_t>(p.a);
    const auto b = static_cast<std::uint16_t>(p.b);
    const auto c = static_cast<std::uint16_t>(p.c);
    const auto d = static_cast<std::uint16_t>(p.d);
    unsigned hits = 0;
    if (p.single) {
        for (std::size_t k = 0; k < kScanBlock; ++k) {
            marks[k] = static_cast<std::uint8_t>((units[k] == a) | (units[k] == b));
            hits |= marks[k];
        }
        return hits != 0;
    }
    for (std::size_t k = 0; k < kScanBlock; ++k) {
        const std::uint16_t u = units[k];
        const std::uint16_t v = units[k + 1];
        marks[k] = static_cast<std::uint8_t>(((u == a) | (u == b)) & ((v == c) | (v == d)));
        hits |= marks[k];
    }
    return hits != 0;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::u16string_view FirstLineOf(std::u16string_view text) {
    return text.substr(0, std::min(text.find(u'\r'), text.find(u'\n')));
}

SearchPattern::SearchPattern(std::u16string_view term) : lowered_(LowerCopy(term)) {
    if (!lowered_.empty()) firstVariants_ = VariantsOf(lowered_[0]);
    if (lowered_.size() > 1) secondVariants_ = VariantsOf(lowered_[1]);
}

bool SearchPattern::MatchesAt(std::u16string_view text, std::size_t at) const {
    if (lowered_.empty() || at > text.size() || text.size() - at < lowered_.size()) return false;
    const LowerTable& lower = Lower();
    for (std::size_t k = 0; k < lowered_.size(); ++k) {
        if (lower[text[at + k]] != lowered_[k]) return false;
    }
    return true;
}

std::optional<std::size_t> SearchPattern::FindFrom(std::u16string_view text, std::size_t from) const {
    const std::size_t n = lowered_.size();
    if (n == 0 || text.size() < n || from > text.size() - n) return std::nullopt;
    const std::size_t end = text.size() - n + 1;  // candidate starts lie below
    if (firstVariants_.size() <= 2 && secondVariants_.size() <= 2) {
        // Usually two variants each (small and capital): blocks of units are
        // tested for a candidate pair without branches, which the compiler
        // vectorises; only a block that holds one is looked at closely.
        const CandidatePair pair {firstVariants_[0], firstVariants_.back(), n == 1 ? 0u : secondVariants_[0],
                                  n == 1 ? 0u : secondVariants_.back(), n == 1};
        const char16_t* units = text.data();
        std::size_t i = from;
        std::uint8_t marks[kScanBlock];
        for (; i + kScanBlock <= end; i += kScanBlock) {
            if (!MarkCandidates(units + i, pair, marks)) continue;
            for (const void* mark = std::memchr(marks, 1, kScanBlock); mark != nullptr;) {
                const auto k = static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - marks);
                if (MatchesAt(text, i + k)) return i + k;
                mark = std::memchr(marks + k + 1, 1, kScanBlock - k - 1);
            }
        }
        for (; i < end; ++i) {
            if (IsCandidate(units, i, pair) && MatchesAt(text, i)) return i;
        }
        return std::nullopt;
    }
    for (std::size_t i = from; i < end; ++i) {
        if (firstVariants_.find(text[i]) != std::u16string::npos && MatchesAt(text, i)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> SearchPattern::FindLastAtOrBefore(std::u16string_view text, std::size_t last) const {
    const std::size_t n = lowered_.size();
    if (n == 0 || text.size() < n) return std::nullopt;
    for (std::size_t i = std::min(last, text.size() - n) + 1; i-- > 0;) {
        if (MatchesAt(text, i)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> FindNext(std::u16string_view text, std::u16string_view term, std::size_t selectionEnd) {
    return SearchPattern(term).FindFrom(text, selectionEnd);
}

std::optional<std::size_t> FindPrevious(std::u16string_view text, std::u16string_view term,
                                        std::size_t selectionStart) {
    if (selectionStart == 0) return std::nullopt;
    return SearchPattern(term).FindLastAtOrBefore(text, selectionStart - 1);
}

std::vector<std::size_t> FindAllMatches(std::u16string_view text, std::u16string_view term, std::size_t cap) {
    std::vector<std::size_t> matches;
    const SearchPattern pattern(term);
    if (pattern.Empty()) return matches;
    std::size_t from = 0;
    while (matches.size() < cap) {
        const std::optional<std::size_t> found = pattern.FindFrom(text, from);
        if (!found) break;
        matches.push_back(*found);
        from = *found + pattern.Length();
    }
    return matches;
}

std::vector<unsigned> CountPerRange(const std::vector<std::size_t>& matches,
                                    const std::vector<std::size_t>& rangeStarts) {
    std::vector<unsigned> counts(rangeStarts.size(), 0);
    auto range = rangeStarts.begin();
    for (const std::size_t match : matches) {
        // Both ascending: the range only moves forward.
        while (range != rangeStarts.end() && *range <= match) ++range;
        if (range != rangeStarts.begin()) ++counts[static_cast<std::size_t>(range - rangeStarts.begin()) - 1];
    }
    return counts;
}

std::optional<std::size_t> CurrentMatchIndex(const std::vector<std::size_t>& matches, std::size_t termLength,
                                             std::size_t selectionStart, std::size_t selectionEnd) {
    if (matches.empty() || termLength == 0) return std::nullopt;
    if (selectionEnd > selectionStart) {
        const auto found = std::lower_bound(matches.begin(), matches.end(), selectionStart);
        if (found == matches.end() || *found != selectionStart || selectionEnd - selectionStart != termLength) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(found - matches.begin()) + 1;
    }
    const auto after = std::upper_bound(matches.begin(), matches.end(), selectionStart);
    if (after == matches.begin()) return std::nullopt;
    const std::size_t start = *(after - 1);
    if (selectionStart >= start + termLength) return std::nullopt;
    return static_cast<std::size_t>(after - matches.begin());
}

ReplaceAllResult ReplaceAllMatches(std::u16string_view text, std::u16string_view term,
                                   std::u16string_view replacement) {
    ReplaceAllResult result;
    const SearchPattern pattern(term);
    if (pattern.Empty()) return result;
    result.text.reserve(text.size() + 4 * replacement.size());
    std::size_t copied = 0;
    for (std::optional<std::size_t> found = pattern.FindFrom(text, 0); found;
         found = pattern.FindFrom(text, *found + pattern.Length())) {
        result.text.append(text.substr(copied, *found - copied));
        result.text.append(replacement);
        if (result.count++ == 0) result.changedStart = *found;
        copied = *found + pattern.Length();
        result.changedEnd = copied;
    }
    result.text.append(text.substr(copied));
    return result;
}

bool AddToHistory(std::vector<std::u16string>& history, std::u16string_view term) {
    if (term.empty()) return false;
    std::erase_if(history, [term](const std::u16string& entry) { return entry == term; });
    history.insert(history.begin(), std::u16string(term));
    if (history.size() > kSearchHistorySize) history.resize(kSearchHistorySize);
    return true;
}

std::u16string HighlightTermFrom(std::u16string_view selection, std::u16string_view word) {
    std::u16string_view term = selection.empty() ? word : FirstLineOf(selection).substr(0, kMaxSearchTerm);
    while (!term.empty() && IsBlank(term.front())) term.remove_prefix(1);
    while (!term.empty() && IsBlank(term.back())) term.remove_suffix(1);
    return std::u16string(term);
}

std::u16string InitialSearchText(std::u16string_view selection, std::u16string_view word) {
    const std::u16string_view line = FirstLineOf(selection);
    if (!line.empty() && line.size() <= kMaxSearchTerm) return std::u16string(line);
    return std::u16string(word.substr(0, kMaxSearchTerm));
}

std::u16string SearchCountText(std::u16string_view word, std::optional<std::size_t> index, std::size_t count) {
    std::u16string text(word);
    text += u' ';
    text += count == 0 ? u"0" : index ? DecimalText(*index) : u"-";
    text += u'/';
    text += DecimalText(count);
    if (count >= kMatchCap) text += u'+';
    text += u"  ";
    return text;
}

}  // namespace quillpane
