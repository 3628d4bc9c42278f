// Word boundaries by character class, with the project's own tables.
#include "editor/word_boundaries.h"

#include <algorithm>
#include <iterator>

namespace quillpane {
namespace {

struct UnitRange {
    char16_t first;
    char16_t last;
};

// Letters and digits (marks included, so a base letter and its accents stay
// together) of the scripts a memo is likely to hold. Sorted, inclusive.
constexpr UnitRange kWordUnits[] = {
    {0x0030, 0x0039}, {0x0041, 0x005A}, {0x005F, 0x005F}, {0x0061, 0x007A},
    {0x00AA, 0x00AA}, {0x00B5, 0x00B5}, {0x00BA, 0x00BA}, {0x00C0, 0x00D6},
    {0x00D8, 0x00F6}, {0x00F8, 0x02C1}, {0x02C6, 0x02D1}, {0x02E0, 0x02E4},
    {0x02EC, 0x02EC}, {0x02EE, 0x02EE}, {0x0300, 0x0374}, {0x0376, 0x0377},
    {0x037A, 0x037D}, {0x037F, 0x037F}, {0x0386, 0x0386}, {0x0388, 0x03F5},
    {0x03F7, 0x0481}, {0x0483, 0x052F}, {0x0531, 0x0556}, {0x0559, 0x0559},
    {0x0560, 0x0588}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x05D0, 0x05EA}, {0x05EF, 0x05F2},
    {0x0610, 0x061A}, {0x0620, 0x0669}, {0x066E, 0x06D3}, {0x06D5, 0x06DC},
    {0x06DF, 0x06E8}, {0x06EA, 0x06FC}, {0x06FF, 0x06FF}, {0x0900, 0x0963},
    {0x0966, 0x096F}, {0x0971, 0x0DFF}, {0x0E01, 0x0E3A}, {0x0E40, 0x0E4E},
    {0x0E50, 0x0E59}, {0x0E81, 0x0EDF}, {0x10A0, 0x10FA}, {0x10FC, 0x11FF},
    {0x1C80, 0x1C88}, {0x1E00, 0x1FBC}, {0x1FC2, 0x1FCC}, {0x1FD0, 0x1FDB},
    {0x1FE0, 0x1FEC}, {0x1FF2, 0x1FFC}, {0x3105, 0x312F}, {0x3131, 0x318E},
    {0x31A0, 0x31BF}, {0xA640, 0xA66F}, {0xA67F, 0xA69F}, {0xA722, 0xA788},
    {0xA78B, 0xA7FF}, {0xA960, 0xA97C}, {0xAB30, 0xAB5A}, {0xAB5C, 0xAB69},
    {0xAC00, 0xD7A3}, {0xD7B0, 0xD7C6}, {0xD7CB, 0xD7FB}, {0xFB00, 0xFB06},
    {0xFB13, 0xFB17}, {0xFB1D, 0xFB28}, {0xFB2A, 0xFB4F}, {0xFB50, 0xFD3D},
    {0xFD50, 0xFDFB}, {0xFE70, 0xFEFC}, {0xFF10, 0xFF19}, {0xFF21, 0xFF3A},
    {0xFF41, 0xFF5A}, {0xFFA0, 0xFFBE}, {0xFFC2, 0xFFC7}, {0xFFCA, 0xFFCF},
    {0xFFD2, 0xFFD7}, {0xFFDA, 0xFFDC},
};

bool InTable(char16_t unit) {
    const auto after = std::upper_bound(std::begin(kWordUnits), std::end(kWordUnits), unit,
                                        [](char16_t u, const UnitRange& r) { return u < r.first; });
    return after != std::begin(kWordUnits) && unit <= std::prev(after)->last;
}

bool InRange(char16_t unit, char16_t first, char16_t last) { return unit >= first && unit <= last; }

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

bool IsSpace(char16_t c) { return CharClass(c) == CharKind::Space; }

TextRange ClampedRange(std::u16string_view text, Selection selection) {
    return {std::min(selection.Start(), text.size()), std::min(selection.End(), text.size())};
}

}  // namespace

