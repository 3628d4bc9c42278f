// Scaling lengths given at 96 DPI to a window's DPI.
#pragma once

#include <cstdint>

namespace quillpane {

inline constexpr int kDefaultDpi = 96;

// MulDiv(px96, dpi, 96): rounds half away from zero, as Windows does.
[[nodiscard]] constexpr int Scale(int px96, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(px96) * dpi;
    const std::int64_t half = kDefaultDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDefaultDpi : (product - half) / kDefaultDpi);
}

}  // namespace quillpane
