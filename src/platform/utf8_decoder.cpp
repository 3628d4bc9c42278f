// The one UTF-8 decoder: strict or lenient like the Windows conversion, and
// optionally turning every line end into CR LF in the same pass.
//
// The memo may be 64 MiB and is decoded on every load. The output is counted
// first and allocated once at its final size (touching fresh pages costs more
// than the conversion itself), then written through a pointer; ASCII goes 16
// bytes per step and CJK runs take a short path.
#include "platform/utf8_decoder.h"

#include "platform/word_load.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillpane {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kReplacement = 0xFFFD;

// Code units that valid UTF-8 decodes to (one per lead byte, two for a
// four-byte sequence), plus, when normalising, one per lone CR and lone LF.
// For ill-formed input the figure is only an estimate. Branch-free, with
// 16-bit sums per block (at most 4 per byte), so that it vectorises well.
template <bool kNormalize>
std::size_t CountUtf8Units(const unsigned char* src, std::size_t n) {
    if (n == 0) return 0;
    std::size_t units = 0;
    if constexpr (kNormalize) {
        units += static_cast<std::size_t>(src[0] == '\n') + static_cast<std::size_t>(src[n - 1] == '\r');
    }
    const unsigned last = src[n - 1];
    units += static_cast<std::size_t>((last & 0xC0) != 0x80) + static_cast<std::size_t>(last >= 0xF0);
    constexpr std::size_t kBlock = 8192;
    for (std::size_t start = 0; start + 1 < n; start += kBlock) {
        const std::size_t stop = std::min(start + kBlock, n - 1);
        std::uint16_t sum = 0;
        for (std::size_t i = start; i < stop; ++i) {
            const unsigned char b = src[i];
            sum = static_cast<std::uint16_t>(sum + ((b & 0xC0) != 0x80) + (b >= 0xF0));
            if constexpr (kNormalize) {
                const unsigned char next = src[i + 1];
                sum = static_cast<std::uint16_t>(sum + (b == '\r' && next != '\n') + (next == '\n' && b != '\r'));
            }
        }
        units += sum;
    }
    return units;
}

// Marks (top bit of the byte) the bytes of a word that the ASCII block copy
// must not take: bytes from 0x80 up and, when normalising, bytes below 0x0E
// (CR, LF and a few controls). Below the lowest marked byte the marks are
// exact; a borrow only reaches bytes above it, so the lowest mark is right.
template <bool kNormalize>
std::uint64_t StopBytes(std::uint64_t word) {
    constexpr std::uint64_t kTop = 0x8080808080808080u;
    std::uint64_t stops = word & kTop;
    if constexpr (kNormalize) stops |= (word - 0x0E0E0E0E0E0E0E0Eu) & ~word & kTop;
    return stops;
}

// E1..EC and EE..EF: any two continuation bytes complete them.
bool IsPlainThreeByteLead(unsigned lead) {
    return lead >= 0xE1 && lead <= 0xEF && lead != 0xED;
}