// Tested in the order space, hiragana, katakana, ideograph, word.
CharKind CharClass(char16_t unit) {
    if (unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u' ' || unit == 0x3000) return CharKind::Space;
    if (InRange(unit, 0x3040, 0x309F)) return CharKind::Hiragana;
    // The halfwidth voiced sound marks (FF9E, FF9F) and the small katakana
    // extension (31F0-31FF) belong to the kana they follow.
    if (InRange(unit, 0x30A0, 0x30FF) || InRange(unit, 0xFF66, 0xFF9F) || InRange(unit, 0x31F0, 0x31FF))
        return CharKind::Katakana;
    // Compatibility ideographs (e.g. U+FA11 in family names) and the kanji
    // zero and closing mark count as kanji too.
    if (InRange(unit, 0x4E00, 0x9FFF) || InRange(unit, 0x3400, 0x4DBF) || InRange(unit, 0x3005, 0x3007) ||
        InRange(unit, 0xF900, 0xFAFF))
        return CharKind::Ideograph;
    if (InTable(unit)) return CharKind::Word;
    return CharKind::Other;
}

std::size_t WordLeft(std::u16string_view text, std::size_t index) {
    std::size_t i = std::min(index, text.size());
    while (i > 0 && IsSpace(text[i - 1])) --i;
    if (i == 0) return 0;
    const CharKind kind = CharClass(text[i - 1]);
    while (i > 0 && CharClass(text[i - 1]) == kind) --i;
    return i;
}

std::size_t WordRight(std::u16string_view text, std::size_t index) {
    std::size_t i = std::min(index, text.size());
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i == text.size()) return i;
    const CharKind kind = CharClass(text[i]);
    while (i < text.size() && CharClass(text[i]) == kind) ++i;
    return i;
}

std::optional<TextRange> DeleteWordLeftRange(std::u16string_view text, Selection selection) {
    if (!selection.Empty()) return ClampedRange(text, selection);
    const std::size_t caret = std::min(selection.caret, text.size());
    const std::size_t boundary = WordLeft(text, caret);
    if (boundary == caret) return std::nullopt;
    return TextRange {boundary, caret};
}

std::optional<TextRange> DeleteWordRightRange(std::u16string_view text, Selection selection) {
    if (!selection.Empty()) return ClampedRange(text, selection);
    const std::size_t caret = std::min(selection.caret, text.size());
    const std::size_t boundary = WordRight(text, caret);
    if (boundary == caret) return std::nullopt;
    return TextRange {caret, boundary};
}

Selection WordMove(std::u16string_view text, Selection selection, bool right, bool extend) {
    const std::size_t start = std::min(selection.Start(), text.size());
    const std::size_t end = std::min(selection.End(), text.size());
    const std::size_t caret = right ? WordRight(text, end) : WordLeft(text, start);
    if (!extend) return {caret, caret};
    return {right ? start : end, caret};
}

std::optional<TextRange> ClassRunAt(std::u16string_view text, std::size_t index) {
    if (text.empty()) return std::nullopt;
    index = std::min(index, text.size() - 1);
    if (IsBreak(text[index])) return std::nullopt;
    const CharKind kind = CharClass(text[index]);
    // Double-clicking trailing blanks must not select into the next line.
    const auto sameRun = [&](char16_t c) { return CharClass(c) == kind && !IsBreak(c); };
    std::size_t start = index;
    std::size_t end = index + 1;
    while (start > 0 && sameRun(text[start - 1])) --start;
    while (end < text.size() && sameRun(text[end])) ++end;
    return TextRange {start, end};
}

std::optional<TextRange> WordRangeAt(std::u16string_view text, std::size_t index, const SegmentLookup& segmentAt) {
    if (text.empty()) return std::nullopt;
    index = std::min(index, text.size() - 1);
    if (IsBreak(text[index])) return std::nullopt;
    if (segmentAt) {
        if (const std::optional<TextRange> token = segmentAt(text, index);
            token && token->start <= index && index < token->end && token->end <= text.size()) {
            std::size_t start = token->start;
            std::size_t end = token->end;
            while (end > start && IsBreak(text[end - 1])) --end;
            while (start < end && IsBreak(text[start])) ++start;
            if (start < end) return TextRange {start, end};
        }
    }
    return ClassRunAt(text, index);
}

std::optional<TextRange> WordAtCaret(std::u16string_view text, std::size_t caret, const SegmentLookup& segmentAt) {
    const std::optional<TextRange> word = WordRangeAt(text, caret, segmentAt);
    if (!word || IsSpace(text[word->start])) return std::nullopt;
    return word;
}

DoubleClickMarks DoubleClickMarksAt(std::u16string_view text, std::size_t index,
                                    const std::optional<TextRange>& word) {
    if (index >= text.size() || IsBreak(text[index])) return DoubleClickMarks::Clear;
    if (!word) return DoubleClickMarks::Keep;
    for (std::size_t i = word->start; i < word->end && i < text.size(); ++i) {
        if (!IsSpace(text[i])) return DoubleClickMarks::MarkWord;
    }
    return DoubleClickMarks::Keep;
}

}  // namespace quillpane
