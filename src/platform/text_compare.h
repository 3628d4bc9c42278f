// Whole-text equality that is fast on 64 MiB memos.
#pragma once

#include <cstring>
#include <string_view>

namespace quillpane {

// Sizes first, then one memcmp: the standard comparison walks unit by unit.
[[nodiscard]] inline bool SameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}

}  // namespace quillpane
