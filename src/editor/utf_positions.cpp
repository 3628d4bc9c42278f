// The editor's UTF-8 byte positions mapped to UTF-16 code-unit indices, and the
// document's bytes with checkpoints, patched around each change.
#include "editor/utf_positions.h"

#include "platform/word_load.h"

#include "platform/utf8_decoder.h"

#include <algorithm>
#include <bit>
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

template <typename Char>
void GapBuffer<Char>::Assign(String text) {
    data_ = std::move(text);
    gapStart_ = data_.size();
    gapLength_ = 0;
}

template <typename Char>
void GapBuffer<Char>::Clear() {
    data_.clear();
    gapStart_ = 0;
    gapLength_ = 0;
}

template <typename Char>
void GapBuffer<Char>::AppendRange(std::size_t start, std::size_t end, String& out) const {
    if (start >= end) return;
    if (end <= gapStart_ || start >= gapStart_) {
        out.append(data_.data() + start + (start >= gapStart_ ? gapLength_ : 0), end - start);
        return;
    }
    out.append(data_.data() + start, gapStart_ - start);
    out.append(data_.data() + gapStart_ + gapLength_, end - gapStart_);
}

template <typename Char>
void GapBuffer<Char>::CopyRange(std::size_t start, std::size_t count, Char* out) const {
    const std::size_t end = start + count;
    if (count == 0) return;
    if (end <= gapStart_ || start >= gapStart_) {
        std::char_traits<Char>::copy(out, data_.data() + start + (start >= gapStart_ ? gapLength_ : 0), count);
        return;
    }
    std::char_traits<Char>::copy(out, data_.data() + start, gapStart_ - start);
    std::char_traits<Char>::copy(out + (gapStart_ - start), data_.data() + gapStart_ + gapLength_, end - gapStart_);
}

template <typename Char>
void GapBuffer<Char>::MoveGap(std::size_t to) {
    Char* data = data_.data();
    if (gapLength_ > 0) {
        if (to < gapStart_) {
            std::char_traits<Char>::move(data + to + gapLength_, data + to, gapStart_ - to);
        } else if (to > gapStart_) {
            std::char_traits<Char>::move(data + gapStart_, data + gapStart_ + gapLength_, to - gapStart_);
        }
    }
    gapStart_ = to;
}

template <typename Char>
void GapBuffer<Char>::Reserve(std::size_t needed) {
    if (gapLength_ >= needed) return;
    // Room for a share of the text besides what is needed now, so that growing
    // costs a constant per element over time.
    constexpr std::size_t kMinimumGap = 256;
    const std::size_t share = std::max(kMinimumGap, Size() / 16);
    const std::size_t minimum = needed - gapLength_;
    const std::size_t room = data_.capacity() - data_.size();
    if (room >= minimum) {
        // Memory held already (a gap closed for a whole-text reader, a large
        // deletion) comes first: fresh pages cost more than moving the text.
        const std::size_t extra = std::max(minimum, std::min(room, minimum + share));
        const std::size_t backLength = Size() - gapStart_;
        data_.resize(data_.size() + extra);
        Char* data = data_.data();
        std::char_traits<Char>::move(data + gapStart_ + gapLength_ + extra, data + gapStart_ + gapLength_, backLength);
        gapLength_ += extra;
        return;
    }
    // One allocation with the gap in place (growing the string itself would
    // copy the text twice), and another share held back for the next time.
    const std::size_t extra = minimum + share;
    String grown;
    grown.reserve(data_.size() + extra + share);
    grown.append(Front());
    grown.append(gapLength_ + extra, Char {});
    grown.append(Back());
    data_ = std::move(grown);
    gapLength_ += extra;
}

template <typename Char>
void GapBuffer<Char>::Replace(std::size_t at, std::size_t count, View inserted) {
    const std::size_t end = at + count;
    // The removed elements join the gap; only those between it and them move.
    if (gapStart_ >= end) {
        MoveGap(end);
        gapStart_ = at;
    } else if (gapStart_ <= at) {
        MoveGap(at);
    } else {
        gapStart_ = at;
    }
    gapLength_ += count;
    Reserve(inserted.size());
    std::char_traits<Char>::copy(data_.data() + gapStart_, inserted.data(), inserted.size());
    gapStart_ += inserted.size();
    gapLength_ -= inserted.size();
}

template <typename Char>
const typename GapBuffer<Char>::String& GapBuffer<Char>::Contiguous() {
    const std::size_t size = Size();
    MoveGap(size);
    data_.resize(size);
    gapLength_ = 0;
    return data_;
}

template class GapBuffer<char>;
template class GapBuffer<char16_t>;

