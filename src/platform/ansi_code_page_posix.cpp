// The ANSI code page of the POSIX build: Windows-1252 stands in for a
// Western European Windows.
#include "platform/file_system.h"

#include <array>

namespace quillpane::platform {
namespace {

// Code points of Windows-1252's 0x80..0x9F; the rest is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

unsigned AnsiCodePage() {
    return 1252;
}

std::u16string AnsiToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back((byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

}  // namespace quillpane::platform
