// Unaligned 64-bit loads for the word-at-a-time text loops.
#pragma once

#include <cstdint>
#include <cstring>

namespace quillpane {

[[nodiscard]] inline std::uint64_t Load64(const void* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

}  // namespace quillpane
