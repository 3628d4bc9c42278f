// QR codes for the phone page's address: byte mode, error-correction level M,
// versions 1 to 6 (ISO/IEC 18004).
#include "phone/qr_code.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <utility>

namespace quillpane {
namespace {

// GF(256) with the primitive polynomial x^8 + x^4 + x^3 + x^2 + 1 and generator 2.
// The exponent table repeats so a product needs no modulo.
struct GaloisField {
    std::array<std::uint8_t, 512> exp {};
    std::array<std::uint8_t, 256> log {};
};

constexpr GaloisField BuildField() {
    GaloisField field;
    unsigned value = 1;
    for (int i = 0; i < 255; ++i) {
        field.exp[i] = static_cast<std::uint8_t>(value);
        field.log[value] = static_cast<std::uint8_t>(i);
        value <<= 1;
        if (value & 0x100) value ^= 0x11D;
    }
    for (int i = 255; i < 512; ++i) field.exp[i] = field.exp[i - 255];
    return field;
}

constexpr GaloisField kField = BuildField();

std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kField.exp[kField.log[a] + kField.log[b]];
}

struct VersionInfo {
    int dataCodewords;
    int ecPerBlock;
    int blocks;
};

// Level M, versions 1 to 6.
constexpr std::array<VersionInfo, 6> kVersions {{
    {16, 10, 1}, {28, 16, 1}, {44, 26, 1}, {64, 18, 2}, {86, 24, 2}, {108, 16, 4},
}};

// Up to version 6 the data splits evenly between the blocks, so the longer
// blocks of larger versions are not needed.
constexpr bool BlocksAreEven() {
    for (const VersionInfo& info : kVersions) {
        if (info.dataCodewords % info.blocks != 0) return false;
    }
    return true;
}
static_assert(BlocksAreEven());

constexpr int kModeByte = 0b0100;
constexpr int kFormatLevelM = 0b00;
constexpr int kMaskCount = 8;

class BitWriter {
public:
    void Put(unsigned value, int bitCount) {
        for (int i = bitCount - 1; i >= 0; --i) {
            if (size_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1U) bytes_.back() |= static_cast<std::uint8_t>(0x80U >> (size_ % 8));
            ++size_;
        }
    }
    [[nodiscard]] int Size() const { return size_; }
    [[nodiscard]] std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
    int size_ = 0;
};

std::vector<std::uint8_t> DataCodewords(std::string_view text, const VersionInfo& info) {
    const int capacity = info.dataCodewords * 8;
    BitWriter bits;
    bits.Put(kModeByte, 4);
    bits.Put(static_cast<unsigned>(text.size()), 8);
    for (const char c : text) bits.Put(static_cast<unsigned char>(c), 8);
    bits.Put(0, std::min(4, capacity - bits.Size()));
    bits.Put(0, (8 - bits.Size() % 8) % 8);
    std::vector<std::uint8_t> codewords = bits.Take();
    for (bool first = true; static_cast<int>(codewords.size()) < info.dataCodewords; first = !first) {
        codewords.push_back(first ? 0xEC : 0x11);
    }
    return codewords;
}

// Coefficients of the product of (x - 2^i) for i below degree, highest power first.
std::vector<std::uint8_t> GeneratorPolynomial(int degree) {
    std::vector<std::uint8_t> poly {1};
    for (int i = 0; i < degree; ++i) {
        std::vector<std::uint8_t> next(poly.size() + 1, 0);
        for (std::size_t j = 0; j < poly.size(); ++j) {
            next[j] ^= poly[j];
            next[j + 1] ^= Multiply(poly[j], kField.exp[i]);
        }
        poly = std::move(next);
    }
    return poly;
}

// The remainder of data × x^n divided by the generator of degree n.
std::vector<std::uint8_t> ReedSolomonRemainder(std::span<const std::uint8_t> data,
                                               const std::vector<std::uint8_t>& generator) {
    std::vector<std::uint8_t> remainder(generator.size() - 1, 0);
    for (const std::uint8_t byte : data) {
        const std::uint8_t factor = byte ^ remainder.front();
        std::rotate(remainder.begin(), remainder.begin() + 1, remainder.end());
        remainder.back() = 0;
        for (std::size_t j = 0; j < remainder.size(); ++j) remainder[j] ^= Multiply(generator[j + 1], factor);
    }
    return remainder;
}

// Data codewords column by column across the blocks, then the EC codewords the same way.
std::vector<std::uint8_t> InterleavedCodewords(const std::vector<std::uint8_t>& data, const VersionInfo& info) {
    const std::size_t blockLength = data.size() / static_cast<std::size_t>(info.blocks);
    const std::vector<std::uint8_t> generator = GeneratorPolynomial(info.ecPerBlock);
    std::vector<std::vector<std::uint8_t>> ec;
    for (int b = 0; b < info.blocks; ++b) {
        ec.push_back(ReedSolomonRemainder(std::span(data).subspan(b * blockLength, blockLength), generator));
    }
    std::vector<std::uint8_t> result;
    for (std::size_t i = 0; i < blockLength; ++i) {
        for (int b = 0; b < info.blocks; ++b) result.push_back(data[b * blockLength + i]);
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(info.ecPerBlock); ++i) {
        for (int b = 0; b < info.blocks; ++b) result.push_back(ec[b][i]);
    }
    return result;
}

// The symbol under construction, with the function modules marked so that
// data placement and masking leave them alone.
struct Matrix {
    QrSymbol symbol;
    std::vector<std::uint8_t> function;

