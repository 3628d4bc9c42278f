// QR codes for the phone page's address: byte mode, error-correction level M,
// versions 1 to 6 (ISO/IEC 18004).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillpane {

struct QrSymbol {
    int version = 0;
    int size = 0;  // modules per side, 4 × version + 17
    int mask = 0;
    std::vector<std::uint8_t> modules;  // size × size, row-major, 1 = dark

    [[nodiscard]] bool Dark(int column, int row) const {
        return modules[static_cast<std::size_t>(row) * static_cast<std::size_t>(size) +
                       static_cast<std::size_t>(column)] != 0;
    }
};

// The most bytes version 6 holds at level M.
inline constexpr std::size_t kQrMaxBytes = 106;

// The smallest symbol holding text's bytes as they are, with the mask of the
// lowest penalty, or with forcedMask (0 to 7) when given. Nothing when the
// text is longer than kQrMaxBytes or forcedMask is out of range.
[[nodiscard]] std::optional<QrSymbol> EncodeQr(std::string_view text,
                                               std::optional<int> forcedMask = std::nullopt);

// The mask-selection penalty (N1 + N2 + N3 + N4) of a square grid of modules.
[[nodiscard]] int QrPenalty(const QrSymbol& symbol);

}  // namespace quillpane
