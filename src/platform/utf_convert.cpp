// UTF-8 <-> UTF-16 conversion with the results of the Windows code-page calls.
#include "platform/utf_convert.h"

#include "platform/utf8_decoder.h"

#include <cstdint>

namespace quillpane {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

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

std::string Utf16ToUtf8(std::u16string_view text) {
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
            value = kReplacement;
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

std::u16string AsciiToUtf16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace quillpane
