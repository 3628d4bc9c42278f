// The editor's UTF-8 byte positions mapped to UTF-16 code-unit indices, and a
// document held in both forms that is patched around each change.
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

// A document as UTF-8 bytes and their lenient UTF-16 decoding, with
// checkpoints that make position conversions cheap on large texts. Replace
// decodes only the few bytes around a change, so typing one character into a
// large document costs two memory moves instead of a full conversion.
class DualText {
public:
    void Assign(std::string bytes);
    void Clear();

    [[nodiscard]] std::string_view Bytes() const { return bytes_; }
    [[nodiscard]] const std::u16string& Text() const { return text_; }

    [[nodiscard]] std::size_t ToIndex(std::size_t bytePosition) const;
    [[nodiscard]] std::size_t ToBytePosition(std::size_t index) const;

    // Replaces bytes [start, end) (clamped) by inserted.
    void Replace(std::size_t start, std::size_t end, std::string_view inserted);

    // Spacing of the checkpoints in bytes; exposed for tests.
    static constexpr std::size_t kCheckpointSpacing = 4096;
    [[nodiscard]] std::size_t CheckpointCount() const { return checkpoints_.size(); }

private:
    struct Checkpoint {
        std::size_t byte = 0;
        std::size_t unit = 0;
    };

    // Last checkpoint at or before a byte position or a code-unit index.
    [[nodiscard]] const Checkpoint& CheckpointAtByte(std::size_t bytePosition) const;
    [[nodiscard]] const Checkpoint& CheckpointAtUnit(std::size_t index) const;
    // Adds checkpoints for bytes [from, to), starting from a known position.
    void AddCheckpoints(Checkpoint from, std::size_t to, std::vector<Checkpoint>& out) const;

    std::string bytes_;
    std::u16string text_;
    // Sorted by byte and by unit; the first is {0, 0}. Every other one sits on
    // a byte that is not a continuation byte, which starts a piece whatever
    // comes before it, so checkpoints stay valid when text before them
    // changes and only need shifting.
    std::vector<Checkpoint> checkpoints_ {Checkpoint {}};
};

}  // namespace quillpane
