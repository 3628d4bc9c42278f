// UTF-8 <-> UTF-16 conversion with the results of the Windows code-page calls.
#include "platform/utf_convert.h"

#include "platform/utf8_decoder.h"
#include "platform/word_load.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillpane {
namespace {

constexpr char16_t kReplacement = 0xFFFD;


char* EncodeUtf8(std::u16string_view text, char* dst) {
    const char16_t* t = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        while (i + 8 <= n && ((Load64(t + i) | Load64(t + i + 4)) & 0xFF80FF80FF80FF80u) == 0) {
            for (int k = 0; k < 8; ++k) dst[k] = static_cast<char>(t[i + k]);
            dst += 8;
            i += 8;
        }
        if (i >= n) break;
        // Runs of three-byte characters (CJK text), surrogates excluded.
        while (i < n && t[i] >= 0x800 && (t[i] & 0xF800) != 0xD800) {
            const unsigned c = t[i++];
            dst[0] = static_cast<char>(0xE0 | (c >> 12));
            dst[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            dst[2] = static_cast<char>(0x80 | (c & 0x3F));
            dst += 3;
        }
        if (i >= n) break;
        char32_t value = t[i++];
        if (value < 0x80) {
            *dst++ = static_cast<char>(value);
            continue;
        }
        if (value < 0x800) {
            dst[0] = static_cast<char>(0xC0 | (value >> 6));
            dst[1] = static_cast<char>(0x80 | (value & 0x3F));
            dst += 2;
            continue;
        }
        if ((value & 0xF800) == 0xD800) {
            if (value <= 0xDBFF && i < n && (t[i] & 0xFC00) == 0xDC00) {
                value = 0x10000 + ((value - 0xD800) << 10) + (t[i++] - 0xDC00);
                dst[0] = static_cast<char>(0xF0 | (value >> 18));
                dst[1] = static_cast<char>(0x80 | ((value >> 12) & 0x3F));
                dst[2] = static_cast<char>(0x80 | ((value >> 6) & 0x3F));
                dst[3] = static_cast<char>(0x80 | (value & 0x3F));
                dst += 4;
                continue;
            }
            value = kReplacement;
        }
        dst[0] = static_cast<char>(0xE0 | (value >> 12));
        dst[1] = static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        dst[2] = static_cast<char>(0x80 | (value & 0x3F));
        dst += 3;
    }
    return dst;
}

}  // namespace

// Exact UTF-8 length of text: an unpaired surrogate becomes U+FFFD (three
// bytes, as any unit from U+0800 up); a high and low pair takes four bytes
// instead of three each. Per-block 16-bit sums (at most 2 per unit) keep the
// loop vectorised.
std::size_t Utf8Length(std::u16string_view text) {
    const std::size_t n = text.size();
    if (n == 0) return 0;
    const char16_t* t = text.data();
    const char16_t last = t[n - 1];
    std::size_t length = n + (last >= 0x80) + (last >= 0x800);
    constexpr std::size_t kBlock = 16384;
    for (std::size_t start = 0; start + 1 < n; start += kBlock) {
        const std::size_t stop = std::min(start + kBlock, n - 1);
        std::uint16_t extra = 0;
        std::uint16_t pairs = 0;
        for (std::size_t i = start; i < stop; ++i) {
            const char16_t c = t[i];
            extra = static_cast<std::uint16_t>(extra + (c >= 0x80) + (c >= 0x800));
            pairs = static_cast<std::uint16_t>(pairs + (((c & 0xFC00) == 0xD800) & ((t[i + 1] & 0xFC00) == 0xDC00)));
        }
        length += extra;
        length -= 2 * std::size_t {pairs};
    }
    return length;
}

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view bytes) {
    std::u16string text;
    if (!DecodeUtf8(bytes, text, Utf8Errors::Fail, LineEnds::Keep)) return std::nullopt;
    return text;
}

std::u16string Utf8ToUtf16Lenient(std::string_view bytes) {
    std::u16string text;
    (void)DecodeUtf8(bytes, text, Utf8Errors::Replace, LineEnds::Keep);
    return text;
}

std::string Utf16ToUtf8(std::u16string_view text, std::string_view prefix) {
    // Sized exactly once: the memo is encoded whole on every save.
    std::string bytes(prefix.size() + Utf8Length(text), '\0');
    if (!prefix.empty()) std::memcpy(bytes.data(), prefix.data(), prefix.size());
    EncodeUtf8(text, bytes.data() + prefix.size());
    return bytes;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace quillpane
