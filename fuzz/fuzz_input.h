// Helpers shared by the fuzz targets: reading options off the front of the
// input, turning bytes into text, and a check that stops the run.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Aborts so that both libFuzzer and the corpus replay report the input.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                              \
        }                                                                              \
    } while (false)

namespace quillpane::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // 0 once the input is used up, so short inputs still run.
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto value = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return value;
    }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::string_view Take(std::size_t count) {
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(taken.size());
        return taken;
    }
    [[nodiscard]] std::string_view Rest() const { return rest_; }

    // A byte below 0x80 leaves the rest as it is. Otherwise 15 bits of count
    // and a length: that many leading bytes are repeated `count` times (up
    // to `limit` bytes) before the remainder, so a short input grows
    // past the block sizes of the converters (8 KiB, 16 Ki units) with its
    // line ends at chosen offsets.
    static constexpr std::size_t kMaxExpansion = 40000;
    std::string Expanded(std::size_t limit = kMaxExpansion) {
        const std::uint8_t flag = Byte();
        if (flag < 0x80) return std::string(rest_);
        std::size_t count = 1 + ((static_cast<std::size_t>(flag & 0x7F) << 8) | Byte());
        const std::string_view unit = Take(Byte());
        if (!unit.empty()) count = std::min(count, limit / unit.size());
        std::string out;
        out.reserve(unit.size() * count + rest_.size());
        for (std::size_t i = 0; i < count; ++i) out.append(unit);
        out.append(rest_);
        rest_ = {};
        return out;
    }

private:
    std::string_view rest_;
};

// Little-endian pairs of bytes; an odd last byte is dropped.
inline std::u16string Utf16FromPairs(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

// Unpaired surrogates become U+FFFD, as the UTF-8 encoder writes them.
inline std::u16string WellFormed(std::u16string_view text) {
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char16_t c = out[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out[i] = 0xFFFD;
        }
    }
    return out;
}

// Every CR is followed by LF and every LF follows a CR.
inline bool AllCrLf(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) return false;
    }
    return true;
}

}  // namespace quillpane::fuzz
