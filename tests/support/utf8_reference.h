// A deliberately simple UTF-8 decoder, one scalar at a time, that the fast
// decoder is checked against.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillpane::testing {

namespace detail {

// Decodes one scalar value at bytes[pos]. Returns the number of bytes of a
// well-formed sequence (with *out set), or 0 and the length of the maximal
// ill-formed subpart in *badLength (at least 1).
inline std::size_t DecodeOne(std::string_view bytes, std::size_t pos, char32_t* out, std::size_t* badLength) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        *out = lead;
        return 1;
    }
    std::size_t need = 0;
    char32_t value = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0;       // overlong
        if (lead == 0xED) hi = 0x9F;       // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07;
        if (lead == 0xF0) lo = 0x90;       // overlong
        if (lead == 0xF4) hi = 0x8F;       // past U+10FFFF
    } else {
        *badLength = 1;
        return 0;
    }
    std::size_t i = 1;
    for (; i <= need; ++i) {
        if (pos + i >= bytes.size()) break;
        const unsigned char c = byteAt(pos + i);
        const unsigned char low = (i == 1) ? lo : 0x80;
        const unsigned char high = (i == 1) ? hi : 0xBF;
        if (c < low || c > high) break;
        value = (value << 6) | (c & 0x3F);
    }
    if (i <= need) {
        *badLength = i;
        return 0;
    }
    *out = value;
    return need + 1;
}

inline void AppendScalar(std::u16string& text, char32_t value) {
    if (value < 0x10000) {
        text.push_back(static_cast<char16_t>(value));
    } else {
        value -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    }
}


template <bool kLenient>
std::optional<std::u16string> ReferenceDecode(std::string_view bytes) {
    std::u16string text;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t value = 0;
        std::size_t bad = 0;
        const std::size_t used = DecodeOne(bytes, pos, &value, &bad);
        if (used == 0) {
            if (!kLenient) return std::nullopt;
            text.push_back(0xFFFD);
            pos += bad;
        } else {
            AppendScalar(text, value);
            pos += used;
        }
    }
    return text;
}

}  // namespace detail

inline std::optional<std::u16string> ReferenceUtf8Strict(std::string_view bytes) {
    return detail::ReferenceDecode<false>(bytes);
}

inline std::u16string ReferenceUtf8Lenient(std::string_view bytes) {
    return *detail::ReferenceDecode<true>(bytes);
}

// One scalar at a time, for checking the fast encoder.
inline std::string ReferenceUtf16ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t value = text[i];
        if (value < 0x80) {
            bytes.push_back(static_cast<char>(value));
            continue;
        }
        if (value >= 0xD800 && value <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            value = 0x10000 + ((value - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (value >= 0xD800 && value <= 0xDFFF) {
            value = char16_t(0xFFFD);
        }
        if (value < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (value >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (value >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (value >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    }
    return bytes;
}

}  // namespace quillpane::testing