void DualText::Assign(std::string bytes) {
    ForgetDecoded();
    bytes_.Assign(std::move(bytes));
    checkpoints_.assign(1, Checkpoint {});
    split_ = 1;
    unitCount_ = AddCheckpoints(Checkpoint {}, bytes_.Size(), checkpoints_).unit;
    split_ = checkpoints_.size();
}

void DualText::AssignWellFormed(std::string bytes) {
    ForgetDecoded();
    bytes_.Assign(std::move(bytes));
    checkpoints_.assign(1, Checkpoint {});
    // Well-formed UTF-8: every byte that is not a continuation byte starts a
    // character, and the four-byte ones take two units.
    const std::string_view all = Bytes();
    const auto* b = reinterpret_cast<const unsigned char*>(all.data());
    const std::size_t n = all.size();
    Checkpoint at;
    while (at.byte < n) {
        std::size_t stop = std::min(n, at.byte + kCheckpointSpacing);
        while (stop < n && IsUtf8Continuation(b[stop])) ++stop;
        std::size_t units = 0;
        std::size_t i = at.byte;
        // Eight bytes at a time: a byte is a continuation byte when its top
        // bits are 10, and a four-byte lead when they are 1111.
        constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
        for (; i + 8 <= stop; i += 8) {
            const std::uint64_t w = Load64(b + i);
            const std::uint64_t continuation = w & ~(w << 1) & kHigh;
            const std::uint64_t fourByteLead = w & (w << 1) & (w << 2) & (w << 3) & kHigh;
            units += 8 - static_cast<std::size_t>(std::popcount(continuation)) +
                     static_cast<std::size_t>(std::popcount(fourByteLead));
        }
        for (; i < stop; ++i) {
            units += static_cast<std::size_t>((b[i] & 0xC0) != 0x80) + static_cast<std::size_t>(b[i] >= 0xF0);
        }
        at = {stop, at.unit + units};
        if (stop < n) checkpoints_.push_back(at);
    }
    unitCount_ = at.unit;
    split_ = checkpoints_.size();
}

void DualText::Clear() {
    ForgetDecoded();
    bytes_.Clear();
    unitCount_ = 0;
    checkpoints_.assign(1, Checkpoint {});
    split_ = 1;
}

void DualText::ForgetDecoded() {
    // Swapped, not cleared: a whole-text copy must not stay resident while
    // the user types.
    std::u16string().swap(whole_);
    wholeValid_ = false;
    window_.clear();
}

void DualText::DecodeBytes(std::size_t from, std::size_t to, std::u16string& out) const {
    // In slices, so that a whole-text decode needs no second full-size buffer;
    // each slice ends on a piece boundary and never crosses the gap.
    constexpr std::size_t kSlice = 64 * 1024;
    const std::size_t gap = bytes_.GapStart();
    std::u16string decoded;
    while (from < to) {
        std::size_t stop = std::min(to, WindowEnd(std::min(to, from + kSlice)));
        if (from < gap && stop > gap) stop = gap;
        const std::string_view slice = from < gap ? bytes_.Front().substr(from, stop - from)
                                                  : bytes_.Back().substr(from - gap, stop - from);
        (void)DecodeUtf8(slice, decoded, Utf8Errors::Replace, LineEnds::Keep);
        out.append(decoded);
        from = stop;
    }
}

std::u16string DualText::TextRange(std::size_t start, std::size_t end) const {
    std::u16string out;
    AppendTextRange(start, end, out);
    return out;
}

void DualText::AppendTextRange(std::size_t start, std::size_t end, std::u16string& out) const {
    end = std::min(end, unitCount_);
    if (start >= end) return;
    if (wholeValid_) {
        out.append(whole_, start, end - start);
        return;
    }
    Checkpoint from = WalkFrom(CheckpointAtUnit(start), kNoLimit, start);
    if (from.unit < start) {
        // start is the low half of a pair: decode the pair, keep that half.
        const Utf8Piece pair = PieceAt(from.byte);
        std::u16string units;
        DecodeBytes(from.byte, from.byte + pair.bytes, units);
        out.push_back(units.back());
        from = {from.byte + pair.bytes, from.unit + pair.units};
        if (from.unit >= end) return;
    }
    Checkpoint to = WalkFrom(from, kNoLimit, end);
    std::size_t extra = 0;
    if (to.unit < end) {
        // end splits a pair: decode it whole and cut the low half off.
        const Utf8Piece pair = PieceAt(to.byte);
        to = {to.byte + pair.bytes, to.unit + pair.units};
        extra = to.unit - end;
    }
    DecodeBytes(from.byte, to.byte, out);
    out.resize(out.size() - extra);
}