    [[nodiscard]] std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(symbol.size) +
               static_cast<std::size_t>(column);
    }
    void SetFunction(int column, int row, bool dark) {
        symbol.modules[Index(column, row)] = dark ? 1 : 0;
        function[Index(column, row)] = 1;
    }
    [[nodiscard]] bool IsFunction(int column, int row) const { return function[Index(column, row)] != 0; }
};

// The finder pattern with its light separator; parts outside the symbol are skipped.
void DrawFinder(Matrix& m, int left, int top) {
    for (int dy = -1; dy <= 7; ++dy) {
        for (int dx = -1; dx <= 7; ++dx) {
            const int column = left + dx;
            const int row = top + dy;
            if (column < 0 || row < 0 || column >= m.symbol.size || row >= m.symbol.size) continue;
            const int ring = std::max(std::abs(dx - 3), std::abs(dy - 3));
            m.SetFunction(column, row, ring <= 1 || ring == 3);
        }
    }
}

void DrawAlignment(Matrix& m, int centre) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            m.SetFunction(centre + dx, centre + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
        }
    }
}

// Where format bit i (0 = least significant) goes in each copy: around the
// top-left finder, and split between the bottom-left and top-right ones.
struct Position {
    int column;
    int row;
};
std::array<std::array<Position, 15>, 2> FormatPositions(int size) {
    std::array<std::array<Position, 15>, 2> copies {};
    for (int i = 0; i < 15; ++i) {
        if (i <= 5) {
            copies[0][i] = {8, i};
        } else if (i <= 7) {
            copies[0][i] = {8, i + 1};  // past the timing row
        } else if (i == 8) {
            copies[0][i] = {7, 8};
        } else {
            copies[0][i] = {14 - i, 8};
        }
        copies[1][i] = i < 8 ? Position {size - 1 - i, 8} : Position {8, size - 15 + i};
    }
    return copies;
}

// Level and mask with their BCH(15,5) check bits, XOR-masked so that the
// result is never all light.
int FormatBits(int mask) {
    const int data = (kFormatLevelM << 3) | mask;
    int remainder = data << 10;
    for (int bit = 14; bit >= 10; --bit) {
        if (remainder & (1 << bit)) remainder ^= 0x537 << (bit - 10);
    }
    return ((data << 10) | remainder) ^ 0x5412;
}

Matrix FunctionPatterns(int version) {
    Matrix m;
    const int size = 4 * version + 17;
    m.symbol.version = version;
    m.symbol.size = size;
    m.symbol.modules.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0);
    m.function.assign(m.symbol.modules.size(), 0);
    DrawFinder(m, 0, 0);
    DrawFinder(m, size - 7, 0);
    DrawFinder(m, 0, size - 7);
    if (version >= 2) DrawAlignment(m, 4 * version + 10);
    for (int i = 8; i < size - 8; ++i) {
        m.SetFunction(i, 6, i % 2 == 0);
        m.SetFunction(6, i, i % 2 == 0);
    }
    m.SetFunction(8, size - 8, true);
    for (const auto& copy : FormatPositions(size)) {
        for (const Position& p : copy) m.SetFunction(p.column, p.row, false);
    }
    return m;
}

// The zigzag in column pairs from the right edge, turning at the top and the
// bottom. Modules past the last codeword (remainder bits) stay light.
void PlaceCodewords(Matrix& m, const std::vector<std::uint8_t>& codewords) {
    const int size = m.symbol.size;
    const std::size_t bitCount = codewords.size() * 8;
    std::size_t bit = 0;
    bool upward = true;
    for (int right = size - 1; right > 0; right -= 2) {
        if (right == 6) right = 5;  // the vertical timing pattern takes a whole column
        for (int step = 0; step < size; ++step) {
            const int row = upward ? size - 1 - step : step;
            for (const int column : {right, right - 1}) {
                if (m.IsFunction(column, row)) continue;
                if (bit < bitCount) {
                    m.symbol.modules[m.Index(column, row)] = (codewords[bit / 8] >> (7 - bit % 8)) & 1;
                }
                ++bit;
            }
        }
        upward = !upward;
    }
}

