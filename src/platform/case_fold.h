// The simple lowercase mapping of UTF-16 code units, from the program's own
// table: the same on every platform and in every locale.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillpane {

using LowerTable = std::array<char16_t, 0x10000>;

// Built once, on first use.
[[nodiscard]] const LowerTable& Lower();
// One unit lowered (never changes the length, so an index found in a lowered
// copy is valid in the original).
[[nodiscard]] char16_t LowerUnit(char16_t unit);
[[nodiscard]] std::u16string LowerCopy(std::u16string_view text);
// Equal when lowered unit by unit.
[[nodiscard]] bool SameIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace quillpane
