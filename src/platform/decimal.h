// Unsigned decimal digits without the C library's locale.
#pragma once

#include <cstdint>
#include <string>

namespace quillpane {

[[nodiscard]] inline std::u16string DecimalText(std::uint64_t value) {
    char16_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::u16string text;
    text.reserve(count);
    while (count > 0) text.push_back(digits[--count]);
    return text;
}

}  // namespace quillpane