bool MaskInverts(int mask, int row, int column) {
    switch (mask) {
    case 0: return (row + column) % 2 == 0;
    case 1: return row % 2 == 0;
    case 2: return column % 3 == 0;
    case 3: return (row + column) % 3 == 0;
    case 4: return (row / 2 + column / 3) % 2 == 0;
    case 5: return (row * column) % 2 + (row * column) % 3 == 0;
    case 6: return ((row * column) % 2 + (row * column) % 3) % 2 == 0;
    default: return ((row + column) % 2 + (row * column) % 3) % 2 == 0;
    }
}

QrSymbol Masked(const Matrix& m, int mask) {
    QrSymbol symbol = m.symbol;
    symbol.mask = mask;
    for (int row = 0; row < symbol.size; ++row) {
        for (int column = 0; column < symbol.size; ++column) {
            if (!m.IsFunction(column, row) && MaskInverts(mask, row, column)) {
                symbol.modules[m.Index(column, row)] ^= 1;
            }
        }
    }
    const int bits = FormatBits(mask);
    for (const auto& copy : FormatPositions(symbol.size)) {
        for (int i = 0; i < 15; ++i) symbol.modules[m.Index(copy[i].column, copy[i].row)] = (bits >> i) & 1;
    }
    return symbol;
}

// N1 and N3 of one row or column, read through at(i).
template <typename At>
int LinePenalty(int size, At at) {
    int penalty = 0;
    int run = 1;
    for (int i = 1; i <= size; ++i) {
        if (i < size && at(i) == at(i - 1)) {
            ++run;
            continue;
        }
        if (run >= 5) penalty += run - 2;
        run = 1;
    }
    // Dark, light, dark, dark, dark, light, dark with four light modules after it or before it.
    constexpr std::array<std::uint8_t, 11> kFinderLike {1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0};
    for (int start = 0; start + 11 <= size; ++start) {
        bool forward = true;
        bool backward = true;
        for (int k = 0; k < 11; ++k) {
            forward = forward && at(start + k) == kFinderLike[k];
            backward = backward && at(start + k) == kFinderLike[10 - k];
        }
        penalty += (forward ? 40 : 0) + (backward ? 40 : 0);
    }
    return penalty;
}

}  // namespace

std::optional<QrSymbol> EncodeQr(std::string_view text, std::optional<int> forcedMask) {
    if (forcedMask && (*forcedMask < 0 || *forcedMask >= kMaskCount)) return std::nullopt;
    int version = 0;
    for (int v = 1; v <= static_cast<int>(kVersions.size()); ++v) {
        if (8 * text.size() + 12 <= 8 * static_cast<std::size_t>(kVersions[v - 1].dataCodewords)) {
            version = v;
            break;
        }
    }
    if (version == 0) return std::nullopt;

    const VersionInfo& info = kVersions[version - 1];
    Matrix matrix = FunctionPatterns(version);
    PlaceCodewords(matrix, InterleavedCodewords(DataCodewords(text, info), info));
    if (forcedMask) return Masked(matrix, *forcedMask);

    // On a tie the lower mask number stays.
    std::optional<QrSymbol> best;
    int bestPenalty = 0;
    for (int mask = 0; mask < kMaskCount; ++mask) {
        QrSymbol candidate = Masked(matrix, mask);
        const int penalty = QrPenalty(candidate);
        if (!best || penalty < bestPenalty) {
            best = std::move(candidate);
            bestPenalty = penalty;
        }
    }
    return best;
}

int QrPenalty(const QrSymbol& symbol) {
    const int size = symbol.size;
    int penalty = 0;
    int dark = 0;
    for (int k = 0; k < size; ++k) {
        penalty += LinePenalty(size, [&](int i) { return symbol.Dark(i, k) ? 1 : 0; });
        penalty += LinePenalty(size, [&](int i) { return symbol.Dark(k, i) ? 1 : 0; });
    }
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const bool here = symbol.Dark(column, row);
            if (here) ++dark;
            if (row + 1 < size && column + 1 < size && symbol.Dark(column + 1, row) == here &&
                symbol.Dark(column, row + 1) == here && symbol.Dark(column + 1, row + 1) == here) {
                penalty += 3;
            }
        }
    }
    // 10 points per whole 5 % step away from half dark, the percentage truncated first.
    if (size > 0) penalty += std::abs(dark * 200 / (size * size) - 100) / 10 * 10;
    return penalty;
}

}  // namespace quillpane
