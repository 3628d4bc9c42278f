// The editor's UTF-8 byte positions mapped to UTF-16 code-unit indices, and the
// document's bytes with checkpoints, patched around each change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

[[nodiscard]] constexpr bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
[[nodiscard]] constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
[[nodiscard]] constexpr bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One piece of UTF-8 as Utf8ToUtf16Lenient reads it: a well-formed sequence
// (1 or 2 code units) or one maximal ill-formed subpart (one U+FFFD).
struct Utf8Piece {
    std::size_t bytes = 0;
    std::size_t units = 0;
};

// The piece starting at bytes[position]; position must be inside bytes.
[[nodiscard]] Utf8Piece Utf8PieceAt(std::string_view bytes, std::size_t position);

// Code units Utf8ToUtf16Lenient produces for bytes.
[[nodiscard]] std::size_t Utf16LengthOf(std::string_view bytes);

// Linear conversions over whole strings; DualText does the same in
// logarithmic time. A byte position inside a sequence counts from the
// sequence's start; an index between the halves of a surrogate pair moves
// back to the high half; anything past the end is clamped.
[[nodiscard]] std::size_t Utf16IndexOf(std::string_view bytes, std::size_t bytePosition);
[[nodiscard]] std::size_t BytePositionOf(std::string_view bytes, std::u16string_view text, std::size_t index);

// A sequence with a movable hole at the last edit: an insertion or deletion
// moves only what lies between the previous edit and this one.
template <typename Char>
class GapBuffer {
public:
    using String = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    [[nodiscard]] std::size_t Size() const { return data_.size() - gapLength_; }
    [[nodiscard]] std::size_t GapStart() const { return gapStart_; }
    [[nodiscard]] Char At(std::size_t i) const { return data_[i < gapStart_ ? i : i + gapLength_]; }
    // The parts before and after the gap.
    [[nodiscard]] View Front() const { return View(data_.data(), gapStart_); }
    [[nodiscard]] View Back() const { return View(data_.data() + gapStart_ + gapLength_, Size() - gapStart_); }

    void Assign(String text);
    void Clear();
    // Appends [start, end) (within the size) to out.
    void AppendRange(std::size_t start, std::size_t end, String& out) const;
    // Copies [start, start + count) (within the size) to out.
    void CopyRange(std::size_t start, std::size_t count, Char* out) const;
    // Replaces count elements at `at` (all within the size) by inserted.
    void Replace(std::size_t at, std::size_t count, View inserted);
    // The whole sequence in one piece: the gap moved to the end and cut off,
    // so the next insertion opens it again.
    const String& Contiguous();

private:
    void MoveGap(std::size_t to);
    void Reserve(std::size_t needed);

    String data_;
    std::size_t gapStart_ = 0;
    std::size_t gapLength_ = 0;
};

// What one DualText::Replace changed in the UTF-16 text: `removed` code units
// at `index` became `inserted` ones. Both sides may include a few unchanged
// units around the edit.
struct Utf16Change {
    std::size_t index = 0;
    std::size_t removed = 0;
    std::size_t inserted = 0;
};

// A document as UTF-8 bytes read as their lenient UTF-16 decoding, with
// checkpoints that make position conversions cheap on large texts. Only the
// bytes are held (in a gap buffer, so typing costs the distance from the
// previous edit, not the text's size); code units are decoded on demand from
// the nearest checkpoint, which keeps a large memo resident once, not twice.
class DualText {
public:
    void Assign(std::string bytes);
    // The same for bytes known to be well-formed UTF-8 (what the program's
    // own encoder makes): one quick counting pass instead of a decoding walk.
    void AssignWellFormed(std::string bytes);
    void Clear();

