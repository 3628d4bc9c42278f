// Word boundaries by character class for caret moves, word deletion and word
// selection, with a hook for a platform word segmenter.
#pragma once

#include "editor/text_types.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace quillpane {

// Character class of one UTF-16 code unit; the values are the classes' numbers.
enum class CharKind : int {
    Space = 0,      // tab, LF, CR, space, ideographic space
    Word = 1,       // letters and digits of alphabetic scripts and Hangul, "_"
    Hiragana = 2,
    Katakana = 3,   // full and halfwidth
    Ideograph = 4,  // kanji and the iteration mark
    Other = 5,      // punctuation, symbols, surrogates (emoji)
};

[[nodiscard]] CharKind CharClass(char16_t unit);

// Over spaces, then over the run of the class next to the position. Both
// clamp the index to the text and stop at its ends.
[[nodiscard]] std::size_t WordLeft(std::u16string_view text, std::size_t index);
[[nodiscard]] std::size_t WordRight(std::u16string_view text, std::size_t index);

// Ctrl+Backspace / Ctrl+Delete: the selection when there is one, else the
// range from the word boundary to the caret; nothing when it would be empty.
[[nodiscard]] std::optional<TextRange> DeleteWordLeftRange(std::u16string_view text, Selection selection);
[[nodiscard]] std::optional<TextRange> DeleteWordRightRange(std::u16string_view text, Selection selection);

// Ctrl+Shift+Left/Right, Ctrl+Alt+Left/Right: from the selection's left end
// WordLeft, from its right end WordRight. With extend the other end stays as
// the anchor, otherwise the selection collapses at the new caret.
[[nodiscard]] Selection WordMove(std::u16string_view text, Selection selection, bool right, bool extend);

// A platform word segmenter: the token around index, or nothing when it has
// none or failed. Results not holding index are ignored.
using SegmentLookup = std::function<std::optional<TextRange>(std::u16string_view text, std::size_t index)>;

// The run of units around index (clamped to the last unit) that share its
// class; a run of spaces stops at line breaks. Nothing for an empty text or
// on CR or LF.
[[nodiscard]] std::optional<TextRange> ClassRunAt(std::u16string_view text, std::size_t index);

// The double-click word: index clamped to the last unit; nothing on CR or LF.
// Uses the segmenter's token (without CR and LF at its ends) when it gives a
// valid one, else ClassRunAt. segmentAt may be empty.
[[nodiscard]] std::optional<TextRange> WordRangeAt(std::u16string_view text, std::size_t index,
                                                   const SegmentLookup& segmentAt = {});

// The word at the caret for the search highlight: as WordRangeAt, but a range
// starting with a space-class unit is no word.
[[nodiscard]] std::optional<TextRange> WordAtCaret(std::u16string_view text, std::size_t caret,
                                                   const SegmentLookup& segmentAt = {});

// What a double-click at index does to the search marks once the word it
// selected is known: at a line end (on CR or LF, at the end of the text, in
// an empty text) the marks go; on a word that is not all spaces, that word is
// marked; else they stay.
enum class DoubleClickMarks { Keep, Clear, MarkWord };
[[nodiscard]] DoubleClickMarks DoubleClickMarksAt(std::u16string_view text, std::size_t index,
                                                  const std::optional<TextRange>& word);

}  // namespace quillpane