// Decodes UTF-8 into [dst, end), optionally turning every line end into
// CR LF on the way. Strict: false on the first ill-formed sequence (as
// MB_ERR_INVALID_CHARS). Lenient: each maximal ill-formed subpart becomes one
// U+FFFD (as MultiByteToWideChar without flags). Also false when the output
// would pass end. Returns the end of the output in *written.
template <bool kLenient, bool kNormalize>
bool DecodeUtf8Into(const unsigned char* src, std::size_t n, char16_t* dst, char16_t* const end,
                    char16_t** written) {
    std::size_t i = 0;
    while (i < n) {
        // ASCII 16 bytes at a time, and the clean bytes before the first
        // one that needs a closer look (non-ASCII, or a line end when
        // normalising).
        while (n - i >= 16 && end - dst >= 16) {
            const std::uint64_t a = StopBytes<kNormalize>(Load64(src + i));
            const std::uint64_t b = StopBytes<kNormalize>(Load64(src + i + 8));
            if ((a | b) == 0) {
                for (int k = 0; k < 16; ++k) dst[k] = src[i + k];
                dst += 16;
                i += 16;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little) {
                const int clean = a != 0 ? std::countr_zero(a) / 8 : 8 + std::countr_zero(b) / 8;
                if (clean != 0) {
                    // All 16 are widened (there is room); only the clean ones count.
                    for (int k = 0; k < 16; ++k) dst[k] = src[i + k];
                    dst += clean;
                    i += static_cast<std::size_t>(clean);
                }
            }
            break;
        }
        if (i >= n) break;
        if (dst == end) return false;
        const unsigned lead = src[i];
        if (lead < 0x80) {
            if (kNormalize && (lead == '\r' || lead == '\n')) {
                if (end - dst < 2) return false;
                dst[0] = kCr;
                dst[1] = kLf;
                dst += 2;
                i += (lead == '\r' && i + 1 < n && src[i + 1] == '\n') ? 2 : 1;
                continue;
            }
            *dst++ = static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // Runs of three-byte sequences without range exceptions (CJK text).
        if (IsPlainThreeByteLead(lead)) {
            const std::size_t runStart = i;
            while (n - i >= 3 && dst != end && IsPlainThreeByteLead(src[i]) && (src[i + 1] & 0xC0) == 0x80 &&
                   (src[i + 2] & 0xC0) == 0x80) {
                *dst++ = static_cast<char16_t>(((src[i] & 0x0F) << 12) | ((src[i + 1] & 0x3F) << 6) |
                                               (src[i + 2] & 0x3F));
                i += 3;
            }
            if (i != runStart) continue;
        }
        std::size_t need;
        char32_t value;
        unsigned lo = 0x80;
        unsigned hi = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            value = lead & 0x0F;
            if (lead == 0xE0) lo = 0xA0;  // overlong
            if (lead == 0xED) hi = 0x9F;  // encoded surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            value = lead & 0x07;
            if (lead == 0xF0) lo = 0x90;  // overlong
            if (lead == 0xF4) hi = 0x8F;  // past U+10FFFF
        } else {
            if constexpr (!kLenient) return false;
            *dst++ = kReplacement;
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k <= need && i + k < n; ++k) {
            const unsigned c = src[i + k];
            if (c < lo || c > hi) break;
            value = (value << 6) | (c & 0x3F);
            lo = 0x80;
            hi = 0xBF;
        }
        if (k <= need) {
            if constexpr (!kLenient) return false;
            *dst++ = kReplacement;
            i += k;
            continue;
        }
        if (value < 0x10000) {
            *dst++ = static_cast<char16_t>(value);
        } else {
            if (end - dst < 2) return false;
            value -= 0x10000;
            dst[0] = static_cast<char16_t>(0xD800 + (value >> 10));
            dst[1] = static_cast<char16_t>(0xDC00 + (value & 0x3FF));
            dst += 2;
        }
        i += need + 1;
    }
    *written = dst;
    return true;
}

// Decodes into out, allocated once at the exact size for valid input: on a
// fresh 100 MB buffer the page faults cost more than the decoding, so no
// spare room is touched. Ill-formed lenient input may need another size and
// is decoded again into a buffer of the worst-case size. Strict: false when
// the bytes are not valid UTF-8.
template <bool kLenient, bool kNormalize>
bool DecodeUtf8Template(std::string_view bytes, std::u16string& out) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    out.resize(CountUtf8Units<kNormalize>(src, n));
    char16_t* written = nullptr;
    if (!DecodeUtf8Into<kLenient, kNormalize>(src, n, out.data(), out.data() + out.size(), &written)) {
        if constexpr (!kLenient) return false;
        // Each byte gives at most one unit, or two when it is a lone line end.
        out.assign(kNormalize ? 2 * n : n, u'\0');
        (void)DecodeUtf8Into<kLenient, kNormalize>(src, n, out.data(), out.data() + out.size(), &written);
    }
    out.resize(static_cast<std::size_t>(written - out.data()));
    return true;
}

}  // namespace

bool DecodeUtf8(std::string_view bytes, std::u16string& out, Utf8Errors errors, LineEnds lineEnds) {
    const bool lenient = errors == Utf8Errors::Replace;
    if (lineEnds == LineEnds::CrLf) {
        return lenient ? DecodeUtf8Template<true, true>(bytes, out) : DecodeUtf8Template<false, true>(bytes, out);
    }
    return lenient ? DecodeUtf8Template<true, false>(bytes, out) : DecodeUtf8Template<false, false>(bytes, out);
}

}  // namespace quillpane
