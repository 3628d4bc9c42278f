// Bytes of the memo file to editor text and back: encodings and line ends.
//
// The memo may be 64 MiB, and it is decoded on every load and encoded on
// every autosave. Outputs are counted first and allocated once at their
// final size (touching fresh pages costs more than the conversion itself),
// then written through a pointer; ASCII goes 16 bytes or 8 code units per
// step and CJK runs take a short path. The results match the reference
// converters in platform/utf_convert.h exactly; the tests compare them.
#include "storage/note_codec.h"

#include "platform/file_system.h"
#include "platform/utf8_decoder.h"
#include "platform/utf_convert.h"
#include "platform/word_load.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillpane {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t count = bytes.size() / 2;  // an odd last byte is dropped
    std::u16string text(count, u'\0');
    if (!bigEndian && std::endian::native == std::endian::little) {
        std::memcpy(text.data(), src, count * 2);
    } else {
        const unsigned highByte = bigEndian ? 0 : 1;
        char16_t* dst = text.data();
        for (std::size_t k = 0; k < count; ++k) {
            dst[k] = static_cast<char16_t>((src[2 * k + highByte] << 8) | src[2 * k + 1 - highByte]);
        }
    }
    return text;
}

// Number of code units NormalizeLineEnds has to insert: one per lone CR and
// one per lone LF. Branch-free with per-block 16-bit sums (at most 2 per
// unit) so that it vectorises.
std::size_t MissingLineEndUnits(std::u16string_view text) {
    const std::size_t n = text.size();
    if (n == 0) return 0;
    const char16_t* t = text.data();
    std::size_t missing = std::size_t {t[0] == kLf} + std::size_t {t[n - 1] == kCr};
    constexpr std::size_t kBlock = 16384;
    for (std::size_t start = 0; start + 1 < n; start += kBlock) {
        const std::size_t stop = std::min(start + kBlock, n - 1);
        std::uint16_t sum = 0;
        for (std::size_t i = start; i < stop; ++i) {
            const char16_t c = t[i];
            const char16_t next = t[i + 1];
            sum = static_cast<std::uint16_t>(sum + ((c == kCr) & (next != kLf)) + ((next == kLf) & (c != kCr)));
        }
        missing += sum;
    }
    return missing;
}

// First CR or LF in [p, end), or end. Four code units per word: a lane below
// 0x0E sets its top bit in the test (a borrow only reaches lanes above a real
// hit, so "any lane" is exact); candidates are then checked one by one.
const char16_t* FindLineEnd(const char16_t* p, const char16_t* end) {
    constexpr std::uint64_t kLow = 0x000E000E000E000Eu;
    constexpr std::uint64_t kHigh = 0x8000800080008000u;
    for (;;) {
        while (end - p >= 4) {
            const std::uint64_t word = Load64(p);
            if (((word - kLow) & ~word & kHigh) != 0) break;
            p += 4;
        }
        const char16_t* stop = (end - p >= 4) ? p + 4 : end;
        for (; p < stop; ++p) {
            if (*p == kCr || *p == kLf) return p;
        }
        if (p == end) return end;
    }
}

void WriteNormalized(std::u16string_view text, char16_t* dst) {
    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t* q = FindLineEnd(p, end);
        std::memcpy(dst, p, static_cast<std::size_t>(q - p) * sizeof(char16_t));
        dst += q - p;
        if (q == end) break;
        const bool pair = *q == kCr && q + 1 < end && q[1] == kLf;
        dst[0] = kCr;
        dst[1] = kLf;
        dst += 2;
        p = q + (pair ? 2 : 1);
    }
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string DecodeNoteBytes(std::string_view bytes) {
    std::u16string text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        (void)DecodeUtf8(bytes.substr(3), text, Utf8Errors::Replace, LineEnds::Keep);
        return text;
    }
    if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    if (bytes.empty()) return text;
    if (DecodeUtf8(bytes, text, Utf8Errors::Fail, LineEnds::Keep)) return text;
    return platform::AnsiToUtf16(bytes);
}

std::u16string DecodeNoteText(std::string_view bytes) {
    std::u16string text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        (void)DecodeUtf8(bytes.substr(3), text, Utf8Errors::Replace, LineEnds::CrLf);
        return text;
    }
    if (StartsWith(bytes, "\xFF\xFE")) return NormalizeLineEnds(DecodeUtf16(bytes.substr(2), false));
    if (StartsWith(bytes, "\xFE\xFF")) return NormalizeLineEnds(DecodeUtf16(bytes.substr(2), true));
    if (bytes.empty()) return text;
    if (DecodeUtf8(bytes, text, Utf8Errors::Fail, LineEnds::CrLf)) return text;
    return NormalizeLineEnds(platform::AnsiToUtf16(bytes));
}

std::optional<std::size_t> CrLfUtf8Length(std::string_view bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const auto continuation = [&](std::size_t at, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return at < n && b[at] >= low && b[at] <= high;
    };
    const auto hasByte = [](std::uint64_t word, std::uint64_t repeated) {
        const std::uint64_t v = word ^ repeated;
        return ((v - 0x0101010101010101ULL) & ~v & 0x8080808080808080ULL) != 0;
    };
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < n) {
        // Eight plain ASCII bytes without a line end at a time.
        if (i + 8 <= n) {
            const std::uint64_t word = Load64(b + i);
            if ((word & 0x8080808080808080ULL) == 0 && !hasByte(word, 0x0D0D0D0D0D0D0D0DULL) &&
                !hasByte(word, 0x0A0A0A0A0A0A0A0AULL)) {
                units += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char c = b[i];
        if (c < 0x80) {
            if (c == '\n') return std::nullopt;
            if (c == '\r') {
                if (i + 1 >= n || b[i + 1] != '\n') return std::nullopt;
                units += 2;
                i += 2;
                continue;
            }
            ++units;
            ++i;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (!continuation(i + 1)) return std::nullopt;
            ++units;
            i += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            // No overlong forms (E0) and no surrogates (ED).
            const unsigned char low = c == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = c == 0xED ? 0x9F : 0xBF;
            if (!continuation(i + 1, low, high) || !continuation(i + 2)) return std::nullopt;
            ++units;
            i += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            // No overlong forms (F0) and nothing past U+10FFFF (F4).
            const unsigned char low = c == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = c == 0xF4 ? 0x8F : 0xBF;
            if (!continuation(i + 1, low, high) || !continuation(i + 2) || !continuation(i + 3)) return std::nullopt;
            units += 2;
            i += 4;
        } else {
            return std::nullopt;
        }
    }
    return units;
}

std::u16string NormalizeLineEnds(std::u16string_view text) {
    const std::size_t missing = MissingLineEndUnits(text);
    if (missing == 0) return std::u16string(text);
    std::u16string result(text.size() + missing, u'\0');
    WriteNormalized(text, result.data());
    return result;
}

std::u16string NormalizeLineEnds(std::u16string&& text) {
    const std::size_t missing = MissingLineEndUnits(text);
    if (missing == 0) return std::move(text);
    std::u16string result(text.size() + missing, u'\0');
    WriteNormalized(text, result.data());
    return result;
}

std::string EncodeNoteBytes(std::u16string_view text) {
    return Utf16ToUtf8(text, "\xEF\xBB\xBF");
}

}  // namespace quillpane
