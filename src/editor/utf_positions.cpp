// The editor's UTF-8 byte positions mapped to UTF-16 code-unit indices, and a
// document held in both forms that is patched around each change.
#include "editor/utf_positions.h"

#include "platform/utf_convert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillpane {
namespace {

constexpr std::size_t kWordBytes = 8;

// True when the eight bytes at p are all ASCII.
bool AsciiWord(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, kWordBytes);
    return (word & 0x8080808080808080ULL) == 0;
}

// Walks pieces from (byte, unit) while the next piece ends at or before
// limitByte and starts before limitUnit; returns where it stopped.
struct Walk {
    std::size_t byte = 0;
    std::size_t unit = 0;
};

Walk WalkForward(std::string_view bytes, Walk at, std::size_t limitByte, std::size_t limitUnit) {
    const char* data = bytes.data();
    while (at.byte < limitByte && at.unit < limitUnit) {
        if (limitByte - at.byte >= kWordBytes && limitUnit - at.unit >= kWordBytes && AsciiWord(data + at.byte)) {
            at.byte += kWordBytes;
            at.unit += kWordBytes;
            continue;
        }
        const Utf8Piece piece = Utf8PieceAt(bytes, at.byte);
        if (at.byte + piece.bytes > limitByte || at.unit + piece.units > limitUnit) break;
        at.byte += piece.bytes;
        at.unit += piece.units;
    }
    return at;
}

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

// A piece boundary at or before start that stays one whatever replaces the
// bytes from start on: a byte that is not a continuation byte always starts
// a piece, and three continuation bytes in a row always end one.
std::size_t WindowStart(std::string_view bytes, std::size_t start) {
    std::size_t at = start;
    for (int run = 0; run < 3 && at > 0 && IsUtf8Continuation(static_cast<unsigned char>(bytes[at - 1])); ++run) {
        --at;
    }
    if (at == 0) return 0;
    if (!IsUtf8Continuation(static_cast<unsigned char>(bytes[at - 1]))) return at - 1;
    return start;
}

// The mirror image: a boundary at or after end that stays one whatever comes
// before end.
std::size_t WindowEnd(std::string_view bytes, std::size_t end) {
    std::size_t at = end;
    for (int run = 0; run < 3 && at < bytes.size() && IsUtf8Continuation(static_cast<unsigned char>(bytes[at])); ++run) {
        ++at;
    }
    return at;
}

}  // namespace

Utf8Piece Utf8PieceAt(std::string_view bytes, std::size_t position) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(position);
    if (lead < 0x80) return {1, 1};
    std::size_t need = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return {1, 1};
    }
    std::size_t taken = 1;
    for (; taken <= need; ++taken) {
        if (position + taken >= bytes.size()) break;
        const unsigned char c = byteAt(position + taken);
        if (c < (taken == 1 ? low : 0x80) || c > (taken == 1 ? high : 0xBF)) break;
    }
    if (taken <= need) return {taken, 1};
    return {need + 1, need == 3 ? std::size_t {2} : std::size_t {1}};
}

std::size_t Utf16LengthOf(std::string_view bytes) {
    return WalkForward(bytes, {}, bytes.size(), kNoLimit).unit;
}

std::size_t Utf16IndexOf(std::string_view bytes, std::size_t bytePosition) {
    return WalkForward(bytes, {}, std::min(bytePosition, bytes.size()), kNoLimit).unit;
}

std::size_t BytePositionOf(std::string_view bytes, std::u16string_view text, std::size_t index) {
    index = std::min(index, text.size());
    if (index > 0 && index < text.size() && IsHighSurrogate(text[index - 1]) && IsLowSurrogate(text[index])) --index;
    return WalkForward(bytes, {}, bytes.size(), index).byte;
}

void DualText::Assign(std::string bytes) {
    bytes_ = std::move(bytes);
    text_ = Utf8ToUtf16Lenient(bytes_);
    checkpoints_.assign(1, Checkpoint {});
    AddCheckpoints(Checkpoint {}, bytes_.size(), checkpoints_);
}

void DualText::Clear() {
    bytes_.clear();
    text_.clear();
    checkpoints_.assign(1, Checkpoint {});
}

const DualText::Checkpoint& DualText::CheckpointAtByte(std::size_t bytePosition) const {
    const auto next = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), bytePosition,
                                       [](std::size_t value, const Checkpoint& c) { return value < c.byte; });
    return *(next - 1);
}