    [[nodiscard]] std::size_t ByteLength() const { return bytes_.Size(); }
    [[nodiscard]] std::size_t Length() const { return unitCount_; }
    // Cheap when called for nearby indices in a row (a small decoded window).
    [[nodiscard]] char16_t UnitAt(std::size_t index) const;
    [[nodiscard]] unsigned char ByteAt(std::size_t position) const {
        return static_cast<unsigned char>(bytes_.At(position));
    }
    // Units [start, end) and bytes [start, end), clamped.
    [[nodiscard]] std::u16string TextRange(std::size_t start, std::size_t end) const;
    [[nodiscard]] std::string ByteRange(std::size_t start, std::size_t end) const;
    void AppendTextRange(std::size_t start, std::size_t end, std::u16string& out) const;
    // Copies units [start, start + count) (clamped); the count copied.
    std::size_t CopyText(std::size_t start, std::size_t count, char16_t* out) const;

    // The whole text in one piece, not for every keystroke. Bytes closes the
    // gap, which costs up to the text's size after an edit far from the end.
    // Text decodes everything into a copy that lives until the next change.
    [[nodiscard]] std::string_view Bytes() const;
    [[nodiscard]] const std::u16string& Text() const;

    [[nodiscard]] std::size_t ToIndex(std::size_t bytePosition) const;
    [[nodiscard]] std::size_t ToBytePosition(std::size_t index) const;

    // Replaces bytes [start, end) (clamped) by inserted. When removedUnits is
    // given, the code units the change replaces are appended to it first.
    Utf16Change Replace(std::size_t start, std::size_t end, std::string_view inserted,
                        std::u16string* removedUnits = nullptr);

    // Spacing of the checkpoints in bytes; exposed for tests.
    static constexpr std::size_t kCheckpointSpacing = 4096;
    [[nodiscard]] std::size_t CheckpointCount() const { return checkpoints_.size(); }

private:
    struct Checkpoint {
        std::size_t byte = 0;
        std::size_t unit = 0;
    };

    [[nodiscard]] Checkpoint CheckpointAt(std::size_t i) const;
    // The first checkpoint at or after a byte position (the count if none).
    [[nodiscard]] std::size_t FirstCheckpointFrom(std::size_t bytePosition) const;
    // Last checkpoint at or before a byte position or a code-unit index.
    [[nodiscard]] Checkpoint CheckpointAtByte(std::size_t bytePosition) const;
    [[nodiscard]] Checkpoint CheckpointAtUnit(std::size_t index) const;
    // Makes checkpoints [0, to) count from the start and the rest from the end.
    void MoveSplit(std::size_t to);
    // Adds checkpoints for bytes [from, to), starting from a known position;
    // where the walk ended (at to).
    Checkpoint AddCheckpoints(Checkpoint from, std::size_t to, std::vector<Checkpoint>& out) const;
    // Appends the decoding of bytes [from, to), both piece boundaries.
    void DecodeBytes(std::size_t from, std::size_t to, std::u16string& out) const;
    // Drops the decoded copies once the bytes change.
    void ForgetDecoded();

    // Walks pieces from a known position while the next one ends at or before
    // limitByte and starts before limitUnit; where it stopped.
    [[nodiscard]] Checkpoint WalkFrom(Checkpoint at, std::size_t limitByte, std::size_t limitUnit) const;
    [[nodiscard]] Utf8Piece PieceAt(std::size_t position) const;
    [[nodiscard]] std::size_t WindowStart(std::size_t start) const;
    [[nodiscard]] std::size_t WindowEnd(std::size_t end) const;

    // Mutable: handing out the whole text closes the gap, which leaves the
    // content as it is. The byte gap always sits on a piece boundary (the end
    // of the last re-decoded window), so no piece straddles it.
    mutable GapBuffer<char> bytes_;
    std::size_t unitCount_ = 0;
    // Decoded copies for readers: the whole text (valid while wholeValid_) and
    // a few thousand units from windowStart_ for UnitAt loops.
    mutable std::u16string whole_;
    mutable bool wholeValid_ = false;
    mutable std::u16string window_;
    mutable std::size_t windowStart_ = 0;
    // Sorted by byte and by unit; the first is {0, 0}. Every other one sits on
    // a byte that is not a continuation byte, which starts a piece whatever
    // comes before it. Those before split_ count from the start, the others
    // back from the end, so an edit between them moves none of them.
    std::vector<Checkpoint> checkpoints_ {Checkpoint {}};
    std::size_t split_ = 1;
};

}  // namespace quillpane
