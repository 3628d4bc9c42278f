// Blank trimming and ASCII case folding shared by the settings parsers.
#pragma once

#include <string_view>

namespace quillpane {

// Only spaces and tabs count: the INI dialect keeps every other character.
[[nodiscard]] constexpr bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

[[nodiscard]] constexpr std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

[[nodiscard]] constexpr std::u16string_view TrimLeadingBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

[[nodiscard]] constexpr char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
}

// Ordinal comparison after folding A-Z; `lowerWord` must be lower case ASCII.
[[nodiscard]] constexpr bool EqualsAsciiNoCase(std::u16string_view text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldAscii(text[i]) != lowerWord[i]) return false;
    }
    return true;
}

[[nodiscard]] constexpr bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The value of a hexadecimal digit, or -1.
[[nodiscard]] constexpr int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace quillpane