const DualText::Checkpoint& DualText::CheckpointAtUnit(std::size_t index) const {
    const auto next = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), index,
                                       [](std::size_t value, const Checkpoint& c) { return value < c.unit; });
    return *(next - 1);
}

void DualText::AddCheckpoints(Checkpoint from, std::size_t to, std::vector<Checkpoint>& out) const {
    Walk at {from.byte, from.unit};
    std::size_t last = from.byte;
    while (at.byte < to) {
        const std::size_t stop = std::min(to, last + kCheckpointSpacing);
        at = WalkForward(bytes_, at, stop, kNoLimit);
        // WalkForward stops short of a piece that crosses stop; take it whole.
        if (at.byte < stop) {
            const Utf8Piece piece = Utf8PieceAt(bytes_, at.byte);
            at.byte += piece.bytes;
            at.unit += piece.units;
        }
        while (at.byte < to && IsUtf8Continuation(static_cast<unsigned char>(bytes_[at.byte]))) {
            const Utf8Piece piece = Utf8PieceAt(bytes_, at.byte);
            at.byte += piece.bytes;
            at.unit += piece.units;
        }
        if (at.byte >= to) break;
        out.push_back({at.byte, at.unit});
        last = at.byte;
    }
}

std::size_t DualText::ToIndex(std::size_t bytePosition) const {
    bytePosition = std::min(bytePosition, bytes_.size());
    const Checkpoint& from = CheckpointAtByte(bytePosition);
    return WalkForward(bytes_, {from.byte, from.unit}, bytePosition, kNoLimit).unit;
}

std::size_t DualText::ToBytePosition(std::size_t index) const {
    index = std::min(index, text_.size());
    if (index > 0 && index < text_.size() && IsHighSurrogate(text_[index - 1]) && IsLowSurrogate(text_[index])) {
        --index;
    }
    const Checkpoint& from = CheckpointAtUnit(index);
    return WalkForward(bytes_, {from.byte, from.unit}, bytes_.size(), index).byte;
}

void DualText::Replace(std::size_t start, std::size_t end, std::string_view inserted) {
    start = std::min(start, bytes_.size());
    end = std::clamp(end, start, bytes_.size());
    if (start == end && inserted.empty()) return;

    // Re-decode only a window from a boundary before the change to one after
    // it: pieces outside the window decode the same before and after.
    const std::size_t windowStart = WindowStart(bytes_, start);
    const std::size_t oldWindowEnd = WindowEnd(bytes_, end);
    const Checkpoint& from = CheckpointAtByte(windowStart);
    const Walk head = WalkForward(bytes_, {from.byte, from.unit}, windowStart, kNoLimit);
    const std::size_t oldUnits =
        Utf16LengthOf(std::string_view(bytes_).substr(windowStart, oldWindowEnd - windowStart));

    bytes_.replace(start, end - start, inserted);
    const std::size_t newWindowEnd = oldWindowEnd - (end - start) + inserted.size();
    const std::u16string decoded =
        Utf8ToUtf16Lenient(std::string_view(bytes_).substr(windowStart, newWindowEnd - windowStart));
    text_.replace(head.unit, oldUnits, decoded);

    // Checkpoints inside the old window go (the first, {0, 0}, always
    // stays); those from its end on shift; a large insertion gets checkpoints
    // of its own.
    const auto byByte = [](const Checkpoint& c, std::size_t value) { return c.byte < value; };
    const auto keepEnd =
        std::max(checkpoints_.begin() + 1, std::lower_bound(checkpoints_.begin(), checkpoints_.end(), windowStart, byByte));
    const auto shiftBegin =
        std::max(keepEnd, std::lower_bound(checkpoints_.begin(), checkpoints_.end(), oldWindowEnd, byByte));
    for (auto it = shiftBegin; it != checkpoints_.end(); ++it) {
        it->byte = it->byte - oldWindowEnd + newWindowEnd;
        it->unit = it->unit - oldUnits + decoded.size();
    }
    std::vector<Checkpoint> added;
    if (newWindowEnd - windowStart > kCheckpointSpacing) {
        AddCheckpoints({windowStart, head.unit}, newWindowEnd, added);
    }
    const auto erasedAt = checkpoints_.erase(keepEnd, shiftBegin);
    checkpoints_.insert(erasedAt, added.begin(), added.end());
}

}  // namespace quillpane