std::string DualText::ByteRange(std::size_t start, std::size_t end) const {
    std::string out;
    end = std::min(end, bytes_.Size());
    if (start < end) bytes_.AppendRange(start, end, out);
    return out;
}

std::size_t DualText::CopyText(std::size_t start, std::size_t count, char16_t* out) const {
    start = std::min(start, unitCount_);
    count = std::min(count, unitCount_ - start);
    if (count == 0) return 0;
    if (wholeValid_) {
        std::char_traits<char16_t>::copy(out, whole_.data() + start, count);
        return count;
    }
    const std::u16string units = TextRange(start, start + count);
    std::char_traits<char16_t>::copy(out, units.data(), count);
    return count;
}

char16_t DualText::UnitAt(std::size_t index) const {
    if (wholeValid_) return index < whole_.size() ? whole_[index] : char16_t {};
    if (index - windowStart_ < window_.size()) return window_[index - windowStart_];
    if (index >= unitCount_) return {};
    // A window around index serves loops running either way from it.
    constexpr std::size_t kReach = 256;
    windowStart_ = index > kReach ? index - kReach : 0;
    window_.clear();
    AppendTextRange(windowStart_, index + kReach, window_);
    return window_[index - windowStart_];
}

std::string_view DualText::Bytes() const {
    return bytes_.Contiguous();
}

const std::u16string& DualText::Text() const {
    if (!wholeValid_) {
        whole_.clear();
        whole_.reserve(unitCount_);
        DecodeBytes(0, bytes_.Size(), whole_);
        wholeValid_ = true;
    }
    return whole_;
}

DualText::Checkpoint DualText::CheckpointAt(std::size_t i) const {
    const Checkpoint& c = checkpoints_[i];
    if (i < split_) return c;
    return {bytes_.Size() - c.byte, unitCount_ - c.unit};
}

std::size_t DualText::FirstCheckpointFrom(std::size_t bytePosition) const {
    std::size_t low = 0;
    std::size_t high = checkpoints_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CheckpointAt(middle).byte < bytePosition) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

DualText::Checkpoint DualText::CheckpointAtByte(std::size_t bytePosition) const {
    std::size_t low = 1;
    std::size_t high = checkpoints_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CheckpointAt(middle).byte <= bytePosition) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return CheckpointAt(low - 1);
}

DualText::Checkpoint DualText::CheckpointAtUnit(std::size_t index) const {
    std::size_t low = 1;
    std::size_t high = checkpoints_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CheckpointAt(middle).unit <= index) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return CheckpointAt(low - 1);
}

void DualText::MoveSplit(std::size_t to) {
    // The same subtraction turns either form into the other.
    const std::size_t bytes = bytes_.Size();
    const std::size_t units = unitCount_;
    const auto flip = [&](Checkpoint& c) { c = {bytes - c.byte, units - c.unit}; };
    for (; split_ < to; ++split_) flip(checkpoints_[split_]);
    while (split_ > to) flip(checkpoints_[--split_]);
}

DualText::Checkpoint DualText::WalkFrom(Checkpoint at, std::size_t limitByte, std::size_t limitUnit) const {
    limitByte = std::min(limitByte, bytes_.Size());
    if (at.byte >= limitByte || at.unit >= limitUnit) return at;
    const std::size_t gap = bytes_.GapStart();
    if (at.byte < gap) {
        const Walk front = WalkForward(bytes_.Front(), {at.byte, at.unit}, std::min(limitByte, gap), limitUnit);
        at = {front.byte, front.unit};
        if (at.byte < gap || at.byte >= limitByte || at.unit >= limitUnit) return at;
    }
    const Walk back = WalkForward(bytes_.Back(), {at.byte - gap, at.unit}, limitByte - gap, limitUnit);
    return {back.byte + gap, back.unit};
}

Utf8Piece DualText::PieceAt(std::size_t position) const {
    const std::size_t gap = bytes_.GapStart();
    return position < gap ? Utf8PieceAt(bytes_.Front(), position) : Utf8PieceAt(bytes_.Back(), position - gap);
}

// A piece boundary at or before start that stays one whatever replaces the
// bytes from start on: a byte that is not a continuation byte always starts
// a piece, and three continuation bytes in a row always end one.
std::size_t DualText::WindowStart(std::size_t start) const {
    std::size_t at = start;
    for (int run = 0; run < 3 && at > 0 && IsUtf8Continuation(ByteAt(at - 1)); ++run) --at;
    if (at == 0) return 0;
    if (!IsUtf8Continuation(ByteAt(at - 1))) return at - 1;
    return start;
}

