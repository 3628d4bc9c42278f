// The QR encoder, read back by an independent decoder (zbarimg) where one is installed.
#include "phone/qr_code.h"

#include "platform/utf_convert.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quillpane {
namespace {

using namespace std::string_view_literals;

// UTF-8 Japanese, NUL and 0xFF among URL characters, repeated to length.
std::string SampleText(std::size_t length) {
    constexpr std::string_view kSeed = "\xFF" "\0" "メモ https://q.example/p?id=A7&x=~%20"sv;
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(kSeed[i % kSeed.size()]);
    return text;
}

// The first and last lengths of each version at level M, and one past the end.
struct VersionCase {
    std::size_t length;
    int version;  // 0: refused
};
constexpr VersionCase kVersionCases[] = {
    {0, 1},  {1, 1},  {14, 1}, {15, 2}, {26, 2}, {27, 3},  {42, 3},
    {43, 4}, {62, 4}, {63, 5}, {84, 5}, {85, 6}, {106, 6}, {107, 0},
};

TEST(QrCode, TakesTheSmallestVersionThatHoldsTheText) {
    for (const VersionCase& c : kVersionCases) {
        const std::optional<QrSymbol> symbol = EncodeQr(SampleText(c.length));
        if (c.version == 0) {
            EXPECT_FALSE(symbol.has_value()) << c.length;
            continue;
        }
        ASSERT_TRUE(symbol.has_value()) << c.length;
        EXPECT_EQ(symbol->version, c.version) << c.length;
        EXPECT_EQ(symbol->size, 21 + 4 * (c.version - 1)) << c.length;
        EXPECT_EQ(symbol->modules.size(), static_cast<std::size_t>(symbol->size * symbol->size));
    }
    EXPECT_FALSE(EncodeQr("abc", 8).has_value());
}

TEST(QrCode, FormatInformationNamesLevelMAndTheMaskInBothCopies) {
    const std::string_view kExpected[8] = {
        "101010000010010", "101000100100101", "101111001111100", "101101101001011",
        "100010111111001", "100000011001110", "100111110010111", "100101010100000",
    };
    for (int mask = 0; mask < 8; ++mask) {
        const QrSymbol symbol = EncodeQr("abc", mask).value();
        const int n = symbol.size;
        std::string first;
        std::string second;
        const auto read = [&](std::string& out, int column, int row) { out += symbol.Dark(column, row) ? '1' : '0'; };
        for (const int column : {0, 1, 2, 3, 4, 5, 7, 8}) read(first, column, 8);
        for (const int row : {7, 5, 4, 3, 2, 1, 0}) read(first, 8, row);
        for (int row = n - 1; row >= n - 7; --row) read(second, 8, row);
        for (int column = n - 8; column < n; ++column) read(second, column, 8);
        EXPECT_EQ(first, kExpected[mask]) << "mask " << mask;
        EXPECT_EQ(second, kExpected[mask]) << "mask " << mask;
        EXPECT_EQ(symbol.mask, mask);
        EXPECT_TRUE(symbol.Dark(8, n - 8)) << "the dark module";
    }
}

QrSymbol Grid(int size, auto dark) {
    QrSymbol symbol {.version = 0, .size = size, .mask = 0, .modules = {}};
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) symbol.modules.push_back(dark(column, row) ? 1 : 0);
    }
    return symbol;
}

TEST(QrPenalty, CountsRunsBlocksFinderLikeSequencesAndBalance) {
    constexpr std::string_view kFinderRow = "10111010000";
    const auto finder = [&](int i) { return kFinderRow[i] == '1'; };
    // Light: 2 × 21 runs of 21 (19 each), 400 blocks (3 each), 0 % dark (100).
    EXPECT_EQ(QrPenalty(Grid(21, [](int, int) { return false; })), 798 + 1200 + 100);
    EXPECT_EQ(QrPenalty(Grid(21, [](int c, int r) { return (c + r) % 2 == 0; })), 0);
    // 11 finder-like rows: 11 columns of one colour (9 each), 50 blocks, 11 × 40,
    // 45.45 % dark read as 90 / 2 = 45 % (10). Reversed and transposed the same.
    constexpr int kFinderRows = 99 + 150 + 440 + 10;
    EXPECT_EQ(QrPenalty(Grid(11, [&](int c, int) { return finder(c); })), kFinderRows);
    EXPECT_EQ(QrPenalty(Grid(11, [&](int c, int) { return finder(10 - c); })), kFinderRows);
    EXPECT_EQ(QrPenalty(Grid(11, [&](int, int r) { return finder(r); })), kFinderRows);
    // Runs of 4 cost nothing; 5 columns of 5 (3 each), 12 blocks, 80 % dark (60).
    EXPECT_EQ(QrPenalty(Grid(5, [](int c, int) { return c < 4; })), 15 + 36 + 60);
}

TEST(QrCode, AutomaticMaskIsTheFirstWithTheLowestPenalty) {
    for (const std::size_t length : {3, 13, 20, 106}) {  // 13: masks tie for the lowest
        const std::string text = SampleText(length);
        int penalties[8];
        std::optional<QrSymbol> forced[8];
        for (int mask = 0; mask < 8; ++mask) {
            forced[mask] = EncodeQr(text, mask);
            penalties[mask] = QrPenalty(*forced[mask]);
        }
        const int lowest = static_cast<int>(std::min_element(penalties, penalties + 8) - penalties);
        const QrSymbol chosen = EncodeQr(text).value();
        EXPECT_EQ(chosen.mask, lowest) << length;
        EXPECT_EQ(chosen.modules, forced[lowest]->modules) << length;
    }
}

#ifndef _WIN32
// The symbol with a 4-module quiet zone, 4 pixels per module, as a binary PGM.
std::string RenderPgm(const QrSymbol& symbol) {
    constexpr int kScale = 4;
    const int side = (symbol.size + 8) * kScale;
    std::string image = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int column = x / kScale - 4;
            const int row = y / kScale - 4;
            const bool inside = column >= 0 && row >= 0 && column < symbol.size && row < symbol.size;
            image.push_back(inside && symbol.Dark(column, row) ? '\0' : '\xFF');
        }
    }
    return image;
}

// zbarimg's reading, raw bytes without a guessed character set, or nothing when it finds no symbol.
std::optional<std::string> Zbar(const std::string& path) {
    FILE* pipe = ::popen(("zbarimg --raw -q -Sbinary '" + path + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buffer[512];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return out;
}
#endif

TEST(QrCode, ZbarReadsEveryVersionEdgeWithEveryMask) {
#ifdef _WIN32
    GTEST_SKIP() << "zbarimg is run by the native build only";
#else
    if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "zbarimg is not installed (tools/setup-deps.sh installs zbar-tools)";
    }
    const testing::TempDir dir;
    const std::string path = Utf16ToUtf8(dir.File("qr.pgm"));
    int decoded = 0;
    for (const VersionCase& c : kVersionCases) {
        if (c.length == 0 || c.version == 0) continue;
        const std::string text = SampleText(c.length);
        for (int mask = 0; mask < 8; ++mask) {
            dir.Write("qr.pgm", RenderPgm(EncodeQr(text, mask).value()));
            const std::optional<std::string> read = Zbar(path);
            EXPECT_EQ(read, text) << c.length << " bytes, mask " << mask;
            if (read == text) ++decoded;
        }
    }
    std::printf("zbarimg decoded %d symbols\n", decoded);
#endif
}

}  // namespace
}  // namespace quillpane