// The mirror image: a boundary at or after end that stays one whatever comes
// before end.
std::size_t DualText::WindowEnd(std::size_t end) const {
    std::size_t at = end;
    for (int run = 0; run < 3 && at < bytes_.Size() && IsUtf8Continuation(ByteAt(at)); ++run) ++at;
    return at;
}

DualText::Checkpoint DualText::AddCheckpoints(Checkpoint from, std::size_t to, std::vector<Checkpoint>& out) const {
    Checkpoint at = from;
    std::size_t last = from.byte;
    const auto takePiece = [&] {
        const Utf8Piece piece = PieceAt(at.byte);
        at.byte += piece.bytes;
        at.unit += piece.units;
    };
    while (at.byte < to) {
        const std::size_t stop = std::min(to, last + kCheckpointSpacing);
        at = WalkFrom(at, stop, kNoLimit);
        // The walk stops short of a piece that crosses stop; take it whole.
        if (at.byte < stop) takePiece();
        while (at.byte < to && IsUtf8Continuation(ByteAt(at.byte))) takePiece();
        if (at.byte >= to) break;
        out.push_back(at);
        last = at.byte;
    }
    return at;
}

std::size_t DualText::ToIndex(std::size_t bytePosition) const {
    bytePosition = std::min(bytePosition, bytes_.Size());
    return WalkFrom(CheckpointAtByte(bytePosition), bytePosition, kNoLimit).unit;
}

std::size_t DualText::ToBytePosition(std::size_t index) const {
    // The walk never splits a piece, so an index between the halves of a pair
    // stops at the pair's start.
    index = std::min(index, unitCount_);
    return WalkFrom(CheckpointAtUnit(index), kNoLimit, index).byte;
}

Utf16Change DualText::Replace(std::size_t start, std::size_t end, std::string_view inserted,
                              std::u16string* removedUnits) {
    start = std::min(start, bytes_.Size());
    end = std::clamp(end, start, bytes_.Size());
    if (start == end && inserted.empty()) return {ToIndex(start), 0, 0};

    // Re-decode only a window from a boundary before the change to one after
    // it: pieces outside the window decode the same before and after.
    const std::size_t windowStart = WindowStart(start);
    const std::size_t oldWindowEnd = WindowEnd(end);
    const Checkpoint head = WalkFrom(CheckpointAtByte(windowStart), windowStart, kNoLimit);
    Checkpoint nearEnd = CheckpointAtByte(oldWindowEnd);
    if (nearEnd.byte < head.byte) nearEnd = head;
    const Checkpoint tail = WalkFrom(nearEnd, oldWindowEnd, kNoLimit);

    std::string window;
    window.reserve(start - windowStart + inserted.size() + oldWindowEnd - end);
    bytes_.AppendRange(windowStart, start, window);
    window.append(inserted);
    bytes_.AppendRange(end, oldWindowEnd, window);
    const std::size_t insertedUnits = Utf16LengthOf(window);
    if (removedUnits != nullptr) DecodeBytes(windowStart, oldWindowEnd, *removedUnits);
    ForgetDecoded();

    // Checkpoints inside the old window go (the first, {0, 0}, always stays);
    // those before it count from the start and those after from the end, so
    // none of them changes.
    const std::size_t first = std::max<std::size_t>(1, FirstCheckpointFrom(windowStart));
    const std::size_t after = std::max(first, FirstCheckpointFrom(oldWindowEnd));
    if (split_ < first) {
        MoveSplit(first);
    } else if (split_ > after) {
        MoveSplit(after);
    }
    checkpoints_.erase(checkpoints_.begin() + static_cast<std::ptrdiff_t>(first),
                       checkpoints_.begin() + static_cast<std::ptrdiff_t>(after));
    split_ = first;

    bytes_.Replace(windowStart, oldWindowEnd - windowStart, window);
    unitCount_ = unitCount_ - (tail.unit - head.unit) + insertedUnits;

    // A large insertion, or many small ones at one place, gets checkpoints of
    // its own once its neighbours drift apart.
    const Checkpoint previous = CheckpointAt(first - 1);
    const std::size_t next = first < checkpoints_.size() ? CheckpointAt(first).byte : bytes_.Size();
    if (next - previous.byte > 2 * kCheckpointSpacing && window.size() > oldWindowEnd - windowStart) {
        std::vector<Checkpoint> added;
        AddCheckpoints(previous, next, added);
        checkpoints_.insert(checkpoints_.begin() + static_cast<std::ptrdiff_t>(first), added.begin(), added.end());
        split_ += added.size();
    }
    return {head.unit, tail.unit - head.unit, insertedUnits};
}

}  // namespace quillpane
